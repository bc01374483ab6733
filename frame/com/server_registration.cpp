// Registration entries of in-process servers; see server_registration.h.
#include "frame/com/server_registration.h"

#include <cstdio>
#include <filesystem>

namespace ze::com {

using registry::ERROR_FILE_NOT_FOUND;
using registry::ERROR_SUCCESS;
using registry::KeyId;
using registry::LSTATUS;
using registry::Root;
using registry::Store;

namespace {

String Text(const char* format, unsigned a, unsigned b) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, a, b);
  return FromUtf8(buffer);
}

String Hex(unsigned n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%x", n);
  return FromUtf8(buffer);
}

// A ProgID that the registry and hosts can take: 1 to 39 characters, no blank or
// backslash, not starting with a digit.
bool ValidProgId(const String& id) {
  if (id.empty() || id.size() > 39) return false;
  if (id[0] >= u'0' && id[0] <= u'9') return false;
  for (char16_t c : id)
    if (c == u'\\' || c == u' ' || c == u'\t' || c < 0x20) return false;
  return true;
}

// Writes the default value (or `name`) of key base\path, creating the key.
class Writer {
 public:
  explicit Writer(Store& store) : store_(store) {}

  LSTATUS Put(std::u16string_view path, std::u16string_view name, std::u16string_view text) {
    KeyId key;
    LSTATUS st = store_.CreateKey(root(), path, &key);
    if (st == ERROR_SUCCESS) st = store_.SetString(key, name, text);
    return st;
  }
  LSTATUS Key(std::u16string_view path) { return store_.CreateKey(root(), path); }

  KeyId root() const { return Store::RootKey(Root::ClassesRoot); }

 private:
  Store& store_;
};

// The default value of HKCR\path, or "" when there is none.
LSTATUS ReadDefault(Store& store, std::u16string_view path, std::u16string_view name, String* out) {
  out->clear();
  KeyId key;
  LSTATUS st = store.OpenKey(Store::RootKey(Root::ClassesRoot), path, &key);
  if (st == ERROR_SUCCESS) st = store.GetString(key, name, out);
  if (st == ERROR_FILE_NOT_FOUND || st == registry::ERROR_UNSUPPORTED_TYPE) {
    out->clear();
    return ERROR_SUCCESS;
  }
  return st;
}

bool SameGuidText(const String& text, const GUID& guid) {
  const std::optional<GUID> parsed = ParseGuid(text);
  return parsed && *parsed == guid;
}

LSTATUS DeleteTreeIfThere(Store& store, std::u16string_view path) {
  const LSTATUS st = store.DeleteTree(Store::RootKey(Root::ClassesRoot), path);
  return st == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : st;
}

}  // namespace

std::string AbsoluteLibraryPath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  if (ec) return path;
  return p.lexically_normal().string();
}

HRESULT RegisterServer(Store& store, const std::string& libraryPath, const TypeLibRecord& typelib,
                       std::span<const ClassRecord> classes) {
  for (const ClassRecord& c : classes)
    if (!c.progId.empty() && !ValidProgId(c.progId)) return E_INVALIDARG;
  if (libraryPath.empty()) return E_INVALIDARG;

  const std::string absolute = AbsoluteLibraryPath(libraryPath);
  const String path = FromUtf8(absolute);
  const String folder = FromUtf8(std::filesystem::path(absolute).parent_path().string());
  const String libid = FormatGuidU(typelib.attr.libid);
  const String version = Text("%u.%u", typelib.attr.majorVersion, typelib.attr.minorVersion);
  const String tl_version = Text("%x.%x", typelib.attr.majorVersion, typelib.attr.minorVersion);

  HRESULT failure = SELFREG_E_CLASS;  // what a failure now would mean
  Writer w(store);
  const LSTATUS st = store.Batch([&]() -> LSTATUS {
    LSTATUS s = ERROR_SUCCESS;
    auto put = [&](const String& key, std::u16string_view name, std::u16string_view text) {
      if (s == ERROR_SUCCESS) s = w.Put(key, name, text);
    };

    // The type library and its interfaces.
    failure = SELFREG_E_TYPELIB;
    const String tl = u"TypeLib\\" + libid + u"\\" + tl_version;
    put(tl, u"", typelib.attr.help);
    put(tl + u"\\" + Hex(typelib.attr.lcid) + u"\\linux", u"", path);
    put(tl + u"\\FLAGS", u"", FromUtf8(std::to_string(typelib.attr.flags)));
    put(tl + u"\\HELPDIR", u"", typelib.attr.helpDir.empty() ? folder : typelib.attr.helpDir);
    for (const InterfaceRecord& i : typelib.interfaces) {
      const String key = u"Interface\\" + FormatGuidU(i.iid);
      const String marshaller = FormatGuidU(i.dual ? CLSID_PSOAInterface : CLSID_PSDispatch);
      put(key, u"", i.name);
      put(key + u"\\ProxyStubClsid", u"", marshaller);
      put(key + u"\\ProxyStubClsid32", u"", marshaller);
      put(key + u"\\TypeLib", u"", libid);
      put(key + u"\\TypeLib", u"Version", version);
    }
    if (s != ERROR_SUCCESS) return s;

    // The classes.
    failure = SELFREG_E_CLASS;
    for (const ClassRecord& c : classes) {
      const String clsid = FormatGuidU(c.clsid);
      const String description = c.description.empty() ? c.progId : c.description;
      const String key = u"CLSID\\" + clsid;
      if (!c.progId.empty()) {
        put(c.progId, u"", description);
        put(c.progId + u"\\CLSID", u"", clsid);
      }
      put(key, u"", description);
      put(key + u"\\InprocServer32", u"", path);
      put(key + u"\\InprocServer32", u"ThreadingModel", c.threadingModel);
      if (!c.progId.empty()) put(key + u"\\ProgID", u"", c.progId);
      if (c.control && s == ERROR_SUCCESS) s = w.Key(key + u"\\Control");
      if (c.toolboxBitmapId >= 0) {
        put(key + u"\\ToolboxBitmap32", u"",
            path + u", " + FromUtf8(std::to_string(c.toolboxBitmapId)));
      }
      if (c.miscStatus != 0) {
        put(key + u"\\MiscStatus", u"", u"0");
        put(key + u"\\MiscStatus\\1", u"", FromUtf8(std::to_string(c.miscStatus)));
      }
      put(key + u"\\TypeLib", u"", libid);
      put(key + u"\\Version", u"", Text("%u.%u", c.majorVersion, c.minorVersion));
      for (const GUID& category : c.implementedCategories) {
        if (s == ERROR_SUCCESS)
          s = w.Key(key + u"\\Implemented Categories\\" + FormatGuidU(category));
      }
      if (s != ERROR_SUCCESS) return s;
    }
    return s;
  });
  return st == ERROR_SUCCESS ? S_OK : failure;
}

