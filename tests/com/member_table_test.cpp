// One table per class: a test class whose members are declared once, in
// ZE_SCHEDA_MEMBERS, and reached the three ways a host reaches them: by Invoke, by
// the type library, by the dual interface's vtable. Pagine and Raddoppia are the
// "one line each" members: nothing else in this file names them except the getter,
// the setter and the method of the class, and the tests that call them.
#include "frame/com/member_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "frame/automation/error.h"
#include "frame/com/com_object.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/error_info.h"

namespace ze::com {
namespace {

// clang-format off
#define ZE_SCHEDA_MEMBERS(PROPERTY, METHOD, FUNCTION)                                         \
  PROPERTY(Titolo, 0, members::String, Let, Titolo, SetTitolo, u"Il titolo.",           \
           FUNCFLAG_FUIDEFAULT)                                                         \
  PROPERTY(Pagine, 1, members::Long, Let, Pagine, SetPagine, u"Quante pagine.", 0)      \
  PROPERTY(Colore, 2, members::Color, Let, Colore, SetColore, u"", FUNCFLAG_FBINDABLE)  \
  PROPERTY(Pronta, 3, members::Boolean, None, Pronta, _, u"Ha un titolo.", 0)           \
  METHOD(Azzera, 10, Azzera, u"Torna alla scheda vuota.", 0)                            \
  METHOD(Raddoppia, 11, Raddoppia, u"Raddoppia le pagine.", FUNCFLAG_FHIDDEN)            \
  FUNCTION(Somma, 20, Somma, members::Long,                                             \
           (PARAM(Prima, members::Long, ByVal, _), PARAM(Seconda, members::Long, ByVal, _)), \
           u"Somma due numeri.", 0)                                                     \
  FUNCTION(Rifinisci, 21, Rifinisci, members::Boolean,                                  \
           (PARAM(Percorso, members::String, ByRef, _)), u"Chiude il percorso.", 0)     \
  FUNCTION(Intesta, 22, Intesta, members::String,                                       \
           (PARAM(Testo, members::String, ByVal, _),                                    \
            PARAM(Separatore, members::String, Default, u" - "),                        \
            PARAM(Nota, members::Any, Optional, _)), u"", 0)                             \
  FUNCTION(Lunghezza, 23, Lunghezza, members::Integer, (), u"", 0)                     \
  FUNCTION(Collegata, 24, Collegata, members::Boolean,                                  \
           (PARAM(Oggetto, members::Object, ByVal, _)), u"", 0)
// clang-format on

constexpr IID kIidScheda{0x5a1e0100, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x02}};

ZE_DUAL_INTERFACE(IScheda, kIidScheda, ZE_SCHEDA_MEMBERS);

// What the members read and write: the class's own C++ side, as Kalendo's widget is
// for KalendoObject. (The COM object's own methods are the vtable entries, named as
// the members are.)
class Fascicolo {
 public:
  String Titolo() const { return titolo_; }
  void SetTitolo(String t) { titolo_ = std::move(t); }
  std::int32_t Pagine() const { return pagine_; }
  void SetPagine(std::int32_t n) {
    if (n < 0) Raise(errors::kInvalidPropertyValue);
    pagine_ = n;
  }
  std::uint32_t Colore() const { return colore_; }
  void SetColore(std::uint32_t c) { colore_ = c; }
  bool Pronta() const { return !titolo_.empty(); }
  void Azzera() {
    titolo_.clear();
    pagine_ = 0;
  }
  void Raddoppia() {
    if (pagine_ > INT32_MAX / 2) Raise(errors::kOverflow);
    pagine_ *= 2;
  }
  std::int32_t Somma(std::int32_t a, std::int32_t b) const {
    const std::int64_t sum = std::int64_t{a} + b;
    if (sum > INT32_MAX || sum < INT32_MIN) Raise(errors::kOverflow);
    return static_cast<std::int32_t>(sum);
  }
  // Trims the spaces round a folder and ends it with a backslash, in the caller's
  // variable; true when that changed it.
  bool Rifinisci(String& percorso) const {
    const String before = percorso;
    const auto first = percorso.find_first_not_of(u' ');
    percorso = first == String::npos
                   ? String()
                   : percorso.substr(first, percorso.find_last_not_of(u' ') - first + 1);
    if (!percorso.empty() && percorso.back() != u'\\') percorso += u'\\';
    return percorso != before;
  }
  String Intesta(const String& testo, const String& separatore,
                 const std::optional<Variant>& nota) const {
    String out = titolo_ + separatore + testo;
    if (nota) out += u" (" + CStr(*nota) + u")";
    return out;
  }
  std::int16_t Lunghezza() const { return static_cast<std::int16_t>(titolo_.size()); }
  bool Collegata(const ObjectRef& oggetto) const { return static_cast<bool>(oggetto); }

