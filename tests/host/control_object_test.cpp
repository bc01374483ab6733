// The control object on a control that is not Kalendo: a small widget with a member
// table, an event table and two interface versions, which is all a new control
// (ZEInputNumerico, say) writes. What the control object adds must come out the same
// for it: the older IIDs, error information, events by name to any IID of the event
// chain, the guarded host-facing calls, the defaults without a site, the module count.
#include "frame/host/control_object.h"

#include <gtest/gtest.h>

#include "frame/automation/error.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/event_sink.h"
#include "frame/com/member_table.h"
#include "frame/com/type_info_impl.h"
#include "frame/container/object_members.h"
#include "frame/container/property_bag.h"
#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"

namespace ze::host {
namespace {

using namespace ze::com;
using container::DefaultFont;
using container::Font;
using container::PropertyBag;

constexpr GUID Id(std::uint32_t n) {
  return GUID{0x5a1e0200 + n, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x03}};
}
constexpr IID kIidOld = Id(1), kIidSpia = Id(2), kIidEventsOld = Id(3), kIidEvents = Id(4);
constexpr CLSID kClsid = Id(5);

// The widget: a text that raises Cambiato when it changes, a load that fails on a
// bag holding Rotto, an init that can be made to fail.
class Spia : public ui::UserControl {
 public:
  String TypeName() const override { return u"Spia"; }
  ui::TextBox& Text1 = AddChild<ui::TextBox>(u"Text1");
  String Testo() const { return Text1.Text(); }
  void SetTesto(String t) {
    Text1.SetText(t);
    PropertyChanged(u"Testo");
    RaiseEvent(u"Cambiato", {Variant(t)});
  }
  void Svuota() { RaiseEvent(u"NessunEvento"); }
  // Without a site, what the widget asks of its host.
  bool Puo() { return CanPropertyChange(u"Testo"); }
  std::shared_ptr<Font> Carattere() { return AmbientFont(); }
  std::optional<Variant> Estensore() { return ExtenderProperty(u"Tag"); }
  inline static bool initFails = false;

 protected:
  void UserControl_InitProperties() override {
    if (initFails) Raise(errors::kInvalidPropertyValue, u"init rifiutata");
  }
  void UserControl_ReadProperties(PropertyBag& bag) override {
    if (bag.Contains(u"Rotto")) Raise(errors::kInvalidPropertyValue);
    Text1.SetText(CStr(bag.ReadProperty(u"Testo", Variant(String()))));
  }
};

// clang-format off
#define ZE_SPIA_MEMBERS(PROPERTY, METHOD, FUNCTION)                              \
  PROPERTY(Testo, 0, members::String, Let, Testo, SetTesto, u"", 0)        \
  METHOD(Svuota, 1, Svuota, u"", 0)
#define ZE_SPIA_EVENTS(EVENT) EVENT(Cambiato, 7, u"")
// clang-format on

ZE_DUAL_INTERFACE(ISpia, kIidSpia, ZE_SPIA_MEMBERS);

TypeAttr Attr(const GUID& guid, const char16_t* name, TYPEKIND kind) {
  TypeAttr a;
  a.guid = guid;
  a.name = name;
  a.typekind = kind;
  return a;
}

class SpiaObject final : public ControlObject<SpiaObject, ISpia, Spia> {
 public:
  explicit SpiaObject(ServerModule& module) : ControlObject(module) {}

  static const DispatchTable<SpiaObject>& Dispatch() {
    struct Table : DispatchTable<SpiaObject> {
      Table()
          : DispatchTable(InterfaceDescription{TypeLibAttr{},
                                               Attr(kIidSpia, u"_Spia", TKIND_DISPATCH),
                                               ZE_MEMBER_DESCRIPTIONS(ZE_SPIA_MEMBERS)}) {
        SetSource(u"Prova.Spia");
        ZE_MEMBER_BIND(
            *this, [](SpiaObject& o) -> Spia& { return o.control(); }, ZE_SPIA_MEMBERS);
      }
    };
    static const Table table;
    return table;
  }
  static const ControlClass& Class() {
    static const ControlClass info = [] {
      const std::vector<FuncDesc> events = ZE_EVENT_DESCRIPTIONS(ZE_SPIA_EVENTS);
      const ComPtr<ITypeInfo> eventType = MakeTypeInfo(
          InterfaceDescription{TypeLibAttr{}, Attr(kIidEvents, u"__Spia", TKIND_DISPATCH), events});
      return ControlClass{u"Prova.Spia",
                          {kIidOld},
                          {kIidEvents, kIidEventsOld},
                          events,
                          MakeClassTypeInfo(ClassDescription{
                              TypeLibAttr{},
                              Attr(kClsid, u"Spia", TKIND_COCLASS),
                              {{Dispatch().TypeInfo(), IMPLTYPEFLAG_FDEFAULT},
                               {eventType, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}})};
    }();
    return info;
  }

  ZE_MEMBER_DUAL(ZE_SPIA_MEMBERS)
};

class ControlObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Spia::initFails = false;
    SetErrorInfo(nullptr);
    ASSERT_EQ(SpiaObject::Create(module_, kIidOld, spia_.PutVoid()), S_OK);
    ASSERT_EQ(spia_->QueryInterface(IZeControl::kIid, control_.PutVoid()), S_OK);
  }

