// Reading form descriptions.
#include "sample/forms/form_description.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

#include "frame/automation/error.h"
#include "frame/container/literal.h"

namespace provix2 {

namespace {

constexpr std::int32_t kBadFileFormat = 321;

[[noreturn]] void Fail(int line, const std::string& what) {
  ze::Raise(kBadFileFormat, ze::FromUtf8("line " + std::to_string(line) + ": " + what));
}

ze::String Trim(std::u16string_view s) {
  const auto first = s.find_first_not_of(u" \t\r");
  if (first == std::u16string_view::npos) return {};
  const auto last = s.find_last_not_of(u" \t\r");
  return ze::String(s.substr(first, last - first + 1));
}

bool StartsWithWord(const ze::String& line, std::u16string_view word) {
  return line.size() >= word.size() && line.compare(0, word.size(), word) == 0 &&
         (line.size() == word.size() || line[word.size()] == u' ' || line[word.size()] == u'\t');
}

// "Begin KIND NAME" or "Begin KIND NAME(INDEX)".
ControlDescription ParseBegin(const ze::String& line, int number) {
  std::vector<ze::String> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != u' ' && line[i] != u'\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  if (words.size() != 3) Fail(number, "expected 'Begin KIND NAME'");
  ControlDescription d;
  d.kind = words[1];
  d.name = words[2];
  d.line = number;
  const auto open = d.name.find(u'(');
  if (open != ze::String::npos) {
    if (d.name.back() != u')' || open == 0) Fail(number, "bad control array element");
    const ze::String digits = d.name.substr(open + 1, d.name.size() - open - 2);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of(u"0123456789") != ze::String::npos) {
      Fail(number, "bad control array index");
    }
    d.index = std::stoi(ze::ToUtf8(digits));
    d.name = d.name.substr(0, open);
  }
  return d;
}

}  // namespace

ControlDescription ParseFormDescription(std::u16string_view text) {
  std::vector<ControlDescription> open;  // the blocks being read, innermost last
  std::optional<ControlDescription> form;
  int number = 0;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find(u'\n', at), text.size());
    const ze::String line = Trim(text.substr(at, end - at));
    at = end + 1;
    ++number;
    if (line.empty() || line[0] == u'#') continue;
    if (StartsWithWord(line, u"Begin")) {
      if (form) Fail(number, "text after the form's End");
      open.push_back(ParseBegin(line, number));
      continue;
    }
    if (line == u"End") {
      if (open.empty()) Fail(number, "End without Begin");
      ControlDescription done = std::move(open.back());
      open.pop_back();
      if (open.empty()) {
        form = std::move(done);
      } else {
        open.back().children.push_back(std::move(done));
      }
      continue;
    }
    if (open.empty()) Fail(number, "a setting outside any Begin ... End");
    const auto equals = line.find(u'=');
    if (equals == ze::String::npos) Fail(number, "expected NAME = VALUE");
    const ze::String key = Trim(line.substr(0, equals));
    if (key.empty()) Fail(number, "a setting without a name");
    if (open.back().settings.Contains(key)) Fail(number, "'" + ze::ToUtf8(key) + "' set twice");
    try {
      open.back().settings.WriteProperty(key, ze::container::ParseLiteral(line.substr(equals + 1)));
    } catch (const ze::AutomationError& e) {
      Fail(number, ze::ToUtf8(e.description()));
    }
  }
  if (!open.empty()) Fail(open.back().line, "Begin without End");
  if (!form) Fail(number, "no form in the description");
  if (form->kind != u"Form") Fail(form->line, "the outer block must be a Form");
  return *form;
}

ControlDescription LoadFormDescription(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) ze::Raise(ze::errors::kFileNotFound, ze::FromUtf8("cannot read " + path));
  std::stringstream bytes;
  bytes << file.rdbuf();
  return ParseFormDescription(ze::FromUtf8(bytes.str()));
}

}  // namespace provix2
