// The zereg commands; see zereg.h for the command line.
#include "tools/zereg/zereg.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

#include "frame/registry/key_tree.h"
#include "frame/registry/reg_file.h"
#include "frame/registry/store.h"
#include "frame/system/atomic_file.h"
#include "ze_version.h"

namespace ze::zereg {
namespace {

using namespace ze::registry;

constexpr const char* kSuccess = "The operation completed successfully.";
constexpr const char* kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.";

// One command's synopsis and what it does, for "zereg /?" and "zereg OPERATION /?".
struct Usage {
  const char* op;
  const char* synopsis;
  const char* detail;
};
constexpr Usage kUsages[] = {
    {"query", "zereg query  KEY [/v NAME | /ve] [/s]",
     "  Lists the values and subkeys of KEY; /v NAME one value, /ve the default value,\n"
     "  /s every key below too.\n"},
    {"add", "zereg add    KEY [/v NAME | /ve] [/t TYPE] [/s SEPARATOR] [/d DATA] [/f]",
     "  Creates KEY, and with /v or /ve sets that value to DATA of TYPE; /s separates\n"
     "  the strings of a REG_MULTI_SZ (default \\0); /f overwrites without asking.\n"},
    {"delete", "zereg delete KEY [/v NAME | /ve | /va] [/f]",
     "  Deletes KEY with everything below it, or only the value NAME, the default value\n"
     "  (/ve) or every value (/va); /f deletes without asking.\n"},
    {"export", "zereg export KEY FILE [/y]",
     "  Writes KEY and everything below it into FILE as .reg text; /y overwrites FILE\n"
     "  without asking.\n"},
    {"import", "zereg import FILE",
     "  Writes the keys and values of the .reg text FILE into the store, all or nothing.\n"},
};
constexpr const char* kUsageHead = "ZEREG operation [parameters]\n\n";
constexpr const char* kUsageTail =
    "\n"
    "KEY is ROOT\\SubKey, ROOT one of HKCR HKCU HKLM HKU HKCC or their full names.\n"
    "TYPE is REG_SZ (the default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD,\n"
    "REG_BINARY or REG_NONE. The store is the file named by ZE_REGISTRO, else\n"
    "$XDG_CONFIG_HOME/zekalendo/registro.db. \"zereg OPERATION /?\" explains one operation.\n";

std::string AllUsage() {
  std::string text = kUsageHead;
  for (const Usage& u : kUsages) text += std::string("  ") + u.synopsis + "\n";
  return text + kUsageTail;
}

bool IsHelp(const std::string& word) {
  return word == "/?" || word == "-h" || word == "--help";
}

// The parsed command line of one command.
struct Command {
  std::vector<std::string> words;                              // arguments, in order
  std::map<std::string, std::optional<std::string>> switches;  // "/v" -> its value
  bool Has(const std::string& s) const { return switches.count(s) != 0; }
  std::string Value(const std::string& s) const {
    auto it = switches.find(s);
    return it == switches.end() || !it->second ? std::string() : *it->second;
  }
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class Tool {
 public:
  Tool(std::istream& in, std::ostream& out, std::ostream& err) : in_(in), out_(out), err_(err) {}

  int Main(const std::vector<std::string>& args) {
    if (args.empty()) {
      err_ << "ERROR: Invalid syntax.\n" << AllUsage();
      return 1;
    }
    const std::string op = Lower(args[0]);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (IsHelp(op)) {
      out_ << AllUsage();
      return 0;
    }
    if (op == "--version") {
      out_ << "zereg (zeKalendo) " << ZE_VERSION_TEXT << "\n";
      return 0;
    }
    // Which switches each command knows, and whether they take a value.
    static const std::map<std::string, std::map<std::string, bool>> kSwitches = {
        {"query", {{"/v", true}, {"/ve", false}, {"/s", false}}},
        {"add",
         {{"/v", true}, {"/ve", false}, {"/t", true}, {"/s", true}, {"/d", true}, {"/f", false}}},
        {"delete", {{"/v", true}, {"/ve", false}, {"/va", false}, {"/f", false}}},
        {"export", {{"/y", false}}},
        {"import", {}},
    };
    auto known = kSwitches.find(op);
    if (known == kSwitches.end()) {
      err_ << "ERROR: Invalid operation \"" << args[0] << "\".\n" << AllUsage();
      return 1;
    }
    if (std::any_of(rest.begin(), rest.end(), IsHelp)) {
      for (const Usage& u : kUsages) {
        if (op == u.op) out_ << u.synopsis << "\n\n" << u.detail << kUsageTail;
      }
      return 0;
    }
    Command cmd;
    for (std::size_t i = 0; i < rest.size(); ++i) {
      const std::string word = Lower(rest[i]);
      auto sw = known->second.find(word);
      if (sw == known->second.end()) {
        cmd.words.push_back(rest[i]);
        continue;
      }
      if (cmd.Has(word)) return Syntax(op, "the switch " + word + " is given twice");
      if (sw->second) {
        if (i + 1 >= rest.size()) return Syntax(op, "the switch " + word + " needs a value");
        cmd.switches[word] = rest[++i];
      } else {
        cmd.switches[word] = std::nullopt;
      }
    }
    store_ = DefaultStore();
    if (op == "query") return Query(cmd);
    if (op == "add") return Add(cmd);
    if (op == "delete") return Delete(cmd);
    if (op == "export") return Export(cmd);
    return Import(cmd);
  }

 private:
  int Syntax(const std::string& op, const std::string& why) {
    err_ << "ERROR: Invalid syntax: " << why << ".\nType \"ZEREG " << op
         << " /?\" or \"zereg /?\" for usage.\n";
    return 1;
  }

  int StoreError(LSTATUS st) {
    if (st == ERROR_FILE_NOT_FOUND) {
      err_ << kNotFound << "\n";
    } else {
      err_ << "ERROR: " << ErrorText(st);
      if (!LastErrorDetail().empty()) err_ << " (" << LastErrorDetail() << ")";
      err_ << "\n";
    }
    return 1;
  }

  // The one KEY argument of query, add and delete.
  bool ParseKey(const Command& cmd, std::size_t words, RootedPath* key, const std::string& op) {
    if (cmd.words.size() != words) {
      Syntax(op, cmd.words.size() < words ? "an argument is missing" : "too many arguments");
      return false;
    }
    const std::optional<RootedPath> parsed = ParseRootedPath(FromUtf8(cmd.words[0]));
    std::vector<String> parts;
    if (!parsed || SplitKeyPath(parsed->path, &parts) != ERROR_SUCCESS) {
      err_ << "ERROR: Invalid key name \"" << cmd.words[0] << "\".\n";
      return false;
    }
    *key = *parsed;
    if (!key->path.empty() && key->path.back() == u'\\') key->path.pop_back();
    return true;
  }

  // Asks a Yes/No question; anything but yes (or no input at all) is No.
  bool Confirm(const std::string& question) {
    out_ << question << " (Yes/No)? " << std::flush;
    std::string answer;
    if (!std::getline(in_, answer)) return false;
    answer = Lower(answer);
    while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back())))
      answer.pop_back();
    return answer == "y" || answer == "yes";
  }

