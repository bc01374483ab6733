// Both data engines, SQLite and PostgreSQL, through the one TableSource interface: two
// users on one record (the later save refused, then reloaded or overwritten), records
// deleted meanwhile, walking by key over gaps, fields of other types than dates, and
// for the server, the server going away and coming back in the middle of an edit.
//
// The PostgreSQL cases need the private server that CTest starts (PGHOST names its
// folder); without it they are skipped, saying why.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "sample/data/open_table.h"
#include "sample/data/recordset.h"
#include "tests/registry/temp_dir.h"
#include "tests/sample/sqlite_query.h"
#ifdef ZE_HAVE_POSTGRESQL
#include <libpq-fe.h>
#endif

namespace provix2 {
namespace {

using ze::Variant;
using Fields = std::vector<std::string>;

// One engine's database as the tests see it: SQL from "another user" and a way to open
// the table as provix2 does.
class Engine {
 public:
  virtual ~Engine() = default;
  virtual void Sql(const std::string& sql) = 0;
  virtual std::string Stored(const std::string& sql) = 0;  // one value, "NULL" for none
  virtual std::unique_ptr<TableSource> Open(const std::string& table, Fields fields) = 0;
  virtual bool Server() const = 0;
};

class SqliteEngine : public Engine {
 public:
  void Sql(const std::string& sql) override {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }
  std::string Stored(const std::string& sql) override {
    return testing::QueryText(path_, sql, "(none)");
  }
  std::unique_ptr<TableSource> Open(const std::string& table, Fields fields) override {
    return OpenTable("SQLite", path_, table, std::move(fields));
  }
  bool Server() const override { return false; }

 private:
  ze::testing::TempDir dir_;
  std::string path_ = dir_.File("t.db");
};

#ifdef ZE_HAVE_POSTGRESQL
class PostgresEngine : public Engine {
 public:
  PostgresEngine() : conn_(PQconnectdb("")) {}
  ~PostgresEngine() override { PQfinish(conn_); }
  bool Usable() const { return PQstatus(conn_) == CONNECTION_OK; }
  void Sql(const std::string& sql) override {
    Reconnect();
    PGresult* r = PQexec(conn_, sql.c_str());
    const auto status = PQresultStatus(r);
    EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        << sql << ": " << PQerrorMessage(conn_);
    PQclear(r);
  }
  std::string Stored(const std::string& sql) override {
    Reconnect();
    PGresult* r = PQexec(conn_, sql.c_str());
    std::string out = "(none)";
    if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0) {
      out = PQgetisnull(r, 0, 0) ? "NULL" : PQgetvalue(r, 0, 0);
    }
    PQclear(r);
    return out;
  }
  std::unique_ptr<TableSource> Open(const std::string& table, Fields fields) override {
    return OpenTable("PostgreSQL", "", table, std::move(fields));
  }
  bool Server() const override { return true; }

 private:
  // The test's own connection outlives a restart of the server too.
  void Reconnect() {
    PGresult* r = PQexec(conn_, "SELECT 1");
    PQclear(r);
    if (PQstatus(conn_) != CONNECTION_OK) PQreset(conn_);
  }
  PGconn* conn_;
};
#endif

class TableEnginesTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "SQLite") {
      engine_ = std::make_unique<SqliteEngine>();
      return;
    }
#ifdef ZE_HAVE_POSTGRESQL
    if (!std::getenv("PGHOST")) GTEST_SKIP() << "no test server: PGHOST is not set";
    auto pg = std::make_unique<PostgresEngine>();
    if (!pg->Usable()) GTEST_SKIP() << "the test server does not answer";
    pg->Sql("DROP TABLE IF EXISTS t; DROP TABLE IF EXISTS n; DROP TABLE IF EXISTS nokey;");
    engine_ = std::move(pg);
#else
    GTEST_SKIP() << "provix2 built without libpq (libpq-dev missing)";
