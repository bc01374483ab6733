// provix2's surroundings.
#include "sample/provix2/program.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "frame/com/activation.h"
#include "frame/com/class_factory.h"
#include "frame/com/server_exports.h"
#include "frame/registry/advapi.h"
#include "frame/system/dynamic_library.h"

namespace provix2 {

std::string ProgramFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path().string();
  return self.parent_path().string();
}

namespace {

// The library file registered for "zeKalendo.Kalendo"; empty when there is none.
std::string RegisteredKalendoLibrary() {
  using namespace ze::registry;
  ze::com::CLSID clsid;
  if (ze::com::CLSIDFromProgID(u"zeKalendo.Kalendo", &clsid) != ze::com::S_OK) return {};
  const ze::String key = u"CLSID\\" + ze::com::FormatGuidU(clsid) + u"\\InprocServer32";
  HKEY server = 0;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &server) != ERROR_SUCCESS)
    return {};
  std::u16string path(1024, u'\0');
  DWORD type = 0, size = static_cast<DWORD>(path.size() * sizeof(char16_t));
  const LSTATUS st = RegQueryValueEx(server, u"", nullptr, &type,
                                     reinterpret_cast<std::uint8_t*>(path.data()), &size);
  RegCloseKey(server);
  if (st != ERROR_SUCCESS || type != REG_SZ) return {};
  path.resize(size / sizeof(char16_t));
  while (!path.empty() && path.back() == u'\0') path.pop_back();
  return ze::ToUtf8(path);
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

}  // namespace

std::string EnsureKalendoRegistered(const std::string& programFolder) {
  const std::string path = programFolder + "/libzeKalendo.so";
  // The library that travels beside the program is the one it was built with: a
  // registration that points at another build (an older one, or one built for the
  // tests) is replaced by it.
  const std::string registered = RegisteredKalendoLibrary();
  const bool ownLibraryRegistered = !registered.empty() && SameFile(registered, path);
  // Whether the registered class can be activated: its class factory is enough (the
  // library is loaded, as the form needs it anyway), without building a control that
  // nobody would use, which cost the start-up a few milliseconds.
  if (ownLibraryRegistered || !std::filesystem::exists(path)) {
    ze::com::CLSID clsid;
    ze::com::ComPtr<ze::com::IClassFactory> factory;
    if (ze::com::CLSIDFromProgID(u"zeKalendo.Kalendo", &clsid) == ze::com::S_OK &&
        ze::com::CoGetClassObject(clsid, ze::com::IID_IClassFactory, factory.PutVoid()) ==
            ze::com::S_OK)
      return {};
  }
  ze::com::ComPtr<ze::com::IDispatch> probe;
  auto library = ze::system::DynamicLibrary::Open(path);
  if (!library.is_loaded()) return "impossibile caricare " + path + ": " + library.message();
  auto reg = library.Function<ze::com::DllRegisterServerFn>("DllRegisterServer");
  if (reg == nullptr || reg() != ze::com::S_OK) {
    return "impossibile registrare " + path;
  }
  if (ze::com::CreateObject(u"zeKalendo.Kalendo", &probe) != ze::com::S_OK) {
    return "zeKalendo.Kalendo non si può creare: " + ze::com::LastActivationError();
  }
  return {};
}

std::vector<std::string> DatabaseRows(const std::string& path, const std::string& table) {
  std::vector<std::string> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return rows;
  }
  sqlite3_stmt* stmt = nullptr;
  const std::string sql = "SELECT * FROM \"" + table + "\" ORDER BY rowid";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      std::string line;
      for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        const auto* text = sqlite3_column_text(stmt, c);
        line += (c ? " | " : "") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
      }
      rows.push_back(line);
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return rows;
}

}  // namespace provix2
