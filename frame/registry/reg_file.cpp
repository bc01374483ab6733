// Reading and writing the .reg text format; see reg_file.h.
#include "frame/registry/reg_file.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "frame/registry/key_tree.h"

namespace ze::registry {
namespace {

// "text" in double quotes, for messages. (Built by appending: GCC 12 warns
// wrongly about "literal" + std::string in optimised builds.)
std::string Quoted(std::u16string_view text) {
  std::string quoted = "\"";
  quoted += ToUtf8(text);
  quoted += '"';
  return quoted;
}

// The 1-based line of the byte or unit at `offset`, counting line ends as the parser
// does (CR LF, LF or CR).
template <class Text>
int LineAt(const Text& text, std::size_t offset) {
  int line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
      ++line;
  }
  return line;
}

// The text of a file: UTF-16 in either byte order after its mark, else UTF-8 (with
// or without its mark). Bytes that are not the encoding are refused with their line,
// never turned into U+FFFD: a name or text changed on its way in would be stored
// silently under another name.
bool DecodeFileBytes(std::string_view bytes, String* text, RegFileParse* failure) {
  const bool le = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  const bool be = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
  text->clear();
  if (le || be) {
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto first = static_cast<unsigned char>(bytes[i]);
      const auto second = static_cast<unsigned char>(bytes[i + 1]);
      *text += static_cast<char16_t>(le ? first | second << 8 : first << 8 | second);
    }
    if (bytes.size() % 2 != 0) {
      failure->errorLine = LineAt(*text, text->size());
      failure->error = "the file ends in half a UTF-16 character";
      return false;
    }
    return true;
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size(), INT32_MAX));
  for (std::int32_t i = 0; i < length;) {
    const std::int32_t start = i;
    UChar32 c;
    U8_NEXT(data, i, length, c);
    if (c < 0) {
      failure->errorLine = LineAt(bytes, static_cast<std::size_t>(start));
      failure->error = "the text is not valid UTF-8 (byte " +
                       std::to_string(static_cast<unsigned>(data[start])) + ")";
      return false;
    }
  }
  *text = FromUtf8(bytes);
  return true;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int Hex(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads a quoted string at the start of `s` (which begins with a quote); on
// success moves `s` past the closing quote.
bool ReadQuoted(std::u16string_view& s, String* out, std::string* error) {
  out->clear();
  std::size_t i = 1;
  while (i < s.size()) {
    const char16_t c = s[i];
    if (c == u'"') {
      s.remove_prefix(i + 1);
      return true;
    }
    if (c == u'\\') {
      if (i + 1 >= s.size() || (s[i + 1] != u'\\' && s[i + 1] != u'"')) {
        *error = "a backslash in a quoted text must be followed by \\ or \"";
        return false;
      }
      *out += s[i + 1];
      i += 2;
      continue;
    }
    *out += c;
    ++i;
  }
  *error = "a quoted text has no closing quote";
  return false;
}

bool ReadHexBytes(std::u16string_view s, Bytes* out, std::string* error) {
  out->clear();
  s = Trim(s);
  if (s.empty()) return true;
  std::size_t start = 0;
  while (start <= s.size()) {
    std::size_t comma = s.find(u',', start);
    if (comma == std::u16string_view::npos) comma = s.size();
    const std::u16string_view token = Trim(s.substr(start, comma - start));
    if (token.empty()) {
      // Only a trailing comma may leave an empty slot.
      if (comma != s.size() || start == 0) {
        *error = "an empty byte in a hex list";
        return false;
      }
      break;
    }
    if (token.size() > 2 || Hex(token[0]) < 0 || (token.size() == 2 && Hex(token[1]) < 0)) {
      *error = Quoted(token) + " is not a hex byte";
      return false;
    }
    int byte = Hex(token[0]);
    if (token.size() == 2) byte = byte * 16 + Hex(token[1]);
    out->push_back(static_cast<std::uint8_t>(byte));
    start = comma + 1;
  }
  return true;
}

// The data part of a value line, after the "=".
bool ReadData(std::u16string_view s, RegFileChange* change, std::string* error) {
  s = Trim(s);
  if (s == u"-") {
    change->kind = RegFileChange::Kind::DeleteValue;
    return true;
  }
  change->kind = RegFileChange::Kind::SetValue;
  if (!s.empty() && s.front() == u'"') {
    String text;
    if (!ReadQuoted(s, &text, error)) return false;
    if (!Trim(s).empty()) {
      *error = "unexpected text after the closing quote";
      return false;
    }
    change->value = Value{REG_SZ, EncodeString(text)};
    return true;
  }
  auto starts_with = [&](std::u16string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      char16_t c = s[i];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
      if (c != prefix[i]) return false;
    }
    return true;
  };
  if (starts_with(u"dword:")) {
    const std::u16string_view digits = Trim(s.substr(6));
    if (digits.empty() || digits.size() > 8) {
      *error = "dword: needs 1 to 8 hex digits";
      return false;
    }
    std::uint32_t n = 0;
    for (char16_t c : digits) {
      if (Hex(c) < 0) {
        *error = "dword: needs 1 to 8 hex digits";
        return false;
      }
      n = n * 16 + static_cast<std::uint32_t>(Hex(c));
    }
    change->value = Value{REG_DWORD, EncodeDword(n)};
    return true;
  }
  if (starts_with(u"hex:")) {
    change->value.type = REG_BINARY;
    return ReadHexBytes(s.substr(4), &change->value.data, error);
  }
  if (starts_with(u"hex(")) {
    const std::size_t close = s.find(u"):");
    if (close == std::u16string_view::npos || close == 4 || close > 12) {
      *error = "hex(N): needs a hex type number";
      return false;
    }
    std::uint32_t type = 0;
    for (char16_t c : s.substr(4, close - 4)) {
      if (Hex(c) < 0) {
        *error = "hex(N): needs a hex type number";
        return false;
      }
      type = type * 16 + static_cast<std::uint32_t>(Hex(c));
    }
    change->value.type = type;
    return ReadHexBytes(s.substr(close + 2), &change->value.data, error);
  }
  *error = "the data must be a quoted text, dword:, hex:, hex(N): or -";
  return false;
}

}  // namespace