 private:
  String titolo_;
  std::int32_t pagine_ = 1;
  std::uint32_t colore_ = 0x80000005u;
};

class Scheda final : public ComObject<DispatchImpl<Scheda, IScheda>> {
 public:
  static const DispatchTable<Scheda>& Dispatch();
  ZE_MEMBER_DUAL(ZE_SCHEDA_MEMBERS)

  Fascicolo fascicolo;
};

TypeAttr SchedaAttr() {
  TypeAttr a;
  a.guid = kIidScheda;
  a.name = u"_Scheda";
  a.flags = TYPEFLAG_FDUAL;
  return a;
}

const DispatchTable<Scheda>& Scheda::Dispatch() {
  struct Table : DispatchTable<Scheda> {
    Table()
        : DispatchTable(InterfaceDescription{TypeLibAttr{}, SchedaAttr(),
                                             ZE_MEMBER_DESCRIPTIONS(ZE_SCHEDA_MEMBERS)}) {
      ZE_MEMBER_BIND(
          *this, [](Scheda& s) -> Fascicolo& { return s.fascicolo; }, ZE_SCHEDA_MEMBERS);
    }
  };
  static const Table table;
  return table;
}

class MemberTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetErrorInfo(nullptr);
    ASSERT_EQ(object_->QueryInterface(kIidScheda, scheda_.PutVoid()), S_OK);
  }
  HRESULT Invoke(DISPID id, WORD flags, std::vector<Variant> args = {}, Variant* result = nullptr) {
    return TryInvoke(scheda_.Get(), id, flags, args, result, &info_);
  }
  Variant Get(DISPID id) {
    Variant v;
    EXPECT_EQ(Invoke(id, DISPATCH_PROPERTYGET, {}, &v), S_OK);
    return v;
  }

  ComPtr<Scheda> object_ = MakeCom<Scheda>();
  ComPtr<IScheda> scheda_;
  EXCEPINFO info_;
};

