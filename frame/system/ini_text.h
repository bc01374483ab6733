// The text of an INI file: finding a key's value and setting it, on the file's bytes.
//
// An INI file is lines of Windows-1252 text, ended by CR LF, LF or a lone CR (each
// line keeps its own ending). A line whose first non-blank character is "[" opens a
// section, named by the text up to the next "]" (or the line's end); one whose first
// non-blank is ";" is a comment; any other line with an "=" holds a key (the text
// before the first "=") and its value (the text after it); a line without "=" is
// ignored. Blanks (spaces and tabs) around section names, keys and values do not
// count, and a value wrapped in one pair of matching quotes (" or ') loses them.
// Names compare without regard to case (ASCII and the Latin-1 letters). Lines before
// the first section belong to none and are never found.
//
// Duplicates: a section that appears more than once reads as one section, its parts in
// file order; of two lines with the same key, the first one counts. A write changes
// that same first line, so what is written is what is read back, and a key that a
// person put in the second copy of a section is still found. A new key goes after the
// last key line of the first copy of its section; a new section goes at the end.
//
// Everything the edit does not touch stays byte for byte: comments, blank lines, other
// keys, spacing, and each line's ending. New lines take the ending of the file's first
// line (CR LF for a file that has none yet); a last line without an ending gets one
// before anything is added after it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frame/automation/string.h"

namespace ze::system {

// The value of `key` in `section`, or nothing when the section or the key is absent.
std::optional<String> FindProfileValue(std::string_view text, std::u16string_view section,
                                       std::u16string_view key);

// `text` with `key` in `section` set to `value`, adding the key or the section when
// absent. Nothing when the names or the value cannot be written as one line that reads
// back the same: a line break or a NUL anywhere, "=" in the key, "]" in the section, a
// key that would read as a section or a comment, or a blank name. Characters that
// Windows-1252 lacks are written as "?".
std::optional<std::string> SetProfileValue(std::string_view text, std::u16string_view section,
                                           std::u16string_view key, std::u16string_view value);

}  // namespace ze::system
