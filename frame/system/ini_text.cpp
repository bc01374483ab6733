// Finding and setting INI values in a file's text; see ini_text.h.
#include "frame/system/ini_text.h"

#include <vector>

namespace ze::system {
namespace {

struct Line {
  std::string_view body;  // without its ending
  std::string_view end;   // "\r\n", "\n", "\r" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", at);
    if (stop == std::string_view::npos) {
      lines.push_back({text.substr(at), {}});
      break;
    }
    const std::size_t endSize = (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') ? 2 : 1;
    lines.push_back({text.substr(at, stop - at), text.substr(stop, endSize)});
    at = stop + endSize;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

char16_t Fold(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  return c;
}

bool SameName(std::string_view bytes, std::u16string_view name) {
  if (bytes.size() != name.size()) return false;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (Fold(FromAnsi(static_cast<std::uint8_t>(bytes[i]))) != Fold(name[i])) return false;
  return true;
}

enum class Kind { Other, Section, Key };

// What one line is, with the section name or the key and value it holds. `valueAt`
// is where the value's text starts in the line's body (after the blanks past "=").
struct Parsed {
  Kind kind = Kind::Other;
  std::string_view name;
  std::string_view value;
  std::size_t valueAt = 0;
};

Parsed Parse(std::string_view body) {
  Parsed p;
  const std::string_view trimmed = TrimBlanks(body);
  if (trimmed.empty() || trimmed.front() == ';') return p;
  if (trimmed.front() == '[') {
    std::string_view inside = trimmed.substr(1);
    const std::size_t close = inside.find(']');
    if (close != std::string_view::npos) inside = inside.substr(0, close);
    p.kind = Kind::Section;
    p.name = TrimBlanks(inside);
    return p;
  }
  const std::size_t equals = body.find('=');
  if (equals == std::string_view::npos) return p;
  p.kind = Kind::Key;
  p.name = TrimBlanks(body.substr(0, equals));
  std::size_t at = equals + 1;
  while (at < body.size() && IsBlank(body[at])) ++at;
  p.valueAt = at;
  p.value = TrimBlanks(body.substr(at));
  return p;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Where the key is: the index of its line, and of the last key line (or the header)
// of the first copy of its section, for adding it there.
struct Place {
  std::optional<std::size_t> keyLine;
  std::optional<std::size_t> sectionEnd;
};

Place Locate(const std::vector<Line>& lines, std::u16string_view section,
             std::u16string_view key) {
  Place place;
  bool inSection = false;
  bool inFirstCopy = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Parsed p = Parse(lines[i].body);
    if (p.kind == Kind::Section) {
      inSection = SameName(p.name, section);
      inFirstCopy = inSection && !place.sectionEnd;
      if (inFirstCopy) place.sectionEnd = i;
    } else if (p.kind == Kind::Key && inSection) {
      if (SameName(p.name, key)) {
        place.keyLine = i;
        return place;
      }
      if (inFirstCopy) place.sectionEnd = i;
    }
  }
  return place;
}

bool Writable(std::u16string_view text) {
  for (char16_t c : text)
    if (c == u'\r' || c == u'\n' || c == u'\0') return false;
  return true;
}

}  // namespace

std::optional<String> FindProfileValue(std::string_view text, std::u16string_view section,
                                       std::u16string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  const Place place = Locate(lines, TrimBlanks(section), TrimBlanks(key));
  if (!place.keyLine) return std::nullopt;
  return FromAnsiText(Unquoted(Parse(lines[*place.keyLine].body).value));
}

std::optional<std::string> SetProfileValue(std::string_view text, std::u16string_view section,
                                           std::u16string_view key, std::u16string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (!Writable(section) || !Writable(key) || !Writable(value)) return std::nullopt;
  if (section.find(u']') != std::u16string_view::npos || key.find(u'=') != std::u16string_view::npos)
    return std::nullopt;
  if (section.empty() || key.empty() || key.front() == u'[' || key.front() == u';') return std::nullopt;

  std::vector<Line> lines = SplitLines(text);
  std::string_view newline = "\r\n";
  for (const Line& line : lines)
    if (!line.end.empty()) {
      newline = line.end;
      break;
    }
  const std::string keyLine = ToAnsiText(key) + "=" + ToAnsiText(value);

  const Place place = Locate(lines, section, key);
  std::string out;
  out.reserve(text.size() + keyLine.size() + section.size() + 8);
  auto emit = [&](std::size_t i) {
    out += lines[i].body;
    out += lines[i].end;
  };
  // A line that gets a line after it needs an ending of its own.
  auto endLine = [&](std::size_t i) {
    out += lines[i].body;
    out += lines[i].end.empty() ? newline : lines[i].end;
  };

  if (place.keyLine) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i != *place.keyLine) {
        emit(i);
        continue;
      }
      // The key's own spelling and the spacing before the value stay as they were.
      out += lines[i].body.substr(0, Parse(lines[i].body).valueAt);
      out += ToAnsiText(value);
      out += lines[i].end;
    }
  } else if (place.sectionEnd) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i != *place.sectionEnd) {
        emit(i);
        continue;
      }
      endLine(i);
      out += keyLine;
      out += newline;
    }
  } else {
    for (std::size_t i = 0; i < lines.size(); ++i) endLine(i);
    out += "[" + ToAnsiText(section) + "]";
    out += newline;
    out += keyLine;
    out += newline;
  }
  return out;
}

}  // namespace ze::system
