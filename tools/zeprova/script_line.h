// One line of a zeprova script, cut into words.
//
// Words are separated by blanks; a word runs on through a quoted string ("a ""b"" c"),
// a date literal (#2005-12-25 14:30:00#) and parentheses (Font("MS Sans Serif", 9.75)),
// so every value literal is one word. The rest of the line from a word on is kept too,
// for commands whose last argument is a whole literal expression.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frame/automation/string.h"

namespace zeprova {

struct Word {
  ze::String text;
  std::size_t start = 0;  // offset in the line
};

struct ScriptLine {
  ze::String text;
  std::vector<Word> words;

  // The line from word `index` to its end, trimmed; "" past the last word.
  ze::String RestFrom(std::size_t index) const;
};

// Cuts a line into words; an error message when a quote, a date or a parenthesis
// is left open.
std::optional<ScriptLine> SplitLine(const ze::String& line, std::string* error);

}  // namespace zeprova
