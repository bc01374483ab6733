// Automation errors to and from HRESULT; see dispatch_errors.h.
#include "frame/com/dispatch_errors.h"

#include <new>

namespace ze::com {
namespace {

constexpr std::int32_t kAutomationError = 440;

String DescriptionFor(std::int32_t number) {
  switch (number) {
    case 430:
      return u"Class doesn't support Automation or does not support expected interface";
    case 446:
      return u"Object doesn't support named arguments";
    case 448:
      return u"Named argument not found";
    case 450:
      return u"Wrong number of arguments or invalid property assignment";
    default:
      return StandardDescription(number);
  }
}

}  // namespace

void FillExcepInfo(EXCEPINFO* info, std::int32_t number, const String& description,
                   const String& source) {
  if (info == nullptr) return;
  *info = EXCEPINFO{};
  if (number >= 0 && number <= 0xFFFF) {
    info->wCode = static_cast<WORD>(number);
    info->scode = MAKE_HRESULT(1, FACILITY_CONTROL, static_cast<std::uint32_t>(number));
  } else {
    info->scode = number;
  }
  info->bstrDescription = description;
  info->bstrSource = source;
}

std::int32_t ErrorNumberOf(const EXCEPINFO& info) {
  if (info.wCode != 0) return info.wCode;
  if (FAILED(info.scode) && HRESULT_FACILITY(info.scode) == FACILITY_CONTROL)
    return static_cast<std::int32_t>(HRESULT_CODE(info.scode));
  return info.scode;
}

ResultError ErrorFromResult(HRESULT hr, const EXCEPINFO* info) {
  auto standard = [](std::int32_t n) { return ResultError{n, DescriptionFor(n)}; };
  switch (hr) {
    case DISP_E_EXCEPTION: {
      if (info == nullptr) return standard(kAutomationError);
      ResultError e{ErrorNumberOf(*info), info->bstrDescription};
      if (e.number == 0) e.number = kAutomationError;
      if (e.description.empty()) e.description = DescriptionFor(e.number);
      return e;
    }
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND:
      return standard(errors::kMemberNotSupported);
    case DISP_E_BADPARAMCOUNT:
      return standard(450);
    case DISP_E_TYPEMISMATCH:
      return standard(errors::kTypeMismatch);
    case DISP_E_OVERFLOW:
      return standard(errors::kOverflow);
    case DISP_E_PARAMNOTFOUND:
      return standard(448);
    case DISP_E_PARAMNOTOPTIONAL:
      return standard(449);
    case DISP_E_NONAMEDARGS:
      return standard(446);
    case E_OUTOFMEMORY:
      return standard(7);
    case E_NOINTERFACE:
      return standard(430);
    case REGDB_E_CLASSNOTREG:
    case CLASS_E_CLASSNOTAVAILABLE:
    case CO_E_CLASSSTRING:
    case CO_E_DLLNOTFOUND:
    case CO_E_ERRORINDLL:
    case REGDB_E_READREGDB:
      return standard(errors::kCannotCreateObject);
    default:
      break;
  }
  if (hr == HRESULT_FROM_WIN32(193)) return standard(errors::kCannotCreateObject);
  if (FAILED(hr) && HRESULT_FACILITY(hr) == FACILITY_CONTROL)
    return standard(static_cast<std::int32_t>(HRESULT_CODE(hr)));
  return ResultError{hr, u"Automation error"};
}

void RaiseIfFailed(HRESULT hr, const EXCEPINFO* info) {
  if (SUCCEEDED(hr)) return;
  ResultError e = ErrorFromResult(hr, info);
  Raise(e.number, std::move(e.description));
}

HRESULT ResultFromException(std::exception_ptr e, EXCEPINFO* info, const String& source) {
  try {
    std::rethrow_exception(e);
  } catch (const AutomationError& error) {
    FillExcepInfo(info, error.number(), error.description(), source);
    return DISP_E_EXCEPTION;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& other) {
    FillExcepInfo(info, kAutomationError, u"Automation error: " + FromUtf8(other.what()), source);
    return DISP_E_EXCEPTION;
  } catch (...) {
    FillExcepInfo(info, kAutomationError, DescriptionFor(kAutomationError), source);
    return DISP_E_EXCEPTION;
  }
}

}  // namespace ze::com
