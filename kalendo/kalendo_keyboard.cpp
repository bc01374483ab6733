// The overwrite editor of Kalendo's field.
//
// The field keeps its ten-character shape: a digit replaces the character at the
// caret, Backspace turns the digit before the caret into "0", Delete turns the digit
// at the caret (or every digit of the selection) into "0". Typing skips the slashes
// at positions 2 and 5; every other character is swallowed. The editor keeps no
// state between keys.
//
// An edit rebuilds exactly ten characters, whatever was stored: a longer text loses its
// tail (so "01/01/2005 10:00" with "3" typed at 0 becomes "31/01/2005", a date the focus
// check, valore and a bound field all read alike), a shorter one is padded with the
// character of code 0. A text holding a character the ANSI code page cannot hold makes
// the key do nothing instead of failing towards the host.
#include "frame/automation/error.h"
#include "frame/automation/number_text.h"
#include "frame/automation/string_functions.h"
#include "kalendo/kalendo.h"

namespace zekalendo {

namespace {
constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kDelete = 46;
constexpr std::int16_t kZero = 48;  // "0"
constexpr std::int32_t kDateLength = 10;

bool IsSlashPosition(std::int32_t pos) { return pos == 2 || pos == 5; }
}  // namespace

void Kalendo::Text1_KeyPress(std::int16_t& KeyAscii) {
  // A locked field is left alone, and so is the key.
  if (Text1.Locked()) return;
  try {
    const char16_t c = static_cast<char16_t>(static_cast<std::uint16_t>(KeyAscii));
    if (ze::IsNumericChar(c)) {
      // The caret's position, past a slash.
      std::int32_t pos = Text1.SelStart();
      if (IsSlashPosition(pos)) pos = pos + 1;
      // Past the year: nothing to overwrite.
      if (pos > 9) {
        KeyAscii = 0;
        return;
      }
      // Overwrite one position through the buffer.
      const String text = Text1.Text();
      Buffer buffer(kBufferSize, 0);
      StringaToArray(text, buffer);
      buffer[static_cast<std::size_t>(pos)] = static_cast<std::uint8_t>(KeyAscii);
      Text1.SetText(ArrayToStringa(buffer, kDateLength));
      // The caret moves on; the character is used up, and the host hears of the edit.
      Text1.SetSelStart(pos + 1);
      KeyAscii = 0;
      RaiseEvent(u"TastoPress");
    } else if (KeyAscii == kBackspace) {
      // Zero the digit before the caret, past a slash, and stay on it.
      std::int32_t p = Text1.SelStart() - 1;
      if (p >= 0) {
        if (IsSlashPosition(p)) p = p - 1;
        Text1.SetSelStart(p);
        std::int16_t zero = kZero;
        Text1_KeyPress(zero);
        Text1.SetSelStart(p);
      }
      // At caret 0 nothing was zeroed, yet the host still hears of the key.
      KeyAscii = 0;
      RaiseEvent(u"TastoPress");
    } else {
      // Letters, "/", space, Enter, Escape, Ctrl+C/V/X: swallowed.
      KeyAscii = 0;
    }
  } catch (const ze::AutomationError&) {
    // The key is swallowed; the remaining steps and the event are skipped.
    KeyAscii = 0;
  }
}

void Kalendo::Text1_KeyDown(std::int16_t& KeyCode, std::int16_t /*Shift*/) {
  // A locked field is left alone, and Enter raises nothing either.
  if (Text1.Locked()) return;
  if (KeyCode == kDelete) {
    const String selected = Text1.SelText();
    if (!selected.empty()) {
      // Zero every digit of the selection; slashes and the rest stay.
      const std::int32_t n = ze::Len(selected);
      Buffer buffer(kBufferSize, 0);
      bool held = true;
      try {
        StringaToArray(selected, buffer);
      } catch (const ze::AutomationError&) {
        held = false;  // a selection the code page cannot hold is left as it is
      }
      if (held) {
        for (std::size_t i = 0; i <= 9; ++i) {
          if (ze::IsNumericChar(ze::FromAnsi(buffer[i]))) buffer[i] = kZero;
        }
        Text1.SetSelText(ArrayToStringa(buffer, n));
      }
    } else {
      // Zero the position at the caret as a typed "0" would.
      std::int16_t zero = kZero;
      Text1_KeyPress(zero);
    }
    // The text box must not delete anything itself.
    KeyCode = 0;
  } else if (KeyCode == kEnter) {
    // The Enter character that follows is swallowed by KeyPress.
    RaiseEvent(u"ReturnPress");
  }
  // Navigation keys are the text box's own business.
}

}  // namespace zekalendo