TEST_F(MemberTableTest, TheTypeLibraryListsEveryLineInOrder) {
  ComPtr<ITypeInfo> type;
  ASSERT_EQ(scheda_->GetTypeInfo(0, 0, type.Put()), S_OK);
  struct Entry {
    DISPID id;
    const char16_t* name;
    INVOKEKIND kind;
    const char16_t* type;
    WORD flags;
    const char16_t* help;
    std::size_t params = 0;  // of a function
  };
  const Entry expected[] = {
      {0, u"Titolo", INVOKE_PROPERTYGET, u"String", FUNCFLAG_FUIDEFAULT, u"Il titolo."},
      {0, u"Titolo", INVOKE_PROPERTYPUT, u"String", FUNCFLAG_FUIDEFAULT, u"Il titolo."},
      {1, u"Pagine", INVOKE_PROPERTYGET, u"Long", 0, u"Quante pagine."},
      {1, u"Pagine", INVOKE_PROPERTYPUT, u"Long", 0, u"Quante pagine."},
      {2, u"Colore", INVOKE_PROPERTYGET, u"OLE_COLOR", FUNCFLAG_FBINDABLE, u""},
      {2, u"Colore", INVOKE_PROPERTYPUT, u"OLE_COLOR", FUNCFLAG_FBINDABLE, u""},
      // Read-only: a Get and nothing else.
      {3, u"Pronta", INVOKE_PROPERTYGET, u"Boolean", 0, u"Ha un titolo."},
      {10, u"Azzera", INVOKE_FUNC, u"", 0, u"Torna alla scheda vuota."},
      {11, u"Raddoppia", INVOKE_FUNC, u"", FUNCFLAG_FHIDDEN, u"Raddoppia le pagine."},
      {20, u"Somma", INVOKE_FUNC, u"Long", 0, u"Somma due numeri.", 2},
      {21, u"Rifinisci", INVOKE_FUNC, u"Boolean", 0, u"Chiude il percorso.", 1},
      {22, u"Intesta", INVOKE_FUNC, u"String", 0, u"", 3},
      {23, u"Lunghezza", INVOKE_FUNC, u"Integer", 0, u"", 0},
      {24, u"Collegata", INVOKE_FUNC, u"Boolean", 0, u"", 1},
  };
  TypeAttr attr;
  ASSERT_EQ(type->GetTypeAttr(&attr), S_OK);
  ASSERT_EQ(attr.cFuncs, std::size(expected));
  for (UINT i = 0; i < attr.cFuncs; ++i) {
    FuncDesc f;
    ASSERT_EQ(type->GetFuncDesc(i, &f), S_OK);
    const Entry& e = expected[i];
    SCOPED_TRACE(ToUtf8(e.name));
    EXPECT_EQ(f.memid, e.id);
    EXPECT_EQ(f.name, e.name);
    EXPECT_EQ(f.invkind, e.kind);
    EXPECT_EQ(TypeName(f.type), e.type);
    EXPECT_EQ(f.flags, e.flags);
    EXPECT_EQ(f.help, e.help);
    // A put takes the value as its one parameter; a Get and a method take none.
    EXPECT_EQ(f.params.size(), e.kind == INVOKE_PROPERTYPUT ? 1u : e.params);
  }
  const char16_t* names[] = {u"raddoppia"};
  DISPID id = 0;
  ASSERT_EQ(scheda_->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  EXPECT_EQ(id, 11);
}

TEST_F(MemberTableTest, InvokeReachesTheClassAccessors) {
  // The value arrives through the runtime's conversions: a text of digits is a Long.
  ASSERT_EQ(Invoke(1, DISPATCH_PROPERTYPUT, {Variant(String(u"12"))}), S_OK);
  EXPECT_EQ(object_->fascicolo.Pagine(), 12);
  ASSERT_EQ(Invoke(11, DISPATCH_METHOD), S_OK);
  EXPECT_EQ(Get(1), Variant(std::int32_t{24}));

  EXPECT_EQ(Get(3), Variant(false));
  ASSERT_EQ(Invoke(0, DISPATCH_PROPERTYPUT, {Variant(String(u"Diario"))}), S_OK);
  EXPECT_EQ(Get(3), Variant(true));
  // A colour travels as a Long holding the same bits.
  EXPECT_EQ(Get(2), Variant(static_cast<std::int32_t>(0x80000005u)));

  ASSERT_EQ(Invoke(10, DISPATCH_METHOD), S_OK);
  EXPECT_EQ(object_->fascicolo.Titolo(), u"");
  EXPECT_EQ(object_->fascicolo.Pagine(), 0);
}

TEST_F(MemberTableTest, InvokeRefusesWhatTheTableDoesNotDeclare) {
  // Read-only: no put entry at all.
  EXPECT_EQ(Invoke(3, DISPATCH_PROPERTYPUT, {Variant(true)}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(99, DISPATCH_PROPERTYGET), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(1, DISPATCH_PROPERTYPUT, {Variant(String(u"molte"))}), DISP_E_TYPEMISMATCH);
  // The setter's own error comes back as the exception it raised.
  EXPECT_EQ(Invoke(1, DISPATCH_PROPERTYPUT, {Variant(std::int32_t{-1})}), DISP_E_EXCEPTION);
  EXPECT_EQ(info_.scode, MAKE_HRESULT(1, FACILITY_CONTROL, errors::kInvalidPropertyValue));
  EXPECT_EQ(object_->fascicolo.Pagine(), 1);
}

TEST_F(MemberTableTest, TheDualInterfaceBehavesAsInvoke) {
  ASSERT_EQ(scheda_->put_Pagine(7), S_OK);
  ASSERT_EQ(scheda_->Raddoppia(), S_OK);
  std::int32_t pagine = 0;
  ASSERT_EQ(scheda_->get_Pagine(&pagine), S_OK);
  EXPECT_EQ(pagine, 14);

  VARIANT_BOOL pronta = VARIANT_TRUE;
  ASSERT_EQ(scheda_->get_Pronta(&pronta), S_OK);
  EXPECT_EQ(pronta, VARIANT_FALSE);
  ASSERT_EQ(scheda_->put_Titolo(u"Agenda"), S_OK);
  ASSERT_EQ(scheda_->get_Pronta(&pronta), S_OK);
  EXPECT_EQ(pronta, VARIANT_TRUE);

  ASSERT_EQ(scheda_->put_Colore(0x000000FFu), S_OK);
  OLE_COLOR colore = 0;
  ASSERT_EQ(scheda_->get_Colore(&colore), S_OK);
  EXPECT_EQ(colore, 0x000000FFu);
  EXPECT_EQ(scheda_->get_Colore(nullptr), E_POINTER);

  // A failing entry returns the error's own code and leaves its error information.
  EXPECT_EQ(scheda_->put_Pagine(-3),
            MAKE_HRESULT(1, FACILITY_CONTROL, errors::kInvalidPropertyValue));
  EXCEPINFO left;
  ASSERT_EQ(GetErrorInfo(&left), S_OK);
  EXPECT_EQ(left.wCode, errors::kInvalidPropertyValue);
  EXPECT_EQ(object_->fascicolo.Pagine(), 14);

  ASSERT_EQ(scheda_->put_Pagine(INT32_MAX), S_OK);
  EXPECT_EQ(scheda_->Raddoppia(), MAKE_HRESULT(1, FACILITY_CONTROL, errors::kOverflow));
  ASSERT_EQ(scheda_->Azzera(), S_OK);
  ASSERT_EQ(scheda_->get_Pagine(&pagine), S_OK);
  EXPECT_EQ(pagine, 0);
}

// The functions: typed parameters and a result, each from its one line.
TEST_F(MemberTableTest, TheTypeLibraryNamesEachParameter) {
  ComPtr<ITypeInfo> type;
  ASSERT_EQ(scheda_->GetTypeInfo(0, 0, type.Put()), S_OK);
  struct Expected {
    UINT index;
    std::size_t param;
    const char16_t* name;
    const char16_t* type;
    WORD flags;
    Variant default_value;
  };
  const Expected expected[] = {
      {9, 0, u"Prima", u"Long", PARAMFLAG_FIN, {}},
      {9, 1, u"Seconda", u"Long", PARAMFLAG_FIN, {}},
      {10, 0, u"Percorso", u"String", PARAMFLAG_FIN | PARAMFLAG_FOUT, {}},
      {11, 0, u"Testo", u"String", PARAMFLAG_FIN, {}},
      {11, 1, u"Separatore", u"String", PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT,
       Variant(String(u" - "))},
      {11, 2, u"Nota", u"Variant", PARAMFLAG_FIN | PARAMFLAG_FOPT, {}},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(ToUtf8(e.name));
    FuncDesc f;
    ASSERT_EQ(type->GetFuncDesc(e.index, &f), S_OK);
    ASSERT_LT(e.param, f.params.size());
    const ParamDesc& p = f.params[e.param];
    EXPECT_EQ(p.name, e.name);
    EXPECT_EQ(TypeName(p.type), e.type);
    EXPECT_EQ(p.flags, e.flags);
    if ((e.flags & PARAMFLAG_FHASDEFAULT) != 0) {
      EXPECT_EQ(p.defaultValue, e.default_value);
    }
  }
}

TEST_F(MemberTableTest, InvokeConvertsTheArgumentsAndReturnsTheResult) {
  Variant result;
  ASSERT_EQ(Invoke(20, DISPATCH_METHOD, {Variant(std::int16_t{2}), Variant(String(u"40"))},
                   &result),
            S_OK);
  EXPECT_EQ(result, Variant(std::int32_t{42}));
  // The function's own error comes back as the exception it raised.
  EXPECT_EQ(Invoke(20, DISPATCH_METHOD, {Variant(INT32_MAX), Variant(std::int32_t{1})}, &result),
            DISP_E_EXCEPTION);
  EXPECT_EQ(info_.scode, MAKE_HRESULT(1, FACILITY_CONTROL, errors::kOverflow));

  ASSERT_EQ(Invoke(23, DISPATCH_METHOD, {}, &result), S_OK);
  EXPECT_EQ(result, Variant(std::int16_t{0}));

  // An Object parameter takes Nothing, but nothing that is not an object.
  ASSERT_EQ(Invoke(24, DISPATCH_METHOD, {Variant(ObjectRef())}, &result), S_OK);
  EXPECT_EQ(result, Variant(false));
  struct Segnalibro : Object {
    String TypeName() const override { return u"Segnalibro"; }
  };
  const ObjectRef segnalibro = std::make_shared<Segnalibro>();
  ASSERT_EQ(Invoke(24, DISPATCH_METHOD, {Variant(segnalibro)}, &result), S_OK);
  EXPECT_EQ(result, Variant(true));
  EXPECT_EQ(Invoke(24, DISPATCH_METHOD, {Variant(String(u"scheda"))}, &result),
            DISP_E_TYPEMISMATCH);
}

TEST_F(MemberTableTest, InvokeWritesAByRefArgumentBack) {
  std::vector<Variant> args{Variant(String(u"  C:\\dati "))};
  Variant changed;
  ASSERT_EQ(TryInvoke(scheda_.Get(), 21, DISPATCH_METHOD, args, &changed, &info_), S_OK);
  EXPECT_EQ(args[0], Variant(String(u"C:\\dati\\")));
  EXPECT_EQ(changed, Variant(true));
  ASSERT_EQ(TryInvoke(scheda_.Get(), 21, DISPATCH_METHOD, args, &changed, &info_), S_OK);
  EXPECT_EQ(args[0], Variant(String(u"C:\\dati\\")));
  EXPECT_EQ(changed, Variant(false));
  // An argument of another type arrives converted and goes back as the parameter's.
  args[0] = Variant(std::int32_t{7});
  ASSERT_EQ(TryInvoke(scheda_.Get(), 21, DISPATCH_METHOD, args, &changed, &info_), S_OK);
  EXPECT_EQ(args[0], Variant(String(u"7\\")));
}

TEST_F(MemberTableTest, InvokeFillsInOptionalParameters) {
  object_->fascicolo.SetTitolo(u"Diario");
  const Variant missing(ErrorValue{DISP_E_PARAMNOTFOUND});
  Variant result;
  ASSERT_EQ(Invoke(22, DISPATCH_METHOD, {Variant(String(u"maggio"))}, &result), S_OK);
  EXPECT_EQ(result, Variant(String(u"Diario - maggio")));
  ASSERT_EQ(Invoke(22, DISPATCH_METHOD, {Variant(String(u"maggio")), missing}, &result), S_OK);
  EXPECT_EQ(result, Variant(String(u"Diario - maggio")));
  ASSERT_EQ(Invoke(22, DISPATCH_METHOD, {Variant(String(u"maggio")), Variant(String(u"/"))},
                   &result),
            S_OK);
  EXPECT_EQ(result, Variant(String(u"Diario/maggio")));
  // Without a default the function sees "left out", not a value.
  ASSERT_EQ(Invoke(22, DISPATCH_METHOD,
                   {Variant(String(u"maggio")), missing, Variant(std::int32_t{3})}, &result),
            S_OK);
  EXPECT_EQ(result, Variant(String(u"Diario - maggio (3)")));
}

TEST_F(MemberTableTest, InvokeRefusesBadArguments) {
  Variant result;
  UINT arg_err = 99;
  EXPECT_EQ(Invoke(20, DISPATCH_METHOD, {Variant(std::int32_t{1})}, &result),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(20, DISPATCH_METHOD,
                   {Variant(std::int32_t{1}), Variant(std::int32_t{2}), Variant(std::int32_t{3})},
                   &result),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(22, DISPATCH_METHOD, {}, &result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(23, DISPATCH_METHOD, {Variant(true)}, &result), DISP_E_BADPARAMCOUNT);
  // A mandatory parameter cannot be left out with the marker either.
  EXPECT_EQ(Invoke(20, DISPATCH_METHOD,
                   {Variant(ErrorValue{DISP_E_PARAMNOTFOUND}), Variant(std::int32_t{2})}, &result),
            DISP_E_TYPEMISMATCH);
  // The first argument that does not convert is named by its place in rgvarg.
  std::vector<Variant> args{Variant(std::int32_t{1}), Variant(String(u"molte"))};
  EXPECT_EQ(TryInvoke(scheda_.Get(), 20, DISPATCH_METHOD, args, &result, &info_, &arg_err),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(arg_err, 0u);
  args = {Variant(1e12), Variant(std::int32_t{1})};
  EXPECT_EQ(TryInvoke(scheda_.Get(), 20, DISPATCH_METHOD, args, &result, &info_, &arg_err),
            DISP_E_OVERFLOW);
  EXPECT_EQ(arg_err, 1u);
}

TEST_F(MemberTableTest, TheDualInterfaceCallsFunctionsThroughInvoke) {
  std::int32_t sum = -1;
  ASSERT_EQ(scheda_->Somma(2, 40, &sum), S_OK);
  EXPECT_EQ(sum, 42);
  EXPECT_EQ(scheda_->Somma(INT32_MAX, 1, &sum), MAKE_HRESULT(1, FACILITY_CONTROL, errors::kOverflow));
  EXPECT_EQ(sum, 0);
  EXPECT_EQ(scheda_->Somma(1, 2, nullptr), E_POINTER);

  String percorso = u" C:\\dati";
  VARIANT_BOOL changed = VARIANT_FALSE;
  ASSERT_EQ(scheda_->Rifinisci(&percorso, &changed), S_OK);
  EXPECT_EQ(percorso, u"C:\\dati\\");
  EXPECT_EQ(changed, VARIANT_TRUE);
  ASSERT_EQ(scheda_->Rifinisci(&percorso, &changed), S_OK);
  EXPECT_EQ(percorso, u"C:\\dati\\");
  EXPECT_EQ(changed, VARIANT_FALSE);
  EXPECT_EQ(scheda_->Rifinisci(nullptr, &changed), E_POINTER);

  ASSERT_EQ(scheda_->put_Titolo(u"Diario"), S_OK);
  String heading;
  ASSERT_EQ(scheda_->Intesta(u"maggio", u": ", Variant(ErrorValue{DISP_E_PARAMNOTFOUND}), &heading),
            S_OK);
  EXPECT_EQ(heading, u"Diario: maggio");
  ASSERT_EQ(scheda_->Intesta(u"maggio", u" - ", Variant(String(u"bozza")), &heading), S_OK);
  EXPECT_EQ(heading, u"Diario - maggio (bozza)");

  std::int16_t length = 0;
  ASSERT_EQ(scheda_->Lunghezza(&length), S_OK);
  EXPECT_EQ(length, 6);

  VARIANT_BOOL linked = VARIANT_TRUE;
  ASSERT_EQ(scheda_->Collegata(ObjectRef(), &linked), S_OK);
  EXPECT_EQ(linked, VARIANT_FALSE);
}

}  // namespace
}  // namespace ze::com
