// libzeKalendo.so through its binary interfaces, as a host reaches it: registration,
// activation by ProgID and CLSID, the interface chains, events, dispatch errors and
// the unload protocol.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "about/frm_info.h"
#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/com/activation.h"
#include "frame/com/class_factory.h"
#include "frame/com/com_object.h"
#include "frame/com/connection_point.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/error_info.h"
#include "frame/com/event_sink.h"
#include "frame/com/server_exports.h"
#include "frame/com/type_info.h"
#include "frame/host/ole_control.h"
#include "frame/registry/store.h"
#include "frame/system/dynamic_library.h"
#include "frame/ui/desktop.h"
#include "frame/ui/form.h"
#include "frame/ui/headless_backend.h"
#include "frame/ui/input.h"
#include "server/kalendo_ids.h"
#include "server/kalendo_interface.h"
#include "server/kalendo_resources.h"

namespace zekalendo {
namespace {

using namespace ze::com;
namespace reg = ze::registry;

class KalendoFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_path_ = std::filesystem::temp_directory_path() /
                  ("kalendo-frame-" + std::to_string(getpid()) + ".db");
    std::filesystem::remove(store_path_);
    setenv("ZE_REGISTRO", store_path_.c_str(), 1);
    reg::ResetDefaultStore();
    library_ = ze::system::DynamicLibrary::Open(ZE_KALENDO_LIBRARY);
    ASSERT_TRUE(library_.is_loaded()) << library_.message();
    ASSERT_EQ(Export<DllRegisterServerFn>("DllRegisterServer")(), S_OK);
    backend_.Install();
  }
  void TearDown() override {
    ze::ui::Desktop::UnloadAll();
    CoFreeUnusedLibraries();
    backend_.Uninstall();
    reg::ResetDefaultStore();
    std::filesystem::remove(store_path_);
  }
  template <class Fn>
  Fn Export(const char* name) {
    auto fn = library_.Function<Fn>(name);
    EXPECT_NE(fn, nullptr) << name;
    return fn;
  }
  ComPtr<IDispatch> Create() {
    ComPtr<IDispatch> object;
    EXPECT_EQ(CreateObject(u"zeKalendo.Kalendo", &object), S_OK) << LastActivationError();
    return object;
  }
  std::string Value(const char16_t* key, const char16_t* name = u"") {
    auto store = reg::DefaultStore();
    reg::KeyId k;
    if (store->OpenKey(reg::Store::RootKey(reg::Root::ClassesRoot), key, &k) != 0)
      return "(no key)";
    ze::String text;
    if (store->GetString(k, name, &text) != 0) return "(no value)";
    return ze::ToUtf8(text);
  }

  std::filesystem::path store_path_;
  ze::system::DynamicLibrary library_;
  ze::ui::HeadlessBackend backend_;
};

TEST_F(KalendoFrameTest, RegistrationLaysOutTheClass) {
  const std::string path = std::filesystem::canonical(ZE_KALENDO_LIBRARY).string();
  const char16_t* clsid = u"CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}";
  EXPECT_EQ(Value(u"zeKalendo.Kalendo\\CLSID"), "{1DD699FA-B33C-11D4-8B18-D52A72D1F030}");
  EXPECT_EQ(Value((std::u16string(clsid) + u"\\InprocServer32").c_str()), path);
  EXPECT_EQ(Value((std::u16string(clsid) + u"\\ProgID").c_str()), "zeKalendo.Kalendo");
  EXPECT_EQ(Value((std::u16string(clsid) + u"\\MiscStatus\\1").c_str()), "131473");
  EXPECT_EQ(Value((std::u16string(clsid) + u"\\TypeLib").c_str()),
            "{1DD699FE-B33C-11D4-8B18-D52A72D1F030}");
  EXPECT_EQ(Value((std::u16string(clsid) + u"\\Version").c_str()), "1.4");
  EXPECT_EQ(Value((std::u16string(clsid) + u"\\ToolboxBitmap32").c_str()), path + ", 30000");
  EXPECT_NE(Value((std::u16string(clsid) + u"\\Control").c_str()), "(no key)");
  // The private numeric control is never registered for hosts.
  EXPECT_EQ(Value(u"CLSID\\{CAA1F136-1D6A-11DA-9FAB-00055D33BBE7}"), "(no key)");
}