RegFileParse ParseRegFile(std::string_view bytes) {
  String text;
  RegFileParse failure;
  if (!DecodeFileBytes(bytes, &text, &failure)) return failure;
  return ParseRegText(text);
}

RegFileParse ParseRegText(std::u16string_view text) {
  RegFileParse result;
  auto fail = [&](int line, std::string why) {
    result.changes.clear();
    result.errorLine = line;
    result.error = std::move(why);
    return result;
  };

  // Physical lines, with CR LF, LF or CR ends.
  std::vector<std::u16string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u'\n' || text[i] == u'\r') {
      lines.push_back(text.substr(start, i - start));
      if (i < text.size() && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }

  bool header_seen = false;
  bool in_key = false;
  Root root = Root::CurrentUser;
  String path;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const int line_no = static_cast<int>(n) + 1;
    std::u16string_view line = Trim(lines[n]);
    if (line.empty() || line.front() == u';') continue;
    if (!header_seen) {
      if (line != kRegFileHeader) {
        return fail(line_no, "the file must start with \"Windows Registry Editor Version 5.00\"");
      }
      header_seen = true;
      continue;
    }
    if (line.front() == u'[') {
      const std::size_t close = line.rfind(u']');
      if (close == std::u16string_view::npos || !Trim(line.substr(close + 1)).empty()) {
        return fail(line_no, "a key line must end with ]");
      }
      std::u16string_view name = line.substr(1, close - 1);
      const bool remove = !name.empty() && name.front() == u'-';
      if (remove) name.remove_prefix(1);
      const std::optional<RootedPath> rooted = ParseRootedPath(name);
      if (!rooted) return fail(line_no, Quoted(name) + " does not start with a root key");
      std::vector<String> parts;
      if (SplitKeyPath(rooted->path, &parts) != ERROR_SUCCESS) {
        return fail(line_no, Quoted(name) + " is not a valid key name");
      }
      if (remove && parts.empty()) return fail(line_no, "a root key cannot be deleted");
      if (parts.size() > kMaxKeyDepth) {
        return fail(line_no, "the key lies " + std::to_string(parts.size()) +
                                 " levels deep; at most " + std::to_string(kMaxKeyDepth) +
                                 " are allowed");
      }
      RegFileChange change;
      change.kind = remove ? RegFileChange::Kind::DeleteKey : RegFileChange::Kind::CreateKey;
      change.root = rooted->root;
      change.path = rooted->path;
      change.line = line_no;
      result.changes.push_back(change);
      // Values after a deletion have no key to go to.
      in_key = !remove;
      root = rooted->root;
      path = rooted->path;
      continue;
    }
    if (line.front() != u'"' && line.front() != u'@') {
      return fail(line_no, "expected a [key] line, a value line or a comment");
    }
    // A value line, maybe continued over the following lines.
    String logical(line);
    while (!logical.empty() && logical.back() == u'\\' && n + 1 < lines.size()) {
      logical.pop_back();
      logical += Trim(lines[++n]);
    }
    if (!in_key) return fail(line_no, "a value outside a [key] section");
    std::u16string_view rest = logical;
    RegFileChange change;
    change.root = root;
    change.path = path;
    change.line = line_no;
    std::string error;
    if (rest.front() == u'@') {
      rest.remove_prefix(1);
    } else if (!ReadQuoted(rest, &change.valueName, &error)) {
      return fail(line_no, error);
    }
    rest = Trim(rest);
    if (rest.empty() || rest.front() != u'=')
      return fail(line_no, "expected = after the value name");
    rest.remove_prefix(1);
    if (change.valueName.size() > kMaxValueNameLength || !IsWellFormed(change.valueName)) {
      return fail(line_no, "the value name is not valid");
    }
    if (!ReadData(rest, &change, &error)) return fail(line_no, error);
    result.changes.push_back(std::move(change));
  }
  if (!header_seen) {
    return fail(1, "the file must start with \"Windows Registry Editor Version 5.00\"");
  }
  return result;
}

