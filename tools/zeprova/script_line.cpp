// Cutting script lines into words.
#include "tools/zeprova/script_line.h"

namespace zeprova {

namespace {
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; }
}  // namespace

ze::String ScriptLine::RestFrom(std::size_t index) const {
  if (index >= words.size()) return {};
  ze::String rest = text.substr(words[index].start);
  while (!rest.empty() && IsBlank(rest.back())) rest.pop_back();
  return rest;
}

std::optional<ScriptLine> SplitLine(const ze::String& line, std::string* error) {
  ScriptLine out;
  out.text = line;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    Word word;
    word.start = i;
    int depth = 0;
    while (i < n && (depth > 0 || !IsBlank(line[i]))) {
      const char16_t c = line[i];
      if (c == u'"') {
        ++i;
        while (true) {
          if (i >= n) {
            *error = "unterminated string";
            return std::nullopt;
          }
          if (line[i] == u'"') {
            if (i + 1 < n && line[i + 1] == u'"') {
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          ++i;
        }
        continue;
      }
      if (c == u'#') {
        const std::size_t close = line.find(u'#', i + 1);
        if (close == ze::String::npos) {
          *error = "unterminated date literal";
          return std::nullopt;
        }
        i = close + 1;
        continue;
      }
      if (c == u'(') ++depth;
      if (c == u')') {
        if (depth == 0) {
          *error = "unbalanced parenthesis";
          return std::nullopt;
        }
        --depth;
      }
      ++i;
    }
    if (depth != 0) {
      *error = "unbalanced parenthesis";
      return std::nullopt;
    }
    word.text = line.substr(word.start, i - word.start);
    out.words.push_back(std::move(word));
  }
  return out;
}

}  // namespace zeprova