TEST_F(KalendoFrameTest, UnregisteringRemovesExactlyTheLibrarysEntries) {
  auto store = reg::DefaultStore();
  reg::KeyId other;
  ASSERT_EQ(store->CreateKey(reg::Store::RootKey(reg::Root::ClassesRoot),
                             u"CLSID\\{0000AAAA-0000-0000-0000-000000000000}", &other),
            0);
  ASSERT_EQ(Export<DllUnregisterServerFn>("DllUnregisterServer")(), S_OK);
  EXPECT_EQ(Value(u"zeKalendo.Kalendo"), "(no key)");
  EXPECT_EQ(Value(u"CLSID\\{1DD699FA-B33C-11D4-8B18-D52A72D1F030}"), "(no key)");
  EXPECT_EQ(Value(u"TypeLib\\{1DD699FE-B33C-11D4-8B18-D52A72D1F030}"), "(no key)");
  EXPECT_EQ(Value(u"Interface\\{1072C55B-1D22-11DA-9FAB-00055D33BBE7}"), "(no key)");
  EXPECT_NE(Value(u"CLSID\\{0000AAAA-0000-0000-0000-000000000000}"), "(no key)");
  ComPtr<IDispatch> object;
  EXPECT_NE(CreateObject(u"zeKalendo.Kalendo", &object), S_OK);
  ASSERT_EQ(Export<DllRegisterServerFn>("DllRegisterServer")(), S_OK);  // and back
  EXPECT_EQ(CreateObject(u"zeKalendo.Kalendo", &object), S_OK);
}

TEST_F(KalendoFrameTest, CreatesByProgIdAndByClsid) {
  ComPtr<IDispatch> byProgId = Create();
  ComPtr<IDispatch> byClsid;
  ASSERT_EQ(CreateObject(u"{1DD699FA-B33C-11D4-8B18-D52A72D1F030}", &byClsid), S_OK);
  EXPECT_EQ(ze::CStr(GetProperty(byProgId.Get(), u"Text")), u"");
  EXPECT_NE(byProgId.Get(), byClsid.Get());
}

