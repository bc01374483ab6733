// provix2's SQLite recordset as a record source: typed fields, Null, moves, the stored
// date texts, writes and the container's binding over it.
#include "sample/data/recordset.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <string>

#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "frame/container/data_binding.h"
#include "tests/registry/temp_dir.h"

namespace provix2 {
namespace {

using ze::Date;
using ze::Variant;

class RecordsetTest : public ::testing::Test {
 protected:
  void Sql(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << sql;
  }
  std::string StoredText(int rowid) {
    sqlite3* db = nullptr;
    sqlite3_open(path_.c_str(), &db);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT quote(V) FROM T WHERE rowid = ?", -1, &s, nullptr);
    sqlite3_bind_int(s, 1, rowid);
    std::string out = "?";
    if (sqlite3_step(s) == SQLITE_ROW)
      out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
  }
  // A table T with one field V holding `values` (SQL literals), one per record.
  std::unique_ptr<Recordset> With(std::vector<std::string> values) {
    std::string sql = "CREATE TABLE T (ID INTEGER PRIMARY KEY, V);";
    for (const auto& v : values) sql += "INSERT INTO T (V) VALUES (" + v + ");";
    Sql(sql);
    return std::make_unique<Recordset>(path_, "T", std::vector<std::string>{"V"});
  }

  ze::testing::TempDir dir_;
  std::string path_ = dir_.File("t.db");
};

TEST_F(RecordsetTest, FieldsReadAsTheirKind) {
  auto rs = With({"NULL", "42", "9000000000", "2.5", "'testo'", "'2005-09-01'",
                  "'2005-09-01 13:45:00'", "X'41'"});
  EXPECT_TRUE(rs->Field(u"v").IsNull());
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(std::int32_t{42}));
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(9000000000.0)) << "beyond a Long";
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(2.5));
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(u"testo"));
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(ze::DateSerial(2005, 9, 1)));
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"),
            Variant(Date(ze::DateSerial(2005, 9, 1).serial + (13 * 60 + 45) / 1440.0)));
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(u"A")) << "a blob reads as its text";
  try {
    rs->Field(u"Altro");
    ADD_FAILURE();
  } catch (const ze::AutomationError& e) {
    EXPECT_EQ(e.number(), ze::container::kItemNotFound);
  }
}

TEST_F(RecordsetTest, MovesStopAtBothEnds) {
  auto rs = With({"1", "2"});
  int notices = 0;
  rs->OnMove([&] { ++notices; });
  EXPECT_EQ(rs->Position(), std::optional<std::size_t>(0));
  rs->MovePrevious();
  EXPECT_TRUE(rs->IsBOF());
  try {
    rs->Field(u"V");
    ADD_FAILURE();
  } catch (const ze::AutomationError& e) {
    EXPECT_EQ(e.number(), ze::container::kNoCurrentRecord);
  }
  rs->MoveNext();
  EXPECT_EQ(rs->Field(u"V"), Variant(std::int32_t{1}));
  rs->MoveLast();
  rs->MoveNext();
  EXPECT_TRUE(rs->IsEOF());
  rs->MoveNext();
  EXPECT_TRUE(rs->IsEOF());
  rs->MovePrevious();
  EXPECT_EQ(rs->Field(u"V"), Variant(std::int32_t{2}));
  EXPECT_EQ(notices, 6);

  Sql("DELETE FROM T;");
  auto none = std::make_unique<Recordset>(path_, "T", std::vector<std::string>{"V"});
  EXPECT_TRUE(none->IsBOF() && none->IsEOF());
  EXPECT_EQ(none->RecordCount(), 0u);
}

