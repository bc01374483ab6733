// Automation strings and the character encodings at the system's edges.
//
// An automation String is UTF-16 (std::u16string): lengths and positions count
// UTF-16 units, as the components' algorithms state them. UTF-8 is used only at the
// edges (files, terminal, Qt, SQLite). The "ANSI code page" of the components is
// Windows-1252; its five unassigned bytes (0x81 0x8D 0x8F 0x90 0x9D) map to the C1
// control characters of the same value, so every byte has a character and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ze {

using String = std::u16string;

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; an invalid or truncated sequence becomes U+FFFD.
String FromUtf8(std::string_view text);

// The Windows-1252 byte of a character, or nothing when the code page has none.
std::optional<std::uint8_t> ToAnsi(char16_t c);
// The character of a Windows-1252 byte.
char16_t FromAnsi(std::uint8_t byte);
// A text in Windows-1252, one byte a character; a character the code page lacks (a
// surrogate pair counting as one) becomes "?", as the platform's conversion makes it.
std::string ToAnsiText(std::u16string_view text);
// The text of Windows-1252 bytes.
String FromAnsiText(std::string_view bytes);

// Shorthand for literals in code and tests: u"..." is preferred; this is for
// narrow text that is known to be UTF-8.
inline String U(std::string_view utf8) {
  return FromUtf8(utf8);
}

// Names, keywords and pictures compare without regard to ASCII case only: the
// stored files and scripts that use them are ASCII, and folding beyond it would
// make two distinct non-ASCII names one.
constexpr char16_t LowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

}  // namespace ze
