// libpq opened on first use (see libpq_library.h).
#include "sample/data/libpq_library.h"

#include "frame/system/dynamic_library.h"
#include "sample/data/table_source.h"

namespace provix2 {

namespace {

struct Loaded {
  ze::system::DynamicLibrary library;
  Libpq functions;
  std::string problem;  // "" once every function was found
};

Loaded Load() {
  Loaded l;
  l.library = ze::system::DynamicLibrary::Open(ZE_LIBPQ_PATH);
  if (!l.library.is_loaded()) {
    l.problem = "impossibile caricare " + std::string(ZE_LIBPQ_PATH) + ": " + l.library.message();
    return l;
  }
  Libpq& f = l.functions;
  auto find = [&](auto& slot, const char* name) {
    slot = l.library.Function<std::remove_reference_t<decltype(slot)>>(name);
    if (!slot && l.problem.empty()) l.problem = std::string(ZE_LIBPQ_PATH) + " non ha " + name;
  };
  find(f.PQconnectdbParams, "PQconnectdbParams");
  find(f.PQstatus, "PQstatus");
  find(f.PQerrorMessage, "PQerrorMessage");
  find(f.PQfinish, "PQfinish");
  find(f.PQreset, "PQreset");
  find(f.PQexecParams, "PQexecParams");
  find(f.PQresultStatus, "PQresultStatus");
  find(f.PQresultErrorField, "PQresultErrorField");
  find(f.PQntuples, "PQntuples");
  find(f.PQgetisnull, "PQgetisnull");
  find(f.PQgetvalue, "PQgetvalue");
  find(f.PQclear, "PQclear");
  find(f.PQescapeIdentifier, "PQescapeIdentifier");
  find(f.PQfreemem, "PQfreemem");
  return l;
}

}  // namespace

const Libpq& LoadLibpq() {
  // Once per process, on the ui thread that opens the forms' data.
  static const Loaded loaded = Load();
  if (!loaded.problem.empty()) throw RecordsetError(loaded.problem);
  return loaded.functions;
}

}  // namespace provix2
