// zereg's entry point; the commands are in zereg.cpp.
#include <iostream>

#include "tools/zereg/zereg.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return ze::zereg::Run(args, std::cin, std::cout, std::cerr);
}
