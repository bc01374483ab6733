// Expanding the classic compressed installation files ("SZDD" files, the ones whose
// names end in an underscore: SETUP.EX_).
//
// The file is a 14-byte header and a bit stream:
//   bytes 0-7   the signature 53 5A 44 44 88 F0 27 33 ("SZDD" and four fixed bytes)
//   byte  8     the method, 'A' (0x41), the only one there is
//   byte  9     the last character of the original name, which the underscore replaced
//   bytes 10-13 the length of the expanded data, 32 bits little endian
// then groups of one flag byte and up to eight items, one for each bit of the flag
// from the lowest: a set bit is one literal byte, a clear bit a two-byte reference
// b0 b1 into a 4096-byte window of the data already produced, at position
// b0 | (b1 & 0xF0) << 4 and of (b1 & 0x0F) + 3 bytes (3 to 18). The window starts
// filled with blanks, and its write position starts 16 bytes before its end (4080).
//
// The header's length bounds the output: the expansion stops there, and a stream that
// ends before it (a truncated file, or a length that lies) is a failure, as is a
// length larger than any stream of this size could give (at most 18 bytes for each
// two of input), so no hostile header makes the expander reserve more than the data
// can fill. Whatever the input, the expander reads only inside it and writes only
// inside its output.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ze::system {

enum class SzddResult {
  kExpanded,  // `out` holds the expanded data, exactly the header's length
  kNotSzdd,   // no SZDD signature: the file is not compressed
  kDamaged,   // a signature but a short header, an unknown method, a lying length
  kTooLarge,  // the header's length is above the caller's limit
};

inline constexpr std::size_t kSzddHeaderSize = 14;

// Whether `data` starts with the SZDD signature.
bool IsSzdd(std::string_view data);

// Expands `data` into `out` (replaced) when it is an SZDD file whose expanded length
// is at most `max_output`. `out` is unspecified unless the result is kExpanded.
SzddResult ExpandSzdd(std::string_view data, std::size_t max_output, std::string& out);

}  // namespace ze::system