LSTATUS ApplyRegFile(Store& store, const std::vector<RegFileChange>& changes, int* failedLine) {
  // Only a change that failed has a line to blame; a store that cannot be opened or a
  // commit that fails is no line's fault.
  int line = 0;
  const LSTATUS st = store.Batch([&]() -> LSTATUS {
    for (const RegFileChange& c : changes) {
      line = c.line;
      const KeyId root = Store::RootKey(c.root);
      LSTATUS s = ERROR_SUCCESS;
      KeyId key;
      switch (c.kind) {
        case RegFileChange::Kind::CreateKey:
          s = store.CreateKey(root, c.path);
          break;
        case RegFileChange::Kind::DeleteKey:
          s = store.DeleteTree(root, c.path);
          if (s == ERROR_FILE_NOT_FOUND) s = ERROR_SUCCESS;  // already gone
          break;
        case RegFileChange::Kind::SetValue:
          s = store.CreateKey(root, c.path, &key);
          if (s == ERROR_SUCCESS) s = store.SetValue(key, c.valueName, c.value.type, c.value.data);
          break;
        case RegFileChange::Kind::DeleteValue:
          s = store.OpenKey(root, c.path, &key);
          if (s == ERROR_SUCCESS) s = store.DeleteValue(key, c.valueName);
          if (s == ERROR_FILE_NOT_FOUND) s = ERROR_SUCCESS;  // nothing to delete
          break;
      }
      if (s != ERROR_SUCCESS) return s;
    }
    line = 0;
    return ERROR_SUCCESS;
  });
  if (failedLine != nullptr) *failedLine = st == ERROR_SUCCESS ? 0 : line;
  return st;
}

