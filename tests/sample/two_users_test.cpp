// Two people at provix2's form, in two processes, on the same record of one database,
// on SQLite and on PostgreSQL: both change the start date, the second to save is
// refused and told, and after "reload" or "overwrite" the database holds exactly what
// that person chose. Each process is provix2_user, the real form on the headless
// backend, scripted through its stdin.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/registry/temp_dir.h"
#include "tests/sample/sqlite_query.h"
#ifdef ZE_HAVE_POSTGRESQL
#include <libpq-fe.h>
#endif

extern char** environ;

namespace {

using Lines = std::vector<std::string>;

// One provix2_user process and the two pipes to it.
class User {
 public:
  User(const std::string& folder, const std::string& database) {
    int in[2], out[2];
    // Close-on-exec: no other program the test starts (a server) may hold the pipes open.
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = ZE_PROVIX2_USER;
    std::string f = folder, d = database;
    char* argv[] = {program.data(), f.data(), d.data(), nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    to_ = fdopen(in[1], "w");
    from_ = fdopen(out[0], "r");
    opened_ = Answer();
  }
  ~User() {
    if (to_) fclose(to_);
    if (from_) fclose(from_);
    if (pid_ > 0) {
      int status = 0;
      waitpid(pid_, &status, 0);
    }
  }
  User(const User&) = delete;
  User& operator=(const User&) = delete;

  // What the form said while opening.
  const Lines& opened() const { return opened_; }

  // Sends a command; returns the lines it printed, up to "fatto".
  Lines Do(const std::string& command) {
    if (!to_) return {"(no process)"};
    fprintf(to_, "%s\n", command.c_str());
    fflush(to_);
    return Answer();
  }

 private:
  Lines Answer() {
    Lines lines;
    char buffer[4096];
    while (from_ && fgets(buffer, sizeof buffer, from_)) {
      std::string line(buffer);
      if (!line.empty() && line.back() == '\n') line.pop_back();
      if (line == "fatto") return lines;
      lines.push_back(line);
    }
    lines.push_back("(the process ended)");
    return lines;
  }

  pid_t pid_ = -1;
  FILE* to_ = nullptr;
  FILE* from_ = nullptr;
  Lines opened_;
};

class TwoUsersTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    setenv("ZE_REGISTRO", dir_.File("registro.db").c_str(), 1);
    if (GetParam() == "SQLite") {
      database_ = dir_.File("provix2.db");  // the first user makes the sample database
      return;
    }
#ifdef ZE_HAVE_POSTGRESQL
    const char* host = std::getenv("PGHOST");
    if (!host || !*host) GTEST_SKIP() << "no test server: PGHOST is not set";
    conn_ = PQconnectdb("");
    if (PQstatus(conn_) != CONNECTION_OK) GTEST_SKIP() << "the test server does not answer";
    Sql("DROP TABLE IF EXISTS data;"
        "CREATE TABLE data (id serial PRIMARY KEY, datainiziale date, datafinale date);"
        "INSERT INTO data (datainiziale, datafinale) VALUES ('2005-09-01', '2005-12-25'),"
        " ('2006-01-10', '2006-06-30'), (NULL, NULL);");
    // Only the socket folder in the URI: the rest comes from the PG variables.
    database_ = "postgresql://?host=" + std::string(host);
#else
    GTEST_SKIP() << "provix2 built without libpq (libpq-dev missing)";
#endif
  }
  void TearDown() override {
#ifdef ZE_HAVE_POSTGRESQL
    if (conn_) PQfinish(conn_);
#endif
  }

  // The first record's start date as the database holds it.
  std::string StoredStart() {
    const std::string sql = "SELECT DataIniziale FROM Data ORDER BY ID LIMIT 1";
#ifdef ZE_HAVE_POSTGRESQL
    if (conn_) {
      PGresult* r = PQexec(conn_, sql.c_str());
      std::string out = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1
                            ? (PQgetisnull(r, 0, 0) ? "NULL" : PQgetvalue(r, 0, 0))
                            : "(none)";
      PQclear(r);
      return out;
    }
#endif
    return provix2::testing::QueryText(database_, sql, "(none)");
  }
#ifdef ZE_HAVE_POSTGRESQL
  void Sql(const std::string& sql) {
    PGresult* r = PQexec(conn_, sql.c_str());
    ASSERT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQerrorMessage(conn_);
    PQclear(r);
  }
  PGconn* conn_ = nullptr;
#endif

