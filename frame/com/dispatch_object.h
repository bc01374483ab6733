// DispatchObject: a COM object carried in a Variant.
//
// A Variant holds objects as ze::ObjectRef. A dispatch object coming from a
// component library (a control, a sink) is wrapped in a DispatchObject, which keeps
// one counted reference to its IDispatch for as long as any Variant holds it. Two
// wraps of the same object are two ObjectRefs: compare dispatch() to test identity.
#pragma once

#include "frame/automation/variant.h"
#include "frame/com/com_ptr.h"
#include "frame/com/dispatch.h"

namespace ze::com {

class DispatchObject final : public Object {
 public:
  explicit DispatchObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  // A Variant holding `dispatch` (Nothing for nullptr).
  static Variant Wrap(IDispatch* dispatch);

  IDispatch* dispatch() const { return dispatch_.Get(); }
  // The class name: the coclass's name when the object tells its class, else its
  // dispatch interface's name without leading underscores, else "Object".
  String TypeName() const override;

 private:
  ComPtr<IDispatch> dispatch_;
};

// The IDispatch that a Variant holds: the one inside a DispatchObject, or, for an
// Object of another kind, nothing.
ComPtr<IDispatch> DispatchOf(const Variant& value);

}  // namespace ze::com
