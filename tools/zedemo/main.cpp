// zedemo: a short tour of what is built, printed to the terminal.
#include <cstdio>

#include "frame/automation/error.h"
#include "frame/automation/string.h"

int main() {
  std::printf("zeKalendo platform runtime\n");
  std::printf("error 6: %s\n", ze::ToUtf8(ze::StandardDescription(6)).c_str());
  return 0;
}
