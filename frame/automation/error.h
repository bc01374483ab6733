// Automation errors and the per-thread error record (Err).
//
// A failing platform service or component member raises an automation error: a C++
// exception carrying the error number and its description. Raising also fills the
// thread's error record, which code that catches the error may read and clear. At
// the COM boundary the exception becomes DISP_E_EXCEPTION with the same number.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "frame/automation/string.h"

namespace ze {

// Standard error numbers that the components and their callers rely on.
namespace errors {
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kPermissionDenied = 70;
inline constexpr std::int32_t kPathNotFound = 76;
inline constexpr std::int32_t kObjectNotSet = 91;
inline constexpr std::int32_t kInvalidUseOfNull = 94;
inline constexpr std::int32_t kInvalidPropertyValue = 380;
inline constexpr std::int32_t kObjectRequired = 424;
inline constexpr std::int32_t kCannotCreateObject = 429;
inline constexpr std::int32_t kMemberNotSupported = 438;
}  // namespace errors

class AutomationError : public std::exception {
 public:
  AutomationError(std::int32_t number, String description);
  std::int32_t number() const noexcept { return number_; }
  const String& description() const noexcept { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  String description_;
  std::string what_;
};

// The thread's record of the last failure.
struct ErrRecord {
  std::int32_t Number = 0;
  String Description;
  String Source;
  void Clear();
};

// The calling thread's error record.
ErrRecord& Err();

// The platform's own description of an error number ("Overflow" for 6); numbers
// without one get "Application-defined or object-defined error".
String StandardDescription(std::int32_t number);

// Fills the error record and throws: with the standard description, or with a
// description of the caller's own.
[[noreturn]] void Raise(std::int32_t number);
[[noreturn]] void Raise(std::int32_t number, String description);

}  // namespace ze
