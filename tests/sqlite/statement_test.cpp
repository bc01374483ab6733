// The one SQLite statement: failures carried to Step, reuse after Reset, reads off a row.
#include "frame/sqlite/statement.h"

#include <gtest/gtest.h>

namespace ze::sqlite {
namespace {

class StatementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db_, "CREATE TABLE t (a, b)", nullptr, nullptr, nullptr), SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(db_); }
  sqlite3* db_ = nullptr;
};

TEST_F(StatementTest, AFailedPrepareOrBindReachesStep) {
  Statement bad(db_, "SELECT nope FROM nowhere");
  EXPECT_FALSE(bad.Prepared());
  EXPECT_EQ(bad.Bind(1, std::int64_t{1}).Step(), SQLITE_ERROR);
  EXPECT_NE(ErrorText(db_, bad.rc()).find("nowhere"), std::string::npos);
  EXPECT_EQ(ErrorText(nullptr, SQLITE_BUSY), sqlite3_errstr(SQLITE_BUSY));

  Statement insert(db_, "INSERT INTO t VALUES (?1, ?2)");
  EXPECT_EQ(insert.Bind(3, std::int64_t{1}).Bind(1, std::int64_t{2}).Step(), SQLITE_RANGE)
      << "the first failing bind is the one reported";
  EXPECT_EQ(insert.Int(0), 0) << "no row: nothing to read";
}

TEST_F(StatementTest, ValuesGoInAndComeOutAndTheStatementRunsAgain) {
  Statement insert(db_, "INSERT INTO t VALUES (?1, ?2)", SQLITE_PREPARE_PERSISTENT);
  const std::uint8_t bytes[] = {0, 1, 2};
  EXPECT_EQ(insert.Bind(1, std::string_view("")).BindBlob(2, {}).Step(), SQLITE_DONE);
  insert.Reset();
  EXPECT_EQ(insert.Bind(1, std::u16string_view(u"àé")).BindBlob(2, bytes).Step(), SQLITE_DONE);
  insert.Reset();
  EXPECT_EQ(insert.Bind(1, 2.5).BindNull(2).Step(), SQLITE_DONE);

  Statement select(db_, "SELECT a, b, typeof(a), typeof(b) FROM t ORDER BY rowid");
  ASSERT_EQ(select.Step(), SQLITE_ROW);
  EXPECT_EQ(select.Utf8(2), "text") << "an empty text is not NULL";
  EXPECT_EQ(select.Utf8(3), "blob") << "an empty blob is not NULL";
  ASSERT_EQ(select.Step(), SQLITE_ROW);
  EXPECT_EQ(select.Text(0), u"àé");
  EXPECT_EQ(select.Blob(1), std::vector<std::uint8_t>(bytes, bytes + 3));
  ASSERT_EQ(select.Step(), SQLITE_ROW);
  EXPECT_EQ(select.Double(0), 2.5);
  EXPECT_EQ(select.ColumnType(1), SQLITE_NULL);
  EXPECT_EQ(select.Step(), SQLITE_DONE);
  EXPECT_EQ(select.ColumnType(0), SQLITE_NULL);

  Statement moved = std::move(select);
  moved.Reset();
  EXPECT_EQ(moved.Step(), SQLITE_ROW);
}

}  // namespace
}  // namespace ze::sqlite
