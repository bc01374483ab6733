// provix2's two data engines side by side in one run: the next record and saving one
// field on a small table, and on a table of 1,000,000 rows the first record (opening
// included) and the last one (MoveLast from the first), with the resident memory the
// big table adds. Goals on SQLite: first record under 50 ms, MoveLast under 100 ms,
// resident memory growth under 20 MB; the server's figures stand beside them.
//
// The PostgreSQL cases need a server: PGHOST and the other PG variables name it (the
// benchmark script starts a private one); without it they are skipped.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "frame/automation/date_serial.h"
#include "sample/data/open_table.h"
#ifdef ZE_HAVE_POSTGRESQL
#include <libpq-fe.h>
#endif

namespace {

constexpr int kSmall = 1000;
constexpr int kMillion = 1000000;

std::string TableName(int rows) {
  return "bench_" + std::to_string(rows);
}

// The resident set of this process, in bytes.
double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

const std::string& SqlitePath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / "bench-record-sources.db").string();
  return path;
}

// Makes the tables once per run (a million rows take a few seconds).
bool PrepareSqlite() {
  static const bool ready = [] {
    std::filesystem::remove(SqlitePath());
    sqlite3* db = nullptr;
    if (sqlite3_open(SqlitePath().c_str(), &db) != SQLITE_OK) return false;
    std::string sql = "BEGIN;";
    for (int rows : {kSmall, kMillion}) {
      sql += "CREATE TABLE " + TableName(rows) +
             " (ID INTEGER PRIMARY KEY, DataIniziale TEXT, DataFinale TEXT);"
             "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " +
             std::to_string(rows) + ") INSERT INTO " + TableName(rows) +
             " SELECT x, '2005-09-01', '2005-12-25' FROM n;";
    }
    sql += "COMMIT;";
    const bool ok = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
  }();
  return ready;
}

bool PreparePostgres() {
#ifdef ZE_HAVE_POSTGRESQL
  static const bool ready = [] {
    if (!std::getenv("PGHOST")) return false;
    PGconn* conn = PQconnectdb("");
    bool ok = PQstatus(conn) == CONNECTION_OK;
    for (int rows : {kSmall, kMillion}) {
      const std::string sql = "DROP TABLE IF EXISTS " + TableName(rows) + "; CREATE TABLE " +
                              TableName(rows) +
                              " (id integer PRIMARY KEY, datainiziale date, datafinale date);"
                              "INSERT INTO " + TableName(rows) +
                              " SELECT x, '2005-09-01', '2005-12-25' FROM generate_series(1, " +
                              std::to_string(rows) + ") x; ANALYZE " + TableName(rows) + ";";
      PGresult* r = ok ? PQexec(conn, sql.c_str()) : nullptr;
      ok = ok && PQresultStatus(r) == PGRES_COMMAND_OK;
      PQclear(r);
    }
    PQfinish(conn);
    return ok;
  }();
  return ready;
#else
  return false;
#endif
}

enum Engine { kSqlite, kPostgres };

std::unique_ptr<provix2::TableSource> Open(Engine engine, int rows) {
  const std::vector<std::string> fields{"DataIniziale", "DataFinale"};
  if (engine == kSqlite) return provix2::OpenTable("SQLite", SqlitePath(), TableName(rows), fields);
  return provix2::OpenTable("PostgreSQL", "", TableName(rows), fields);
}

bool Prepared(benchmark::State& state, Engine engine) {
  const bool ok = engine == kSqlite ? PrepareSqlite() : PreparePostgres();
  if (!ok) state.SkipWithError("no database for this engine (PGHOST unset or server down)");
  return ok;
}

void BM_NextRecord(benchmark::State& state) {
  const auto engine = static_cast<Engine>(state.range(0));
  if (!Prepared(state, engine)) return;
  auto table = Open(engine, kSmall);
  for (auto _ : state) {
    table->MoveNext();
    if (table->IsEOF()) table->MoveFirst();
    benchmark::DoNotOptimize(table->Field(u"DataIniziale"));
  }
}

void BM_SaveOneField(benchmark::State& state) {
  const auto engine = static_cast<Engine>(state.range(0));
  if (!Prepared(state, engine)) return;
  auto table = Open(engine, kSmall);
  int day = 0;
  for (auto _ : state) {
    table->SetField(u"DataFinale", ze::DateSerial(2006, 1, 1 + day++ % 28));
    table->Update();
  }
}

void BM_FirstRecordOfAMillion(benchmark::State& state) {
  const auto engine = static_cast<Engine>(state.range(0));
  if (!Prepared(state, engine)) return;
  const double before = ResidentBytes();
  double growth = 0;
  for (auto _ : state) {
    auto table = Open(engine, kMillion);
    benchmark::DoNotOptimize(table->Field(u"DataIniziale"));
    growth = ResidentBytes() - before;
  }
  state.counters["rss_growth_MB"] = growth / 1e6;
}

void BM_MoveLastOfAMillion(benchmark::State& state) {
  const auto engine = static_cast<Engine>(state.range(0));
  if (!Prepared(state, engine)) return;
  const double before = ResidentBytes();
  auto table = Open(engine, kMillion);
  for (auto _ : state) {
    table->MoveLast();
    benchmark::DoNotOptimize(table->Field(u"DataIniziale"));
    state.PauseTiming();
    table->MoveFirst();
    state.ResumeTiming();
  }
  state.counters["rss_growth_MB"] = (ResidentBytes() - before) / 1e6;
}

void Engines(benchmark::internal::Benchmark* b) {
  b->ArgName("engine")->Arg(kSqlite)->Arg(kPostgres);
}

BENCHMARK(BM_NextRecord)->Apply(Engines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveOneField)->Apply(Engines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstRecordOfAMillion)->Apply(Engines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveLastOfAMillion)->Apply(Engines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
