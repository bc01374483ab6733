// The frame seen by a host: the test component library registered in a store of
// its own, created by ProgID and by CLSID, reached through its binary interfaces,
// its events received through a sink, its failures reported with the standard
// results, and unloaded when it says it can be.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "frame/com/activation.h"
#include "frame/com/class_factory.h"
#include "frame/com/connection_point.h"
#include "frame/com/dispatch_client.h"
#include "frame/com/dispatch_errors.h"
#include "frame/com/dispatch_object.h"
#include "frame/com/event_sink.h"
#include "frame/com/server_exports.h"
#include "frame/com/type_info.h"
#include "frame/registry/reg_file.h"
#include "tests/com/test_component/contatore_ids.h"
#include "tests/registry/temp_dir.h"

namespace ze::com {
namespace {

using namespace zeprova;
using registry::KeyId;
using registry::Root;
using registry::Store;

const std::string kLibrary = ZE_TEST_COMPONENT;

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterServerLibrary(kLibrary), S_OK) << LastActivationError();
  }
  void TearDown() override { CoFreeUnusedLibraries(); }

  Store& store() { return *registry::DefaultStore(); }
  KeyId classes_root() { return Store::RootKey(Root::ClassesRoot); }
  // Sets HKCR\path's default value.
  void PutClassesRoot(const String& path, const String& text) {
    KeyId key;
    ASSERT_EQ(store().CreateKey(classes_root(), path, &key), registry::ERROR_SUCCESS);
    ASSERT_EQ(store().SetString(key, u"", text), registry::ERROR_SUCCESS);
  }
  ComPtr<IDispatch> Create() {
    ComPtr<IDispatch> object;
    EXPECT_EQ(CreateObject(kProgIdContatore, &object), S_OK) << LastActivationError();
    return object;
  }

  testing::TempDir dir;
  testing::DefaultStoreAt store_at{dir.File("registro.db")};
};

TEST_F(ComponentTest, CreatesByProgIdAndByClsid) {
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(kProgIdContatore, &clsid), S_OK);
  EXPECT_EQ(clsid, kClsidContatore);
  ASSERT_EQ(CLSIDFromProgID(u"zeprova.CONTATORE", &clsid), S_OK) << "ProgIDs are case-insensitive";

  ComPtr<IDispatch> by_progid = Create();
  ASSERT_TRUE(by_progid);
  ComPtr<IDispatch> by_text;
  ASSERT_EQ(CreateObject(u"{5a1e0001-7e57-4c0d-9a11-000000000001}", &by_text), S_OK);
  ComPtr<IUnknown> by_clsid;
  ASSERT_EQ(CoCreateInstance(kClsidContatore, nullptr, IID_IUnknown, by_clsid.PutVoid()), S_OK);
  // Three separate objects of one class.
  EXPECT_NE(static_cast<void*>(by_progid.Get()), static_cast<void*>(by_text.Get()));
  EXPECT_EQ(GetProperty(by_progid.Get(), u"Vivi"), Variant(std::int32_t{3}));
  EXPECT_EQ(LoadedServerCount(), 1u) << "one library, loaded once";
}

