// One registry value read through the store beside the same lookup as a plain SQLite
// point query, in one run.
//
// Ours is zeUtilita's reader, LeggiRegistro, the whole path a special-folder routine
// takes: the key path opened level by level through the store's ANSI functions, the
// value read into its 1,024-byte buffer and turned into text, the key closed. The
// peer holds the same values in one flat table keyed by the full key path and the
// value name (both without regard to case, as registry names are compared) and reads
// one with a prepared statement. Both stores hold 2,000 other keys of five values each
// besides the one read, and both are files in the same folder.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/run_pair.h"
#include "frame/registry/advapi.h"
#include "frame/registry/store.h"
#include "frame/system/shell_folders.h"
#include "utilita/ze_utilita.h"

namespace {

using namespace ze::registry;

constexpr int kAltreChiavi = 2000;
constexpr int kValoriPerChiave = 5;
constexpr std::size_t kLetture = 100;
constexpr char16_t kPersonal[] = u"D:\\Documenti\\Utente";

std::string folder;
sqlite3* peer_db = nullptr;
sqlite3_stmt* peer_query = nullptr;

std::vector<std::uint8_t> Utf16(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) bytes.insert(bytes.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::u16string Nome(int n) { return ze::FromUtf8("Valore" + std::to_string(n)); }
std::u16string Chiave(int n) {
  return ze::FromUtf8("SOFTWARE\\Programmi\\Programma" + std::to_string(n) + "\\Impostazioni");
}

void FillStore() {
  auto store = DefaultStore();
  store->Batch([&]() -> LSTATUS {
    const KeyId hkcu = Store::RootKey(Root::CurrentUser);
    for (int k = 0; k < kAltreChiavi; ++k) {
      KeyId key;
      store->CreateKey(hkcu, Chiave(k), &key);
      for (int v = 0; v < kValoriPerChiave; ++v)
        store->SetString(key, Nome(v), u"C:\\dati\\" + Nome(v));
    }
    KeyId shell;
    store->CreateKey(hkcu, ze::system::kShellFoldersKey, &shell);
    return store->SetString(shell, u"Personal", kPersonal);
  });
}

bool Exec(const char* sql) { return sqlite3_exec(peer_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool FillPeer() {
  if (sqlite3_open((folder + "/peer.db").c_str(), &peer_db) != SQLITE_OK) return false;
  if (!Exec("CREATE TABLE valori(chiave TEXT NOT NULL COLLATE NOCASE, nome TEXT NOT NULL COLLATE "
            "NOCASE, tipo INTEGER NOT NULL, dati BLOB, PRIMARY KEY(chiave, nome)) WITHOUT ROWID") ||
      !Exec("BEGIN"))
    return false;
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(peer_db, "INSERT INTO valori VALUES(?1, ?2, 1, ?3)", -1, &insert, nullptr);
  auto put = [&](const std::u16string& key, const std::u16string& name, std::u16string_view text) {
    const std::string k = ze::ToUtf8(u"HKEY_CURRENT_USER\\" + key), n = ze::ToUtf8(name);
    const std::vector<std::uint8_t> data = Utf16(text);
    sqlite3_bind_text(insert, 1, k.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, n.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert, 3, data.data(), static_cast<int>(data.size()), SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  };
  for (int k = 0; k < kAltreChiavi; ++k)
    for (int v = 0; v < kValoriPerChiave; ++v) put(Chiave(k), Nome(v), u"C:\\dati\\" + Nome(v));
  put(ze::system::kShellFoldersKey, u"Personal", kPersonal);
  sqlite3_finalize(insert);
  return Exec("COMMIT") &&
         sqlite3_prepare_v2(peer_db,
                            "SELECT tipo, dati FROM valori WHERE chiave = ?1 AND nome = ?2", -1,
                            &peer_query, nullptr) == SQLITE_OK;
}

void LeggiRegistroBesideSqlite(benchmark::State& state) {
  zekalendo::zeUtilita utilita;
  const auto hkcu = static_cast<std::int32_t>(HKEY_CURRENT_USER);
  const ze::String chiave = ze::system::kShellFoldersKey, nome = u"Personal";
  const std::string peer_key = ze::ToUtf8(u"HKEY_CURRENT_USER\\" + chiave);
  bool ok = true;
  ze::bench::RunPair(
      state, kLetture,
      [&] {
        for (std::size_t i = 0; i < kLetture; ++i) {
          ze::String testo;
          ok &= utilita.LeggiRegistro(hkcu, chiave, nome, testo) && testo == kPersonal;
          benchmark::DoNotOptimize(testo);
        }
      },
      [&] {
        for (std::size_t i = 0; i < kLetture; ++i) {
          // The same work the reader's caller gets: the type, and the text decoded.
          sqlite3_bind_text(peer_query, 1, peer_key.c_str(), -1, SQLITE_STATIC);
          sqlite3_bind_text(peer_query, 2, "Personal", -1, SQLITE_STATIC);
          ze::String testo;
          if (sqlite3_step(peer_query) == SQLITE_ROW && sqlite3_column_int(peer_query, 0) == 1) {
            const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(peer_query, 1));
            const int size = sqlite3_column_bytes(peer_query, 1);
            for (int b = 0; b + 1 < size; b += 2) {
              const char16_t c = static_cast<char16_t>(data[b] | (data[b + 1] << 8));
              if (c == 0) break;
              testo.push_back(c);
            }
          }
          sqlite3_reset(peer_query);
          ok &= testo == kPersonal;
          benchmark::DoNotOptimize(testo);
        }
      });
  if (!ok) state.SkipWithError("a read did not find the value");
}
BENCHMARK(LeggiRegistroBesideSqlite)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  char made[] = "/tmp/zekalendo-bench-XXXXXX";
  if (::mkdtemp(made) == nullptr) return 1;
  folder = made;
  ::setenv("ZE_REGISTRO", (folder + "/registro.db").c_str(), 1);
  FillStore();
  if (!FillPeer()) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  sqlite3_finalize(peer_query);
  sqlite3_close(peer_db);
  ResetDefaultStore();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return 0;
}
