// Error information for calls that do not go through Invoke.
//
// A member called through a dual interface's vtable has only its HRESULT to return.
// It leaves the rest of a failure (number, description, source) as the calling
// thread's error information: the EXCEPINFO that Invoke would have filled. The caller
// takes it with GetErrorInfo right after the failed call. An object tells through
// ISupportErrorInfo which of its interfaces leave it, so that a caller never takes a
// record left by some earlier call for the failure of an object that leaves none.
//
// The record lives in the platform runtime, one per thread, shared by the host and
// every component library.
#pragma once

#include "frame/com/dispatch.h"
#include "frame/com/unknown.h"

namespace ze::com {

class ISupportErrorInfo : public IUnknown {
 public:
  static constexpr IID kIid{
      0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
  using Base = IUnknown;

  // S_OK when the members of interface `iid` leave error information when they fail,
  // else S_FALSE.
  virtual HRESULT InterfaceSupportsErrorInfo(const IID& iid) = 0;

 protected:
  ~ISupportErrorInfo() = default;
};

// Sets the calling thread's error information, or clears it for nullptr.
void SetErrorInfo(const EXCEPINFO* info);
// Takes the calling thread's error information: S_OK with *out filled, or S_FALSE
// when there is none. Either way the thread has none afterwards.
HRESULT GetErrorInfo(EXCEPINFO* out);

// What a vtable member returns for the result of the Invoke that did its work:
// success as it is; DISP_E_EXCEPTION as the error's own code (the scode of `info`,
// e.g. MAKE_HRESULT(1, FACILITY_CONTROL, 380)) with `info` left as the thread's error
// information; any other failure as it is, leaving none.
HRESULT ResultForVtable(HRESULT hr, const EXCEPINFO& info);

}  // namespace ze::com