TEST_F(ComponentTest, QueryInterfaceKeepsIdentity) {
  ComPtr<IDispatch> object = Create();
  ComPtr<IUnknown> unknown1, unknown2;
  ASSERT_EQ(object.As(&unknown1), S_OK);
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(object.As(&container), S_OK);
  ASSERT_EQ(container->QueryInterface(IID_IUnknown, unknown2.PutVoid()), S_OK);
  EXPECT_EQ(unknown1.Get(), unknown2.Get());

  // The current interface and its earlier version give the same pointer.
  void* current = nullptr;
  void* old = nullptr;
  ASSERT_EQ(object->QueryInterface(kIidContatore, &current), S_OK);
  ASSERT_EQ(object->QueryInterface(kIidContatoreOld, &old), S_OK);
  EXPECT_EQ(current, old);
  EXPECT_EQ(current, static_cast<void*>(object.Get()));
  static_cast<IUnknown*>(current)->Release();
  static_cast<IUnknown*>(old)->Release();

  const IID unknown_iid{0x12345678, 1, 2, {3}};
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(object->QueryInterface(unknown_iid, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(object->QueryInterface(IID_IDispatch, nullptr), E_POINTER);
  ComPtr<IUnknown> via_factory;
  EXPECT_EQ(CoCreateInstance(kClsidContatore, nullptr, unknown_iid, via_factory.PutVoid()),
            E_NOINTERFACE);
}

TEST_F(ComponentTest, MembersThroughDispatch) {
  ComPtr<IDispatch> object = Create();
  LetProperty(object.Get(), u"Valore", Variant(std::int32_t{4}));
  EXPECT_EQ(CallMethod(object.Get(), u"Aggiungi", {Variant(u"3")}), Variant(std::int32_t{7}));
  EXPECT_EQ(GetProperty(object.Get(), u"valore"), Variant(std::int32_t{7}));
  EXPECT_EQ(GetProperty(object.Get(), u"Colore"), Variant(static_cast<std::int32_t>(0x80000005u)));
  EXPECT_EQ(CallMethod(object.Get(), u"Somma", {Variant(1.5)}), Variant(11.5));
  SetProperty(object.Get(), u"Oggetto", DispatchObject::Wrap(object.Get()));
  EXPECT_EQ(DispatchOf(GetProperty(object.Get(), u"Oggetto")).Get(), object.Get());
  SetProperty(object.Get(), u"Oggetto", Variant::Nothing());  // break the cycle
  EXPECT_EQ(DispatchObject::Wrap(object.Get()).Get<ObjectRef>()->TypeName(), u"Contatore");
}

TEST_F(ComponentTest, FailuresComeBackAsTheirResults) {
  ComPtr<IDispatch> object = Create();
  EXCEPINFO info;
  Variant result;
  std::vector<Variant> args;

  args = {Variant(std::int32_t{380})};
  EXPECT_EQ(TryInvokeByName(object.Get(), u"Fallisci", DISPATCH_METHOD, args, &result, &info),
            DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorNumberOf(info), 380);
  EXPECT_EQ(info.bstrDescription, u"Invalid property value");
  EXPECT_EQ(info.bstrSource, u"ZeProva.Contatore");

  args = {Variant(std::int32_t{1001}), Variant(u"Data non valida")};
  EXPECT_EQ(TryInvokeByName(object.Get(), u"Fallisci", DISPATCH_METHOD, args, &result, &info),
            DISP_E_EXCEPTION);
  EXPECT_EQ(info.wCode, 1001);
  EXPECT_EQ(static_cast<std::uint32_t>(info.scode), 0x800A03E9u);
  EXPECT_EQ(info.bstrDescription, u"Data non valida");

  args = {Variant(u"")};
  EXPECT_EQ(TryInvokeByName(object.Get(), u"Nome", DISPATCH_PROPERTYPUT, args, &result, &info),
            DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorNumberOf(info), 380);

  args = {};
  EXPECT_EQ(TryInvokeByName(object.Get(), u"Inesistente", DISPATCH_METHOD, args, &result, &info),
            DISP_E_UNKNOWNNAME);
  EXPECT_EQ(TryInvoke(object.Get(), 4242, DISPATCH_METHOD, args, &result, &info),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(TryInvokeByName(object.Get(), u"Aggiungi", DISPATCH_METHOD, args, &result, &info),
            DISP_E_BADPARAMCOUNT);
  args = {Variant(u"molti")};
  EXPECT_EQ(TryInvokeByName(object.Get(), u"Aggiungi", DISPATCH_METHOD, args, &result, &info),
            DISP_E_TYPEMISMATCH);
  args = {};
  EXPECT_EQ(TryInvokeByName(object.Get(), u"Lancia", DISPATCH_METHOD, args, &result, &info),
            DISP_E_EXCEPTION);
  EXPECT_EQ(ErrorNumberOf(info), 440);
  args = {Variant(std::int32_t{1})};
  EXPECT_EQ(TryInvokeByName(object.Get(), u"Vivi", DISPATCH_PROPERTYPUT, args, &result, &info),
            DISP_E_MEMBERNOTFOUND);
  // The raising form gives the host the error its language knows.
  try {
    CallMethod(object.Get(), u"Fallisci", {Variant(std::int32_t{6})});
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 6);
    EXPECT_EQ(e.description(), u"Overflow");
  }
  LetProperty(object.Get(), u"Valore", Variant(std::int32_t{2147483647}));
  EXPECT_THROW(CallMethod(object.Get(), u"Aggiungi", {Variant(std::int32_t{1})}), AutomationError);
}

TEST_F(ComponentTest, EventsReachTheSinks) {
  ComPtr<IDispatch> object = Create();
  std::vector<std::pair<DISPID, std::vector<Variant>>> seen;
  ComPtr<EventSink> sink = MakeCom<EventSink>([&](DISPID id, std::span<Variant> args) {
    seen.emplace_back(id, std::vector<Variant>(args.begin(), args.end()));
  });
  // The default source interface comes from the class information.
  ASSERT_EQ(sink->Connect(object.Get()), S_OK);
  CallMethod(object.Get(), u"Aggiungi", {Variant(std::int32_t{5})});
  LetProperty(object.Get(), u"Valore", Variant(std::int32_t{9}));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, dispid::kCambiato);
  EXPECT_EQ(seen[0].second, std::vector<Variant>{Variant(std::int32_t{5})});
  EXPECT_EQ(seen[1].second, std::vector<Variant>{Variant(std::int32_t{9})});
  ASSERT_EQ(sink->Disconnect(), S_OK);
  CallMethod(object.Get(), u"Scatta");
  EXPECT_EQ(seen.size(), 2u) << "a disconnected sink hears nothing";
}

TEST_F(ComponentTest, SinksMayAnswerByRefArgumentsInTurn) {
  ComPtr<IDispatch> object = Create();
  // Two sinks: the first doubles the key, the second adds one; the second sees
  // the first's answer and the caller sees both.
  std::vector<Variant> second_saw;
  ComPtr<EventSink> first = MakeCom<EventSink>([](DISPID, std::span<Variant> args) {
    args[0] = Variant(static_cast<std::int16_t>(args[0].Get<std::int16_t>() * 2));
  });
  ComPtr<EventSink> second = MakeCom<EventSink>([&](DISPID, std::span<Variant> args) {
    second_saw.push_back(args[0]);
    args[0] = Variant(static_cast<std::int16_t>(args[0].Get<std::int16_t>() + 1));
  });
  ASSERT_EQ(first->Connect(object.Get(), kIidContatoreEvents), S_OK);
  ASSERT_EQ(second->Connect(object.Get(), kIidContatoreEventsOld), S_OK)
      << "a sink of an earlier event interface is accepted";
  std::vector<Variant> args{Variant(std::int16_t{20})};
  Variant result;
  EXCEPINFO info;
  ASSERT_EQ(TryInvokeByName(object.Get(), u"Premi", DISPATCH_METHOD, args, &result, &info), S_OK);
  EXPECT_EQ(second_saw, std::vector<Variant>{Variant(std::int16_t{40})});
  EXPECT_EQ(args[0], Variant(std::int16_t{41}));
  first->Disconnect();
  second->Disconnect();
}

TEST_F(ComponentTest, ConnectionPointRules) {
  ComPtr<IDispatch> object = Create();
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(object.As(&container), S_OK);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, point.Put()), CONNECT_E_NOCONNECTION);
  EXPECT_FALSE(point);
  ASSERT_EQ(container->FindConnectionPoint(kIidContatoreEventsOld, point.Put()), S_OK);
  IID iid;
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, kIidContatoreEvents);
  ComPtr<IConnectionPointContainer> back;
  ASSERT_EQ(point->GetConnectionPointContainer(back.Put()), S_OK);
  EXPECT_EQ(back.Get(), container.Get());

  DWORD cookie = 7;
  EXPECT_EQ(point->Advise(nullptr, &cookie), E_POINTER);
  EXPECT_EQ(cookie, 0u);
  // An object that is no dispatch sink cannot connect.
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(kClsidContatore, IID_IClassFactory, factory.PutVoid()), S_OK);
  EXPECT_EQ(point->Advise(factory.Get(), &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(point->Unadvise(12345), CONNECT_E_NOCONNECTION);

  // A sink that disconnects itself while it is being called does no harm, and the
  // cookies of the others stay good.
  int calls = 0;
  DWORD self_cookie = 0;
  ComPtr<EventSink> quitter = MakeCom<EventSink>([&](DISPID, std::span<Variant>) {
    ++calls;
    EXPECT_EQ(point->Unadvise(self_cookie), S_OK);
  });
  ComPtr<EventSink> stayer = MakeCom<EventSink>([&](DISPID, std::span<Variant>) { ++calls; });
  ASSERT_EQ(point->Advise(quitter->Identity(), &self_cookie), S_OK);
  DWORD stay_cookie = 0;
  ASSERT_EQ(point->Advise(stayer->Identity(), &stay_cookie), S_OK);
  EXPECT_NE(self_cookie, stay_cookie);
  CallMethod(object.Get(), u"Scatta");
  CallMethod(object.Get(), u"Scatta");
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(point->Unadvise(self_cookie), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(stay_cookie), S_OK);
}

TEST_F(ComponentTest, TypeInformationOfTheClassAndItsEvents) {
  ComPtr<IDispatch> object = Create();
  ComPtr<ITypeInfo> cls;
  ASSERT_EQ(GetClassInfoOf(object.Get(), cls.Put()), S_OK);
  TypeAttr attr;
  ASSERT_EQ(cls->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr.guid, kClsidContatore);
  EXPECT_EQ(attr.typekind, TKIND_COCLASS);
  ASSERT_EQ(attr.cImplTypes, 2u);
  int flags = 0;
  ASSERT_EQ(cls->GetImplTypeFlags(1, &flags), S_OK);
  EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
  ComPtr<ITypeInfo> events;
  ASSERT_EQ(cls->GetImplTypeInfo(1, events.Put()), S_OK);
  FuncDesc f;
  ASSERT_EQ(events->GetFuncDesc(0, &f), S_OK);
  EXPECT_EQ(f.name, u"Cambiato");
  EXPECT_EQ(f.help, u"Il valore e' cambiato.");
  EXPECT_EQ(cls->GetImplTypeInfo(2, events.Put()), TYPE_E_ELEMENTNOTFOUND);
  // A class described on its own is a library of one type.
  ComPtr<ITypeLib> lib;
  UINT index = 9;
  ASSERT_EQ(cls->GetContainingTypeLib(lib.Put(), &index), S_OK);
  EXPECT_EQ(index, 0u);
  TypeLibAttr libAttr;
  ASSERT_EQ(lib->GetLibAttr(&libAttr), S_OK);
  EXPECT_EQ(libAttr.libid, kLibId);
  EXPECT_EQ(lib->GetTypeInfoCount(), 1u);
}

TEST_F(ComponentTest, ActivationErrors) {
  const CLSID unregistered{0x0badc1a5, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  ComPtr<IUnknown> object;
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID(u"ZeProva.Inesistente", &clsid), CO_E_CLASSSTRING);
  EXPECT_NE(LastActivationError().find("ZeProva.Inesistente"), std::string::npos);
  EXPECT_EQ(CLSIDFromProgID(u"", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(u"a\\b", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromString(u"{not-a-clsid}", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CoCreateInstance(unregistered, nullptr, IID_IUnknown, object.PutVoid()),
            REGDB_E_CLASSNOTREG);
  EXPECT_NE(LastActivationError().find("not registered"), std::string::npos);
  // Registered but created only inside its library.
  EXPECT_EQ(CoCreateInstance(kClsidPrivata, nullptr, IID_IUnknown, object.PutVoid()),
            REGDB_E_CLASSNOTREG);
  ComPtr<IUnknown> outer;
  ASSERT_EQ(CoCreateInstance(kClsidContatore, nullptr, IID_IUnknown, outer.PutVoid()), S_OK);
  EXPECT_EQ(CoCreateInstance(kClsidContatore, outer.Get(), IID_IUnknown, object.PutVoid()),
            CLASS_E_NOAGGREGATION);
  EXPECT_FALSE(object);

  // A ProgID that names a malformed CLSID, a class of our library that the
  // library does not hold, a server file that is gone, one that is no library,
  // and a library without the export.
  PutClassesRoot(u"ZeProva.Storto\\CLSID", u"{1234}");
  EXPECT_EQ(CLSIDFromProgID(u"ZeProva.Storto", &clsid), CO_E_CLASSSTRING);
  const CLSID stranger{0x5a1e0099, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x01}};
  PutClassesRoot(u"CLSID\\" + FormatGuidU(stranger) + u"\\InprocServer32", FromUtf8(kLibrary));
  EXPECT_EQ(CoCreateInstance(stranger, nullptr, IID_IUnknown, object.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  const struct {
    const char* name;
    std::string file;
    HRESULT hr;
  } servers[] = {
      {"gone", dir.File("sparito.so"), CO_E_DLLNOTFOUND},
      {"not a library", dir.Write("testo.so", "questo non e' una libreria\n"),
       HRESULT_BAD_EXE_FORMAT},
      {"a folder", dir.path(), HRESULT_BAD_EXE_FORMAT},
      {"no DllGetClassObject", ZE_PLATFORM_LIBRARY, CO_E_ERRORINDLL},
      {"empty path", "", REGDB_E_CLASSNOTREG},
  };
  for (const auto& s : servers) {
    PutClassesRoot(u"CLSID\\" + FormatGuidU(stranger) + u"\\InprocServer32", FromUtf8(s.file));
    PutClassesRoot(u"ZeProva.Guasto\\CLSID", FormatGuidU(stranger));
    ComPtr<IDispatch> d;
    EXPECT_EQ(CreateObject(u"ZeProva.Guasto", &d), s.hr) << s.name;
    EXPECT_FALSE(d) << s.name;
    if (!s.file.empty()) {
      EXPECT_NE(LastActivationError().find(s.file), std::string::npos) << s.name;
    }
  }
  EXPECT_EQ(RegisterServerLibrary(dir.File("sparito.so")), CO_E_DLLNOTFOUND);
  EXPECT_EQ(RegisterServerLibrary(ZE_PLATFORM_LIBRARY), CO_E_ERRORINDLL);
}

// Activation loads code into the host: never from a path relative to wherever the
// host runs, and never from a library or a store that another user could change.
TEST_F(ComponentTest, ActivationLoadsOnlyLibrariesNoOtherUserCanChange) {
  const CLSID copy{0x5a1e0099, 0x7e57, 0x4c0d, {0x9a, 0x11, 0, 0, 0, 0, 0, 0x02}};
  const std::string folder = dir.File("librerie");
  std::filesystem::create_directory(folder);
  ::chmod(folder.c_str(), 0755);
  const std::string library = folder + "/libcopia.so";
  std::filesystem::copy_file(kLibrary, library);
  auto create = [&](const std::string& path) {
    PutClassesRoot(u"CLSID\\" + FormatGuidU(copy) + u"\\InprocServer32", FromUtf8(path));
    PutClassesRoot(u"ZeProva.Copia\\CLSID", FormatGuidU(kClsidContatore));
    PutClassesRoot(u"CLSID\\" + FormatGuidU(kClsidContatore) + u"\\InprocServer32", FromUtf8(path));
    ComPtr<IDispatch> object;
    const HRESULT hr = CreateObject(u"ZeProva.Copia", &object);
    EXPECT_EQ(!!object, SUCCEEDED(hr));
    return hr;
  };
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  EXPECT_EQ(create("libcopia.so"), E_ACCESSDENIED);
  EXPECT_NE(LastActivationError().find("relative"), std::string::npos) << LastActivationError();
  EXPECT_EQ(create("./libcopia.so"), E_ACCESSDENIED);
  std::filesystem::current_path(here);

  const struct {
    const char* name;
    mode_t file, folder;
    bool loads;
  } cases[] = {
      {"group-writable file", 0775, 0755, false},
      {"world-writable file", 0757, 0755, false},
      {"group-writable folder", 0755, 0775, false},
      {"world-writable folder", 0755, 0777, false},
      {"world-writable folder with the sticky bit", 0755, 01777, true},
      {"only the owner writes", 0755, 0755, true},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(::chmod(library.c_str(), c.file), 0);
    ASSERT_EQ(::chmod(folder.c_str(), c.folder), 0);
    const HRESULT hr = create(library);
    EXPECT_EQ(hr, c.loads ? S_OK : E_ACCESSDENIED) << c.name << ": " << LastActivationError();
    if (!c.loads) {
      EXPECT_NE(LastActivationError().find(c.file != 0755 ? library : folder), std::string::npos)
          << c.name << ": " << LastActivationError();
    }
  }
  ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(library.c_str(), 65534, 65534), 0);
    EXPECT_EQ(create(library), E_ACCESSDENIED) << "a file of another user";
    ASSERT_EQ(::chown(library.c_str(), 0, 0), 0);
  }

  // A store that others can write could name any library.
  ASSERT_EQ(::chmod(dir.File("registro.db").c_str(), 0666), 0);
  ComPtr<IDispatch> object;
  EXPECT_EQ(CreateObject(kProgIdContatore, &object), E_ACCESSDENIED);
  EXPECT_NE(LastActivationError().find("registro.db"), std::string::npos);
  ASSERT_EQ(::chmod(dir.File("registro.db").c_str(), 0600), 0);
  EXPECT_EQ(CreateObject(kProgIdContatore, &object), S_OK) << LastActivationError();
}

TEST_F(ComponentTest, UnreadableStoreIsAnActivationError) {
  const std::string garbage = dir.Write("rotto.db", std::string(4096, 'x'));
  testing::DefaultStoreAt broken(garbage);
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID(kProgIdContatore, &clsid), REGDB_E_READREGDB);
  ComPtr<IUnknown> object;
  EXPECT_EQ(CoCreateInstance(kClsidContatore, nullptr, IID_IUnknown, object.PutVoid()),
            REGDB_E_READREGDB);
  EXPECT_NE(LastActivationError().find("rotto.db"), std::string::npos);
}

TEST_F(ComponentTest, LibrariesUnloadWhenNothingIsAlive) {
  CoFreeUnusedLibraries();
  ASSERT_EQ(LoadedServerCount(), 0u);
  {
    ComPtr<IDispatch> object = Create();
    EXPECT_EQ(LoadedServerCount(), 1u);
    CoFreeUnusedLibraries();
    EXPECT_EQ(LoadedServerCount(), 1u) << "an object is alive";
    EXPECT_EQ(GetProperty(object.Get(), u"Valore"), Variant(std::int32_t{0}));
  }
  // A locked server stays, even with no object.
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(kClsidContatore, IID_IClassFactory, factory.PutVoid()), S_OK);
  ASSERT_EQ(factory->LockServer(true), S_OK);
  factory.Reset();
  CoFreeUnusedLibraries();
  EXPECT_EQ(LoadedServerCount(), 1u) << "the server is locked";
  ASSERT_EQ(CoGetClassObject(kClsidContatore, IID_IClassFactory, factory.PutVoid()), S_OK);
  ASSERT_EQ(factory->LockServer(false), S_OK);
  CoFreeUnusedLibraries();
  EXPECT_EQ(LoadedServerCount(), 1u) << "the factory itself is alive";
  factory.Reset();
  CoFreeUnusedLibraries();
  EXPECT_EQ(LoadedServerCount(), 0u);
  // And it loads again on demand.
  EXPECT_TRUE(Create());
  EXPECT_EQ(LoadedServerCount(), 1u);
}

TEST_F(ComponentTest, ExportsCalledDirectly) {
  void* handle = ::dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr);
  auto get = reinterpret_cast<DllGetClassObjectFn>(::dlsym(handle, kDllGetClassObject));
  auto can_unload = reinterpret_cast<DllCanUnloadNowFn>(::dlsym(handle, kDllCanUnloadNow));
  auto alive = reinterpret_cast<long (*)()>(::dlsym(handle, "ZeProvaOggettiVivi"));
  ASSERT_TRUE(get && can_unload && alive);
  EXPECT_EQ(can_unload(), S_OK);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(get(IID_NULL, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(get(kClsidContatore, IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(get(kClsidContatore, IID_IDispatch, &out), E_NOINTERFACE);
  {
    // The unregistered class is still available to whoever loads the library.
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(get(kClsidPrivata, IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(can_unload(), S_FALSE);
    ComPtr<IDispatch> privata;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, privata.PutVoid()), S_OK);
    EXPECT_EQ(alive(), 2);
    EXPECT_EQ(GetProperty(privata.Get(), u"Segreto"), Variant(std::int32_t{42}));
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
  }
  EXPECT_EQ(alive(), 0);
  EXPECT_EQ(can_unload(), S_OK);
  ::dlclose(handle);
}

}  // namespace
}  // namespace ze::com