TEST_F(KalendoFrameTest, EveryEarlierInterfaceIdGivesTheCurrentInterface) {
  ComPtr<IDispatch> object = Create();
  void* current = nullptr;
  ASSERT_EQ(object->QueryInterface(ids::kIidKalendo, &current), S_OK);
  for (const IID& iid : ids::kIidChainKalendo) {
    void* p = nullptr;
    ASSERT_EQ(object->QueryInterface(iid, &p), S_OK) << FormatGuid(iid);
    EXPECT_EQ(p, current);
    static_cast<IUnknown*>(p)->Release();
  }
  static_cast<IUnknown*>(current)->Release();
  void* none = nullptr;
  EXPECT_EQ(object->QueryInterface(ids::kIidUtilita, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
}

TEST_F(KalendoFrameTest, ChainResourcesListFiveGuidsOldestFirst) {
  for (auto [resource, chain] :
       {std::pair{resources::IidKalendo(), ids::kIidChainKalendo},
        std::pair{resources::SrcIidKalendo(), ids::kIidChainKalendoEvents}}) {
    ASSERT_EQ(resource.size(), 84u);
    EXPECT_EQ(resource[0], 80);
    EXPECT_EQ(resource[1] | resource[2] | resource[3], 0);
    const auto read = resources::ReadChain(resource);
    ASSERT_EQ(read.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(read[i], chain[i]);
  }
  // The standard byte order: the first field little-endian.
  EXPECT_EQ(resources::IidKalendo()[4], 0xF9);
  EXPECT_EQ(resources::IidKalendo()[7], 0x1D);
  const std::uint8_t truncated[] = {80, 0, 0, 0, 1, 2};
  EXPECT_TRUE(resources::ReadChain(truncated).empty());
}

TEST_F(KalendoFrameTest, TypeLibraryNamesTheEarlierInterfacesAsAliases) {
  ComPtr<IDispatch> object = Create();
  ComPtr<ITypeInfo> cls;
  ASSERT_EQ(GetClassInfoOf(object.Get(), cls.Put()), S_OK);
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(cls->GetContainingTypeLib(lib.Put(), nullptr), S_OK);
  // _Kalendo, __Kalendo, Kalendo and the four aliases.
  ASSERT_EQ(lib->GetTypeInfoCount(), 7u);
  ComPtr<ITypeInfo> current;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(ids::kIidKalendo, current.Put()), S_OK);
  for (std::size_t v = 0; v < 4; ++v) {
    SCOPED_TRACE(v);
    ComPtr<ITypeInfo> alias;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(ids::kIidChainKalendo[v], alias.Put()), S_OK);
    TypeAttr attr;
    ASSERT_EQ(alias->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr.typekind, TKIND_ALIAS);
    EXPECT_EQ(ze::ToUtf8(attr.name), "Kalendo___v" + std::to_string(v));
    EXPECT_EQ(attr.tdescAlias.vt, VT_USERDEFINED);
    ComPtr<ITypeInfo> aliased;
    ASSERT_EQ(alias->GetRefTypeInfo(attr.tdescAlias.hreftype, aliased.Put()), S_OK);
    EXPECT_EQ(aliased.Get(), current.Get());
  }
  // The product notice: one line naming the library and its maker, the one whose
  // addresses the about box shows.
  ze::String name, notice;
  ASSERT_EQ(lib->GetDocumentation(-1, &name, &notice), S_OK);
  EXPECT_EQ(name, u"zeKalendo");
  EXPECT_TRUE(notice.starts_with(FrmInfo::kProductName)) << ze::ToUtf8(notice);
  EXPECT_EQ(notice.find_first_of(u"\r\n"), ze::String::npos);
  const std::u16string_view mail = FrmInfo::kSupportMail;
  EXPECT_NE(notice.find(mail.substr(mail.find(u'@') + 1)), ze::String::npos) << ze::ToUtf8(notice);
  // The object's own dispatch type information belongs to the same library.
  ComPtr<ITypeInfo> fromDispatch;
  ASSERT_EQ(object->GetTypeInfo(0, 0, fromDispatch.Put()), S_OK);
  EXPECT_EQ(fromDispatch.Get(), current.Get());
  ComPtr<ITypeInfo> defaultInterface;
  ASSERT_EQ(cls->GetImplTypeInfo(0, defaultInterface.Put()), S_OK);
  EXPECT_EQ(defaultInterface.Get(), current.Get());
}

// The toolbox bitmap byte for byte, as registrations made by earlier builds point at it.
TEST_F(KalendoFrameTest, ToolboxBitmapBytesAreUnchanged) {
  const auto bmp = resources::ToolboxBitmap();
  std::string hex;
  for (std::uint8_t b : bmp) hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
  EXPECT_EQ(hex,
            "424dee000000000000007600000028000000100000000f0000000100040000000000780000000000"
            "00000000000010000000000000000000000000008000008000000080800080000000800080008080"
            "0000c0c0c000808080000000ff0000ff000000ffff00ff000000ff00ff00ffff0000ffffff007777"
            "777777777777700000000000000770ffffffffffff0770f4f4f4f4f4ff0770fffffff99fff0770f4"
            "f4f4f99f4f0770ffffffffffff0770f4f4f4f4f4ff0770ffffffffffff0770000000000000077099"
            "9999999999077099099999909907700000000000000777770777777077777777777777777777");
}

// The toolbox bitmap that registration names, read as a BMP file as a toolbox does.
TEST_F(KalendoFrameTest, ToolboxBitmapIsA16By15SixteenColourBmp) {
  const auto bmp = resources::Find(ids::kToolboxBitmapId);
  ASSERT_FALSE(bmp.empty());
  EXPECT_EQ(bmp.data(), resources::ToolboxBitmap().data());
  EXPECT_TRUE(resources::Find(ids::kToolboxBitmapId + 1).empty());
  EXPECT_TRUE(resources::Find(0).empty());
  auto u32 = [&](std::size_t at) {
    return std::uint32_t{bmp[at]} | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
           std::uint32_t{bmp[at + 3]} << 24;
  };
  auto u16 = [&](std::size_t at) { return bmp[at] | bmp[at + 1] << 8; };
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(u32(2), bmp.size()) << "file size";
  EXPECT_EQ(u32(14), 40u) << "BITMAPINFOHEADER";
  EXPECT_EQ(static_cast<std::int32_t>(u32(18)), 16);
  EXPECT_EQ(static_cast<std::int32_t>(u32(22)), 15) << "15 rows, bottom-up";
  EXPECT_EQ(u16(26), 1) << "planes";
  EXPECT_EQ(u16(28), 4) << "bits per pixel";
  EXPECT_EQ(u32(30), 0u) << "uncompressed";
  const std::uint32_t colours = u32(46) == 0 ? 16 : u32(46);
  EXPECT_LE(colours, 16u);
  // The palette lies between the headers and the pixels, which fill the file: 15
  // rows of 16 four-bit pixels, 8 bytes each.
  const std::uint32_t pixels = u32(10);
  EXPECT_EQ(pixels, 14 + 40 + 4 * colours);
  ASSERT_EQ(bmp.size(), pixels + 15 * 8);
  // A picture, not a blank: the frame differs from the background it stands on.
  std::set<int> used;
  for (std::size_t i = pixels; i < bmp.size(); ++i) {
    used.insert(bmp[i] >> 4);
    used.insert(bmp[i] & 15);
  }
  EXPECT_GE(used.size(), 3u);
  for (int index : used) EXPECT_LT(static_cast<std::uint32_t>(index), colours);
  // Pixel (x, y from the top): the left one of a byte is its high half. The page's
  // frame starts one pixel in from the background's lower left corner.
  auto at = [&](int x, int y) {
    const std::uint8_t b = bmp[pixels + (14 - y) * 8 + x / 2];
    return x % 2 == 0 ? b >> 4 : b & 15;
  };
  EXPECT_EQ(at(0, 2), at(0, 14));
  EXPECT_NE(at(1, 2), at(0, 14));
  EXPECT_EQ(at(15, 2), at(0, 14));
}

// A sink of an old host: it knows only the oldest event interface.
class OldHostSink final : public ComObject<IDispatch> {
 public:
  std::vector<DISPID> events;
  HRESULT GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(const IID&, const char16_t* const*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT Invoke(DISPID id, const IID&, LCID, WORD, DISPPARAMS*, ze::Variant*, EXCEPINFO*,
                 UINT*) override {
    events.push_back(id);
    return S_OK;
  }

 protected:
  void* FindInterface(const IID& iid) override {
    if (iid == ids::kIidChainKalendoEvents[0]) return static_cast<IDispatch*>(this);
    if (iid == IUnknown::kIid) return Identity();
    return nullptr;
  }
};

TEST_F(KalendoFrameTest, EventsReachASinkOfAnEarlierEventInterface) {
  ComPtr<IDispatch> object = Create();
  ComPtr<ze::host::IZeControl> control;
  ASSERT_EQ(object->QueryInterface(ze::host::IZeControl::kIid,
                                   reinterpret_cast<void**>(control.Put())),
            S_OK);
  ComPtr<IConnectionPointContainer> points;
  ASSERT_EQ(object->QueryInterface(IConnectionPointContainer::kIid,
                                   reinterpret_cast<void**>(points.Put())),
            S_OK);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(points->FindConnectionPoint(ids::kIidChainKalendoEvents[0], point.Put()), S_OK);
  auto sink = MakeCom<OldHostSink>();
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sink.Get(), &cookie), S_OK);

  auto form = ze::ui::NewForm<ze::ui::Form>();
  form->Place(*control->Widget(), u"K1");
  ASSERT_EQ(control->InitNew(), S_OK);
  form->Show();
  control->Widget()->FindChild(u"Text1")->SetFocus();
  ze::ui::input::Type(u"1");
  ze::ui::input::Key(13);
  EXPECT_EQ(sink->events, (std::vector<DISPID>{3, 2}));  // TastoPress, ReturnPress
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  form->Unload();
}

