// The dispatch table: member lookup, the Invoke rules and their error results,
// argument conversion, type information, and the mapping of failures to the
// automation errors a host raises.
#include "frame/com/dispatch_table.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <thread>

#include "frame/automation/error.h"
#include "frame/automation/locale.h"
#include "frame/com/coerce.h"
#include "frame/com/com_object.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/dispatch_object.h"
#include "frame/com/error_info.h"

namespace ze::com {
namespace {

const TypeDesc kLong{VT_I4, {}};
const TypeDesc kInteger{VT_I2, {}};
const TypeDesc kDouble{VT_R8, {}};
const TypeDesc kText{VT_BSTR, {}};
const TypeDesc kAny{VT_VARIANT, {}};
const TypeDesc kDate{VT_DATE, {}};
const TypeDesc kObject{VT_DISPATCH, u"Figura"};
const TypeDesc kVoid{VT_VOID, {}};

class Sample final : public ComObject<DispatchImpl<Sample>> {
 public:
  static const DispatchTable<Sample>& Dispatch();

  std::int32_t numero = 5;
  String scritto;
  String figura_via;  // "let" or "set": which accessor took the last assignment
};

struct SampleTable : DispatchTable<Sample> {
  SampleTable() : DispatchTable(Description()) {
    Property(
        1, u"Numero", kLong, u"Un numero.", FUNCFLAG_FBINDABLE | FUNCFLAG_FREQUESTEDIT,
        [](Sample& s) { return Variant(s.numero); },
        [](Sample& s, const Variant& v) {
          if (v.Get<std::int32_t>() < 0) Raise(errors::kInvalidPropertyValue);
          s.numero = v.Get<std::int32_t>();
        });
    Property(2, u"Testo", kText, u"", 0, [](Sample&) { return Variant(u"sola lettura"); });
    Property(3, u"Scrivi", kText, u"", 0, nullptr,
             [](Sample& s, const Variant& v) { s.scritto = v.Get<String>(); });
    Property(
        4, u"Figura", kAny, u"", 0, [](Sample&) { return Variant::Nothing(); },
        [](Sample& s, const Variant&) { s.figura_via = u"let"; },
        [](Sample& s, const Variant&) { s.figura_via = u"set"; });
    Method(
        10, u"Dividi", kDouble,
        {ParamDesc{u"a", kDouble, PARAMFLAG_FIN, {}}, ParamDesc{u"b", kDouble, PARAMFLAG_FIN, {}}},
        u"Divide a per b.", 0, [](Sample&, std::span<Variant> a) {
          if (a[1].Get<double>() == 0) Raise(11, u"Division by zero");
          return Variant(a[0].Get<double>() / a[1].Get<double>());
        });
    Method(11, u"Opzionale", kAny,
           {ParamDesc{u"a", kLong, PARAMFLAG_FIN, {}},
            ParamDesc{u"b", kAny, PARAMFLAG_FIN | PARAMFLAG_FOPT, {}}},
           u"", 0, [](Sample&, std::span<Variant> a) { return a[1]; });
    Method(12, u"ConDefault", kLong,
           {ParamDesc{u"a", kLong, PARAMFLAG_FIN, {}},
            ParamDesc{u"b", kLong, PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT,
                      Variant(std::int32_t{7})}},
           u"", 0, [](Sample&, std::span<Variant> a) {
             return Variant(a[0].Get<std::int32_t>() + a[1].Get<std::int32_t>());
           });
    Method(13, u"Raddoppia", kVoid, {ParamDesc{u"x", kLong, PARAMFLAG_FIN | PARAMFLAG_FOUT, {}}},
           u"", 0, [](Sample&, std::span<Variant> a) {
             a[0] = Variant(a[0].Get<std::int32_t>() * 2);
             return Variant(std::int32_t{99});  // a Sub: the caller sees no result
           });
    Method(14, u"Lancia", kVoid, {ParamDesc{u"come", kLong, PARAMFLAG_FIN, {}}}, u"", 0,
           [](Sample&, std::span<Variant> a) -> Variant {
             switch (a[0].Get<std::int32_t>()) {
               case 0:
                 throw std::runtime_error("guasto");
               case 1:
                 throw std::bad_alloc();
               default:
                 Raise(static_cast<std::int32_t>(0x80040201u), u"errore dell'oggetto");
             }
           });
    Method(15, u"Intero", kInteger, {ParamDesc{u"x", kInteger, PARAMFLAG_FIN, {}}}, u"", 0,
           [](Sample&, std::span<Variant> a) { return a[0]; });
    Method(16, u"Giorno", kDate, {ParamDesc{u"d", kDate, PARAMFLAG_FIN, {}}}, u"", 0,
           [](Sample&, std::span<Variant> a) { return a[0]; });
  }