  int Cancelled() {
    err_ << "The operation was cancelled.\n";
    return 1;
  }

  // ---- query

  static std::string Data(const Value& v) {
    char buffer[32];
    switch (v.type) {
      case REG_SZ:
      case REG_EXPAND_SZ:
        return ToUtf8(DecodeString(v.data));
      case REG_MULTI_SZ: {
        std::string text;
        for (const String& item : DecodeMultiString(v.data)) {
          if (!text.empty()) text += "\\0";
          text += ToUtf8(item);
        }
        return text;
      }
      case REG_DWORD:
        if (auto n = DecodeDword(v.data)) {
          std::snprintf(buffer, sizeof buffer, "0x%" PRIx32, *n);
          return buffer;
        }
        break;
      case REG_QWORD:
        if (auto n = DecodeQword(v.data)) {
          std::snprintf(buffer, sizeof buffer, "0x%" PRIx64, *n);
          return buffer;
        }
        break;
      default:
        break;
    }
    std::string hex;
    for (std::uint8_t b : v.data) {
      std::snprintf(buffer, sizeof buffer, "%02X", b);
      hex += buffer;
    }
    return hex;
  }

  void PrintValue(const NamedValue& v) {
    out_ << "    " << (v.name.empty() ? "(Default)" : ToUtf8(v.name)) << "    "
         << TypeName(v.value.type) << "    " << Data(v.value) << "\n";
  }

  // Prints one key: its values (or the one asked for), then, without /s, its
  // subkeys; with /s, the same for every key below. Counts the matches.
  LSTATUS QueryKey(Root root, const String& path, KeyId key, const Command& cmd, bool recurse,
                   int* matches) {
    if (recurse) {
      return WalkKeyTree(*store_, key, path, [&](KeyId k, const String& p) {
        return ShowKey(root, p, k, cmd, true, matches);
      });
    }
    return ShowKey(root, path, key, cmd, false, matches);
  }

