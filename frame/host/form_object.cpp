#include "frame/host/form_object.h"

#include "frame/automation/convert.h"
#include "frame/com/com_object.h"
#include "frame/com/dispatch_object.h"
#include "frame/com/dispatch_table.h"
#include "frame/ui/screen.h"

namespace ze::host {

namespace {

using namespace ze::com;

constexpr std::int16_t kPixels = 3;

class FormDispatch final : public ComObject<DispatchImpl<FormDispatch>> {
 public:
  explicit FormDispatch(std::shared_ptr<ui::Form> form) : form_(std::move(form)) {}

  static const DispatchTable<FormDispatch>& Dispatch() {
    struct Table : DispatchTable<FormDispatch> {
      Table() : DispatchTable(Description()) {
        const TypeDesc single{VT_R4, {}};
        const TypeDesc integer{VT_I2, {}};
        const TypeDesc handle{VT_I4, {}};
        const TypeDesc text{VT_BSTR, {}};
        using F = FormDispatch;
        Property(
            1, u"Left", single, u"", 0, [](F& o) { return Variant(o.Form().Left()); },
            [](F& o, const Variant& v) { o.Form().SetLeft(CSng(v)); });
        Property(
            2, u"Top", single, u"", 0, [](F& o) { return Variant(o.Form().Top()); },
            [](F& o, const Variant& v) { o.Form().SetTop(CSng(v)); });
        Property(
            3, u"Width", single, u"", 0, [](F& o) { return Variant(o.Form().Width()); },
            [](F& o, const Variant& v) { o.Form().SetWidth(CSng(v)); });
        Property(
            4, u"Height", single, u"", 0, [](F& o) { return Variant(o.Form().Height()); },
            [](F& o, const Variant& v) { o.Form().SetHeight(CSng(v)); });
        Property(
            5, u"ScaleWidth", single, u"", 0,
            [](F& o) {
              return Variant(o.FromTwips(o.Form().ScaleWidth(), ui::Screen::TwipsPerPixelX()));
            },
            [](F& o, const Variant& v) {
              o.Form().SetScaleWidth(o.ToTwips(CSng(v), ui::Screen::TwipsPerPixelX()));
            });
        Property(
            6, u"ScaleHeight", single, u"", 0,
            [](F& o) {
              return Variant(o.FromTwips(o.Form().ScaleHeight(), ui::Screen::TwipsPerPixelY()));
            },
            [](F& o, const Variant& v) {
              o.Form().SetScaleHeight(o.ToTwips(CSng(v), ui::Screen::TwipsPerPixelY()));
            });
        Property(
            7, u"ScaleMode", integer, u"", 0, [](F& o) { return Variant(o.Form().ScaleMode()); },
            [](F& o, const Variant& v) { o.Form().SetScaleMode(CInt(v)); });
        Property(
            8, u"Caption", text, u"", 0, [](F& o) { return Variant(o.Form().Caption()); },
            [](F& o, const Variant& v) { o.Form().SetCaption(CStr(v)); });
        Property(
            9, u"WindowState", integer, u"", 0,
            [](F& o) { return Variant(o.Form().WindowState()); },
            [](F& o, const Variant& v) { o.Form().SetWindowState(CInt(v)); });
        Property(10, u"hWnd", handle, u"", 0, [](F& o) { return Variant(o.Form().Hwnd()); });
        // The form's device context is its window (painting.h).
        Property(11, u"hDC", handle, u"", 0, [](F& o) { return Variant(o.Form().Hwnd()); });
      }
      static InterfaceDescription Description() {
        TypeAttr attr;
        attr.name = u"Form";
        attr.typekind = TKIND_DISPATCH;
        return InterfaceDescription{TypeLibAttr{}, attr, {}};
      }
    };
    static const Table table;
    return table;
  }

 private:
  ui::Form& Form() { return *form_; }
  float FromTwips(float twips, float perPixel) {
    return form_->ScaleMode() == kPixels ? twips / perPixel : twips;
  }
  float ToTwips(float value, float perPixel) {
    return form_->ScaleMode() == kPixels ? value * perPixel : value;
  }

  std::shared_ptr<ui::Form> form_;
};

}  // namespace

Variant FormObject(std::shared_ptr<ui::Form> form) {
  ComPtr<FormDispatch> object = MakeCom<FormDispatch>(std::move(form));
  return DispatchObject::Wrap(object.Get());
}

}  // namespace ze::host
