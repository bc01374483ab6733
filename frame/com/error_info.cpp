// The thread's error information; see error_info.h.
#include "frame/com/error_info.h"

#include <optional>

namespace ze::com {
namespace {

std::optional<EXCEPINFO>& Record() {
  thread_local std::optional<EXCEPINFO> record;
  return record;
}

}  // namespace

void SetErrorInfo(const EXCEPINFO* info) {
  if (info != nullptr) {
    Record() = *info;
  } else {
    Record().reset();
  }
}

HRESULT GetErrorInfo(EXCEPINFO* out) {
  std::optional<EXCEPINFO>& record = Record();
  if (!record) return S_FALSE;
  if (out != nullptr) *out = std::move(*record);
  record.reset();
  return S_OK;
}

HRESULT ResultForVtable(HRESULT hr, const EXCEPINFO& info) {
  if (SUCCEEDED(hr)) return hr;
  if (hr != DISP_E_EXCEPTION) {
    SetErrorInfo(nullptr);
    return hr;
  }
  SetErrorInfo(&info);
  // An error number that is no failure code (a large positive number goes into the
  // scode as it is) must still come back as a failure.
  return FAILED(info.scode) ? info.scode : DISP_E_EXCEPTION;
}

}  // namespace ze::com
