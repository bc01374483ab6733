// Fuzz target over zeprova's script reading: the bytes of a script cut into lines of
// text, each line into words, and each word read as a value literal, as the host does
// before it runs a command. Every step ends in a result or its own refusal; any other
// exception escapes and aborts, the sanitizers catch the rest.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/automation/error.h"
#include "frame/container/literal.h"
#include "tools/zeprova/script_line.h"
#include "tools/zeprova/script_text.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string problem;
  const auto lines = zeprova::ScriptLines(bytes, &problem);
  if (!lines) {
    Check(problem.starts_with("line ") && problem.ends_with(": not UTF-8 text"));
    return 0;
  }
  for (const ze::String& text : *lines) {
    problem.clear();
    const auto line = zeprova::SplitLine(text, &problem);
    if (!line) {
      Check(!problem.empty());
      continue;
    }
    for (std::size_t i = 0; i < line->words.size(); ++i) {
      const zeprova::Word& word = line->words[i];
      Check(!word.text.empty() && word.start < text.size());
      Check(text.compare(word.start, word.text.size(), word.text) == 0);
      line->RestFrom(i);
      try {
        ze::container::ParseLiteral(word.text);
      } catch (const ze::AutomationError&) {
      }
    }
  }
  return 0;
}