HRESULT UnregisterServer(Store& store, const std::string& libraryPath, const TypeLibRecord& typelib,
                         std::span<const ClassRecord> classes) {
  if (libraryPath.empty()) return E_INVALIDARG;
  const String path = FromUtf8(AbsoluteLibraryPath(libraryPath));
  const String libid = FormatGuidU(typelib.attr.libid);
  const String tl_version = Text("%x.%x", typelib.attr.majorVersion, typelib.attr.minorVersion);

  HRESULT failure = SELFREG_E_CLASS;
  const LSTATUS st = store.Batch([&]() -> LSTATUS {
    String value;
    LSTATUS s;
    failure = SELFREG_E_CLASS;
    for (const ClassRecord& c : classes) {
      const String key = u"CLSID\\" + FormatGuidU(c.clsid);
      if (!c.progId.empty() && ValidProgId(c.progId)) {
        if ((s = ReadDefault(store, c.progId + u"\\CLSID", u"", &value)) != ERROR_SUCCESS) return s;
        if (SameGuidText(value, c.clsid) &&
            (s = DeleteTreeIfThere(store, c.progId)) != ERROR_SUCCESS)
          return s;
      }
      if ((s = ReadDefault(store, key + u"\\InprocServer32", u"", &value)) != ERROR_SUCCESS)
        return s;
      if (value == path && (s = DeleteTreeIfThere(store, key)) != ERROR_SUCCESS) return s;
    }

    failure = SELFREG_E_TYPELIB;
    const String lib_key = u"TypeLib\\" + libid;
    const String tl = lib_key + u"\\" + tl_version;
    if ((s = ReadDefault(store, tl + u"\\" + Hex(typelib.attr.lcid) + u"\\linux", u"", &value)) !=
        ERROR_SUCCESS)
      return s;
    if (value == path) {
      if ((s = DeleteTreeIfThere(store, tl)) != ERROR_SUCCESS) return s;
      // The LIBID key goes too when no other version is left in it.
      KeyId lib;
      if (store.OpenKey(Store::RootKey(Root::ClassesRoot), lib_key, &lib) == ERROR_SUCCESS) {
        std::vector<String> versions;
        std::vector<registry::NamedValue> values;
        if ((s = store.EnumKeys(lib, &versions)) != ERROR_SUCCESS) return s;
        if ((s = store.EnumValues(lib, &values)) != ERROR_SUCCESS) return s;
        if (versions.empty() && values.empty() &&
            (s = DeleteTreeIfThere(store, lib_key)) != ERROR_SUCCESS)
          return s;
      }
    }
    for (const InterfaceRecord& i : typelib.interfaces) {
      const String key = u"Interface\\" + FormatGuidU(i.iid);
      if ((s = ReadDefault(store, key + u"\\TypeLib", u"", &value)) != ERROR_SUCCESS) return s;
      if (SameGuidText(value, typelib.attr.libid) &&
          (s = DeleteTreeIfThere(store, key)) != ERROR_SUCCESS)
        return s;
    }
    return ERROR_SUCCESS;
  });
  return st == ERROR_SUCCESS ? S_OK : failure;
}

}  // namespace ze::com