  ze::testing::TempDir dir_;
  std::string database_;
};

// Anna saves first; Bruno, who read the same record before, is refused.
TEST_P(TwoUsersTest, TheSecondSaveIsRefusedThenReloadedOrOverwritten) {
  User anna(dir_.path(), database_);
  User bruno(dir_.path(), database_);
  ASSERT_TRUE(anna.opened().empty()) << anna.opened()[0];
  ASSERT_TRUE(bruno.opened().empty()) << bruno.opened()[0];

  anna.Do("type 1 10102010");
  bruno.Do("type 1 11112011");
  EXPECT_EQ(anna.Do("save"), Lines{"salvato"});
  EXPECT_EQ(StoredStart(), "2010-10-10");

  const auto started = std::chrono::steady_clock::now();
  const Lines refused = bruno.Do("save");
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  ASSERT_EQ(refused.size(), 2u);
  EXPECT_EQ(refused[0],
            "messaggio: Un altro utente ha modificato questo record dopo che è stato letto.");
  EXPECT_EQ(refused[1], "non salvato") << "the user went back to the form (Annulla)";
  EXPECT_EQ(StoredStart(), "2010-10-10") << "nothing written";
  EXPECT_EQ(bruno.Do("fields"), Lines{"campi 11/11/2011 | 25/12/2005"}) << "the typed date stays";
  RecordProperty("refusal_ms", std::to_string(ms));
  std::printf("%s: the refused save and its message took %.1f ms\n", GetParam().c_str(), ms);

  // Bruno overwrites: the database holds his date.
  bruno.Do("answer no");
  EXPECT_EQ(bruno.Do("save").back(), "salvato");
  EXPECT_EQ(StoredStart(), "2011-11-11");

  // Anna, now behind, changes the end date and takes the database's record instead.
  anna.Do("type 2 01012012");
  anna.Do("answer yes");
  const Lines reloaded = anna.Do("next");
  ASSERT_EQ(reloaded.size(), 1u);
  EXPECT_NE(reloaded[0].find("ha modificato"), std::string::npos) << reloaded[0];
  EXPECT_EQ(anna.Do("fields"), Lines{"campi 11/11/2011 | 25/12/2005"})
      << "Bruno's record, on the same record: the move waited for her to see it";
  EXPECT_EQ(StoredStart(), "2011-11-11");
  EXPECT_TRUE(anna.Do("quit").empty()) << "nothing left unsaved";
  EXPECT_TRUE(bruno.Do("quit").empty());
}

// The server stopped and started again under an open form: the failed save is told, the
// typed date stays, and the next save reconnects and goes in.
TEST_P(TwoUsersTest, TheServerRestartedUnderTheFormLosesNothing) {
  if (GetParam() != "PostgreSQL") GTEST_SKIP() << "a file has no server";
  const char* script = std::getenv("ZE_PG_SERVER");
  ASSERT_TRUE(script);
  auto server = [&](const std::string& action) {
    return std::system(
        ("bash " + std::string(script) + " " + action + " " + std::getenv("PGHOST")).c_str());
  };
  User carla(dir_.path(), database_);
  carla.Do("type 1 03032003");
  ASSERT_EQ(server("halt"), 0);
  const Lines failed = carla.Do("next");
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_NE(failed[0].find("impossibile salvare il record"), std::string::npos) << failed[0];
  EXPECT_EQ(carla.Do("fields"), Lines{"campi 03/03/2003 | 25/12/2005"});
  const Lines away = carla.Do("save");
  ASSERT_EQ(away.size(), 2u);
  EXPECT_NE(away[0].find("non risponde"), std::string::npos) << away[0];
  EXPECT_EQ(away[1], "non salvato");
  ASSERT_EQ(server("resume"), 0);
  PQreset(conn_);
  EXPECT_EQ(carla.Do("save"), Lines{"salvato"});
  EXPECT_EQ(StoredStart(), "2003-03-03");
  EXPECT_TRUE(carla.Do("next").empty());
  EXPECT_EQ(carla.Do("fields"), Lines{"campi 10/01/2006 | 30/06/2006"});
}

INSTANTIATE_TEST_SUITE_P(Engines, TwoUsersTest, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& info) { return info.param; });

}  // namespace
