// Fuzz target over the SZDD expander.
//
// The input is a whole file. Whatever it holds, the expander must end, stay inside its
// input and output (the sanitizers watch), never give more than the header's length or
// the limit, and give the same answer twice.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/system/szdd.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  constexpr std::size_t kLimit = 1 << 20;
  std::string out;
  const ze::system::SzddResult result = ze::system::ExpandSzdd(input, kLimit, out);
  fuzz::Check((result == ze::system::SzddResult::kNotSzdd) == !ze::system::IsSzdd(input));
  if (result == ze::system::SzddResult::kExpanded) {
    const auto length = static_cast<std::uint32_t>(
        static_cast<std::uint8_t>(input[10]) | static_cast<std::uint8_t>(input[11]) << 8 |
        static_cast<std::uint8_t>(input[12]) << 16 |
        static_cast<std::uint32_t>(static_cast<std::uint8_t>(input[13])) << 24);
    fuzz::Check(out.size() == length && out.size() <= kLimit);
    std::string again;
    fuzz::Check(ze::system::ExpandSzdd(input, kLimit, again) == result && again == out);
  }
  return 0;
}
