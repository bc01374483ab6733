// HRESULT: the 32-bit result of every call across a binary interface.
//
// Bit 31 is the severity (1 = failure), bits 16-26 the facility, bits 0-15 the
// code. The constants below carry the values of the public COM model, so that a
// result printed by one of our hosts means what any COM programmer expects. Error
// results raised by a control carry the automation error number in the code bits
// under FACILITY_CONTROL.
#pragma once

#include <cstdint>
#include <string>

namespace ze::com {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using UINT = std::uint32_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LCID = std::uint32_t;

inline constexpr HRESULT Hr(std::uint32_t bits) {
  return static_cast<HRESULT>(bits);
}

inline constexpr bool SUCCEEDED(HRESULT hr) {
  return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr) {
  return hr < 0;
}

inline constexpr std::uint32_t FACILITY_NULL = 0;
inline constexpr std::uint32_t FACILITY_DISPATCH = 2;
inline constexpr std::uint32_t FACILITY_ITF = 4;
inline constexpr std::uint32_t FACILITY_WIN32 = 7;
inline constexpr std::uint32_t FACILITY_CONTROL = 10;

inline constexpr HRESULT MAKE_HRESULT(std::uint32_t severity, std::uint32_t facility,
                                      std::uint32_t code) {
  return Hr((severity << 31) | ((facility & 0x7FF) << 16) | (code & 0xFFFF));
}
inline constexpr std::uint32_t HRESULT_FACILITY(HRESULT hr) {
  return (static_cast<std::uint32_t>(hr) >> 16) & 0x7FF;
}
inline constexpr std::uint32_t HRESULT_CODE(HRESULT hr) {
  return static_cast<std::uint32_t>(hr) & 0xFFFF;
}
// A Win32 error code as a failure result (0 stays success).
inline constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t error) {
  return static_cast<HRESULT>(error) <= 0 ? static_cast<HRESULT>(error)
                                          : MAKE_HRESULT(1, FACILITY_WIN32, error);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;

inline constexpr HRESULT E_NOTIMPL = Hr(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = Hr(0x80004002);
inline constexpr HRESULT E_POINTER = Hr(0x80004003);
inline constexpr HRESULT E_ABORT = Hr(0x80004004);
inline constexpr HRESULT E_FAIL = Hr(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = Hr(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = Hr(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = Hr(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = Hr(0x80070057);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = Hr(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = Hr(0x80040111);
inline constexpr HRESULT REGDB_E_READREGDB = Hr(0x80040150);
inline constexpr HRESULT REGDB_E_WRITEREGDB = Hr(0x80040151);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = Hr(0x80040154);
inline constexpr HRESULT CO_E_CLASSSTRING = Hr(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = Hr(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = Hr(0x800401F9);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = Hr(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = Hr(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = Hr(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = Hr(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = Hr(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = Hr(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = Hr(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = Hr(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = Hr(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = Hr(0x8002000B);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = Hr(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = Hr(0x8002000F);
inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = Hr(0x8002802B);

inline constexpr HRESULT CONNECT_E_NOCONNECTION = Hr(0x80040200);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = Hr(0x80040201);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = Hr(0x80040202);

inline constexpr HRESULT SELFREG_E_TYPELIB = Hr(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = Hr(0x80040201);

// The constant's name of a known result ("E_NOINTERFACE"), else "". Results that
// share a value (CONNECT_E_NOCONNECTION and SELFREG_E_TYPELIB) give the first.
const char* HresultName(HRESULT hr);

// Text for messages: "0x80040154 REGDB_E_CLASSNOTREG (class not registered)".
std::string HresultText(HRESULT hr);

}  // namespace ze::com