  ServerModule module_;
  ComPtr<ISpia> spia_;
  ComPtr<IZeControl> control_;
};

TEST_F(ControlObjectTest, AnOlderIidIsTheSameInterfaceWithErrorInfo) {
  ComPtr<ISpia> current;
  ASSERT_EQ(spia_->QueryInterface(kIidSpia, current.PutVoid()), S_OK);
  EXPECT_EQ(current.Get(), spia_.Get());
  ComPtr<IUnknown> none;
  EXPECT_EQ(spia_->QueryInterface(kIidEvents, none.PutVoid()), E_NOINTERFACE);

  ComPtr<ISupportErrorInfo> errors;
  ASSERT_EQ(spia_->QueryInterface(ISupportErrorInfo::kIid, errors.PutVoid()), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(kIidSpia), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(kIidOld), S_OK);
  EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IZeControl::kIid), S_FALSE);

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(GetClassInfoOf(spia_.Get(), coclass.Put()), S_OK);
  TypeAttr attr;
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr.guid, kClsid);
}

TEST_F(ControlObjectTest, EventsGoByNameToSinksOfAnyIidOfTheChain) {
  for (const IID& iid : {kIidEvents, kIidEventsOld}) {
    std::vector<std::pair<DISPID, Variant>> heard;
    ComPtr<EventSink> sink = MakeCom<EventSink>(
        [&](DISPID id, std::span<Variant> args) { heard.emplace_back(id, args[0]); });
    ASSERT_EQ(sink->Connect(spia_.Get(), iid), S_OK);
    ASSERT_EQ(spia_->put_Testo(u"uno"), S_OK);
    // An event the table does not list reaches nobody.
    ASSERT_EQ(spia_->Svuota(), S_OK);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].first, 7);
    EXPECT_EQ(heard[0].second, Variant(String(u"uno")));
    ASSERT_EQ(sink->Disconnect(), S_OK);
  }
}

TEST_F(ControlObjectTest, FailuresInTheWidgetComeBackAsResults) {
  PropertyBag bag;
  bag.WriteProperty(u"Testo", Variant(String(u"caricato")));
  EXCEPINFO info;
  ASSERT_EQ(control_->Load(bag, &info), S_OK);
  EXPECT_EQ(static_cast<SpiaObject*>(spia_.Get())->control().Testo(), u"caricato");

  bag.WriteProperty(u"Rotto", Variant(true));
  EXPECT_EQ(control_->Load(bag, &info), DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorNumberOf(info), errors::kInvalidPropertyValue);
  EXPECT_EQ(info.bstrSource, u"Prova.Spia");

  Spia::initFails = true;
  EXPECT_EQ(control_->InitNew(), DISP_E_EXCEPTION);
  PropertyBag saved;
  EXPECT_EQ(control_->Save(saved, nullptr), S_OK);
}

TEST_F(ControlObjectTest, WithoutASiteTheWidgetGetsDefaults) {
  Spia& spia = static_cast<SpiaObject*>(spia_.Get())->control();
  EXPECT_EQ(control_->Widget(), &spia);
  EXPECT_TRUE(spia.Puo());
  ASSERT_NE(spia.Carattere(), nullptr);
  EXPECT_EQ(*spia.Carattere(), *DefaultFont());
  EXPECT_FALSE(spia.Estensore().has_value());
}

TEST_F(ControlObjectTest, EveryObjectHoldsTheModule) {
  EXPECT_EQ(module_.objects(), 1);
  control_ = nullptr;
  spia_ = nullptr;
  EXPECT_EQ(module_.objects(), 0);
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace ze::host
