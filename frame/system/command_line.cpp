// The command-line split; see command_line.h.
#include "frame/system/command_line.h"

namespace ze::system {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

}  // namespace

std::vector<String> SplitCommandLine(std::u16string_view line) {
  std::vector<String> args;
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == line.size()) return args;

  // The program name: up to the next quote when quoted, else up to a blank.
  String program;
  if (line[i] == u'"') {
    ++i;
    while (i < line.size() && line[i] != u'"') program.push_back(line[i++]);
    if (i < line.size()) ++i;  // the closing quote
  } else {
    while (i < line.size() && !IsBlank(line[i])) program.push_back(line[i++]);
  }
  args.push_back(std::move(program));

  // The arguments. `open` is true from one argument's first character to its end.
  String current;
  bool open = false;
  bool quoted = false;
  while (i < line.size()) {
    const char16_t c = line[i];
    if (IsBlank(c) && !quoted) {
      if (open) args.push_back(std::move(current)), current.clear(), open = false;
      ++i;
      continue;
    }
    open = true;
    if (c == u'\\') {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == u'\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == u'"') {
        current.append(backslashes / 2, u'\\');
        if (backslashes % 2 == 1) {
          current.push_back(u'"');
          ++i;
        }
        // An even count leaves the quote for the next turn, where it opens or closes.
      } else {
        current.append(backslashes, u'\\');
      }
      continue;
    }
    if (c == u'"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
        current.push_back(u'"');
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
      continue;
    }
    current.push_back(c);
    ++i;
  }
  if (open) args.push_back(std::move(current));
  return args;
}

}  // namespace ze::system