#endif
  }
  // A table T (ID key, V, W) with these (V, W) rows, SQL literals, at IDs 1, 2, 3...
  std::unique_ptr<TableSource> Table(std::vector<std::pair<std::string, std::string>> rows,
                                     int step = 1) {
    std::string sql = "CREATE TABLE T (ID INTEGER PRIMARY KEY, V TEXT, W TEXT);";
    int id = 1;
    for (const auto& [v, w] : rows) {
      sql += "INSERT INTO T (ID, V, W) VALUES (" + std::to_string(id) + ", " + v + ", " + w + ");";
      id += step;
    }
    engine_->Sql(sql);
    return engine_->Open("T", {"V", "W"});
  }
  std::string V(int id) { return engine_->Stored("SELECT V FROM T WHERE ID = " + std::to_string(id)); }

  std::unique_ptr<Engine> engine_;
};

const ze::Date kSep1 = ze::DateSerial(2005, 9, 1);
const ze::Date kOct2 = ze::DateSerial(2010, 10, 2);
const ze::Date kNov3 = ze::DateSerial(2011, 11, 3);

RecordConflict::Kind ConflictOf(TableSource& source) {
  try {
    source.Update();
  } catch (const RecordConflict& c) {
    return c.kind();
  }
  ADD_FAILURE() << "the save was not refused";
  return RecordConflict::Kind::Changed;
}

// Two users on one record: the later save is refused and nothing is written until the
// user chooses; the choice decides exactly what the database holds.
TEST_P(TableEnginesTest, TheLaterSaveOfTwoIsRefusedUntilTheUserChooses) {
  auto first = Table({{"'2005-09-01'", "NULL"}});
  auto second = engine_->Open("T", {"V", "W"});
  first->SetField(u"V", kOct2);
  second->SetField(u"V", kNov3);
  first->Update();
  EXPECT_EQ(V(1), "2010-10-02");

  try {
    second->Update();
    ADD_FAILURE();
  } catch (const RecordConflict& c) {
    EXPECT_EQ(c.kind(), RecordConflict::Kind::Changed);
    ASSERT_EQ(c.stored().size(), 2u);
    EXPECT_EQ(c.stored()[0], Variant(kOct2)) << "the other user's value, for the message";
    EXPECT_TRUE(c.stored()[1].IsNull());
  }
  EXPECT_EQ(V(1), "2010-10-02") << "nothing written";
  EXPECT_TRUE(second->Dirty());
  EXPECT_EQ(second->Field(u"V"), Variant(kNov3)) << "the typed value stays";

  second->Overwrite();
  EXPECT_EQ(V(1), "2011-11-03");
  EXPECT_FALSE(second->Dirty());

  // Now the first user is behind; they take the database's record.
  first->SetField(u"W", kSep1);
  EXPECT_EQ(ConflictOf(*first), RecordConflict::Kind::Changed) << "a field not edited changed";
  first->Reload();
  EXPECT_FALSE(first->Dirty());
  EXPECT_EQ(first->Field(u"V"), Variant(kNov3));
  EXPECT_TRUE(first->Field(u"W").IsNull());
  EXPECT_EQ(engine_->Stored("SELECT W FROM T WHERE ID = 1"), "NULL");

  // After a reload (or any save) the record is current again: the next save goes in.
  first->SetField(u"W", kSep1);
  first->Update();
  EXPECT_EQ(engine_->Stored("SELECT W FROM T WHERE ID = 1"), "2005-09-01");
}

// An empty field must still be empty, and a value written back unchanged is no edit.
TEST_P(TableEnginesTest, NullsAndUnchangedValuesCompareExactly) {
  auto mine = Table({{"NULL", "NULL"}});
  engine_->Sql("UPDATE T SET V = '2005-09-01' WHERE ID = 1");
  mine->SetField(u"W", kSep1);
  EXPECT_EQ(ConflictOf(*mine), RecordConflict::Kind::Changed) << "NULL became a value";

  engine_->Sql("UPDATE T SET V = '2005-09-01 13:45:00.250', W = NULL WHERE ID = 1");
  auto timed = engine_->Open("T", {"V", "W"});
  timed->SetField(u"V", timed->Field(u"V"));
  EXPECT_FALSE(timed->Dirty()) << "the date as shown is what was read";
  timed->SetField(u"W", kSep1);
  timed->Update();  // the stored fraction, never shown, still matches
  EXPECT_EQ(V(1), "2005-09-01 13:45:00.250") << "a field not edited keeps its stored text";
}