  LSTATUS ShowKey(Root root, const String& path, KeyId key, const Command& cmd, bool searching,
                  int* matches) {
    const bool one_value = cmd.Has("/v") || cmd.Has("/ve");
    const String wanted = cmd.Has("/v") ? FromUtf8(cmd.Value("/v")) : String();
    std::vector<NamedValue> values;
    LSTATUS st = store_->EnumValues(key, &values);
    if (st != ERROR_SUCCESS) return st;
    std::vector<const NamedValue*> shown;
    // The default value first, as the original lists it.
    for (const NamedValue& v : values)
      if (v.name.empty()) shown.push_back(&v);
    for (const NamedValue& v : values)
      if (!v.name.empty()) shown.push_back(&v);
    if (one_value) {
      std::vector<const NamedValue*> match;
      for (const NamedValue* v : shown)
        if (FoldName(v->name) == FoldName(wanted)) match.push_back(v);
      shown = match;
    }
    // /ve on one key tells that the default value is not set; a search lists only
    // the keys that match.
    const bool unset_default = cmd.Has("/ve") && shown.empty() && !searching;
    if (!one_value || !shown.empty() || unset_default) {
      out_ << "\n" << ToUtf8(FullKeyName(root, path)) << "\n";
      for (const NamedValue* v : shown) PrintValue(*v);
      if (unset_default) out_ << "    (Default)    REG_SZ    (value not set)\n";
      *matches += one_value ? static_cast<int>(shown.size()) : 1;
    }
    if (searching || one_value) return ERROR_SUCCESS;
    std::vector<String> children;
    st = store_->EnumKeys(key, &children);
    if (st != ERROR_SUCCESS) return st;
    if (!shown.empty()) out_ << "\n";
    for (const String& child : children)
      out_ << ToUtf8(FullKeyName(root, path.empty() ? child : path + u"\\" + child)) << "\n";
    return ERROR_SUCCESS;
  }

  int Query(const Command& cmd) {
    RootedPath key;
    if (!ParseKey(cmd, 1, &key, "query")) return 1;
    if (cmd.Has("/v") && cmd.Has("/ve")) return Syntax("query", "/v and /ve exclude each other");
    // The listing goes to a buffer first, so that a store failing half-way
    // prints an error and no half listing.
    std::ostringstream listing;
    Tool lister(in_, listing, err_);
    lister.store_ = store_;
    int matches = 0;
    const LSTATUS st = store_->ReadBatch([&]() -> LSTATUS {
      KeyId k;
      const LSTATUS s = store_->OpenKey(Store::RootKey(key.root), key.path, &k);
      if (s != ERROR_SUCCESS) return s;
      // The path as stored, not as typed.
      return lister.QueryKey(key.root, StoredPath(key), k, cmd, cmd.Has("/s"), &matches);
    });
    if (st != ERROR_SUCCESS) return StoreError(st);
    if (cmd.Has("/v") && matches == 0) {
      err_ << kNotFound << "\n";
      return 1;
    }
    out_ << listing.str();
    if (cmd.Has("/s")) out_ << "End of search: " << matches << " match(es) found.\n";
    return 0;
  }

  // The path of an existing key with the names as stored ("" when it cannot be
  // found, which the caller has already ruled out).
  String StoredPath(const RootedPath& key) {
    std::vector<String> parts;
    SplitKeyPath(key.path, &parts);
    KeyId current = Store::RootKey(key.root);
    String path;
    for (const String& part : parts) {
      std::vector<String> children;
      if (store_->EnumKeys(current, &children) != ERROR_SUCCESS) return key.path;
      const String* match = nullptr;
      for (const String& child : children)
        if (FoldName(child) == FoldName(part)) match = &child;
      if (match == nullptr || store_->OpenKey(current, *match, &current) != ERROR_SUCCESS)
        return key.path;
      path += (path.empty() ? u"" : u"\\") + *match;
    }
    return path;
  }

  // ---- add

