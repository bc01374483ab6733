// The ".reg" text format: reading it into changes, applying them, writing a tree.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Prova]          creates the key
//   @="default value"                            the key's default value
//   "Nome"="testo con \"virgolette\" e \\"      REG_SZ; \" and \\ are the escapes
//   "Conta"=dword:0000000a                       REG_DWORD
//   "Dati"=hex:01,02,ff                          REG_BINARY
//   "Espandi"=hex(2):25,00,41,00,25,00,00,00     any type N as hex(N): raw bytes
//   "Vecchio"=-                                  deletes the value
//   [-HKEY_CURRENT_USER\Software\Vecchia]        deletes the key and its subkeys
//
// A value line ending in "\" continues on the next line (leading blanks of the
// continuation are dropped); lines starting with ";" are comments. Files are
// written UTF-16LE with a byte-order mark, the form registry editors expect; UTF-8
// (with or without its mark) is read as well; bytes that are not valid UTF-8 (or a
// UTF-16 file cut in half a character) are refused with their line. Roots may be
// abbreviated (HKCU). A key deeper than kMaxKeyDepth levels is refused.
//
// Parsing is separate from applying, so a malformed file is refused whole before
// anything is written, with the number of the line at fault; applying runs as one
// batch, so a failure half-way leaves the store as it was. Export writes a REG_SZ
// that is not a clean string (no final NUL, a NUL inside, a line break) as hex(1),
// so that every value reads back with the same bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/string.h"
#include "frame/registry/key_path.h"
#include "frame/registry/store.h"
#include "frame/registry/value.h"

namespace ze::registry {

inline constexpr std::u16string_view kRegFileHeader = u"Windows Registry Editor Version 5.00";

struct RegFileChange {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind = Kind::CreateKey;
  Root root = Root::CurrentUser;
  String path;       // below the root
  String valueName;  // SetValue / DeleteValue
  Value value;       // SetValue
  int line = 0;      // where it was written (1-based)
};

struct RegFileParse {
  std::vector<RegFileChange> changes;
  int errorLine = 0;  // 0 when the file is well formed
  std::string error;  // what is wrong on that line
  bool ok() const { return errorLine == 0; }
};

// Parses a whole file given as its bytes.
RegFileParse ParseRegFile(std::string_view bytes);
// Parses text already decoded.
RegFileParse ParseRegText(std::u16string_view text);

// Applies the changes as one batch. On failure nothing has been written and
// *failedLine (when given) is the line of the change that failed, or 0 when no one
// change did (the store could not be opened, or the final commit failed).
LSTATUS ApplyRegFile(Store& store, const std::vector<RegFileChange>& changes,
                     int* failedLine = nullptr);

// The text of the key root\path and everything below it, lines ending in CR LF.
LSTATUS ExportRegText(Store& store, Root root, std::u16string_view path, String* text);
// The bytes of a file holding `text`: UTF-16LE with its byte-order mark.
std::string EncodeRegFile(std::u16string_view text);

}  // namespace ze::registry
