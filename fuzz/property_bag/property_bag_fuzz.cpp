// Fuzz target over the property-bag reader.
//
// The input is the bytes of a bag file. They are read as the file reader reads them
// (UTF-8 that converts back unchanged, or "not text"), then parsed. Parsing ends in a
// bag or an AutomationError; any other exception escapes and aborts, the sanitizers
// catch the rest. A bag that parses writes a text that parses to the same bag, and that
// text is a fixed point of writing and reading.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/automation/error.h"
#include "frame/automation/string.h"
#include "frame/container/property_bag.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ze::String text = ze::FromUtf8(bytes);
  if (ze::ToUtf8(text) != bytes) return 0;  // the reader refuses it before parsing
  ze::container::PropertyBag bag;
  try {
    bag.Parse(text);
  } catch (const ze::AutomationError& e) {
    Check(e.number() == 321);
    Check(bag.empty());  // a refused text leaves the bag as it was
    return 0;
  }
  const ze::String written = bag.Format();
  ze::container::PropertyBag back;
  back.Parse(written);  // what the bag writes, it reads: an error here aborts
  Check(back.size() == bag.size());
  Check(back.Format() == written);
  for (const auto& entry : bag.Entries()) Check(back.Contains(entry.name));
  return 0;
}