// Every stored text ends in a date or in text, never in a fault; only the year-first
// shape is a date, whatever the locale.
TEST_F(RecordsetTest, StoredDateTexts) {
  const Date day = ze::DateSerial(2005, 9, 1);
  const double minute = 1.0 / 1440;
  struct Case {
    const char* text;
    std::optional<double> serial;
  } cases[] = {
      {"2005-09-01", day.serial},
      {"2005-09-01 13:45", day.serial + (13 * 60 + 45) * minute},
      {"2005-09-01T13:45", day.serial + (13 * 60 + 45) * minute},
      {"2005-09-01 13:45:00.9999999999", day.serial + (13 * 60 + 45) * minute},
      {"2005-09-01 23:59:59.999999999999999999999999999", day.serial + 86399.0 / 86400},
      {"9999-12-31 23:59:59", ze::DateSerial(9999, 12, 31).serial + 86399.0 / 86400},
      {"0100-01-01", ze::DateSerial(100, 1, 1).serial},
      {"0099-12-31", std::nullopt},
      {"2005-02-29", std::nullopt},
      {"2005-13-01", std::nullopt},
      {"2005-00-10", std::nullopt},
      {"2005-09-01 25:00", std::nullopt},
      {"2005-09-01 13:60", std::nullopt},
      {"2005-09-01 13:45.5", std::nullopt},
      {"2005-09-01 13:45:00.", std::nullopt},
      {"2005-09-01 13:45:00.5x", std::nullopt},
      {"2005-09-01x", std::nullopt},
      {"2005/09/01", std::nullopt},
      {"01/09/2005", std::nullopt},
      {"1 set 2005", std::nullopt},
      {"2005-9-01", std::nullopt},
      {"", std::nullopt},
      {"99999999999999999999-01-01", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto date = Recordset::StoredDate(c.text);
    ASSERT_EQ(date.has_value(), c.serial.has_value()) << c.text;
    if (date) EXPECT_NEAR(date->serial, *c.serial, 1e-9) << c.text;
  }
  EXPECT_FALSE(Recordset::StoredDate(std::string("2005-09-01\0", 11)).has_value());
}

TEST_F(RecordsetTest, DatesAreStoredAsTheyAlwaysWere) {
  for (const Date d : {ze::DateSerial(2005, 9, 1), ze::DateSerial(100, 1, 1),
                       ze::DateSerial(9999, 12, 31), Date(-700.25)}) {
    const std::string text = Recordset::DateText(d);
    const auto back = Recordset::StoredDate(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_NEAR(back->serial, d.serial, 1e-9) << text;
  }
  EXPECT_EQ(Recordset::DateText(ze::DateSerial(2005, 9, 1)), "2005-09-01");
  EXPECT_EQ(Recordset::DateText(ze::DateSerial(100, 1, 1)), "0100-01-01");
  EXPECT_EQ(Recordset::DateText(Date(ze::DateSerial(2005, 9, 1).serial + 0.5)),
            "2005-09-01 12:00:00");
}

TEST_F(RecordsetTest, WritesWaitForUpdate) {
  auto rs = With({"'2005-09-01'", "'non una data'"});
  rs->SetField(u"V", ze::DateSerial(2005, 9, 1));
  EXPECT_FALSE(rs->Dirty()) << "an unchanged value is no edit";
  rs->SetField(u"V", ze::DateSerial(2006, 1, 2));
  EXPECT_TRUE(rs->Dirty());
  EXPECT_EQ(rs->Field(u"V"), Variant(ze::DateSerial(2006, 1, 2)));
  EXPECT_THROW(rs->MoveNext(), RecordsetError) << "a move never drops an edit";
  EXPECT_THROW(rs->SetField(u"V", Variant::Nothing()), ze::AutomationError);
  EXPECT_THROW(rs->SetField(u"V", Date(NAN)), ze::AutomationError);
  rs->Update();
  EXPECT_FALSE(rs->Dirty());
  EXPECT_EQ(StoredText(1), "'2006-01-02'");
  rs->MoveNext();
  rs->SetField(u"V", Variant::Null());
  rs->CancelUpdate();
  EXPECT_EQ(rs->Field(u"V"), Variant(u"non una data"));
  for (const Variant& v : {Variant(std::int32_t{7}), Variant(2.5), Variant(u"testo"), Variant(true),
                           Variant::Null()}) {
    rs->SetField(u"V", v);
    rs->Update();
    rs->MoveFirst();
    rs->MoveLast();
    EXPECT_EQ(rs->Field(u"V"), v.Is<bool>() ? Variant(std::int32_t{-1}) : v);
  }
  EXPECT_EQ(StoredText(2), "NULL");
  rs->MoveNext();
  try {
    rs->SetField(u"V", Date(1));
    ADD_FAILURE();
  } catch (const ze::AutomationError& e) {
    EXPECT_EQ(e.number(), ze::container::kNoCurrentRecord);
  }
}

// The container's binding over the SQLite engine, as provix2's data control uses it.
TEST_F(RecordsetTest, TheContainersBindingOverIt) {
  auto rs = With({"'2005-09-01'", "NULL"});
  Variant property;
  ze::container::DataBinding binding(
      *rs, u"V", u"P", [&] { return property; }, [&](const Variant& v) { property = v; });
  binding.RecordChanged();
  EXPECT_EQ(property, Variant(ze::DateSerial(2005, 9, 1)));
  property = ze::DateSerial(2005, 9, 2);
  binding.PropertyChanged(u"P");
  rs->Update();
  rs->MoveNext();
  EXPECT_TRUE(property.IsNull());
  EXPECT_EQ(StoredText(1), "'2005-09-02'");

  Sql("DELETE FROM T;");
  auto none = std::make_unique<Recordset>(path_, "T", std::vector<std::string>{"V"});
  ze::container::DataBinding stranded(
      *none, u"V", u"P", [&] { return property; }, [&](const Variant& v) { property = v; });
  EXPECT_FALSE(stranded.CanPropertyChange(u"P"));
  stranded.PropertyChanged(u"P");
  EXPECT_TRUE(stranded.Stranded().has_value());
  EXPECT_FALSE(none->Dirty());
}

}  // namespace
}  // namespace provix2
