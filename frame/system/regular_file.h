// Reading a whole file that must be a plain file of bounded size: a FIFO, a device
// (/dev/zero), a folder or a file larger than the caller can hold is refused at once
// instead of blocking, exhausting memory or reading as empty.
#pragma once

#include <cstddef>
#include <string>

namespace ze::system {

enum class ReadFailure {
  kNone,
  kMissing,     // no such file (or a folder on the way is missing)
  kDenied,      // no permission
  kNotRegular,  // a folder, FIFO, socket or device
  kTooLarge,    // more than the limit
  kIo,          // any other failure; errno-style code in `error`
};

struct ReadResult {
  ReadFailure failure = ReadFailure::kNone;
  int error = 0;  // the errno of the failing call
};

// Reads all of `path` into `bytes` when it is a regular file of at most `maxBytes`.
// `bytes` is unspecified after a failure.
ReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// A short English phrase for a failure ("is not a regular file").
std::string Describe(ReadResult result, std::size_t maxBytes);

}  // namespace ze::system