  bool ParseData(DWORD type, const std::string& text, const std::string& separator, Bytes* out) {
    auto bad = [&](const std::string& why) {
      err_ << "ERROR: Invalid value \"" << text << "\" for " << TypeName(type) << ": " << why
           << ".\n";
      return false;
    };
    switch (type) {
      case REG_SZ:
      case REG_EXPAND_SZ:
        *out = EncodeString(FromUtf8(text));
        return true;
      case REG_MULTI_SZ: {
        std::vector<String> items;
        if (!text.empty()) {
          std::size_t start = 0;
          while (true) {
            const std::size_t at = text.find(separator, start);
            items.push_back(FromUtf8(
                text.substr(start, at == std::string::npos ? std::string::npos : at - start)));
            if (at == std::string::npos) break;
            start = at + separator.size();
          }
        }
        for (const String& item : items)
          if (item.empty()) return bad("an item of the list is empty");
        *out = EncodeMultiString(items);
        return true;
      }
      case REG_DWORD:
      case REG_QWORD: {
        if (text.empty() || text[0] == '-' || text[0] == '+' ||
            std::isspace(static_cast<unsigned char>(text[0])))
          return bad("expected a number from 0");
        errno = 0;
        char* end = nullptr;
        const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
        const unsigned long long n = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
        if (errno != 0 || *end != '\0' || (hex && text.size() == 2))
          return bad("expected a decimal number or 0x and hex digits");
        if (type == REG_DWORD && n > 0xFFFFFFFFull) return bad("larger than 4294967295");
        *out = type == REG_DWORD ? EncodeDword(static_cast<std::uint32_t>(n)) : EncodeQword(n);
        return true;
      }
      default: {
        if (text.size() % 2 != 0) return bad("hex digits come in pairs");
        out->clear();
        for (std::size_t i = 0; i < text.size(); i += 2) {
          unsigned byte = 0;
          if (!std::isxdigit(static_cast<unsigned char>(text[i])) ||
              !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
              std::sscanf(text.substr(i, 2).c_str(), "%2x", &byte) != 1)
            return bad("expected hex digits");
          out->push_back(static_cast<std::uint8_t>(byte));
        }
        return true;
      }
    }
  }

  int Add(const Command& cmd) {
    RootedPath key;
    if (!ParseKey(cmd, 1, &key, "add")) return 1;
    if (cmd.Has("/v") && cmd.Has("/ve")) return Syntax("add", "/v and /ve exclude each other");
    DWORD type = REG_SZ;
    if (cmd.Has("/t")) {
      const std::optional<DWORD> t = ParseTypeName(cmd.Value("/t"));
      static const DWORD kAllowed[] = {REG_SZ,    REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD,
                                       REG_QWORD, REG_BINARY,    REG_NONE};
      if (!t || std::find(std::begin(kAllowed), std::end(kAllowed), *t) == std::end(kAllowed)) {
        err_ << "ERROR: Invalid type \"" << cmd.Value("/t") << "\".\n";
        return 1;
      }
      type = *t;
    }
    if (cmd.Has("/s") && type != REG_MULTI_SZ) return Syntax("add", "/s is for REG_MULTI_SZ");
    const std::string separator = cmd.Has("/s") ? cmd.Value("/s") : "\\0";
    if (separator.empty()) return Syntax("add", "the separator is empty");
    // A value is written when one is named, or when data or a type is given.
    const bool value = cmd.Has("/v") || cmd.Has("/ve") || cmd.Has("/d") || cmd.Has("/t");
    const String name = FromUtf8(cmd.Value("/v"));
    Bytes data;
    if (value && !ParseData(type, cmd.Value("/d"), separator, &data)) return 1;
    if (name.size() > kMaxValueNameLength || !IsWellFormed(name)) {
      err_ << "ERROR: Invalid value name.\n";
      return 1;
    }

    // Ask before overwriting (outside the write, so no lock is held meanwhile).
    if (value && !cmd.Has("/f")) {
      KeyId existing;
      Value old;
      const LSTATUS st = store_->OpenKey(Store::RootKey(key.root), key.path, &existing);
      if (st != ERROR_SUCCESS && st != ERROR_FILE_NOT_FOUND) return StoreError(st);
      if (st == ERROR_SUCCESS) {
        const LSTATUS q = store_->QueryValue(existing, name, &old);
        if (q != ERROR_SUCCESS && q != ERROR_FILE_NOT_FOUND) return StoreError(q);
        if (q == ERROR_SUCCESS &&
            !Confirm("Value " + (name.empty() ? std::string("(Default)") : ToUtf8(name)) +
                     " exists, overwrite"))
          return Cancelled();
      }
    }
    const LSTATUS st = store_->Batch([&]() -> LSTATUS {
      KeyId k;
      LSTATUS s = store_->CreateKey(Store::RootKey(key.root), key.path, &k);
      if (s == ERROR_SUCCESS && value) s = store_->SetValue(k, name, type, data);
      return s;
    });
    if (st != ERROR_SUCCESS) return StoreError(st);
    out_ << kSuccess << "\n";
    return 0;
  }

