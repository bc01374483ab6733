// ZEInputNumerico's key filter, focus handling and change notice.
//
// The filter looks at one character at a time, not at the text it makes: digits, "-"
// (anywhere, any number of times), Backspace and the locale's decimal separator pass;
// the thousands separator is typed as the decimal one; everything else, Enter and the
// clipboard shortcuts included, is dropped. So several separators or minus signs can
// be typed (such a text reads as 0), and text pasted from the field's context menu is
// not filtered at all. The separators are looked up afresh for every character, so a
// change of the regional settings applies at once.
//
// A field whose value has reached Massimo, or lies below Minimo, is "full": it takes
// no more digits or separators, only Backspace and "-", until part of it is selected.
#include "frame/automation/number_text.h"
#include "frame/automation/string_functions.h"
#include "numeric/ze_input_numerico.h"
#include "utilita/ze_utilita.h"

namespace zekalendo {

namespace {
constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kMinus = 45;

bool HasNonSpace(std::u16string_view s) {
  return s.find_first_not_of(u' ') != s.npos;
}
}  // namespace

void ZEInputNumerico::txtNumero_Change() {
  Solleva(u"CambioValore", valore(), onCambioValore);
}

void ZEInputNumerico::txtnumero_GotFocus() {
  // The first character typed then replaces the whole text.
  txtnumero.SetSelStart(0);
  txtnumero.SetSelLength(ze::Len(txtnumero.Text()));
}

void ZEInputNumerico::txtNumero_KeyPress(std::int16_t& KeyAscii) {
  // With the caret in a non-empty field and nothing selected, a full field stops here.
  if (HasNonSpace(txtnumero.Text()) && txtnumero.SelLength() == 0) {
    const double v = StringaToValore(txtnumero.Text());
    // Massimo itself is already full, Minimo itself is not.
    const bool piena = v >= massimo_ || v < minimo_;
    if (piena && KeyAscii != kBackspace && KeyAscii != kMinus) {
      KeyAscii = 0;
      return;
    }
    KeyAscii = FiltraTasto(KeyAscii);
  } else {
    KeyAscii = FiltraTasto(KeyAscii);
  }
}

std::int16_t ZEInputNumerico::FiltraTasto(std::int16_t& KeyAscii) {
  const zeUtilita utilita;
  const std::int16_t d = utilita.GetSeparatoreDecimale();
  const std::int16_t m = utilita.GetSeparatoreMigliaia();
  // A locale without a thousands separator has code 0, which no typed key matches.
  if (m != 0 && KeyAscii == m) KeyAscii = d;
  const bool cifra = KeyAscii >= 0 && ze::IsNumericChar(static_cast<char16_t>(KeyAscii));
  if (KeyAscii == kMinus || cifra || KeyAscii == kBackspace || (d != 0 && KeyAscii == d)) {
    return KeyAscii;
  }
  return 0;
}

}  // namespace zekalendo
