// The property bag: the default rule, and the text form in memory and in files.
#include "frame/container/property_bag.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "frame/automation/error.h"
#include "frame/automation/string.h"
#include "frame/container/font.h"
#include "frame/container/literal.h"
#include "frame/container/picture.h"
#include "frame/system/atomic_file.h"
#include "frame/system/regular_file.h"

namespace ze::container {

namespace {

// The numeric value of a number or Boolean, for the default rule.
std::optional<double> NumberOf(const Variant& v) {
  switch (v.type()) {
    case VarType::Integer:
      return v.Get<std::int16_t>();
    case VarType::Long:
      return v.Get<std::int32_t>();
    case VarType::Single:
      return v.Get<float>();
    case VarType::Double:
      return v.Get<double>();
    case VarType::Boolean:
      return v.Get<bool>() ? -1.0 : 0.0;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool SameStoredValue(const Variant& a, const Variant& b) {
  auto na = NumberOf(a), nb = NumberOf(b);
  if (na && nb) return *na == *nb;
  if (a.type() == VarType::Object && b.type() == VarType::Object) {
    const ObjectRef& x = a.Get<ObjectRef>();
    const ObjectRef& y = b.Get<ObjectRef>();
    if (x == y) return true;
    if (!x || !y) return false;
    auto fx = std::dynamic_pointer_cast<Font>(x), fy = std::dynamic_pointer_cast<Font>(y);
    if (fx && fy) return *fx == *fy;
    auto px = std::dynamic_pointer_cast<Picture>(x), py = std::dynamic_pointer_cast<Picture>(y);
    if (px && py) return *px == *py;
    return false;
  }
  return a == b;
}

std::vector<PropertyBag::Entry>::iterator PropertyBag::Find(std::u16string_view name) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it)
    if (EqualsIgnoringAsciiCase(it->name, name)) return it;
  return entries_.end();
}

std::vector<PropertyBag::Entry>::const_iterator PropertyBag::Find(std::u16string_view name) const {
  for (auto it = entries_.begin(); it != entries_.end(); ++it)
    if (EqualsIgnoringAsciiCase(it->name, name)) return it;
  return entries_.end();
}

Variant PropertyBag::ReadProperty(std::u16string_view name, const Variant& defaultValue) const {
  auto it = Find(name);
  return it == entries_.end() ? defaultValue : it->value;
}

void PropertyBag::WriteProperty(std::u16string_view name, const Variant& value) {
  auto it = Find(name);
  if (it != entries_.end())
    it->value = value;
  else
    entries_.push_back({String(name), value});
}

void PropertyBag::WriteProperty(std::u16string_view name, const Variant& value,
                                const Variant& def) {
  if (SameStoredValue(value, def)) {
    Remove(name);
    return;
  }
  WriteProperty(name, value);
}

bool PropertyBag::Contains(std::u16string_view name) const {
  return Find(name) != entries_.end();
}

void PropertyBag::Remove(std::u16string_view name) {
  auto it = Find(name);
  if (it != entries_.end()) entries_.erase(it);
}

// ---- the text form -------------------------------------------------------------------

namespace {

constexpr std::int32_t kBadFileFormat = 321;
constexpr std::int32_t kDiskFull = 61;
constexpr std::int32_t kPathFileAccess = 75;
// A control's saved properties are a few hundred bytes; the limit only keeps a wrong
// path (a device, a huge file) from taking all memory.
constexpr std::size_t kMaxBagFileBytes = 16 << 20;

bool IsKeyStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool IsKeyChar(char16_t c) {
  return IsKeyStart(c) || (c >= u'0' && c <= u'9');
}

bool IsPlainKey(std::u16string_view name) {
  if (name.empty() || !IsKeyStart(name[0])) return false;
  for (char16_t c : name)
    if (!IsKeyChar(c)) return false;
  return true;
}

[[noreturn]] void BadLine(std::size_t line, std::u16string_view what) {
  Raise(kBadFileFormat,
        u"Invalid file format: line " + FromUtf8(std::to_string(line)) + u": " + String(what));
}

// Whether a key written as a string literal starts at `p`: a quoted string, or a
// ChrW(n) that begins the concatenation the writer uses for a key with a tab or another
// character that cannot stand inside quotes.
bool KeyIsLiteral(std::u16string_view line, std::size_t p) {
  if (p < line.size() && line[p] == u'"') return true;
  std::size_t end = p;
  while (end < line.size() && IsKeyChar(line[end])) ++end;
  const std::u16string_view word = line.substr(p, end - p);
  if (!EqualsIgnoringAsciiCase(word, u"ChrW") && !EqualsIgnoringAsciiCase(word, u"Chr"))
    return false;
  while (end < line.size() && (line[end] == u' ' || line[end] == u'\t')) ++end;
  return end < line.size() && line[end] == u'(';
}

// One `Key = VALUE` line; the key is a name, or a string literal for any other text.
PropertyBag::Entry ParseLine(std::u16string_view line, std::size_t number) {
  std::size_t p = 0;
  auto blank = [&] {
    while (p < line.size() && (line[p] == u' ' || line[p] == u'\t')) ++p;
  };
  blank();
  String key;
  if (KeyIsLiteral(line, p)) {
    // The key runs to the first "=" outside quotes (none stands in a ChrW argument).
    const std::size_t start = p;
    bool quoted = false;
    while (p < line.size() && (quoted || line[p] != u'=')) {
      if (line[p] == u'"') quoted = !quoted;
      ++p;
    }
    if (quoted) BadLine(number, u"the key has no closing quote");
    Variant literal;
    try {
      literal = ParseLiteral(line.substr(start, p - start));
    } catch (const AutomationError& e) {
      BadLine(number, u"the key: " + e.description());
    }
    if (!literal.Is<String>()) BadLine(number, u"expected a property name");
    key = literal.Get<String>();
    if (key.empty()) BadLine(number, u"empty key at column " + FromUtf8(std::to_string(start + 1)));
  } else {
    const std::size_t start = p;
    while (p < line.size() && IsKeyChar(line[p])) ++p;
    key = String(line.substr(start, p - start));
    if (!IsPlainKey(key)) BadLine(number, u"expected a property name");
  }
  blank();
  if (p >= line.size() || line[p] != u'=') BadLine(number, u"expected = after the name");
  ++p;
  try {
    return {std::move(key), ParseLiteral(line.substr(p))};
  } catch (const AutomationError& e) {
    BadLine(number, e.description());
  }
}

}  // namespace

String PropertyBag::Format() const {
  String out;
  for (const auto& e : entries_) {
    out += IsPlainKey(e.name) ? e.name : FormatLiteral(Variant(e.name));
    out += u" = ";
    out += FormatLiteral(e.value, LiteralStyle::Typed);
    out += u'\n';
  }
  return out;
}

void PropertyBag::Parse(std::u16string_view text) {
  // Everything is read into a new list first: a bad line leaves the bag as it was.
  std::vector<Entry> read;
  // The names seen so far, ASCII case folded: one lookup a line keeps reading linear.
  std::unordered_set<String> names;
  std::size_t number = 0;
  std::size_t at = 0;
  if (!text.empty() && text[0] == u'\uFEFF') at = 1;  // a byte-order mark
  while (at < text.size()) {
    ++number;
    std::size_t end = text.find(u'\n', at);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    for (char16_t c : line)
      if (c < 32 && c != u'\t') BadLine(number, u"not text");
    std::size_t first = 0;
    while (first < line.size() && (line[first] == u' ' || line[first] == u'\t')) ++first;
    if (first == line.size() || line[first] == u'#' || line[first] == u'\'') continue;
    Entry entry = ParseLine(line, number);
    String folded = entry.name;
    for (char16_t& c : folded)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (!names.insert(std::move(folded)).second)
      BadLine(number, u"the name " + entry.name + u" comes twice");
    read.push_back(std::move(entry));
  }
  entries_ = std::move(read);
}

void PropertyBag::LoadFile(const std::string& path) {
  std::string bytes;
  const system::ReadResult read = system::ReadRegularFile(path, kMaxBagFileBytes, bytes);
  switch (read.failure) {
    case system::ReadFailure::kNone:
      break;
    case system::ReadFailure::kMissing:
      Raise(errors::kFileNotFound);
    case system::ReadFailure::kDenied:
      Raise(errors::kPermissionDenied);
    default:
      Raise(kPathFileAccess, u"Path/File access error: " +
                                 FromUtf8(path + " " + system::Describe(read, kMaxBagFileBytes)));
  }
  // Text means UTF-8 that converts both ways unchanged; the line of the first bad
  // byte is the one named.
  const String text = FromUtf8(bytes);
  if (ToUtf8(text) != bytes) {
    std::size_t line = 1;
    const std::string back = ToUtf8(text);
    for (std::size_t i = 0; i < bytes.size() && i < back.size() && bytes[i] == back[i]; ++i)
      if (bytes[i] == '\n') ++line;
    BadLine(line, u"not text");
  }
  Parse(text);
}

void PropertyBag::SaveFile(const std::string& path) const {
  // Replaced whole: a failed or interrupted save leaves the old file as it was.
  const system::WriteFailure failure = system::WriteFileAtomically(path, ToUtf8(Format()));
  if (!failure) return;
  switch (failure.error) {
    case ENOENT:
    case ENOTDIR:
      Raise(errors::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
      Raise(errors::kPermissionDenied);
    case ENOSPC:
    case EDQUOT:
      Raise(kDiskFull);
    default:
      Raise(kPathFileAccess, u"Path/File access error");
  }
}

}  // namespace ze::container