TEST_P(TableEnginesTest, ARecordDeletedMeanwhile) {
  auto mine = Table({{"'2005-09-01'", "NULL"}, {"'2006-01-10'", "NULL"}});
  mine->SetField(u"V", kOct2);
  engine_->Sql("DELETE FROM T WHERE ID = 1");
  EXPECT_EQ(ConflictOf(*mine), RecordConflict::Kind::Deleted);
  EXPECT_EQ(mine->Field(u"V"), Variant(kOct2));
  mine->Overwrite();  // saved again under its key, with the values on screen
  EXPECT_EQ(V(1), "2010-10-02");
  EXPECT_EQ(engine_->Stored("SELECT count(*) FROM T"), "2");

  mine->SetField(u"V", kNov3);
  engine_->Sql("DELETE FROM T WHERE ID = 1");
  mine->Reload();  // the next record takes its place
  EXPECT_FALSE(mine->Dirty());
  EXPECT_EQ(mine->Field(u"V"), Variant(ze::DateSerial(2006, 1, 10)));
  EXPECT_EQ(mine->Position(), std::optional<std::size_t>(0));
  engine_->Sql("DELETE FROM T");
  mine->Reload();
  EXPECT_TRUE(mine->IsBOF() && mine->IsEOF());
}

// Moves go by key: gaps between keys, records added and removed by others meanwhile,
// positions counted only when asked.
TEST_P(TableEnginesTest, MovesFollowTheKeys) {
  auto rs = Table({{"'a'", "NULL"}, {"'b'", "NULL"}, {"'c'", "NULL"}, {"'d'", "NULL"}}, 10);
  int notices = 0;
  rs->OnMove([&] { ++notices; });
  EXPECT_EQ(rs->RecordCount(), 4u);
  rs->MoveLast();
  EXPECT_EQ(rs->Field(u"V"), Variant(u"d"));
  EXPECT_EQ(rs->Position(), std::optional<std::size_t>(3));
  rs->MoveNext();
  EXPECT_TRUE(rs->IsEOF());
  EXPECT_FALSE(rs->IsBOF());
  EXPECT_FALSE(rs->Position().has_value());
  rs->MovePrevious();
  rs->MovePrevious();
  EXPECT_EQ(rs->Field(u"V"), Variant(u"c"));
  engine_->Sql("INSERT INTO T (ID, V) VALUES (25, 'c2'); DELETE FROM T WHERE ID = 31;");
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(u"c2")) << "a record added meanwhile is met";
  rs->MoveNext();
  EXPECT_TRUE(rs->IsEOF()) << "a record deleted meanwhile is not";
  rs->MoveFirst();
  rs->MovePrevious();
  EXPECT_TRUE(rs->IsBOF());
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(u"a"));
  EXPECT_EQ(rs->Position(), std::optional<std::size_t>(0));
  EXPECT_EQ(notices, 9);
  rs->SetField(u"V", Variant(u"x"));
  EXPECT_THROW(rs->MoveNext(), RecordsetError) << "a move never drops an edit";
}