  static InterfaceDescription Description() {
    InterfaceDescription d;
    d.library.name = u"Prova";
    d.library.help = u"Libreria";
    d.attr.name = u"_Campione";
    d.attr.flags = TYPEFLAG_FDUAL;
    return d;
  }
};

const DispatchTable<Sample>& Sample::Dispatch() {
  static const SampleTable table;
  return table;
}

class DispatchTableTest : public ::testing::Test {
 protected:
  // Invoke with arguments in natural order; a put passes its value as the named
  // DISPID_PROPERTYPUT argument.
  HRESULT Call(DISPID id, WORD flags, std::vector<Variant> args = {}) {
    info = EXCEPINFO{};
    arg_err = 12345;
    const HRESULT hr = TryInvoke(object.Get(), id, flags, args, &result, &info, &arg_err);
    last_args = std::move(args);
    return hr;
  }

  ComPtr<Sample> object = MakeCom<Sample>();
  Variant result;
  EXCEPINFO info;
  UINT arg_err = 0;
  std::vector<Variant> last_args;
};

TEST_F(DispatchTableTest, PropertiesAndMethodsThatWork) {
  EXPECT_EQ(Call(1, DISPATCH_PROPERTYGET), S_OK);
  EXPECT_EQ(result, Variant(std::int32_t{5}));
  EXPECT_EQ(Call(1, DISPATCH_PROPERTYPUT, {Variant(std::int16_t{8})}), S_OK);  // Integer -> Long
  EXPECT_EQ(object->numero, 8);
  EXPECT_EQ(Call(1, DISPATCH_PROPERTYGET | DISPATCH_METHOD), S_OK);
  EXPECT_EQ(result, Variant(std::int32_t{8}));
  EXPECT_EQ(Call(3, DISPATCH_PROPERTYPUT, {Variant(std::int32_t{42})}), S_OK);  // Long -> String
  EXPECT_EQ(object->scritto, u"42");
  EXPECT_EQ(Call(10, DISPATCH_METHOD, {Variant(7.0), Variant(u"2")}), S_OK);
  EXPECT_EQ(result, Variant(3.5));
  EXPECT_EQ(Call(12, DISPATCH_METHOD, {Variant(std::int32_t{1})}), S_OK);  // default b = 7
  EXPECT_EQ(result, Variant(std::int32_t{8}));
  EXPECT_EQ(Call(11, DISPATCH_METHOD, {Variant(std::int32_t{1})}), S_OK);  // missing marker
  EXPECT_EQ(result, Variant(ErrorValue{DISP_E_PARAMNOTFOUND}));
  EXPECT_EQ(Call(11, DISPATCH_METHOD, {Variant(std::int32_t{1}), Variant::Null()}), S_OK);
  EXPECT_EQ(result, Variant::Null());
}

TEST_F(DispatchTableTest, ErrorResults) {
  const struct {
    const char* name;
    DISPID id;
    WORD flags;
    std::vector<Variant> args;
    HRESULT expected;
  } cases[] = {
      {"unknown dispatch id", 99, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
      {"get of a write-only property", 3, DISPATCH_PROPERTYGET, {}, DISP_E_MEMBERNOTFOUND},
      {"put of a read-only property",
       2,
       DISPATCH_PROPERTYPUT,
       {Variant(u"x")},
       DISP_E_MEMBERNOTFOUND},
      {"property called as a method only", 1, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
      {"method read as a property only", 10, DISPATCH_PROPERTYGET, {}, DISP_E_MEMBERNOTFOUND},
      {"no kind at all", 1, 0, {}, DISP_E_MEMBERNOTFOUND},
      {"get with an argument", 1, DISPATCH_PROPERTYGET, {Variant(1.0)}, DISP_E_BADPARAMCOUNT},
      {"too few arguments", 10, DISPATCH_METHOD, {Variant(1.0)}, DISP_E_BADPARAMCOUNT},
      {"too many arguments",
       10,
       DISPATCH_METHOD,
       {Variant(1.0), Variant(2.0), Variant(3.0)},
       DISP_E_BADPARAMCOUNT},
      {"put of two values",
       1,
       DISPATCH_PROPERTYPUT,
       {Variant(1.0), Variant(2.0)},
       DISP_E_BADPARAMCOUNT},
      {"text that is no number",
       10,
       DISPATCH_METHOD,
       {Variant(u"sette"), Variant(1.0)},
       DISP_E_TYPEMISMATCH},
      {"Null for a number", 1, DISPATCH_PROPERTYPUT, {Variant::Null()}, DISP_E_TYPEMISMATCH},
      {"object for a number",
       10,
       DISPATCH_METHOD,
       {Variant::Nothing(), Variant(1.0)},
       DISP_E_TYPEMISMATCH},
      {"Integer out of range", 15, DISPATCH_METHOD, {Variant(40000.0)}, DISP_E_OVERFLOW},
      {"Long out of range", 1, DISPATCH_PROPERTYPUT, {Variant(3e9)}, DISP_E_OVERFLOW},
      {"Date out of range", 16, DISPATCH_METHOD, {Variant(1e8)}, DISP_E_OVERFLOW},
      {"automation error in a setter",
       1,
       DISPATCH_PROPERTYPUT,
       {Variant(std::int32_t{-1})},
       DISP_E_EXCEPTION},
      {"automation error in a method",
       10,
       DISPATCH_METHOD,
       {Variant(1.0), Variant(0.0)},
       DISP_E_EXCEPTION},
      {"C++ exception in a method",
       14,
       DISPATCH_METHOD,
       {Variant(std::int32_t{0})},
       DISP_E_EXCEPTION},
      {"memory exhausted in a method",
       14,
       DISPATCH_METHOD,
       {Variant(std::int32_t{1})},
       E_OUTOFMEMORY},
  };
  for (const auto& c : cases) EXPECT_EQ(Call(c.id, c.flags, c.args), c.expected) << c.name;
  EXPECT_EQ(object->numero, 5) << "no failed put may change the value";
}

TEST_F(DispatchTableTest, ConversionFailureNamesTheArgument) {
  // rgvarg holds the arguments last first: the first argument of two is index 1.
  EXPECT_EQ(Call(10, DISPATCH_METHOD, {Variant(u"x"), Variant(1.0)}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(arg_err, 1u);
  EXPECT_EQ(Call(10, DISPATCH_METHOD, {Variant(1.0), Variant(u"x")}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(arg_err, 0u);
  EXPECT_EQ(Call(1, DISPATCH_PROPERTYPUT, {Variant(u"x")}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(arg_err, 0u);
}

TEST_F(DispatchTableTest, AutomationErrorsCarryNumberDescriptionAndSource) {
  ASSERT_EQ(Call(1, DISPATCH_PROPERTYPUT, {Variant(std::int32_t{-1})}), DISP_E_EXCEPTION);
  EXPECT_EQ(info.wCode, 380);
  EXPECT_EQ(static_cast<std::uint32_t>(info.scode), 0x800A017Cu);
  EXPECT_EQ(info.bstrDescription, u"Invalid property value");
  EXPECT_EQ(info.bstrSource, u"Prova.Campione");
  EXPECT_EQ(ErrorNumberOf(info), 380);

  ASSERT_EQ(Call(10, DISPATCH_METHOD, {Variant(1.0), Variant(0.0)}), DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorNumberOf(info), 11);
  EXPECT_EQ(info.bstrDescription, u"Division by zero");

  // An object error (vbObjectError + 513) is an HRESULT already: scode alone.
  ASSERT_EQ(Call(14, DISPATCH_METHOD, {Variant(std::int32_t{2})}), DISP_E_EXCEPTION);
  EXPECT_EQ(info.wCode, 0);
  EXPECT_EQ(static_cast<std::uint32_t>(info.scode), 0x80040201u);
  EXPECT_EQ(ErrorNumberOf(info), static_cast<std::int32_t>(0x80040201u));

  ASSERT_EQ(Call(14, DISPATCH_METHOD, {Variant(std::int32_t{0})}), DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorNumberOf(info), 440);
  EXPECT_EQ(info.bstrDescription, u"Automation error: guasto");
}

TEST_F(DispatchTableTest, PutRequiresTheNamedPropertyPutArgument) {
  Variant value(std::int32_t{9});
  DISPID named = 0;  // not DISPID_PROPERTYPUT
  DISPPARAMS params{&value, nullptr, 1, 0};
  EXPECT_EQ(
      object->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
      DISP_E_PARAMNOTFOUND);
  params.rgdispidNamedArgs = &named;
  params.cNamedArgs = 1;
  EXPECT_EQ(
      object->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
      DISP_E_PARAMNOTFOUND);
  named = DISPID_PROPERTYPUT;
  EXPECT_EQ(
      object->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
      S_OK);
  EXPECT_EQ(object->numero, 9);
}

TEST_F(DispatchTableTest, MalformedParametersAreRefused) {
  DISPPARAMS no_array{nullptr, nullptr, 2, 0};
  EXPECT_EQ(object->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &no_array, nullptr, nullptr, nullptr),
            E_INVALIDARG);
  Variant args[2];
  DISPPARAMS more_named{args, nullptr, 1, 2};
  EXPECT_EQ(
      object->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &more_named, nullptr, nullptr, nullptr),
      E_INVALIDARG);
  const IID other{1, 2, 3, {}};
  EXPECT_EQ(object->Invoke(1, other, 0, DISPATCH_PROPERTYGET, nullptr, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  // No parameter block at all reads as no arguments.
  Variant out;
  EXPECT_EQ(object->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, &out, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(out, Variant(std::int32_t{5}));
}

TEST_F(DispatchTableTest, NamedArgumentsByParameterName) {
  const char16_t* names[] = {u"DIVIDI", u"b", u"a"};
  DISPID ids[3];
  ASSERT_EQ(object->GetIDsOfNames(IID_NULL, names, 3, 0, ids), S_OK);
  EXPECT_EQ(ids[0], 10);
  EXPECT_EQ(ids[1], 1);
  EXPECT_EQ(ids[2], 0);
  // Dividi(b:=4, a:=10): named arguments in any order.
  Variant args[] = {Variant(4.0), Variant(10.0)};
  DISPID named[] = {1, 0};
  DISPPARAMS params{args, named, 2, 2};
  Variant out;
  ASSERT_EQ(object->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &params, &out, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(out, Variant(2.5));
  // The same parameter twice, or one that does not exist.
  DISPID twice[] = {1, 1};
  params.rgdispidNamedArgs = twice;
  UINT err = 0;
  EXPECT_EQ(object->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &params, &out, nullptr, &err),
            DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(err, 1u);
  DISPID missing[] = {5, 0};
  params.rgdispidNamedArgs = missing;
  EXPECT_EQ(object->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &params, &out, nullptr, &err),
            DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(err, 0u);
  // A required parameter left out by a named call.
  DISPID only_b[] = {1};
  DISPPARAMS one{args, only_b, 1, 1};
  EXPECT_EQ(object->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &one, &out, nullptr, nullptr),
            DISP_E_PARAMNOTOPTIONAL);
  // Named arguments are no use on a property get.
  DISPPARAMS get_named{args, only_b, 1, 1};
  EXPECT_EQ(
      object->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &get_named, &out, nullptr, nullptr),
      DISP_E_NONAMEDARGS);
}

TEST_F(DispatchTableTest, ByRefParametersAreWrittenBack) {
  ASSERT_EQ(Call(13, DISPATCH_METHOD, {Variant(std::int16_t{21})}), S_OK);
  EXPECT_EQ(last_args[0], Variant(std::int32_t{42}));  // converted to the declared Long
  EXPECT_TRUE(result.IsEmpty()) << "a Sub gives no result";
}

TEST_F(DispatchTableTest, PutByReferenceGoesToSetForObjects) {
  EXPECT_EQ(Call(4, DISPATCH_PROPERTYPUTREF, {Variant::Nothing()}), S_OK);
  EXPECT_EQ(object->figura_via, u"set");
  EXPECT_EQ(Call(4, DISPATCH_PROPERTYPUT, {Variant::Nothing()}), S_OK);
  EXPECT_EQ(object->figura_via, u"let");
  // A caller that cannot tell asks for both: an object goes by reference.
  EXPECT_EQ(Call(4, DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF, {Variant::Nothing()}), S_OK);
  EXPECT_EQ(object->figura_via, u"set");
  EXPECT_EQ(Call(4, DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF, {Variant(1.0)}), S_OK);
  EXPECT_EQ(object->figura_via, u"let");
  EXPECT_EQ(Call(1, DISPATCH_PROPERTYPUTREF, {Variant(std::int32_t{3})}), DISP_E_MEMBERNOTFOUND);
}

TEST_F(DispatchTableTest, NamesAreFoundWhateverTheirCase) {
  const struct {
    const char16_t* name;
    DISPID id;
    HRESULT hr;
  } cases[] = {
      {u"Numero", 1, S_OK},
      {u"numero", 1, S_OK},
      {u"NUMERO", 1, S_OK},
      {u"raddoppia", 13, S_OK},
      {u"Numer", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
      {u"", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
      {u"Numero ", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
  };
  for (const auto& c : cases) {
    DISPID id = 777;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &c.name, 1, 0, &id), c.hr);
    EXPECT_EQ(id, c.id);
  }
  // An unknown parameter name: the member is still found.
  const char16_t* names[] = {u"Dividi", u"c"};
  DISPID ids[2];
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], 10);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, nullptr, 1, 0, ids), E_POINTER);
  const IID other{9, 9, 9, {}};
  EXPECT_EQ(object->GetIDsOfNames(other, names, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);
}

TEST_F(DispatchTableTest, TypeInformationListsTheMembersInOrder) {
  UINT count = 0;
  ASSERT_EQ(object->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> type;
  EXPECT_EQ(object->GetTypeInfo(1, 0, type.Put()), DISP_E_BADINDEX);
  ASSERT_EQ(object->GetTypeInfo(0, 0, type.Put()), S_OK);
  TypeAttr attr;
  ASSERT_EQ(type->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr.name, u"_Campione");
  EXPECT_EQ(attr.flags, TYPEFLAG_FDUAL);
  // Numero (get, put), Testo (get), Scrivi (put only), Figura (get, put, putref),
  // then the seven methods.
  EXPECT_EQ(attr.cFuncs, 14u);
  FuncDesc f;
  ASSERT_EQ(type->GetFuncDesc(0, &f), S_OK);
  EXPECT_EQ(f.memid, 1);
  EXPECT_EQ(f.name, u"Numero");
  EXPECT_EQ(f.invkind, INVOKE_PROPERTYGET);
  EXPECT_EQ(f.flags, FUNCFLAG_FBINDABLE | FUNCFLAG_FREQUESTEDIT);
  EXPECT_EQ(f.help, u"Un numero.");
  ASSERT_EQ(type->GetFuncDesc(1, &f), S_OK);
  EXPECT_EQ(f.invkind, INVOKE_PROPERTYPUT);
  ASSERT_EQ(f.params.size(), 1u);
  EXPECT_EQ(TypeName(f.params[0].type), u"Long");
  ASSERT_EQ(type->GetFuncDesc(3, &f), S_OK);
  EXPECT_EQ(f.name, u"Scrivi");
  EXPECT_EQ(f.invkind, INVOKE_PROPERTYPUT);
  ASSERT_EQ(type->GetFuncDesc(6, &f), S_OK);
  EXPECT_EQ(f.invkind, INVOKE_PROPERTYPUTREF);
  EXPECT_EQ(TypeName(f.type), u"Variant");
  ASSERT_EQ(type->GetFuncDesc(7, &f), S_OK);
  EXPECT_EQ(f.name, u"Dividi");
  EXPECT_EQ(f.invkind, INVOKE_FUNC);
  EXPECT_EQ(type->GetFuncDesc(14, &f), TYPE_E_ELEMENTNOTFOUND);
  String name, help;
  ASSERT_EQ(type->GetDocumentation(10, &name, &help), S_OK);
  EXPECT_EQ(help, u"Divide a per b.");
  EXPECT_EQ(type->GetDocumentation(1234, &name, &help), TYPE_E_ELEMENTNOTFOUND);
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(type->GetContainingTypeLib(lib.Put(), nullptr), S_OK);
  TypeLibAttr libAttr;
  ASSERT_EQ(lib->GetLibAttr(&libAttr), S_OK);
  EXPECT_EQ(libAttr.help, u"Libreria");
}

TEST_F(DispatchTableTest, DispatchObjectsTravelInVariants) {
  const Variant v = DispatchObject::Wrap(object.Get());
  ASSERT_TRUE(v.Is<ObjectRef>());
  // No class description: the name is its dispatch interface's.
  ComPtr<ITypeInfo> cls;
  EXPECT_EQ(GetClassInfoOf(object.Get(), cls.Put()), E_NOINTERFACE);
  EXPECT_EQ(GetClassInfoOf(nullptr, cls.Put()), E_POINTER);
  EXPECT_EQ(v.Get<ObjectRef>()->TypeName(), u"Campione");
  EXPECT_EQ(DispatchOf(v).Get(), static_cast<IDispatch*>(object.Get()));
  EXPECT_EQ(DispatchObject::Wrap(nullptr), Variant::Nothing());
  EXPECT_FALSE(DispatchOf(Variant(1.0)));
  // Calling through the Variant by name, as a script host does.
  EXPECT_EQ(GetProperty(DispatchOf(v).Get(), u"numero"), Variant(std::int32_t{5}));
  LetProperty(DispatchOf(v).Get(), u"Numero", Variant(std::int32_t{6}));
  EXPECT_EQ(object->numero, 6);
  EXPECT_EQ(CallMethod(DispatchOf(v).Get(), u"Dividi", {Variant(1.0), Variant(4.0)}),
            Variant(0.25));
}

TEST(DispatchErrors, HostsRaiseTheErrorsTheirLanguageKnows) {
  const struct {
    HRESULT hr;
    std::int32_t number;
  } cases[] = {
      {DISP_E_UNKNOWNNAME, 438},
      {DISP_E_MEMBERNOTFOUND, 438},
      {DISP_E_BADPARAMCOUNT, 450},
      {DISP_E_TYPEMISMATCH, 13},
      {DISP_E_OVERFLOW, 6},
      {DISP_E_PARAMNOTFOUND, 448},
      {E_OUTOFMEMORY, 7},
      {E_NOINTERFACE, 430},
      {REGDB_E_CLASSNOTREG, 429},
      {CLASS_E_CLASSNOTAVAILABLE, 429},
      {CO_E_CLASSSTRING, 429},
      {MAKE_HRESULT(1, FACILITY_CONTROL, 380), 380},
      {E_FAIL, static_cast<std::int32_t>(0x80004005u)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ErrorFromResult(c.hr, nullptr).number, c.number) << HresultText(c.hr);
  EXPECT_EQ(ErrorFromResult(DISP_E_BADPARAMCOUNT, nullptr).description,
            u"Wrong number of arguments or invalid property assignment");

  EXCEPINFO info;
  FillExcepInfo(&info, 380, u"", u"");
  const ResultError e = ErrorFromResult(DISP_E_EXCEPTION, &info);
  EXPECT_EQ(e.number, 380);
  EXPECT_EQ(e.description, u"Invalid property value");
  try {
    RaiseIfFailed(DISP_E_MEMBERNOTFOUND);
    FAIL();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.number(), 438);
  }
  EXPECT_NO_THROW(RaiseIfFailed(S_FALSE));
  EXPECT_THROW(GetProperty(nullptr, u"x"), AutomationError);
}

TEST(ErrorInfo, AVtableFailureLeavesItsExceptionForTheCaller) {
  SetErrorInfo(nullptr);
  EXCEPINFO info, taken;
  FillExcepInfo(&info, 380, u"Invalid property value", u"Prova");
  EXPECT_EQ(ResultForVtable(DISP_E_EXCEPTION, info), MAKE_HRESULT(1, FACILITY_CONTROL, 380));
  ASSERT_EQ(GetErrorInfo(&taken), S_OK);
  EXPECT_EQ(taken.bstrSource, u"Prova");
  EXPECT_EQ(ErrorNumberOf(taken), 380);
  EXPECT_EQ(GetErrorInfo(&taken), S_FALSE) << "taken once";
  // An object error keeps its own code; a number that is no failure code still fails.
  const std::int32_t objectError = static_cast<std::int32_t>(0x80040000u + 513);
  FillExcepInfo(&info, objectError, u"mio", u"Prova");
  EXPECT_EQ(ResultForVtable(DISP_E_EXCEPTION, info), objectError);
  FillExcepInfo(&info, 70000, u"grande", u"Prova");
  EXPECT_EQ(ResultForVtable(DISP_E_EXCEPTION, info), DISP_E_EXCEPTION);
  // Another failure leaves nothing, not even what an earlier call left; success
  // changes nothing.
  EXPECT_EQ(ResultForVtable(E_INVALIDARG, info), E_INVALIDARG);
  EXPECT_EQ(GetErrorInfo(&taken), S_FALSE);
  SetErrorInfo(&info);
  EXPECT_EQ(ResultForVtable(S_FALSE, info), S_FALSE);
  // Each thread has its own.
  std::thread([] { EXPECT_EQ(GetErrorInfo(nullptr), S_FALSE); }).join();
  EXPECT_EQ(GetErrorInfo(nullptr), S_OK);
}

// The conversions follow the locale in force; these cases pin one.
class Coerce : public ::testing::Test {
 protected:
  void SetUp() override { Locale::SetCurrent("en_US"); }
  void TearDown() override { Locale::ResetToEnvironment(); }
};

TEST_F(Coerce, ConvertsToTheDeclaredType) {
  const struct {
    const char* name;
    Variant in;
    VARTYPE vt;
    HRESULT hr;
    Variant out;
  } cases[] = {
      {"Double to Long rounds halves to even", Variant(2.5), VT_I4, S_OK, Variant(std::int32_t{2})},
      {"Double to Long, odd half", Variant(3.5), VT_I4, S_OK, Variant(std::int32_t{4})},
      {"negative half", Variant(-2.5), VT_I2, S_OK, Variant(std::int16_t{-2})},
      {"Integer upper bound", Variant(32767.0), VT_I2, S_OK, Variant(std::int16_t{32767})},
      {"Integer overflow", Variant(32767.5), VT_I2, DISP_E_OVERFLOW, Variant()},
      {"Long overflow", Variant(2147483648.0), VT_I4, DISP_E_OVERFLOW, Variant()},
      {"True is -1", Variant(true), VT_I4, S_OK, Variant(std::int32_t{-1})},
      {"Empty is 0", Variant(), VT_R8, S_OK, Variant(0.0)},
      {"number text", Variant(u" 12.5 "), VT_R8, S_OK, Variant(12.5)},
      {"not a number", Variant(u"12,5x"), VT_R8, DISP_E_TYPEMISMATCH, Variant()},
      {"hex text is no number here", Variant(u"0x10"), VT_I4, DISP_E_TYPEMISMATCH, Variant()},
      {"empty text", Variant(u""), VT_I4, DISP_E_TYPEMISMATCH, Variant()},
      {"Null", Variant::Null(), VT_I4, DISP_E_TYPEMISMATCH, Variant()},
      {"Null as Variant", Variant::Null(), VT_VARIANT, S_OK, Variant::Null()},
      {"error value to text", Variant(ErrorValue{5}), VT_BSTR, S_OK, Variant(u"Error 5")},
      {"error value to number", Variant(ErrorValue{5}), VT_I4, DISP_E_TYPEMISMATCH, Variant()},
      {"Boolean word", Variant(u"true"), VT_BOOL, S_OK, Variant(true)},
      {"zero is False", Variant(0.0), VT_BOOL, S_OK, Variant(false)},
      {"Boolean to text", Variant(false), VT_BSTR, S_OK, Variant(u"False")},
      {"Double to text", Variant(1.5), VT_BSTR, S_OK, Variant(u"1.5")},
      {"Single overflow", Variant(1e39), VT_R4, DISP_E_OVERFLOW, Variant()},
      {"serial to Date", Variant(38711.0), VT_DATE, S_OK, Variant(Date(38711.0))},
      {"Date beyond 9999", Variant(2958466.0), VT_DATE, DISP_E_OVERFLOW, Variant()},
      {"object to number", Variant::Nothing(), VT_I4, DISP_E_TYPEMISMATCH, Variant()},
      {"number to object", Variant(1.0), VT_DISPATCH, DISP_E_TYPEMISMATCH, Variant()},
      {"Nothing to object", Variant::Nothing(), VT_DISPATCH, S_OK, Variant::Nothing()},
      {"unknown target", Variant(1.0), 99, DISP_E_BADVARTYPE, Variant()},
      // 32-bit values such as colours: a Long or an unsigned number, the same bits.
      {"colour as unsigned", Variant(2147483653.0), VT_UI4, S_OK,
       Variant(static_cast<std::int32_t>(0x80000005u))},
      {"colour as Long", Variant(static_cast<std::int32_t>(0x80000005u)), VT_UI4, S_OK,
       Variant(static_cast<std::int32_t>(0x80000005u))},
      {"all bits", Variant(4294967295.0), VT_UI4, S_OK, Variant(std::int32_t{-1})},
      {"all bits, as text", Variant(u"4294967295"), VT_UI4, S_OK, Variant(std::int32_t{-1})},
      {"just below the top half", Variant(4294967295.4), VT_UI4, S_OK, Variant(std::int32_t{-1})},
      {"top half rounds to 2^32", Variant(4294967295.5), VT_UI4, DISP_E_OVERFLOW, Variant()},
      {"2^32", Variant(4294967296.0), VT_UI4, DISP_E_OVERFLOW, Variant()},
      {"half to even at 2^31", Variant(2147483647.5), VT_UI4, S_OK,
       Variant(static_cast<std::int32_t>(0x80000000u))},
      {"small half to even", Variant(2.5), VT_UI4, S_OK, Variant(std::int32_t{2})},
      {"lowest", Variant(-2147483648.0), VT_UI4, S_OK,
       Variant(static_cast<std::int32_t>(0x80000000u))},
      {"half to even at the bottom", Variant(-2147483648.5), VT_UI4, S_OK,
       Variant(static_cast<std::int32_t>(0x80000000u))},
      {"below the lowest", Variant(-2147483649.0), VT_UI4, DISP_E_OVERFLOW, Variant()},
      {"text that is no colour", Variant(u"rosso"), VT_UI4, DISP_E_TYPEMISMATCH, Variant()},
      {"Null colour", Variant::Null(), VT_UI4, DISP_E_TYPEMISMATCH, Variant()},
  };
  Err().Clear();
  for (const auto& c : cases) {
    Variant out;
    EXPECT_EQ(CoerceTo(c.in, c.vt, &out), c.hr) << c.name;
    EXPECT_EQ(Err().Number, 0) << c.name << ": a failed conversion leaves the record alone";
    if (c.hr == S_OK) {
      EXPECT_EQ(out, c.out) << c.name;
    }
  }
}

TEST_F(Coerce, TextsFollowTheLocale) {
  Locale::SetCurrent("it_IT");
  Variant out;
  ASSERT_EQ(CoerceTo(Variant(u"1.234,5"), VT_R8, &out), S_OK);
  EXPECT_EQ(out, Variant(1234.5));
  ASSERT_EQ(CoerceTo(Variant(1.5), VT_BSTR, &out), S_OK);
  EXPECT_EQ(out, Variant(u"1,5"));
  ASSERT_EQ(CoerceTo(Variant(u"25/12/2005"), VT_DATE, &out), S_OK);
  EXPECT_EQ(out, Variant(Date(38711.0)));
  EXPECT_EQ(CoerceTo(Variant(u"31/02/2005"), VT_DATE, &out), DISP_E_TYPEMISMATCH);
}

}  // namespace
}  // namespace ze::com
