// provix2's first run and its saves under faults: the sample database made while other
// runs make it too, a run killed while it makes it, an empty file a killed run of an
// older version left, and saves killed at random moments.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>
#include <string>

#include "frame/automation/date_serial.h"
#include "sample/data/recordset.h"
#include "tests/sample/sqlite_query.h"
#include "tests/fixtures/child_process.h"
#include "tests/registry/temp_dir.h"

namespace provix2 {
namespace {

using ze::fixtures::KillChildAfter;
using ze::fixtures::StartChild;
using ze::fixtures::WaitChild;

const std::vector<std::string> kFields = {"DataIniziale", "DataFinale"};

std::string Query(const std::string& path, const std::string& sql) {
  return provix2::testing::QueryText(path, sql);
}

// The sample database is there and whole: it passes SQLite's own check and holds the
// sample's three records.
void ExpectWholeSample(const std::string& path) {
  EXPECT_EQ(Query(path, "PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Query(path, "SELECT count(*) FROM Data"), "3");
  Recordset rs(path, "Data", kFields);
  EXPECT_EQ(rs.RecordCount(), 3u);
}

// Only the database itself is left in the folder: no temporary file of a run that
// finished.
std::vector<std::string> FolderContents(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

bool FirstRun(const std::string& path) {
  Recordset::CreateSampleIfMissing(path);
  return Recordset(path, "Data", kFields).RecordCount() == 3;
}

TEST(SampleDatabaseTest, AFirstRunMakesItWholeAndLeavesAnyOtherFileAlone) {
  ze::testing::TempDir dir;
  const std::string path = dir.File("provix2.db");
  Recordset::CreateSampleIfMissing(path);
  ExpectWholeSample(path);
  EXPECT_EQ(FolderContents(dir.path()), std::vector<std::string>{"provix2.db"});
  EXPECT_EQ(std::filesystem::status(path).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  // A file that is no database is the user's: it stays, byte for byte.
  const std::string other = dir.Write("altro.db", "non un database");
  Recordset::CreateSampleIfMissing(other);
  EXPECT_EQ(Query(other, "SELECT count(*) FROM sqlite_master"), "?");
  EXPECT_EQ(std::filesystem::file_size(other), 15u);
}

// A run killed while an older version created the database in place left an empty
// file; it counts as missing instead of being "a database without the table".
TEST(SampleDatabaseTest, AnEmptyFileIsMadeIntoTheSample) {
  ze::testing::TempDir dir;
  const std::string path = dir.Write("provix2.db", "");
  Recordset::CreateSampleIfMissing(path);
  ExpectWholeSample(path);
  EXPECT_EQ(FolderContents(dir.path()), std::vector<std::string>{"provix2.db"});
}

// Two first runs at the same instant, many times over: both open the database, and
// it is there and whole afterwards.
TEST(SampleDatabaseTest, TwoFirstRunsAtOnceBothEndWithOneWholeDatabase) {
  for (int round = 0; round < 20; ++round) {
    ze::testing::TempDir dir;
    const std::string path = dir.File("provix2.db");
    if (round % 4 == 3) dir.Write("provix2.db", "");  // and over an empty file
    ze::fixtures::StartGate gate;
    const auto run = [&] {
      gate.Wait();
      return FirstRun(path);
    };
    const pid_t a = StartChild(run), b = StartChild(run);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    gate.Open();
    EXPECT_EQ(WaitChild(a), 0) << "round " << round;
    EXPECT_EQ(WaitChild(b), 0) << "round " << round;
    ExpectWholeSample(path);
    EXPECT_EQ(FolderContents(dir.path()), std::vector<std::string>{"provix2.db"});
  }
}

// A first run killed at any moment leaves no database, or a whole one; the next run
// ends with a whole one either way.
TEST(SampleDatabaseTest, AFirstRunKilledAnywhereIsRepairedByTheNext) {
  std::mt19937 random(16);
  for (int round = 0; round < 20; ++round) {
    ze::testing::TempDir dir;
    const std::string path = dir.File("provix2.db");
    const pid_t child = StartChild([&] { return FirstRun(path); });
    ASSERT_GT(child, 0);
    KillChildAfter(child, std::chrono::microseconds(random() % 8000));
    if (std::filesystem::exists(path)) ExpectWholeSample(path);
    ASSERT_TRUE(FirstRun(path)) << "round " << round;
    ExpectWholeSample(path);
  }
}

// Saves killed at random moments: each save writes the same date into both fields, in
// one transaction, so the record holds the old pair or the new one, never a mix, and
// the file stays a whole database.
TEST(SampleDatabaseTest, ASaveKilledAnywhereLeavesTheOldRecordOrTheNew) {
  ze::testing::TempDir dir;
  const std::string path = dir.File("provix2.db");
  Recordset::CreateSampleIfMissing(path);
  {
    Recordset rs(path, "Data", kFields);
    rs.SetField(u"DataFinale", ze::DateSerial(2005, 9, 1));
    rs.Update();
  }
  std::mt19937 random(75);
  for (int round = 0; round < 50; ++round) {
    const pid_t child = StartChild([&] {
      Recordset rs(path, "Data", kFields);
      for (int day = 1;; day = day % 28 + 1) {
        const ze::Date d = ze::DateSerial(2010, 1 + round % 12, day);
        rs.SetField(u"DataIniziale", d);
        rs.SetField(u"DataFinale", d);
        rs.Update();
      }
      return true;
    });
    ASSERT_GT(child, 0);
    EXPECT_EQ(KillChildAfter(child, std::chrono::microseconds(2000 + random() % 20000)), -SIGKILL);
    ASSERT_EQ(Query(path, "PRAGMA integrity_check"), "ok") << "round " << round;
    const std::string first = Query(path, "SELECT DataIniziale FROM Data WHERE rowid = 1");
    EXPECT_EQ(first, Query(path, "SELECT DataFinale FROM Data WHERE rowid = 1"))
        << "round " << round;
    EXPECT_EQ(Query(path, "SELECT count(*) FROM Data"), "3");
  }
}

}  // namespace
}  // namespace provix2
