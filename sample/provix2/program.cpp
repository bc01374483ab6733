// provix2's surroundings.
#include "sample/provix2/program.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "frame/com/activation.h"
#include "frame/com/server_exports.h"
#include "frame/system/dynamic_library.h"

namespace provix2 {

std::string ProgramFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path().string();
  return self.parent_path().string();
}

std::string EnsureKalendoRegistered(const std::string& programFolder) {
  ze::com::ComPtr<ze::com::IDispatch> probe;
  if (ze::com::CreateObject(u"zeKalendo.Kalendo", &probe) == ze::com::S_OK) return {};
  const std::string path = programFolder + "/libzeKalendo.so";
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