namespace {

String Quote(std::u16string_view text) {
  String out = u"\"";
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  out += u'"';
  return out;
}

// Whether REG_SZ data can be written as a quoted text and read back identically.
bool IsCleanString(const Bytes& data) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  const std::size_t units = data.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t c = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const bool last = i + 1 == units;
    if ((c == 0) != last) return false;
    if (c == u'\r' || c == u'\n') return false;
  }
  // The text must also survive the file's own encoding.
  const String text = DecodeString(data);
  return IsWellFormed(text);
}

void AppendValue(String& out, const NamedValue& v) {
  String line = v.name.empty() ? String(u"@") : Quote(v.name);
  line += u'=';
  const Value& value = v.value;
  if (value.type == REG_SZ && IsCleanString(value.data)) {
    line += Quote(DecodeString(value.data));
  } else if (value.type == REG_DWORD && value.data.size() == 4) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", *DecodeDword(value.data));
    line += FromUtf8(digits);
  } else {
    if (value.type == REG_BINARY) {
      line += u"hex:";
    } else {
      char prefix[24];
      std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
      line += FromUtf8(prefix);
    }
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    for (std::size_t i = 0; i < value.data.size(); ++i) {
      line += kHex[value.data[i] >> 4];
      line += kHex[value.data[i] & 0xF];
      if (i + 1 < value.data.size()) {
        line += u',';
        // Long lists wrap as the original writes them: "\" at the end, two blanks.
        if (line.size() > 76) {
          out += line + u"\\\r\n";
          line = u"  ";
        }
      }
    }
  }
  out += line + u"\r\n";
}

LSTATUS ExportKey(Store& store, Root root, const String& path, KeyId key, String& out) {
  out += u"[" + FullKeyName(root, path) + u"]\r\n";
  std::vector<NamedValue> values;
  const LSTATUS st = store.EnumValues(key, &values);
  if (st != ERROR_SUCCESS) return st;
  // The default value first, as the original writes it.
  for (const NamedValue& v : values)
    if (v.name.empty()) AppendValue(out, v);
  for (const NamedValue& v : values)
    if (!v.name.empty()) AppendValue(out, v);
  out += u"\r\n";
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS ExportRegText(Store& store, Root root, std::u16string_view path, String* text) {
  String out = String(kRegFileHeader) + u"\r\n\r\n";
  const LSTATUS st = store.ReadBatch([&]() -> LSTATUS {
    // Walk down by the names as stored, so the file keeps their case whatever
    // case the caller typed.
    std::vector<String> parts;
    LSTATUS s = SplitKeyPath(path, &parts);
    if (s != ERROR_SUCCESS) return s;
    KeyId key = Store::RootKey(root);
    String stored_path;
    for (const String& part : parts) {
      std::vector<String> children;
      s = store.EnumKeys(key, &children);
      if (s != ERROR_SUCCESS) return s;
      const String folded = FoldName(part);
      const String* match = nullptr;
      for (const String& child : children)
        if (FoldName(child) == folded) match = &child;
      if (match == nullptr) return ERROR_FILE_NOT_FOUND;
      s = store.OpenKey(key, *match, &key);
      if (s != ERROR_SUCCESS) return s;
      stored_path += (stored_path.empty() ? u"" : u"\\") + *match;
    }
    return WalkKeyTree(store, key, stored_path,
                       [&](KeyId k, const String& p) { return ExportKey(store, root, p, k, out); });
  });
  if (st == ERROR_SUCCESS) *text = std::move(out);
  return st;
}

std::string EncodeRegFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + 2 * text.size());
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

}  // namespace ze::registry