  // ---- delete

  int Delete(const Command& cmd) {
    RootedPath key;
    if (!ParseKey(cmd, 1, &key, "delete")) return 1;
    const int picks = cmd.Has("/v") + cmd.Has("/ve") + cmd.Has("/va");
    if (picks > 1) return Syntax("delete", "use one of /v, /ve and /va");
    KeyId k;
    LSTATUS st = store_->OpenKey(Store::RootKey(key.root), key.path, &k);
    if (st != ERROR_SUCCESS) return StoreError(st);
    const String name = FromUtf8(cmd.Value("/v"));
    const String full = FullKeyName(key.root, key.path);
    if (picks == 0) {
      if (key.path.empty()) {
        err_ << "ERROR: A root key cannot be deleted.\n";
        return 1;
      }
      if (!cmd.Has("/f") && !Confirm("Permanently delete the registry key " + ToUtf8(full)))
        return Cancelled();
      st = store_->DeleteTree(Store::RootKey(key.root), key.path);
    } else if (cmd.Has("/va")) {
      if (!cmd.Has("/f") && !Confirm("Delete all values under the registry key " + ToUtf8(full)))
        return Cancelled();
      st = store_->Batch([&]() -> LSTATUS {
        std::vector<NamedValue> values;
        LSTATUS s = store_->EnumValues(k, &values);
        for (const NamedValue& v : values)
          if (s == ERROR_SUCCESS) s = store_->DeleteValue(k, v.name);
        return s;
      });
    } else {
      Value old;
      st = store_->QueryValue(k, name, &old);
      if (st != ERROR_SUCCESS) return StoreError(st);
      if (!cmd.Has("/f") && !Confirm("Delete the registry value " +
                                     (name.empty() ? std::string("(Default)") : ToUtf8(name))))
        return Cancelled();
      st = store_->DeleteValue(k, name);
    }
    if (st != ERROR_SUCCESS) return StoreError(st);
    out_ << kSuccess << "\n";
    return 0;
  }

  // ---- export / import

  int Export(const Command& cmd) {
    if (cmd.words.size() != 2) {
      return Syntax("export",
                    cmd.words.size() < 2 ? "KEY and FILE are needed" : "too many arguments");
    }
    RootedPath key;
    Command key_only = cmd;
    key_only.words.resize(1);
    if (!ParseKey(key_only, 1, &key, "export")) return 1;
    const std::string file = cmd.words[1];
    String text;
    const LSTATUS st = ExportRegText(*store_, key.root, key.path, &text);
    if (st != ERROR_SUCCESS) return StoreError(st);
    std::error_code ec;
    if (std::filesystem::exists(file, ec) && !cmd.Has("/y") &&
        !Confirm("File " + file + " already exists. Overwrite"))
      return Cancelled();
    // Replaced whole, so a failure or a kill never leaves half a file.
    const system::WriteFailure failure = system::WriteFileAtomically(file, EncodeRegFile(text));
    if (failure) {
      err_ << "ERROR: Cannot write " << failure.detail << "\n";
      return 1;
    }
    out_ << kSuccess << "\n";
    return 0;
  }

  int Import(const Command& cmd) {
    if (cmd.words.size() != 1)
      return Syntax("import", cmd.words.empty() ? "FILE is needed" : "too many arguments");
    const std::string& file = cmd.words[0];
    std::ifstream f(file, std::ios::binary);
    if (!f) {
      err_ << "ERROR: Cannot read " << file << ": " << std::strerror(errno) << "\n";
      return 1;
    }
    std::stringstream bytes;
    bytes << f.rdbuf();
    const RegFileParse parsed = ParseRegFile(bytes.str());
    if (!parsed.ok()) {
      err_ << "ERROR: " << file << ", line " << parsed.errorLine << ": " << parsed.error
           << ". Nothing was imported.\n";
      return 1;
    }
    int line = 0;
    const LSTATUS st = ApplyRegFile(*store_, parsed.changes, &line);
    if (st != ERROR_SUCCESS) {
      err_ << "ERROR: " << file;
      if (line > 0) err_ << ", line " << line;
      err_ << ": " << ErrorText(st);
      if (!LastErrorDetail().empty()) err_ << " (" << LastErrorDetail() << ")";
      err_ << ". Nothing was imported.\n";
      return 1;
    }
    out_ << kSuccess << "\n";
    return 0;
  }

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  std::shared_ptr<Store> store_;
};

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  Tool tool(in, out, err);
  return tool.Main(args);
}

}  // namespace ze::zereg
