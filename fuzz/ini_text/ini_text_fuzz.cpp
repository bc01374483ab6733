// Fuzz target over the INI text reader and editor.
//
// Input layout: byte 0 is the length of the section name and byte 1 that of the key
// (each taken modulo 16), then come those names (one byte a character, Windows-1252),
// and the rest is the file's text. Reading must never fail outright, and an edit that
// is accepted must read back, must leave a different key of the same section as it
// was, and must change nothing when made a second time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frame/system/ini_text.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t sectionSize = std::min<std::size_t>(data[0] % 16, size - 2);
  const std::size_t keySize = std::min<std::size_t>(data[1] % 16, size - 2 - sectionSize);
  const ze::String section = ze::FromAnsiText(input.substr(2, sectionSize));
  const ze::String key = ze::FromAnsiText(input.substr(2 + sectionSize, keySize));
  const std::string_view text = input.substr(2 + sectionSize + keySize);

  (void)ze::system::FindProfileValue(text, section, key);

  constexpr std::u16string_view kProbe = u"zz fuzz probe";
  const std::optional<ze::String> probe = ze::system::FindProfileValue(text, section, kProbe);
  constexpr std::u16string_view kValue = u"written value";
  const std::optional<std::string> edited =
      ze::system::SetProfileValue(text, section, key, kValue);
  if (!edited) return 0;
  Check(ze::system::FindProfileValue(*edited, section, key) == ze::String(kValue));
  if (ze::system::FindProfileValue(*edited, section, kProbe) != probe) {
    // Only the probe itself may change, when the fuzzed key is the probe.
    Check(ze::system::FindProfileValue(*edited, section, kProbe) == ze::String(kValue));
  }
  Check(ze::system::SetProfileValue(*edited, section, key, kValue) == edited);
  return 0;
}
