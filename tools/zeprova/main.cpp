// zeprova: the scriptable test container. `zeprova [FILE]` runs a script from FILE or
// from standard input and prints what happens, one line each.
//
// Exit status: 0 after the last command (automation errors included: they are printed
// and the script goes on), 1 at a line that cannot be parsed or is not UTF-8 text, 2
// when no script ran at all (wrong arguments, a file that cannot be read, a folder or
// a device in place of a script, one larger than any script), so a caller tells a
// script that went wrong from a call that did.
#include <exception>
#include <iostream>
#include <sstream>
#include <string_view>

#include "frame/automation/string.h"
#include "frame/system/regular_file.h"
#include "tools/zeprova/prova_host.h"
#include "tools/zeprova/script_text.h"
#include "ze_version.h"

namespace {

constexpr const char* kUsage =
    "usage: zeprova [FILE]\n"
    "Runs a script of controls from FILE, or from standard input, on a test form and\n"
    "prints every result, event, change notice and message box, one line each.\n"
    "\n"
    "  register FILE            new NAME PROGID         set NAME PROP VALUE\n"
    "  get NAME PROP            call NAME METHOD [VALUE ...]\n"
    "  focus PATH   type \"TEXT\"   key KEY   click PATH   inspect PATH   wait MS\n"
    "  ... and more: docs/zeprova.md has the whole language.\n"
    "\n"
    "Exit status: 0 after the last command (automation errors are printed and the\n"
    "script goes on), 1 at a line that cannot be parsed, 2 when no script ran.\n"
    "The registry store is the file named by ZE_REGISTRO, else\n"
    "$XDG_CONFIG_HOME/zekalendo/registro.db.\n";

// Far above any script written by hand or by a test; only a wrong path reaches it.
constexpr std::size_t kMaxScriptBytes = 16 << 20;

bool ReadStandardInput(std::string& bytes) {
  char buffer[65536];
  while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(std::cin.gcount()));
    if (bytes.size() > kMaxScriptBytes) return false;
  }
  return !std::cin.bad();
}

int Run(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "zeprova (zeKalendo) " << ZE_VERSION_TEXT << "\n";
    return 0;
  }
  if (argc > 2) {
    std::cerr << kUsage;
    return 2;
  }
  std::string bytes;
  if (argc == 2) {
    const auto read = ze::system::ReadRegularFile(argv[1], kMaxScriptBytes, bytes);
    if (read.failure != ze::system::ReadFailure::kNone) {
      std::cerr << "zeprova: cannot read " << argv[1] << ": "
                << ze::system::Describe(read, kMaxScriptBytes) << "\n";
      return 2;
    }
  } else if (!ReadStandardInput(bytes)) {
    std::cerr << "zeprova: cannot read the script from standard input\n";
    return 2;
  }
  std::string problem;
  const auto lines = zeprova::ScriptLines(bytes, &problem);
  if (!lines) {
    std::cerr << "zeprova: " << problem << "\n";
    return 1;
  }
  zeprova::ProvaHost host(std::cout, std::cerr);
  return host.Run(*lines);
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever escapes (the host reports what a line does wrong itself) ends the run
  // with a message, never with an abort.
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "zeprova: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "zeprova: an unexpected failure\n";
  }
  return 2;
}
