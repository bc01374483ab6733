// Type information: what a type library says about an interface or a class.
//
// ITypeInfo describes one type: its attributes (identifier, name, kind, flags,
// version, help string) and, for an interface, its members in dispatch order,
// each with its dispatch id, name, kind (method, property get, put or put by
// reference), type, parameters, help string and flags (bindable, default-bind,
// request-edit, hidden ...). For a class (coclass) it lists the interfaces the
// class implements, the default one and the event source marked by flags. An alias
// is another name, with an identifier of its own, for a type: a library keeps an
// interface's earlier IIDs as aliases of the current interface.
// ITypeLib lists a library's types; every type tells the library that holds it.
// IProvideClassInfo lets a host reach the class description from an object, which
// is how a host finds the event interface it must sink.
//
// The descriptions are plain values (the copying is cheap and nobody frees
// anything); the numeric constants are those of the public COM model.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"
#include "frame/com/dispatch.h"
#include "frame/com/unknown.h"

namespace ze::com {

using MEMBERID = DISPID;
inline constexpr MEMBERID MEMBERID_NIL = -1;

// Variant types of members and parameters.
using VARTYPE = std::uint16_t;
inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_I2 = 2;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_R4 = 4;
inline constexpr VARTYPE VT_R8 = 5;
inline constexpr VARTYPE VT_DATE = 7;
inline constexpr VARTYPE VT_BSTR = 8;
inline constexpr VARTYPE VT_DISPATCH = 9;
inline constexpr VARTYPE VT_ERROR = 10;
inline constexpr VARTYPE VT_BOOL = 11;
inline constexpr VARTYPE VT_VARIANT = 12;
inline constexpr VARTYPE VT_UNKNOWN = 13;
inline constexpr VARTYPE VT_UI1 = 17;  // travels as an Integer from 0 to 255
inline constexpr VARTYPE VT_UI4 = 19;  // travels as a Long holding the same 32 bits
inline constexpr VARTYPE VT_VOID = 24;
inline constexpr VARTYPE VT_USERDEFINED = 29;  // a type of the library, by HREFTYPE

// A reference from one type to another it names: for a class, its implemented
// interface i is reference i; for an alias, the aliased type is reference 0.
using HREFTYPE = DWORD;

enum TYPEKIND : std::uint16_t {
  TKIND_ENUM = 0,
  TKIND_RECORD = 1,
  TKIND_MODULE = 2,
  TKIND_INTERFACE = 3,
  TKIND_DISPATCH = 4,
  TKIND_COCLASS = 5,
  TKIND_ALIAS = 6,
};

enum INVOKEKIND : std::uint16_t {
  INVOKE_FUNC = 1,
  INVOKE_PROPERTYGET = 2,
  INVOKE_PROPERTYPUT = 4,
  INVOKE_PROPERTYPUTREF = 8,
};

// Flags of a type.
inline constexpr WORD TYPEFLAG_FAPPOBJECT = 0x1;
inline constexpr WORD TYPEFLAG_FCANCREATE = 0x2;
inline constexpr WORD TYPEFLAG_FLICENSED = 0x4;
inline constexpr WORD TYPEFLAG_FPREDECLID = 0x8;
inline constexpr WORD TYPEFLAG_FHIDDEN = 0x10;
inline constexpr WORD TYPEFLAG_FCONTROL = 0x20;
inline constexpr WORD TYPEFLAG_FDUAL = 0x40;
inline constexpr WORD TYPEFLAG_FNONEXTENSIBLE = 0x80;
inline constexpr WORD TYPEFLAG_FOLEAUTOMATION = 0x100;

// Flags of a member.
inline constexpr WORD FUNCFLAG_FRESTRICTED = 0x1;
inline constexpr WORD FUNCFLAG_FSOURCE = 0x2;
inline constexpr WORD FUNCFLAG_FBINDABLE = 0x4;
inline constexpr WORD FUNCFLAG_FREQUESTEDIT = 0x8;
inline constexpr WORD FUNCFLAG_FDISPLAYBIND = 0x10;
inline constexpr WORD FUNCFLAG_FDEFAULTBIND = 0x20;
inline constexpr WORD FUNCFLAG_FHIDDEN = 0x40;
inline constexpr WORD FUNCFLAG_FUIDEFAULT = 0x200;
inline constexpr WORD FUNCFLAG_FNONBROWSABLE = 0x400;
inline constexpr WORD FUNCFLAG_FIMMEDIATEBIND = 0x1000;

// Flags of a parameter.
inline constexpr WORD PARAMFLAG_FIN = 0x1;
inline constexpr WORD PARAMFLAG_FOUT = 0x2;
inline constexpr WORD PARAMFLAG_FOPT = 0x10;
inline constexpr WORD PARAMFLAG_FHASDEFAULT = 0x20;

// Flags of an interface a class implements.
inline constexpr int IMPLTYPEFLAG_FDEFAULT = 0x1;
inline constexpr int IMPLTYPEFLAG_FSOURCE = 0x2;

// Flags of a type library.
inline constexpr WORD LIBFLAG_FRESTRICTED = 0x1;
inline constexpr WORD LIBFLAG_FCONTROL = 0x2;
inline constexpr WORD LIBFLAG_FHIDDEN = 0x4;

// The type of a member or parameter: the variant type the value travels as and,
// for a named type (OLE_COLOR, an enumeration, Font), the name a browser shows.
struct TypeDesc {
  VARTYPE vt = VT_VARIANT;
  String name;            // empty: the standard name of vt
  HREFTYPE hreftype = 0;  // with VT_USERDEFINED: the type, for ITypeInfo::GetRefTypeInfo
};

// The name a browser shows for a type: `name`, else "Integer", "Long", "Single",
// "Double", "Date", "String", "Object", "Boolean", "Variant", "Unknown", "Error",
// or "" for VT_VOID / VT_EMPTY.
String TypeName(const TypeDesc& type);

struct ParamDesc {
  String name;
  TypeDesc type;
  WORD flags = PARAMFLAG_FIN;
  Variant defaultValue;  // meaningful with PARAMFLAG_FHASDEFAULT
};

struct FuncDesc {
  MEMBERID memid = MEMBERID_NIL;
  String name;
  INVOKEKIND invkind = INVOKE_FUNC;
  // A property's value type, or a method's result type (VT_VOID when none).
  TypeDesc type;
  std::vector<ParamDesc> params;
  WORD flags = 0;
  String help;
};

struct TypeAttr {
  GUID guid;
  String name;
  TYPEKIND typekind = TKIND_DISPATCH;
  WORD flags = 0;
  WORD majorVersion = 0;
  WORD minorVersion = 0;
  LCID lcid = 0;
  String help;
  UINT cFuncs = 0;      // members (filled by GetTypeAttr)
  UINT cImplTypes = 0;  // implemented interfaces of a coclass (filled by GetTypeAttr)
  TypeDesc tdescAlias;  // TKIND_ALIAS: VT_USERDEFINED, the aliased type's name and reference
};

// The type library record: LIBID, name, version, locale, help string and files.
struct TypeLibAttr {
  GUID libid;
  String name;
  WORD majorVersion = 0;
  WORD minorVersion = 0;
  LCID lcid = 0;
  WORD flags = 0;
  String help;
  String helpFile;
  String helpDir;
};

class ITypeLib;

class ITypeInfo : public IUnknown {
 public:
  static constexpr IID kIid{0x00020401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  using Base = IUnknown;

  virtual HRESULT GetTypeAttr(TypeAttr* out) = 0;
  // The member at `index` (0 .. cFuncs-1); TYPE_E_ELEMENTNOTFOUND beyond.
  virtual HRESULT GetFuncDesc(UINT index, FuncDesc* out) = 0;
  // Dispatch ids for a member name and its parameter names (case-insensitive).
  virtual HRESULT GetIDsOfNames(const char16_t* const* names, UINT count, MEMBERID* ids) = 0;
  // Name and help string of a member, or of the type itself for MEMBERID_NIL.
  virtual HRESULT GetDocumentation(MEMBERID memid, String* name, String* help) = 0;
  // For a coclass: the IMPLTYPEFLAG_ flags and type information of its
  // implemented interface `index`.
  virtual HRESULT GetImplTypeFlags(UINT index, int* flags) = 0;
  virtual HRESULT GetImplTypeInfo(UINT index, ITypeInfo** out) = 0;
  // The type that reference `ref` names (see HREFTYPE); TYPE_E_ELEMENTNOTFOUND when
  // this type has no such reference.
  virtual HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** out) = 0;
  // The library that holds this type and the type's index in it; either pointer may
  // be null. A type made on its own answers with a library of its own, of one type.
  virtual HRESULT GetContainingTypeLib(ITypeLib** lib, UINT* index) = 0;