struct InvokeCase {
  const char* name;
  const char16_t* member;
  WORD flags;
  std::vector<ze::Variant> args;
  HRESULT expected;
  int errorNumber;  // for DISP_E_EXCEPTION
};

class KalendoInvokeTest : public KalendoFrameTest,
                          public ::testing::WithParamInterface<InvokeCase> {};

TEST_P(KalendoInvokeTest, Result) {
  const InvokeCase& c = GetParam();
  ComPtr<IDispatch> object = Create();
  std::vector<ze::Variant> args = c.args;
  ze::Variant result;
  EXCEPINFO info;
  const HRESULT hr = TryInvokeByName(object.Get(), c.member, c.flags, args, &result, &info);
  EXPECT_EQ(hr, c.expected);
  if (c.expected == DISP_E_EXCEPTION) {
    EXPECT_EQ(info.wCode, c.errorNumber);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kalendo, KalendoInvokeTest,
    ::testing::Values(
        InvokeCase{"UnknownName", u"NonEsiste", DISPATCH_PROPERTYGET, {}, DISP_E_UNKNOWNNAME, 0},
        InvokeCase{"TooManyArguments",
                   u"DelData",
                   DISPATCH_METHOD,
                   {ze::Variant(1)},
                   DISP_E_BADPARAMCOUNT,
                   0},
        InvokeCase{"NotAPointer",
                   u"MousePointer",
                   DISPATCH_PROPERTYPUT,
                   {ze::Variant(std::u16string(u"abc"))},
                   DISP_E_TYPEMISMATCH,
                   0},
        InvokeCase{"PointerOutOfRange",
                   u"MousePointer",
                   DISPATCH_PROPERTYPUT,
                   {ze::Variant(std::int16_t{16})},
                   DISP_E_EXCEPTION,
                   380},
        InvokeCase{"MethodAsProperty",
                   u"DelData",
                   DISPATCH_PROPERTYPUT,
                   {ze::Variant(1)},
                   DISP_E_MEMBERNOTFOUND,
                   0},
        // A Null from a bound field is no date: the declared Date refuses it.
        InvokeCase{"DataTextNull",
                   u"DataText",
                   DISPATCH_PROPERTYPUT,
                   {ze::Variant::Null()},
                   DISP_E_TYPEMISMATCH,
                   0},
        InvokeCase{"TextLet",
                   u"Text",
                   DISPATCH_PROPERTYPUT,
                   {ze::Variant(std::u16string(u"25/12/2005"))},
                   S_OK,
                   0}),
    [](const auto& info) { return std::string(info.param.name); });

// _Kalendo's vtable: the entries are those of the type library, in its order, and
// behave as Invoke does, failures included.
class KalendoVtableTest : public KalendoFrameTest {
 protected:
  void SetUp() override {
    KalendoFrameTest::SetUp();
    object_ = Create();
    ASSERT_EQ(object_->QueryInterface(ids::kIidChainKalendo[0], kalendo_.PutVoid()), S_OK);
    SetErrorInfo(nullptr);
  }
  ComPtr<IDispatch> object_;
  ComPtr<IKalendo> kalendo_;
};

TEST_F(KalendoVtableTest, EntriesFollowTheTypeLibrary) {
  std::vector<std::pair<std::u16string, INVOKEKIND>> entries;
  constexpr INVOKEKIND Let = INVOKE_PROPERTYPUT, Set = INVOKE_PROPERTYPUTREF;
#define ZE_ENTRY(name, id, type, write, getter, setter, help, flags) \
  entries.emplace_back(ze::FromUtf8(#name), INVOKE_PROPERTYGET);     \
  entries.emplace_back(ze::FromUtf8(#name), write);
#define ZE_METHOD(name, id, method, help, flags) \
  entries.emplace_back(ze::FromUtf8(#name), INVOKE_FUNC);
#define ZE_FUNCTION(name, id, method, result, params, help, flags) \
  entries.emplace_back(ze::FromUtf8(#name), INVOKE_FUNC);
  ZE_KALENDO_MEMBERS(ZE_ENTRY, ZE_METHOD, ZE_FUNCTION)
#undef ZE_ENTRY
#undef ZE_METHOD
#undef ZE_FUNCTION
  ComPtr<ITypeInfo> type;
  ASSERT_EQ(object_->GetTypeInfo(0, 0, type.Put()), S_OK);
  TypeAttr attr;
  ASSERT_EQ(type->GetTypeAttr(&attr), S_OK);
  ASSERT_EQ(attr.cFuncs, entries.size());
  for (UINT i = 0; i < attr.cFuncs; ++i) {
    FuncDesc f;
    ASSERT_EQ(type->GetFuncDesc(i, &f), S_OK);
    EXPECT_EQ(f.name, entries[i].first) << i;
    EXPECT_EQ(f.invkind, entries[i].second) << ze::ToUtf8(f.name);
  }
}

TEST_F(KalendoVtableTest, GetAndLetBehaveAsInvoke) {
  ze::String text = u"unchanged";
  ASSERT_EQ(kalendo_->get_Text(&text), S_OK);
  EXPECT_EQ(text, u"");
  ASSERT_EQ(kalendo_->put_Text(u"25/12/2005"), S_OK);
  ze::Date valore;
  ASSERT_EQ(kalendo_->get_valore(&valore), S_OK);
  EXPECT_EQ(valore, ze::Date(38711.0));
  EXPECT_EQ(ze::CStr(GetProperty(object_.Get(), u"Text")), u"25/12/2005");
  // Booleans cross as True = -1, colours keep their system-colour bit.
  VARIANT_BOOL locked = 7;
  ASSERT_EQ(kalendo_->put_Locked(VARIANT_TRUE), S_OK);
  ASSERT_EQ(kalendo_->get_Locked(&locked), S_OK);
  EXPECT_EQ(locked, VARIANT_TRUE);
  OLE_COLOR color = 0;
  ASSERT_EQ(kalendo_->put_BackColor(0x80000005u), S_OK);
  ASSERT_EQ(kalendo_->get_BackColor(&color), S_OK);
  EXPECT_EQ(color, 0x80000005u);
  ASSERT_EQ(kalendo_->DelData(), S_OK);
  ASSERT_EQ(kalendo_->get_Text(&text), S_OK);
  EXPECT_EQ(text, u"");
  EXPECT_EQ(kalendo_->get_Text(nullptr), E_POINTER);
  EXPECT_EQ(GetErrorInfo(nullptr), S_FALSE) << "success leaves no error information";
}

TEST_F(KalendoVtableTest, AFailureIsTheErrorsCodeWithItsErrorInformation) {
  ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(object_.As(&support), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(ids::kIidKalendo), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(ids::kIidChainKalendo[2]), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IDispatch::kIid), S_FALSE);

  // MousePointer 16 is no cursor shape: error 380, and nothing changes.
  EXPECT_EQ(kalendo_->put_MousePointer(MousePointerConstants{16}),
            MAKE_HRESULT(1, FACILITY_CONTROL, 380));
  EXCEPINFO info;
  ASSERT_EQ(GetErrorInfo(&info), S_OK);
  EXPECT_EQ(ErrorNumberOf(info), 380);
  EXPECT_EQ(info.bstrDescription, u"Invalid property value");
  EXPECT_EQ(info.bstrSource, u"zeKalendo.Kalendo");
  EXPECT_EQ(GetErrorInfo(&info), S_FALSE) << "taken once";
  MousePointerConstants pointer{5};
  ASSERT_EQ(kalendo_->get_MousePointer(&pointer), S_OK);
  EXPECT_EQ(pointer, 0);
  // A Set of Nothing where an object is required.
  EXPECT_EQ(kalendo_->putref_Font(nullptr), MAKE_HRESULT(1, FACILITY_CONTROL, 380));
  ASSERT_EQ(GetErrorInfo(&info), S_OK);
  EXPECT_EQ(ErrorNumberOf(info), 380);
}

TEST_F(KalendoFrameTest, ColoursTakeAnyThirtyTwoBitNumber) {
  ComPtr<IDispatch> object = Create();
  const ze::Variant windowBackground(static_cast<std::int32_t>(0x80000005u));
  for (const char16_t* color : {u"BackColor", u"ForeColor"}) {
    SCOPED_TRACE(ze::ToUtf8(color));
    // The same colour as &H80000005, written as an unsigned number.
    LetProperty(object.Get(), color, ze::Variant(2147483653.0));
    EXPECT_EQ(GetProperty(object.Get(), color), windowBackground);
    LetProperty(object.Get(), color, ze::Variant(-1.0));
    EXPECT_EQ(GetProperty(object.Get(), color), ze::Variant(std::int32_t{-1}));
    for (double outside : {4294967296.0, -2147483649.0}) {
      try {
        LetProperty(object.Get(), color, ze::Variant(outside));
        ADD_FAILURE() << outside << " was taken";
      } catch (const ze::AutomationError& e) {
        EXPECT_EQ(e.number(), ze::errors::kOverflow) << outside;
      }
    }
    EXPECT_EQ(GetProperty(object.Get(), color), ze::Variant(std::int32_t{-1})) << "unchanged";
  }
}

TEST_F(KalendoFrameTest, UnknownDispatchIdIsNotFound) {
  ComPtr<IDispatch> object = Create();
  ze::Variant result;
  EXCEPINFO info;
  EXPECT_EQ(TryInvoke(object.Get(), 12345, DISPATCH_PROPERTYGET, {}, &result, &info),
            DISP_E_MEMBERNOTFOUND);
}

TEST_F(KalendoFrameTest, ClassObjectsAndTheUnloadProtocol) {
  auto getClassObject = Export<DllGetClassObjectFn>("DllGetClassObject");
  auto canUnload = Export<DllCanUnloadNowFn>("DllCanUnloadNow");
  void* out = nullptr;
  // Not a class of the library; a class whose record it holds but does not make yet.
  for (const CLSID& clsid : {ids::kIidUtilita, ids::kClsidInputNumerico}) {
    out = &out;
    EXPECT_EQ(getClassObject(clsid, IClassFactory::kIid, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(canUnload(), S_OK) << "no factory was made";

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(getClassObject(ids::kClsidKalendo, IClassFactory::kIid,
                           reinterpret_cast<void**>(factory.Put())),
            S_OK);
  EXPECT_EQ(canUnload(), S_FALSE) << "a factory is alive";
  ComPtr<IDispatch> object;
  ASSERT_EQ(
      factory->CreateInstance(nullptr, IDispatch::kIid, reinterpret_cast<void**>(object.Put())),
      S_OK);
  EXPECT_EQ(factory->CreateInstance(object.Get(), IDispatch::kIid, &out), CLASS_E_NOAGGREGATION);
  factory->LockServer(true);
  factory.Reset();
  object.Reset();
  EXPECT_EQ(canUnload(), S_FALSE) << "locked";
  ASSERT_EQ(getClassObject(ids::kClsidKalendo, IClassFactory::kIid,
                           reinterpret_cast<void**>(factory.Put())),
            S_OK);
  factory->LockServer(false);
  factory.Reset();
  EXPECT_EQ(canUnload(), S_OK);
}

}  // namespace
}  // namespace zekalendo
