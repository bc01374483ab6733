// A script's lines.
#include "tools/zeprova/script_text.h"

namespace zeprova {

std::optional<std::vector<ze::String>> ScriptLines(std::string_view bytes, std::string* problem) {
  std::vector<ze::String> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(at, end - at);
    at = end + 1;
    ze::String text = ze::FromUtf8(line);
    // The conversion replaces what is not UTF-8; text is what converts back unchanged.
    if (ze::ToUtf8(text) != line) {
      *problem = "line " + std::to_string(lines.size() + 1) + ": not UTF-8 text";
      return std::nullopt;
    }
    lines.push_back(std::move(text));
  }
  return lines;
}

}  // namespace zeprova