 protected:
  ~ITypeInfo() = default;
};

class ITypeLib : public IUnknown {
 public:
  static constexpr IID kIid{0x00020402, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  using Base = IUnknown;

  // The number of types the library lists.
  virtual UINT GetTypeInfoCount() = 0;
  // The type at `index` (0 .. count-1) and its kind; TYPE_E_ELEMENTNOTFOUND beyond.
  virtual HRESULT GetTypeInfo(UINT index, ITypeInfo** out) = 0;
  virtual HRESULT GetTypeInfoType(UINT index, TYPEKIND* out) = 0;
  // The type whose identifier is `guid` (a CLSID, an IID, an alias's own
  // identifier); TYPE_E_ELEMENTNOTFOUND when the library lists none.
  virtual HRESULT GetTypeInfoOfGuid(const GUID& guid, ITypeInfo** out) = 0;
  virtual HRESULT GetLibAttr(TypeLibAttr* out) = 0;
  // Name and help string of the type at `index`, or of the library itself for -1.
  virtual HRESULT GetDocumentation(int index, String* name, String* help) = 0;

 protected:
  ~ITypeLib() = default;
};

class IProvideClassInfo : public IUnknown {
 public:
  static constexpr IID kIid{
      0xB196B283, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
  using Base = IUnknown;

  // The type information of the object's class (a coclass).
  virtual HRESULT GetClassInfo(ITypeInfo** out) = 0;

 protected:
  ~IProvideClassInfo() = default;
};

inline constexpr IID IID_ITypeInfo = ITypeInfo::kIid;
inline constexpr IID IID_ITypeLib = ITypeLib::kIid;
inline constexpr IID IID_IProvideClassInfo = IProvideClassInfo::kIid;

}  // namespace ze::com
