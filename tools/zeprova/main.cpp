// zeprova: the scriptable test container. `zeprova [FILE]` runs a script from FILE or
// from standard input and prints what happens, one line each.
//
// Exit status: 0 after the last command (automation errors included: they are printed
// and the script goes on), 1 at a line that cannot be parsed, 2 when no script ran at
// all (wrong arguments, a file that cannot be read), so a caller tells a script that
// went wrong from a call that did.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>

#include "frame/automation/string.h"
#include "tools/zeprova/prova_host.h"
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

}  // namespace

int main(int argc, char** argv) {
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
  std::stringstream text;
  if (argc == 2) {
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
      std::cerr << "zeprova: cannot read " << argv[1] << "\n";
      return 2;
    }
    text << file.rdbuf();
  } else {
    text << std::cin.rdbuf();
  }
  std::vector<ze::String> lines;
  std::string line;
  while (std::getline(text, line)) lines.push_back(ze::FromUtf8(line));
  zeprova::ProvaHost host(std::cout, std::cerr);
  return host.Run(lines);
}
