// Names and descriptions of the standard results, for messages.
#include "frame/com/hresult.h"

#include <cstdio>

namespace ze::com {
namespace {

struct Known {
  HRESULT hr;
  const char* name;
  const char* text;
};

constexpr Known kKnown[] = {
    {S_OK, "S_OK", "success"},
    {S_FALSE, "S_FALSE", "success, answer no"},
    {E_NOTIMPL, "E_NOTIMPL", "not implemented"},
    {E_NOINTERFACE, "E_NOINTERFACE", "no such interface supported"},
    {E_POINTER, "E_POINTER", "invalid pointer"},
    {E_ABORT, "E_ABORT", "operation aborted"},
    {E_FAIL, "E_FAIL", "unspecified error"},
    {E_UNEXPECTED, "E_UNEXPECTED", "catastrophic failure"},
    {E_ACCESSDENIED, "E_ACCESSDENIED", "access denied"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY", "out of memory"},
    {E_INVALIDARG, "E_INVALIDARG", "invalid argument"},
    {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION", "class does not support aggregation"},
    {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE",
     "class factory cannot supply the requested class"},
    {REGDB_E_READREGDB, "REGDB_E_READREGDB", "could not read the registry store"},
    {REGDB_E_WRITEREGDB, "REGDB_E_WRITEREGDB", "could not write the registry store"},
    {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG", "class not registered"},
    {CO_E_CLASSSTRING, "CO_E_CLASSSTRING", "invalid class string"},
    {CO_E_DLLNOTFOUND, "CO_E_DLLNOTFOUND", "server library not found"},
    {CO_E_ERRORINDLL, "CO_E_ERRORINDLL", "error in the server library"},
    {DISP_E_UNKNOWNINTERFACE, "DISP_E_UNKNOWNINTERFACE", "unknown interface"},
    {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND", "member not found"},
    {DISP_E_PARAMNOTFOUND, "DISP_E_PARAMNOTFOUND", "parameter not found"},
    {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH", "type mismatch"},
    {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME", "unknown name"},
    {DISP_E_NONAMEDARGS, "DISP_E_NONAMEDARGS", "no named arguments"},
    {DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE", "bad variable type"},
    {DISP_E_EXCEPTION, "DISP_E_EXCEPTION", "exception occurred"},
    {DISP_E_OVERFLOW, "DISP_E_OVERFLOW", "out of present range"},
    {DISP_E_BADINDEX, "DISP_E_BADINDEX", "invalid index"},
    {DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT", "invalid number of parameters"},
    {DISP_E_PARAMNOTOPTIONAL, "DISP_E_PARAMNOTOPTIONAL", "parameter not optional"},
    {TYPE_E_ELEMENTNOTFOUND, "TYPE_E_ELEMENTNOTFOUND", "element not found"},
    {CONNECT_E_NOCONNECTION, "CONNECT_E_NOCONNECTION", "no such connection"},
    {CONNECT_E_ADVISELIMIT, "CONNECT_E_ADVISELIMIT", "connection limit reached"},
    {CONNECT_E_CANNOTCONNECT, "CONNECT_E_CANNOTCONNECT", "the sink does not support the interface"},
    {HRESULT_FROM_WIN32(2), "HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)", "file not found"},
    {HRESULT_FROM_WIN32(126), "HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)",
     "the specified module could not be found"},
    {HRESULT_FROM_WIN32(193), "HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT)",
     "the file is not a valid library"},
};

const Known* Find(HRESULT hr) {
  for (const Known& k : kKnown)
    if (k.hr == hr) return &k;
  return nullptr;
}

}  // namespace

const char* HresultName(HRESULT hr) {
  const Known* k = Find(hr);
  return k != nullptr ? k->name : "";
}

std::string HresultText(HRESULT hr) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(hr));
  std::string text = hex;
  if (const Known* k = Find(hr)) {
    text += std::string(" ") + k->name + " (" + k->text + ")";
  } else if (FAILED(hr) && HRESULT_FACILITY(hr) == FACILITY_CONTROL) {
    text += " (automation error " + std::to_string(HRESULT_CODE(hr)) + ")";
  }
  return text;
}

}  // namespace ze::com