// Fields that are no dates bind through the same typed interface, both ways.
TEST_P(TableEnginesTest, FieldsOfOtherTypes) {
  engine_->Sql(
      "CREATE TABLE N (ID INTEGER PRIMARY KEY, I INTEGER, D DOUBLE PRECISION, S TEXT, "
      "B BOOLEAN, L BIGINT);"
      "INSERT INTO N VALUES (1, 42, 2.5, 'testo', TRUE, 9000000000), "
      "(2, NULL, NULL, NULL, NULL, NULL);");
  auto rs = engine_->Open("n", {"i", "D", "S", "B", "L"});
  EXPECT_EQ(rs->Field(u"I"), Variant(std::int32_t{42}));
  EXPECT_EQ(rs->Field(u"D"), Variant(2.5));
  EXPECT_EQ(rs->Field(u"S"), Variant(u"testo"));
  EXPECT_EQ(rs->Field(u"B"), engine_->Server() ? Variant(true) : Variant(std::int32_t{1}));
  EXPECT_EQ(rs->Field(u"L"), Variant(9000000000.0)) << "beyond a Long";

  rs->MoveNext();
  for (const auto& [field, value] :
       std::vector<std::pair<std::u16string, Variant>>{{u"I", Variant(std::int32_t{-7})},
                                                       {u"D", Variant(0.1)},
                                                       {u"S", Variant(u"àè \"x\" ;")},
                                                       {u"B", Variant(false)}}) {
    rs->SetField(field, value);
  }
  rs->Update();
  rs->MoveFirst();
  rs->MoveLast();
  EXPECT_EQ(rs->Field(u"I"), Variant(std::int32_t{-7}));
  EXPECT_EQ(rs->Field(u"D"), Variant(0.1)) << "a double crosses without loss";
  EXPECT_EQ(rs->Field(u"S"), Variant(u"àè \"x\" ;"));
  EXPECT_EQ(rs->Field(u"B"), engine_->Server() ? Variant(false) : Variant(std::int32_t{0}));
  rs->SetField(u"I", Variant(u"non un numero"));
  if (engine_->Server()) {
    EXPECT_THROW(rs->Update(), RecordsetError) << "the server refuses it, and says so";
    EXPECT_TRUE(rs->Dirty());
    EXPECT_EQ(rs->Field(u"I"), Variant(u"non un numero"));
  }
}

TEST_P(TableEnginesTest, ATableWithoutAKeyOnTheServerIsRefusedAtOpening) {
  if (!engine_->Server()) GTEST_SKIP() << "SQLite finds its records by rowid";
  engine_->Sql("CREATE TABLE nokey (V TEXT)");
  try {
    engine_->Open("NoKey", {"V"});
    ADD_FAILURE();
  } catch (const RecordsetError& e) {
    EXPECT_NE(std::string(e.what()).find("chiave primaria"), std::string::npos) << e.what();
  }
  EXPECT_THROW(engine_->Open("nessuna", {"V"}), RecordsetError);
  engine_->Sql("CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT)");
  EXPECT_THROW(engine_->Open("T", {"V", "W"}), RecordsetError) << "a field missing";
}

// The server stopped in the middle of an edit, then started again: the failures are
// reported, the edit and the position stay, and the next save reconnects.
TEST_P(TableEnginesTest, TheServerGoingAwayKeepsTheEdit) {
  if (!engine_->Server()) GTEST_SKIP() << "a file has no server";
  const char* script = std::getenv("ZE_PG_SERVER");
  const char* folder = std::getenv("PGHOST");
  ASSERT_TRUE(script && folder);
  auto server = [&](const std::string& action) {
    return std::system(("bash " + std::string(script) + " " + action + " " + folder).c_str());
  };
  auto rs = Table({{"'2005-09-01'", "NULL"}, {"'2006-01-10'", "NULL"}});
  rs->SetField(u"V", kOct2);
  ASSERT_EQ(server("halt"), 0);
  for (int attempt = 0; attempt < 2; ++attempt) {  // the broken connection, then no server
    try {
      rs->Update();
      ADD_FAILURE() << "a save with the server gone";
    } catch (const RecordConflict&) {
      ADD_FAILURE() << "no conflict: the server is away";
    } catch (const RecordsetError& e) {
      EXPECT_NE(std::string(e.what()).find("server"), std::string::npos) << e.what();
    }
  }
  EXPECT_TRUE(rs->Dirty());
  EXPECT_EQ(rs->Field(u"V"), Variant(kOct2));
  EXPECT_EQ(rs->Position(), std::optional<std::size_t>(0));
  ASSERT_EQ(server("resume"), 0);
  rs->Update();
  EXPECT_EQ(V(1), "2010-10-02");
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(ze::DateSerial(2006, 1, 10)));

  // A move that meets the broken connection stays where it was.
  ASSERT_EQ(server("halt"), 0);
  ASSERT_EQ(server("resume"), 0);
  EXPECT_THROW(rs->MovePrevious(), RecordsetError);
  EXPECT_EQ(rs->Field(u"V"), Variant(ze::DateSerial(2006, 1, 10)));
  rs->MovePrevious();
  EXPECT_EQ(rs->Field(u"V"), Variant(kOct2));
}

INSTANTIATE_TEST_SUITE_P(Engines, TableEnginesTest, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace provix2
