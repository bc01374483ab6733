// Fuzz target over the .reg reader.
//
// The input is a file's bytes, in any encoding or none. Reading must end in changes
// or in an error that names a line, never in a crash, a hang or a sanitizer report;
// and a few properties that must hold are checked and trap when broken: a refused
// file yields no change, every change has a line inside the file and a key path
// within the depth limit, and a file read as UTF-8 reads the same once re-encoded
// as the UTF-16 that the export writes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/automation/string.h"
#include "frame/registry/key_path.h"
#include "frame/registry/reg_file.h"

namespace {

using namespace ze::registry;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const RegFileParse parsed = ParseRegFile(bytes);
  if (!parsed.ok()) {
    Check(parsed.errorLine >= 1);
    Check(!parsed.error.empty());
    Check(parsed.changes.empty());
    return 0;
  }
  int previous = 0;
  for (const RegFileChange& change : parsed.changes) {
    Check(change.line > previous || (change.line == previous && change.line > 0));
    previous = change.line;
    std::vector<ze::String> parts;
    Check(SplitKeyPath(change.path, &parts) == ERROR_SUCCESS);
    Check(parts.size() <= kMaxKeyDepth);
    Check(change.valueName.size() <= kMaxValueNameLength && IsWellFormed(change.valueName));
  }
  if (!StartsWith(bytes, "\xFF\xFE") && !StartsWith(bytes, "\xFE\xFF")) {
    std::string_view utf8 = bytes;
    if (StartsWith(utf8, "\xEF\xBB\xBF")) utf8.remove_prefix(3);
    const RegFileParse again = ParseRegFile(EncodeRegFile(ze::FromUtf8(utf8)));
    Check(again.ok());
    Check(again.changes.size() == parsed.changes.size());
    for (std::size_t i = 0; i < again.changes.size(); ++i) {
      Check(again.changes[i].kind == parsed.changes[i].kind);
      Check(again.changes[i].path == parsed.changes[i].path);
      Check(again.changes[i].value == parsed.changes[i].value);
      Check(again.changes[i].line == parsed.changes[i].line);
    }
  }
  return 0;
}
