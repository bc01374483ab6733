// Automation errors across the binary interface, both ways.
//
// Outward (a member failed): the error's number and description go into the
// EXCEPINFO and the call returns DISP_E_EXCEPTION. A number from 0 to 65535 is
// written as wCode = number with scode = MAKE_HRESULT(1, FACILITY_CONTROL, number),
// the code hosts decode a control's error number from; a larger or negative number is
// already an HRESULT-style code (an object error such as vbObjectError + n) and
// goes into scode alone.
//
// Inward (a host called a member and got a failure): the result becomes the error
// that the host's language raises, with the numbers its programmers know: 438 for
// an unknown member, 450 for a wrong argument count, 13 for a type mismatch, 429
// when the object cannot be created, the member's own number for DISP_E_EXCEPTION.
#pragma once

#include <cstdint>
#include <exception>

#include "frame/automation/error.h"
#include "frame/com/dispatch.h"

namespace ze::com {

// Fills *info (when not null) for automation error `number`.
void FillExcepInfo(EXCEPINFO* info, std::int32_t number, const String& description,
                   const String& source);

// The automation error number an EXCEPINFO carries.
std::int32_t ErrorNumberOf(const EXCEPINFO& info);

// The automation error number and description for a failed result; `info` is read
// for DISP_E_EXCEPTION and may be null otherwise.
struct ResultError {
  std::int32_t number = 0;
  String description;
};
ResultError ErrorFromResult(HRESULT hr, const EXCEPINFO* info);

// Raises (ze::Raise) the error of a failed result. Does nothing for success.
void RaiseIfFailed(HRESULT hr, const EXCEPINFO* info = nullptr);

// The result for a C++ exception escaping a member: DISP_E_EXCEPTION for an
// automation error (filling *info), E_OUTOFMEMORY for an allocation failure,
// DISP_E_EXCEPTION with error 440 and the exception's text for anything else.
HRESULT ResultFromException(std::exception_ptr e, EXCEPINFO* info, const String& source);

}  // namespace ze::com
