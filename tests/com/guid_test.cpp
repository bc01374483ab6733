// GUID text and byte forms, result codes, and the reference counting of ComPtr
// and ComObject.
#include "frame/com/guid.h"

#include <gtest/gtest.h>

#include "frame/com/class_factory.h"
#include "frame/com/com_object.h"
#include "frame/com/dispatch.h"
#include "frame/com/hresult.h"

namespace ze::com {
namespace {

constexpr GUID kKalendo{
    0x1dd699fa, 0xb33c, 0x11d4, {0x8b, 0x18, 0xd5, 0x2a, 0x72, 0xd1, 0xf0, 0x30}};

TEST(Guid, ParsesBothCasesWithOrWithoutBraces) {
  for (const char* text :
       {"{1dd699fa-b33c-11d4-8b18-d52a72d1f030}", "{1DD699FA-B33C-11D4-8B18-D52A72D1F030}",
        "1dd699fa-b33c-11d4-8b18-d52a72d1f030", "1Dd699fA-b33C-11d4-8B18-d52a72D1f030"}) {
    const auto g = ParseGuid(std::string_view(text));
    ASSERT_TRUE(g.has_value()) << text;
    EXPECT_EQ(*g, kKalendo) << text;
  }
  EXPECT_EQ(ParseGuid(std::u16string_view(u"{1dd699fa-b33c-11d4-8b18-d52a72d1f030}")), kKalendo);
}

TEST(Guid, RefusesMalformedText) {
  const struct {
    const char* name;
    const char* text;
  } cases[] = {
      {"empty", ""},
      {"one brace", "{1dd699fa-b33c-11d4-8b18-d52a72d1f030"},
      {"closing brace only", "1dd699fa-b33c-11d4-8b18-d52a72d1f030}"},
      {"blank inside", "{1dd699fa-b33c-11d4-8b18-d52a72d1f03 }"},
      {"blank around", " {1dd699fa-b33c-11d4-8b18-d52a72d1f030}"},
      {"not hex", "{1dd699fa-b33c-11d4-8b18-d52a72d1f03g}"},
      {"dash moved", "{1dd699f-ab33c-11d4-8b18-d52a72d1f030}"},
      {"no dashes", "{1dd699fab33c11d48b18d52a72d1f030}"},
      {"too long", "{1dd699fa-b33c-11d4-8b18-d52a72d1f0300}"},
      {"parentheses", "(1dd699fa-b33c-11d4-8b18-d52a72d1f030)"},
      {"sign", "+1dd699f-b33c-11d4-8b18-d52a72d1f030"},
  };
  for (const auto& c : cases) EXPECT_FALSE(ParseGuid(std::string_view(c.text))) << c.name;
  EXPECT_FALSE(ParseGuid(std::u16string_view(u"{1dd699fa-b33c-11d4-8b18-d52a72d1f03\u0660}")));
}

TEST(Guid, FormatsUpperCaseAndRoundTrips) {
  EXPECT_EQ(FormatGuid(kKalendo), "{1DD699FA-B33C-11D4-8B18-D52A72D1F030}");
  EXPECT_EQ(FormatGuidU(kKalendo), u"{1DD699FA-B33C-11D4-8B18-D52A72D1F030}");
  EXPECT_EQ(FormatGuid(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
  // A sweep of field values: every nibble position takes every digit.
  for (int d = 0; d < 16; ++d) {
    GUID g;
    g.Data1 = 0x11111111u * static_cast<unsigned>(d);
    g.Data2 = static_cast<std::uint16_t>(0x1111 * d);
    g.Data3 = static_cast<std::uint16_t>(0xFFFF - 0x1111 * d);
    for (int i = 0; i < 8; ++i) g.Data4[i] = static_cast<std::uint8_t>(d * 16 + i);
    EXPECT_EQ(ParseGuid(FormatGuid(g)), g) << d;
    EXPECT_EQ(GuidFromBytes(GuidToBytes(g).data()), g) << d;
  }
}

TEST(Guid, SixteenByteFormHasTheFirstThreeFieldsLittleEndian) {
  const std::array<std::uint8_t, 16> expected{0xfa, 0x99, 0xd6, 0x1d, 0x3c, 0xb3, 0xd4, 0x11,
                                              0x8b, 0x18, 0xd5, 0x2a, 0x72, 0xd1, 0xf0, 0x30};
  EXPECT_EQ(GuidToBytes(kKalendo), expected);
  EXPECT_EQ(GuidFromBytes(expected.data()), kKalendo);
}

TEST(Hresult, StandardCodesHaveThePublicValues) {
  const struct {
    HRESULT hr;
    std::uint32_t value;
  } codes[] = {
      {S_OK, 0},
      {S_FALSE, 1},
      {E_NOINTERFACE, 0x80004002},
      {E_POINTER, 0x80004003},
      {E_FAIL, 0x80004005},
      {E_OUTOFMEMORY, 0x8007000E},
      {E_INVALIDARG, 0x80070057},
      {E_NOTIMPL, 0x80004001},
      {E_UNEXPECTED, 0x8000FFFF},
      {CLASS_E_CLASSNOTAVAILABLE, 0x80040111},
      {CLASS_E_NOAGGREGATION, 0x80040110},
      {REGDB_E_CLASSNOTREG, 0x80040154},
      {DISP_E_UNKNOWNNAME, 0x80020006},
      {DISP_E_MEMBERNOTFOUND, 0x80020003},
      {DISP_E_BADPARAMCOUNT, 0x8002000E},
      {DISP_E_TYPEMISMATCH, 0x80020005},
      {DISP_E_EXCEPTION, 0x80020009},
      {DISP_E_PARAMNOTFOUND, 0x80020004},
      {DISP_E_BADVARTYPE, 0x80020008},
      {CONNECT_E_NOCONNECTION, 0x80040200},
      {CONNECT_E_CANNOTCONNECT, 0x80040202},
      {SELFREG_E_TYPELIB, 0x80040200},
      {SELFREG_E_CLASS, 0x80040201},
  };
  for (const auto& c : codes)
    EXPECT_EQ(static_cast<std::uint32_t>(c.hr), c.value) << HresultText(c.hr);
}

TEST(Hresult, ComposesAndNamesResults) {
  EXPECT_EQ(static_cast<std::uint32_t>(MAKE_HRESULT(1, FACILITY_CONTROL, 380)), 0x800A017Cu);
  EXPECT_EQ(HRESULT_CODE(MAKE_HRESULT(1, FACILITY_CONTROL, 380)), 380u);
  EXPECT_EQ(HRESULT_FACILITY(E_OUTOFMEMORY), FACILITY_WIN32);
  EXPECT_EQ(static_cast<std::uint32_t>(HRESULT_FROM_WIN32(2)), 0x80070002u);
  EXPECT_EQ(HRESULT_FROM_WIN32(0), S_OK);
  EXPECT_TRUE(SUCCEEDED(S_FALSE));
  EXPECT_TRUE(FAILED(E_FAIL));
  EXPECT_STREQ(HresultName(REGDB_E_CLASSNOTREG), "REGDB_E_CLASSNOTREG");
  EXPECT_EQ(HresultText(REGDB_E_CLASSNOTREG),
            "0x80040154 REGDB_E_CLASSNOTREG (class not registered)");
  EXPECT_EQ(HresultText(MAKE_HRESULT(1, FACILITY_CONTROL, 380)),
            "0x800A017C (automation error 380)");
  EXPECT_EQ(HresultText(static_cast<HRESULT>(0x80001234)), "0x80001234");
}

// A counted object that records its own destruction.
class Probe final : public ComObject<IDispatch> {
 public:
  explicit Probe(bool* destroyed) : destroyed_(destroyed) {}
  ~Probe() override { *destroyed_ = true; }
  HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(const IID&, const char16_t* const*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT Invoke(DISPID, const IID&, LCID, WORD, DISPPARAMS*, Variant*, EXCEPINFO*,
                 UINT*) override {
    return E_NOTIMPL;
  }

 private:
  bool* destroyed_;
};

TEST(ComPtr, CountsCopiesMovesAndQueries) {
  bool destroyed = false;
  {
    ComPtr<Probe> first = MakeCom<Probe>(&destroyed);
    EXPECT_EQ(first->AddRef(), 2u);
    EXPECT_EQ(first->Release(), 1u);
    ComPtr<Probe> copy = first;
    ComPtr<Probe> moved = std::move(copy);
    EXPECT_FALSE(copy);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(first.As(&unknown), S_OK);
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(unknown.As(&dispatch), S_OK);
    EXPECT_EQ(static_cast<void*>(dispatch.Get()), static_cast<void*>(first.Get()));
    ComPtr<IClassFactory> none;
    EXPECT_EQ(first.As(&none), E_NOINTERFACE);
    EXPECT_FALSE(none);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(first->QueryInterface(IID_NULL, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(first->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    first.Reset();
    EXPECT_FALSE(destroyed);  // `moved`, `unknown` and `dispatch` still hold it
  }
  EXPECT_TRUE(destroyed);
}

}  // namespace
}  // namespace ze::com
