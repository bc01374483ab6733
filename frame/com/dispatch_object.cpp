// Dispatch objects in Variants; see dispatch_object.h.
#include "frame/com/dispatch_object.h"

#include "frame/com/dispatch_client.h"
#include "frame/com/type_info.h"

namespace ze::com {

Variant DispatchObject::Wrap(IDispatch* dispatch) {
  if (dispatch == nullptr) return Variant::Nothing();
  return Variant(ObjectRef(std::make_shared<DispatchObject>(ComPtr<IDispatch>(dispatch))));
}

String DispatchObject::TypeName() const {
  if (!dispatch_) return u"Nothing";
  ComPtr<ITypeInfo> cls;
  String name;
  if (SUCCEEDED(GetClassInfoOf(dispatch_.Get(), cls.Put())) &&
      SUCCEEDED(cls->GetDocumentation(MEMBERID_NIL, &name, nullptr)) && !name.empty()) {
    return name;
  }
  ComPtr<ITypeInfo> type;
  if (SUCCEEDED(dispatch_->GetTypeInfo(0, 0, type.Put())) && type &&
      SUCCEEDED(type->GetDocumentation(MEMBERID_NIL, &name, nullptr))) {
    std::size_t skip = 0;
    while (skip < name.size() && name[skip] == u'_') ++skip;
    if (skip < name.size()) return name.substr(skip);
  }
  return u"Object";
}

ComPtr<IDispatch> DispatchOf(const Variant& value) {
  if (!value.Is<ObjectRef>()) return nullptr;
  const auto* object = dynamic_cast<const DispatchObject*>(value.Get<ObjectRef>().get());
  return object == nullptr ? nullptr : ComPtr<IDispatch>(object->dispatch());
}

}  // namespace ze::com
