// The error record and the standard error descriptions.
#include "frame/automation/error.h"

namespace ze {

AutomationError::AutomationError(std::int32_t number, String description)
    : number_(number),
      description_(std::move(description)),
      what_("automation error " + std::to_string(number) + ": " + ToUtf8(description_)) {}

void ErrRecord::Clear() {
  Number = 0;
  Description.clear();
  Source.clear();
}

ErrRecord& Err() {
  thread_local ErrRecord record;
  return record;
}

String StandardDescription(std::int32_t number) {
  switch (number) {
    case 0: return u"";
    case 3: return u"Return without GoSub";
    case 5: return u"Invalid procedure call or argument";
    case 6: return u"Overflow";
    case 7: return u"Out of memory";
    case 9: return u"Subscript out of range";
    case 11: return u"Division by zero";
    case 13: return u"Type mismatch";
    case 52: return u"Bad file name or number";
    case 53: return u"File not found";
    case 55: return u"File already open";
    case 57: return u"Device I/O error";
    case 58: return u"File already exists";
    case 61: return u"Disk full";
    case 62: return u"Input past end of file";
    case 68: return u"Device unavailable";
    case 70: return u"Permission denied";
    case 71: return u"Disk not ready";
    case 75: return u"Path/File access error";
    case 76: return u"Path not found";
    case 91: return u"Object variable or With block variable not set";
    case 94: return u"Invalid use of Null";
    case 380: return u"Invalid property value";
    case 381: return u"Invalid property array index";
    case 382: return u"Set not supported at runtime";
    case 383: return u"Set not supported (read-only property)";
    case 424: return u"Object required";
    case 429: return u"ActiveX component can't create object";
    case 438: return u"Object doesn't support this property or method";
    case 440: return u"Automation error";
    case 449: return u"Argument not optional";
    default: return u"Application-defined or object-defined error";
  }
}

void Raise(std::int32_t number) { Raise(number, StandardDescription(number)); }

void Raise(std::int32_t number, String description) {
  ErrRecord& err = Err();
  err.Number = number;
  err.Description = description;
  throw AutomationError(number, std::move(description));
}

}  // namespace ze
