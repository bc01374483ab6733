// Type libraries made from descriptions: what they list, how they are searched, the
// aliases, and that the types they hand out count with them.
#include <gtest/gtest.h>

#include "frame/com/type_info_impl.h"

namespace ze::com {
namespace {

const GUID kLib{0x7a000000, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kIface{0x7a000001, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kOld{0x7a000002, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kClass{0x7a000003, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kOutside{0x7a000004, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};

TypeLibAttr Library() {
  TypeLibAttr a;
  a.libid = kLib;
  a.name = u"Prova";
  a.help = u"Libreria di prova";
  return a;
}

TypeAttr Attr(const GUID& guid, const char16_t* name, TYPEKIND kind) {
  TypeAttr a;
  a.guid = guid;
  a.name = name;
  a.typekind = kind;
  a.help = String(u"aiuto ") + name;
  return a;
}

GUID GuidOf(ITypeInfo* type) {
  TypeAttr a;
  EXPECT_EQ(type->GetTypeAttr(&a), S_OK);
  return a.guid;
}

// An interface, an alias of it under its earlier IID, and a class that implements
// the interface and an event interface the library does not list.
class TypeLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    iface_ = MakeTypeInfo({Library(),
                           Attr(kIface, u"_Cosa", TKIND_DISPATCH),
                           {FuncDesc{1, u"Valore", INVOKE_PROPERTYGET, {VT_I4, {}}, {}, 0, u""}}});
    outside_ = MakeTypeInfo({Library(), Attr(kOutside, u"__Cosa", TKIND_DISPATCH), {}});
    ComPtr<ITypeInfo> cls =
        MakeClassTypeInfo({Library(),
                           Attr(kClass, u"Cosa", TKIND_COCLASS),
                           {{iface_, IMPLTYPEFLAG_FDEFAULT}, {outside_, IMPLTYPEFLAG_FSOURCE}}});
    ComPtr<ITypeInfo> alias =
        MakeAliasTypeInfo({Library(), Attr(kOld, u"Cosa___v0", TKIND_ALIAS), iface_});
    lib_ = MakeTypeLib({Library(), {iface_, cls, alias}});
  }

  ComPtr<ITypeInfo> Of(const GUID& guid) {
    ComPtr<ITypeInfo> type;
    EXPECT_EQ(lib_->GetTypeInfoOfGuid(guid, type.Put()), S_OK);
    return type;
  }

  ComPtr<ITypeInfo> iface_, outside_;
  ComPtr<ITypeLib> lib_;
};

TEST_F(TypeLibraryTest, ListsItsTypesInOrderWithTheirKinds) {
  ASSERT_EQ(lib_->GetTypeInfoCount(), 3u);
  const TYPEKIND kinds[] = {TKIND_DISPATCH, TKIND_COCLASS, TKIND_ALIAS};
  const GUID guids[] = {kIface, kClass, kOld};
  for (UINT i = 0; i < 3; ++i) {
    TYPEKIND kind;
    ASSERT_EQ(lib_->GetTypeInfoType(i, &kind), S_OK);
    EXPECT_EQ(kind, kinds[i]);
    ComPtr<ITypeInfo> type;
    ASSERT_EQ(lib_->GetTypeInfo(i, type.Put()), S_OK);
    EXPECT_EQ(GuidOf(type.Get()), guids[i]);
    ComPtr<ITypeLib> holder;
    UINT index = 99;
    ASSERT_EQ(type->GetContainingTypeLib(holder.Put(), &index), S_OK);
    EXPECT_EQ(holder.Get(), lib_.Get());
    EXPECT_EQ(index, i);
  }
  ComPtr<ITypeInfo> none;
  TYPEKIND kind;
  EXPECT_EQ(lib_->GetTypeInfo(3, none.Put()), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(lib_->GetTypeInfoType(3, &kind), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(lib_->GetTypeInfo(0, nullptr), E_POINTER);
}

TEST_F(TypeLibraryTest, FindsATypeByItsIdentifierOnly) {
  EXPECT_EQ(GuidOf(Of(kClass).Get()), kClass);
  ComPtr<ITypeInfo> none;
  EXPECT_EQ(lib_->GetTypeInfoOfGuid(kLib, none.Put()), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(lib_->GetTypeInfoOfGuid(GUID_NULL, none.Put()), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(none, nullptr);
  // A type it does not list, though a listed class refers to it.
  EXPECT_EQ(lib_->GetTypeInfoOfGuid(kOutside, none.Put()), TYPE_E_ELEMENTNOTFOUND);
}

TEST_F(TypeLibraryTest, DocumentsItselfAndEachType) {
  String name, help;
  ASSERT_EQ(lib_->GetDocumentation(-1, &name, &help), S_OK);
  EXPECT_EQ(name, u"Prova");
  EXPECT_EQ(help, u"Libreria di prova");
  ASSERT_EQ(lib_->GetDocumentation(2, &name, &help), S_OK);
  EXPECT_EQ(name, u"Cosa___v0");
  EXPECT_EQ(help, u"aiuto Cosa___v0");
  EXPECT_EQ(lib_->GetDocumentation(3, &name, &help), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(lib_->GetDocumentation(-2, &name, &help), TYPE_E_ELEMENTNOTFOUND);
}

TEST_F(TypeLibraryTest, AnAliasNamesTheLibrarysOwnInterface) {
  ComPtr<ITypeInfo> alias = Of(kOld);
  TypeAttr attr;
  ASSERT_EQ(alias->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr.typekind, TKIND_ALIAS);
  EXPECT_EQ(attr.name, u"Cosa___v0");
  EXPECT_EQ(attr.cFuncs, 0u);
  EXPECT_EQ(attr.tdescAlias.vt, VT_USERDEFINED);
  EXPECT_EQ(TypeName(attr.tdescAlias), u"_Cosa");
  ComPtr<ITypeInfo> aliased;
  ASSERT_EQ(alias->GetRefTypeInfo(attr.tdescAlias.hreftype, aliased.Put()), S_OK);
  EXPECT_EQ(aliased.Get(), Of(kIface).Get()) << "the library's copy, not the one it was made from";
  EXPECT_NE(aliased.Get(), iface_.Get());
  EXPECT_EQ(alias->GetRefTypeInfo(1, aliased.Put()), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(alias->GetImplTypeInfo(0, aliased.Put()), TYPE_E_ELEMENTNOTFOUND);
}

TEST_F(TypeLibraryTest, AClassReachesListedAndOutsideInterfaces) {
  ComPtr<ITypeInfo> cls = Of(kClass);
  ComPtr<ITypeInfo> first, second;
  ASSERT_EQ(cls->GetImplTypeInfo(0, first.Put()), S_OK);
  EXPECT_EQ(first.Get(), Of(kIface).Get());
  ASSERT_EQ(cls->GetRefTypeInfo(1, second.Put()), S_OK);
  EXPECT_EQ(second.Get(), outside_.Get());
  int flags = 0;
  ASSERT_EQ(cls->GetImplTypeFlags(1, &flags), S_OK);
  EXPECT_EQ(flags, IMPLTYPEFLAG_FSOURCE);
  EXPECT_EQ(cls->GetImplTypeFlags(2, &flags), TYPE_E_ELEMENTNOTFOUND);
}

TEST_F(TypeLibraryTest, ATypeKeepsItsLibraryAndWhatItRefersTo) {
  ComPtr<ITypeInfo> cls = Of(kClass);
  const GUID outside = GuidOf(outside_.Get());
  lib_.Reset();
  outside_.Reset();
  iface_.Reset();
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(cls->GetContainingTypeLib(lib.Put(), nullptr), S_OK);
  EXPECT_EQ(lib->GetTypeInfoCount(), 3u);
  ComPtr<ITypeInfo> events;
  ASSERT_EQ(cls->GetImplTypeInfo(1, events.Put()), S_OK);
  EXPECT_EQ(GuidOf(events.Get()), outside);
  // A type asks for nothing but the interfaces a type has.
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(cls->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
  EXPECT_EQ(cls->QueryInterface(IID_ITypeLib, unknown.PutVoid()), E_NOINTERFACE);
}

TEST(TypeInfoOnItsOwn, IsALibraryOfOneType) {
  ComPtr<ITypeInfo> type = MakeTypeInfo({Library(), Attr(kIface, u"_Sola", TKIND_DISPATCH), {}});
  ComPtr<ITypeLib> lib;
  UINT index = 7;
  ASSERT_EQ(type->GetContainingTypeLib(lib.Put(), &index), S_OK);
  EXPECT_EQ(index, 0u);
  ASSERT_EQ(lib->GetTypeInfoCount(), 1u);
  String name;
  ASSERT_EQ(lib->GetDocumentation(0, &name, nullptr), S_OK);
  EXPECT_EQ(name, u"_Sola");
  EXPECT_EQ(type->GetContainingTypeLib(nullptr, &index), S_OK);
  ComPtr<ITypeInfo> none;
  EXPECT_EQ(type->GetRefTypeInfo(0, none.Put()), TYPE_E_ELEMENTNOTFOUND);
}

}  // namespace
}  // namespace ze::com
