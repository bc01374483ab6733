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

#include "frame/automation/string.h"
#include "tools/zeprova/prova_host.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: zeprova [FILE]\n";
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
