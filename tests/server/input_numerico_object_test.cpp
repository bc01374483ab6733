// ZEInputNumerico as a control object: its members by the dispatch ids the library's
// forms use, its failures as the host sees them, and its events, carrying their value,
// through a connection point.
#include "server/input_numerico_object.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame/automation/locale.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/event_sink.h"
#include "frame/host/ole_control.h"

namespace zekalendo {
namespace {

using namespace ze::com;
using ze::String;
using ze::Variant;

class InputNumericoObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ze::Locale::SetCurrent("it_IT");
    ASSERT_EQ(InputNumericoObject::Create(module_, IID_IDispatch, object_.PutVoid()), S_OK);
    ComPtr<ze::host::IZeControl> control;
    ASSERT_EQ(object_->QueryInterface(ze::host::IZeControl::kIid, control.PutVoid()), S_OK);
    ASSERT_EQ(control->InitNew(), S_OK);
  }
  void TearDown() override {
    object_ = nullptr;
    EXPECT_EQ(module_.CanUnloadNow(), S_OK);
  }
  HRESULT Put(DISPID id, Variant value) {
    std::vector<Variant> args{std::move(value)};
    return TryInvoke(object_.Get(), id, DISPATCH_PROPERTYPUT, args, nullptr, &info_);
  }
  Variant Get(DISPID id) {
    Variant result;
    EXPECT_EQ(TryInvoke(object_.Get(), id, DISPATCH_PROPERTYGET, {}, &result, &info_), S_OK);
    return result;
  }

  ServerModule module_;
  ComPtr<IDispatch> object_;
  EXCEPINFO info_;
};

TEST_F(InputNumericoObjectTest, MembersAnswerByTheirDispatchIds) {
  const std::pair<const char16_t*, DISPID> members[] = {
      {u"valore", 0},
      {u"Massimo", 0x68030009},
      {u"Incremento", 0x68030008},
      {u"Minimo", 0x68030007},
      {u"Font", 0x68030006},
      {u"VisualizzaZero", 0x68030005},
      {u"Text", 0x68030004},
      {u"ForeColor", 0x68030003},
      {u"Enabled", 0x68030002},
      {u"Locked", 0x68030001},
      {u"CifreDecimali", 0x68030000},
      {u"DecrementaValore", 0x60030011},
      {u"IncrementaValore", 0x60030012},
  };
  for (const auto& [name, id] : members) {
    DISPID found = 0;
    const char16_t* names[] = {name};
    ASSERT_EQ(object_->GetIDsOfNames(IID_NULL, names, 1, 0, &found), S_OK) << ze::ToUtf8(name);
    EXPECT_EQ(found, id) << ze::ToUtf8(name);
  }
  EXPECT_EQ(Put(0x68030000, Variant(std::int16_t{0})), S_OK);
  EXPECT_EQ(Put(0, Variant(String(u"42,6"))), S_OK);
  EXPECT_EQ(Get(0x68030004), Variant(String(u"43")));
  EXPECT_EQ(Get(0), Variant(43.0));
  EXPECT_EQ(TryInvoke(object_.Get(), 0x60030012, DISPATCH_METHOD, {}, nullptr, &info_), S_OK);
  EXPECT_EQ(Get(0), Variant(44.0));
}

TEST_F(InputNumericoObjectTest, AValueOutsideTheLimitsIs380ToTheHost) {
  EXPECT_EQ(Put(0, Variant(150.0)), DISP_E_EXCEPTION);
  EXPECT_EQ(info_.scode, MAKE_HRESULT(1, FACILITY_CONTROL, 380));
  EXPECT_EQ(String(info_.bstrSource), u"zeKalendo.ZEInputNumerico");
  EXPECT_EQ(Put(0x68030007, Variant(100.0)), DISP_E_EXCEPTION);
  EXPECT_EQ(Get(0), Variant(0.0));
}

TEST_F(InputNumericoObjectTest, EventsCarryTheirValueToASink) {
  std::vector<std::pair<DISPID, Variant>> heard;
  ComPtr<EventSink> sink = MakeCom<EventSink>([&](DISPID id, std::span<Variant> args) {
    heard.emplace_back(id, args.empty() ? Variant() : args[0]);
    if (!args.empty()) args[0] = Variant(-1.0);  // a copy: the field ignores it
  });
  ASSERT_EQ(sink->Connect(object_.Get()), S_OK);
  ASSERT_EQ(Put(0x68030004, Variant(String(u"12,5"))), S_OK);
  ASSERT_EQ(sink->Disconnect(), S_OK);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].first, 3);
  EXPECT_EQ(heard[0].second, Variant(12.5));
  EXPECT_EQ(Get(0), Variant(12.5));
}

}  // namespace
}  // namespace zekalendo
