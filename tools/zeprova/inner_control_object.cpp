#include "tools/zeprova/inner_control_object.h"

#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/com/com_object.h"
#include "frame/com/dispatch_object.h"
#include "frame/com/dispatch_table.h"
#include "frame/ui/text_box.h"

namespace zeprova {

namespace {

using namespace ze::com;
using ze::Variant;

class Inner final : public ComObject<DispatchImpl<Inner>> {
 public:
  explicit Inner(ze::ui::Control& control) : control_(control) {}

  static const DispatchTable<Inner>& Dispatch() {
    struct Table : DispatchTable<Inner> {
      Table() : DispatchTable(Description()) {
        const TypeDesc text{VT_BSTR, {}};
        const TypeDesc number{VT_I4, {}};
        Property(
            0, u"Text", text, u"", 0, [](Inner& o) { return Variant(o.Box().Text()); },
            [](Inner& o, const Variant& v) { o.Box().SetText(ze::CStr(v)); });
        Property(
            1, u"SelStart", number, u"", 0, [](Inner& o) { return Variant(o.Box().SelStart()); },
            [](Inner& o, const Variant& v) { o.Box().SetSelStart(ze::CLng(v)); });
        Property(
            2, u"SelLength", number, u"", 0,
            [](Inner& o) { return Variant(o.Box().SelLength()); },
            [](Inner& o, const Variant& v) { o.Box().SetSelLength(ze::CLng(v)); });
      }
      static InterfaceDescription Description() {
        TypeAttr attr;
        attr.name = u"Control";
        attr.typekind = TKIND_DISPATCH;
        return InterfaceDescription{TypeLibAttr{}, attr, {}};
      }
    };
    static const Table table;
    return table;
  }

 private:
  ze::ui::TextBox& Box() {
    auto* box = dynamic_cast<ze::ui::TextBox*>(&control_);
    if (box == nullptr) ze::Raise(ze::errors::kMemberNotSupported);
    return *box;
  }
  ze::ui::Control& control_;
};

}  // namespace

ze::Variant InnerControlObject(ze::ui::Control& control) {
  ComPtr<Inner> inner = MakeCom<Inner>(control);
  return DispatchObject::Wrap(inner.Get());
}

}  // namespace zeprova
