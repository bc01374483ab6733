// The handle table and the advapi32-style functions; see advapi.h.
#include "frame/registry/advapi.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace ze::registry {
namespace {

struct OpenKey {
  std::shared_ptr<Store> store;
  KeyId key;
  REGSAM access = 0;
};

struct HandleTable {
  std::mutex mutex;
  std::unordered_map<HKEY, OpenKey> keys;
  HKEY next = 0x100;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

// The store, key and rights behind a handle; false for a handle that is not open.
bool Lookup(HKEY handle, OpenKey* out) {
  if (const std::optional<Root> root = RootFromHandle(handle)) {
    *out = OpenKey{DefaultStore(), Store::RootKey(*root), KEY_ALL_ACCESS};
    return true;
  }
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.keys.find(handle);
  if (it == table.keys.end()) return false;
  *out = it->second;
  return true;
}

HKEY NewHandle(OpenKey key) {
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  // Small numbers that never reach the predefined roots' range.
  do {
    table.next = table.next >= 0x7FFFFFF0 ? 0x100 : table.next + 4;
  } while (table.keys.count(table.next) != 0);
  table.keys.emplace(table.next, std::move(key));
  return table.next;
}

std::u16string_view View(const char16_t* text) {
  return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

LSTATUS Denied() {
  SetLastErrorDetail("the key was opened without the access this call needs");
  return ERROR_ACCESS_DENIED;
}

// The open key behind a handle, when it was opened with the rights a call needs.
LSTATUS OpenWith(HKEY handle, REGSAM needed, OpenKey* out) {
  if (!Lookup(handle, out)) return ERROR_INVALID_HANDLE;
  if ((out->access & needed) != needed) return Denied();
  return ERROR_SUCCESS;
}

// The index-th subkey name or value of a key, for both character forms of the
// enumeration calls.
LSTATUS SubkeyNameAt(HKEY handle, DWORD index, String* name) {
  OpenKey k;
  if (const LSTATUS st = OpenWith(handle, KEY_ENUMERATE_SUB_KEYS, &k); st != ERROR_SUCCESS)
    return st;
  std::vector<String> names;
  const LSTATUS st = k.store->EnumKeys(k.key, &names);
  if (st != ERROR_SUCCESS) return st;
  if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
  *name = std::move(names[index]);
  return ERROR_SUCCESS;
}

LSTATUS ValueAt(HKEY handle, DWORD index, NamedValue* value) {
  OpenKey k;
  if (const LSTATUS st = OpenWith(handle, KEY_QUERY_VALUE, &k); st != ERROR_SUCCESS) return st;
  std::vector<NamedValue> values;
  const LSTATUS st = k.store->EnumValues(k.key, &values);
  if (st != ERROR_SUCCESS) return st;
  if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
  *value = std::move(values[index]);
  return ERROR_SUCCESS;
}

LSTATUS QueryStoredValue(HKEY handle, std::u16string_view name, Value* value) {
  OpenKey k;
  if (const LSTATUS st = OpenWith(handle, KEY_QUERY_VALUE, &k); st != ERROR_SUCCESS) return st;
  return k.store->QueryValue(k.key, name, value);
}

// Enumeration callers may ask for the key's class; keys here have none.
template <typename Char>
void NoKeyClass(Char* keyClass, DWORD* cchClass) {
  if (keyClass != nullptr && cchClass != nullptr && *cchClass > 0) {
    keyClass[0] = Char{};
    *cchClass = 0;
  }
}

// Copies a name with its NUL into a buffer of *cch characters; *cch becomes the
// length without the NUL, or ERROR_MORE_DATA when it does not fit.
LSTATUS CopyName(const String& name, char16_t* buffer, DWORD* cch) {
  if (buffer == nullptr || cch == nullptr) return ERROR_INVALID_PARAMETER;
  if (name.size() + 1 > *cch) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.data(), name.size() * sizeof(char16_t));
  buffer[name.size()] = u'\0';
  *cch = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// The data part shared by RegQueryValueEx and RegEnumValue.
LSTATUS CopyData(const Value& value, DWORD* type, std::uint8_t* data, DWORD* cbData) {
  if (data != nullptr && cbData == nullptr) return ERROR_INVALID_PARAMETER;
  if (type != nullptr) *type = value.type;
  if (cbData == nullptr) return ERROR_SUCCESS;
  const auto size = static_cast<DWORD>(value.data.size());
  if (data == nullptr) {
    *cbData = size;
    return ERROR_SUCCESS;
  }
  if (*cbData < size) {
    *cbData = size;
    return ERROR_MORE_DATA;
  }
  if (size != 0) std::memcpy(data, value.data.data(), size);
  *cbData = size;
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegOpenKeyEx(HKEY key, const char16_t* subKey, DWORD options, REGSAM samDesired,
                     HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  OpenKey base;
  if (!Lookup(key, &base)) return ERROR_INVALID_HANDLE;
  KeyId found;
  const LSTATUS st = base.store->OpenKey(base.key, View(subKey), &found);
  if (st != ERROR_SUCCESS) return st;
  *result = NewHandle(OpenKey{base.store, found, samDesired});
  return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyEx(HKEY key, const char16_t* subKey, DWORD reserved, const char16_t* keyClass,
                       DWORD options, REGSAM samDesired, const void* securityAttributes,
                       HKEY* result, DWORD* disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  OpenKey base;
  if (!Lookup(key, &base)) return ERROR_INVALID_HANDLE;
  if ((base.access & KEY_CREATE_SUB_KEY) == 0) return Denied();
  KeyId made;
  bool created = false;
  const LSTATUS st = base.store->CreateKey(base.key, View(subKey), &made, &created);
  if (st != ERROR_SUCCESS) return st;
  *result = NewHandle(OpenKey{base.store, made, samDesired});
  if (disposition != nullptr)
    *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
  if (RootFromHandle(key)) return ERROR_SUCCESS;
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.keys.erase(key) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegSetValueEx(HKEY key, const char16_t* valueName, DWORD reserved, DWORD type,
                      const std::uint8_t* data, DWORD cbData) {
  OpenKey k;
  if (const LSTATUS st = OpenWith(key, KEY_SET_VALUE, &k); st != ERROR_SUCCESS) return st;
  if (data == nullptr && cbData != 0) return ERROR_INVALID_PARAMETER;
  return k.store->SetValue(k.key, View(valueName), type,
                           std::span<const std::uint8_t>(data, data == nullptr ? 0 : cbData));
}

LSTATUS RegQueryValueEx(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type,
                        std::uint8_t* data, DWORD* cbData) {
  if (data != nullptr && cbData == nullptr) return ERROR_INVALID_PARAMETER;
  Value value;
  if (const LSTATUS st = QueryStoredValue(key, View(valueName), &value); st != ERROR_SUCCESS)
    return st;
  return CopyData(value, type, data, cbData);
}

LSTATUS RegDeleteValue(HKEY key, const char16_t* valueName) {
  OpenKey k;
  if (const LSTATUS st = OpenWith(key, KEY_SET_VALUE, &k); st != ERROR_SUCCESS) return st;
  return k.store->DeleteValue(k.key, View(valueName));
}

LSTATUS RegDeleteKey(HKEY key, const char16_t* subKey) {
  OpenKey k;
  if (!Lookup(key, &k)) return ERROR_INVALID_HANDLE;
  return k.store->DeleteKey(k.key, View(subKey));
}

LSTATUS RegDeleteTree(HKEY key, const char16_t* subKey) {
  OpenKey k;
  if (!Lookup(key, &k)) return ERROR_INVALID_HANDLE;
  return k.store->DeleteTree(k.key, View(subKey));
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, char16_t* name, DWORD* cchName, DWORD* reserved,
                     char16_t* keyClass, DWORD* cchClass, void* lastWriteTime) {
  String found;
  if (const LSTATUS st = SubkeyNameAt(key, index, &found); st != ERROR_SUCCESS) return st;
  NoKeyClass(keyClass, cchClass);
  return CopyName(found, name, cchName);
}

LSTATUS RegEnumValue(HKEY key, DWORD index, char16_t* valueName, DWORD* cchValueName,
                     DWORD* reserved, DWORD* type, std::uint8_t* data, DWORD* cbData) {
  NamedValue found;
  if (const LSTATUS st = ValueAt(key, index, &found); st != ERROR_SUCCESS) return st;
  const LSTATUS name_st = CopyName(found.name, valueName, cchValueName);
  if (name_st != ERROR_SUCCESS) return name_st;
  return CopyData(found.value, type, data, cbData);
}

// ---------------------------------------------------------------------------
// The ANSI forms

namespace {

bool IsText(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

String FromAnsiText(const char* text) {
  String wide;
  if (text != nullptr)
    for (const char* p = text; *p != '\0'; ++p) wide += FromAnsi(static_cast<std::uint8_t>(*p));
  return wide;
}

// One byte per character; a surrogate pair is one character.
std::string ToAnsiText(std::u16string_view wide) {
  std::string narrow;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char16_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF)
      ++i;
    const std::optional<std::uint8_t> byte = ToAnsi(c);
    narrow += byte ? static_cast<char>(*byte) : '?';
  }
  return narrow;
}

// Text data as the ANSI caller sees it: every stored unit one byte.
Value ToAnsiValue(const Value& value) {
  if (!IsText(value.type)) return value;
  std::u16string units;
  for (std::size_t i = 0; i + 1 < value.data.size(); i += 2)
    units += static_cast<char16_t>(value.data[i] | value.data[i + 1] << 8);
  const std::string narrow = ToAnsiText(units);
  return Value{value.type, Bytes(narrow.begin(), narrow.end())};
}

LSTATUS CopyNameA(const String& name, char* buffer, DWORD* cch) {
  if (buffer == nullptr || cch == nullptr) return ERROR_INVALID_PARAMETER;
  const std::string narrow = ToAnsiText(name);
  if (narrow.size() + 1 > *cch) return ERROR_MORE_DATA;
  std::memcpy(buffer, narrow.data(), narrow.size());
  buffer[narrow.size()] = '\0';
  *cch = static_cast<DWORD>(narrow.size());
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM samDesired,
                      HKEY* result) {
  const String wide = FromAnsiText(subKey);
  return RegOpenKeyEx(key, wide.c_str(), options, samDesired, result);
}

LSTATUS RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, const char* keyClass,
                        DWORD options, REGSAM samDesired, const void* securityAttributes,
                        HKEY* result, DWORD* disposition) {
  const String wide = FromAnsiText(subKey);
  return RegCreateKeyEx(key, wide.c_str(), reserved, nullptr, options, samDesired,
                        securityAttributes, result, disposition);
}

LSTATUS RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type,
                       const std::uint8_t* data, DWORD cbData) {
  const String name = FromAnsiText(valueName);
  if (!IsText(type) || data == nullptr)
    return RegSetValueEx(key, name.c_str(), reserved, type, data, cbData);
  Bytes wide;
  wide.reserve(2 * std::size_t{cbData});
  for (DWORD i = 0; i < cbData; ++i) {
    const char16_t c = FromAnsi(data[i]);
    wide.push_back(static_cast<std::uint8_t>(c & 0xFF));
    wide.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return RegSetValueEx(key, name.c_str(), reserved, type, wide.data(),
                       static_cast<DWORD>(wide.size()));
}

LSTATUS RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type,
                         std::uint8_t* data, DWORD* cbData) {
  if (data != nullptr && cbData == nullptr) return ERROR_INVALID_PARAMETER;
  Value value;
  if (const LSTATUS st = QueryStoredValue(key, FromAnsiText(valueName), &value);
      st != ERROR_SUCCESS)
    return st;
  return CopyData(ToAnsiValue(value), type, data, cbData);
}

LSTATUS RegDeleteValueA(HKEY key, const char* valueName) {
  const String name = FromAnsiText(valueName);
  return RegDeleteValue(key, name.c_str());
}

LSTATUS RegDeleteKeyA(HKEY key, const char* subKey) {
  const String wide = FromAnsiText(subKey);
  return RegDeleteKey(key, wide.c_str());
}

LSTATUS RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* cchName, DWORD* reserved,
                      char* keyClass, DWORD* cchClass, void* lastWriteTime) {
  String found;
  if (const LSTATUS st = SubkeyNameAt(key, index, &found); st != ERROR_SUCCESS) return st;
  NoKeyClass(keyClass, cchClass);
  return CopyNameA(found, name, cchName);
}

LSTATUS RegEnumValueA(HKEY key, DWORD index, char* valueName, DWORD* cchValueName, DWORD* reserved,
                      DWORD* type, std::uint8_t* data, DWORD* cbData) {
  NamedValue found;
  if (const LSTATUS st = ValueAt(key, index, &found); st != ERROR_SUCCESS) return st;
  const LSTATUS name_st = CopyNameA(found.name, valueName, cchValueName);
  if (name_st != ERROR_SUCCESS) return name_st;
  return CopyData(ToAnsiValue(found.value), type, data, cbData);
}

std::size_t OpenKeyHandleCount() {
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.keys.size();
}

}  // namespace ze::registry
