// provix2 end to end on the headless backend: the form, its two bound date fields,
// its handlers, and the database behind them, including the database's failures.
#include <fstream>

#include "frame/automation/error.h"
#include "frame/container/font.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/message_box.h"
#include "frame/ui/text_box.h"
#include "tests/sample/provix2_fixture.h"

namespace provix2::testing {
namespace {

namespace input = ze::ui::input;
namespace keys = ze::ui::keys;
using Messages = std::vector<std::string>;

ze::ui::Control& FieldOf(ze::host::HostedControl& c) {
  return *c.Widget().FindChild(u"Text1");
}

TEST_F(Provix2Test, FirstRunMakesTheSampleDatabaseAndShowsTheFirstRecord) {
  Form1& form = Open();
  EXPECT_EQ(ze::ToUtf8(form.Caption()), "Provix N° 2");
  EXPECT_EQ(form.ScaleWidth(), 4680);
  EXPECT_EQ(form.ScaleHeight(), 3195);
  EXPECT_EQ(ze::ToUtf8(form.Label1(0).Caption()), "Data Iniziale:");
  EXPECT_EQ(ze::ToUtf8(form.Label1(1).Caption()), "Data finale:");
  EXPECT_TRUE(form.Label1(1).Visible());
  EXPECT_EQ(Field1(), "01/09/2005");
  EXPECT_EQ(Field2(), "25/12/2005");
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(FieldOf(form.Kalendo1()).HasFocus()) << "tab index 0";
}

TEST_F(Provix2Test, AnEditIsWrittenWhenMovingToAnotherRecord) {
  Form1& form = Open();
  input::Focus(FieldOf(form.Kalendo1()));
  input::Type(u"10102010");
  EXPECT_EQ(Stored(1, "DataIniziale"), "'2005-09-01'") << "not written before the move";
  input::Click(form.Data1().cmdNext);
  EXPECT_EQ(Stored(1, "DataIniziale"), "'2010-10-10'");
  EXPECT_EQ(Field1(), "10/01/2006");
  input::Click(form.Data1().cmdPrevious);
  EXPECT_EQ(Field1(), "10/10/2010");
}

TEST_F(Provix2Test, ClosingTheFormWritesTheEdit) {
  Form1& form = Open();
  input::Focus(FieldOf(form.Kalendo2()));
  input::Type(u"01012007");
  EXPECT_TRUE(form.Unload());
  EXPECT_EQ(Stored(1, "DataFinale"), "'2007-01-01'");
}

TEST_F(Provix2Test, InvalidDateGivesOneMessageAndAnEmptyField) {
  Form1& form = Open();
  input::Focus(FieldOf(form.Kalendo1()));
  input::Type(u"31022005");
  input::Key(keys::kTab);
  EXPECT_EQ(messages_, (Messages{"data non valida|provix2"}));
  EXPECT_EQ(Field1(), "00/00/0000");
  EXPECT_TRUE(FieldOf(form.Kalendo2()).HasFocus());
  input::Key(keys::kTab, ze::ui::shift::kShift);  // back and away again: the empty date is valid
  input::Key(keys::kTab);
  EXPECT_EQ(messages_.size(), 1u);
  input::Click(form.Data1().cmdLast);
  EXPECT_EQ(Stored(1, "DataIniziale"), "NULL");
}

TEST_F(Provix2Test, ButtonReportsBothDates) {
  Form1& form = Open();
  input::Click(form.Command1());
  input::Click(form.Data1().cmdLast);  // the sample's last record has no dates
  input::Click(form.Command1());
  EXPECT_EQ(messages_, (Messages{"data iniziale: 01/09/2005 data finale: 25/12/2005|provix2",
                                 "data iniziale:  data finale: |provix2"}));
}

TEST_F(Provix2Test, EnterMovesBetweenTheTwoFields) {
  Form1& form = Open();
  input::Focus(FieldOf(form.Kalendo1()));
  input::Key(keys::kReturn);
  EXPECT_TRUE(FieldOf(form.Kalendo2()).HasFocus());
  input::Key(keys::kReturn);
  EXPECT_TRUE(FieldOf(form.Kalendo1()).HasFocus());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(Provix2Test, AStoredValueThatIsNoDateIsKeptUntilChanged) {
  Sql("CREATE TABLE Data (ID INTEGER PRIMARY KEY, DataIniziale TEXT, DataFinale TEXT);"
      "INSERT INTO Data VALUES (1, 'domani', 42), (2, '2006-01-10', NULL);");
  Form1& form = Open();
  EXPECT_EQ(Field1(), "00/00/0000");
  EXPECT_EQ(Field2(), "00/00/0000");
  input::Click(form.Data1().cmdNext);
  input::Click(form.Data1().cmdPrevious);
  EXPECT_EQ(Stored(1, "DataIniziale"), "'domani'");
  EXPECT_EQ(Stored(1, "DataFinale"), "'42'");  // the column's text affinity
  input::Focus(FieldOf(form.Kalendo1()));
  input::Type(u"02022002");
  input::Click(form.Data1().cmdNext);
  EXPECT_EQ(Stored(1, "DataIniziale"), "'2002-02-02'");
  EXPECT_EQ(Stored(1, "DataFinale"), "'42'");  // the column's text affinity
}

// A database that cannot be used: one clear message, the form still opens with empty
// fields and a disabled bar.
struct BadDatabase {
  const char* name;
  std::string setup;        // SQL, or "garbage" for a file that is no database
  std::string messagePart;  // what the message must say
};

class Provix2BadDatabaseTest : public Provix2Test,
                               public ::testing::WithParamInterface<BadDatabase> {};

TEST_P(Provix2BadDatabaseTest, OpensEmptyAndSaysWhy) {
  const BadDatabase& c = GetParam();
  if (c.setup == "garbage") {
    std::ofstream(database_) << "questo non è un database, solo testo qualunque..........";
  } else {
    Sql(c.setup);
  }
  Form1& form = Open();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find(c.messagePart), std::string::npos) << messages_[0];
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(Field1(), "00/00/0000");
  EXPECT_EQ(Field2(), "00/00/0000");
  EXPECT_FALSE(form.Data1().cmdNext.Enabled());
  EXPECT_FALSE(form.Data1().IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Provix2, Provix2BadDatabaseTest,
    ::testing::Values(BadDatabase{"NotADatabase", "garbage", "non è un database"},
                      BadDatabase{"NoTable", "CREATE TABLE Altro (x);",
                                  "non contiene la tabella \"Data\""},
                      BadDatabase{"MissingField",
                                  "CREATE TABLE Data (ID INTEGER PRIMARY KEY, DataIniziale TEXT);",
                                  "non ha il campo \"DataFinale\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Provix2Test, ALockedDatabaseKeepsTheEditAndSaysSo) {
  Form1& form = Open();
  input::Focus(FieldOf(form.Kalendo1()));
  input::Type(u"03032003");

  sqlite3* other = nullptr;  // another program holds the database
  ASSERT_EQ(sqlite3_open(database_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  input::Click(form.Data1().cmdNext);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("bloccato"), std::string::npos) << messages_[0];
  EXPECT_EQ(Field1(), "03/03/2003") << "the record stays on screen";
  EXPECT_TRUE(form.Data1().recordset()->Dirty());

  // Closing now asks; the user keeps the form.
  answer_ = ze::ui::msgbox::kCancel;
  EXPECT_FALSE(form.Unload());
  EXPECT_EQ(messages_.size(), 3u);

  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  input::Click(form.Data1().cmdNext);
  EXPECT_EQ(Stored(1, "DataIniziale"), "'2003-03-03'");
}

TEST_F(Provix2Test, ADescriptionThatCannotBeReadNamesTheLine) {
  const auto bad = folder_ / "Bad.frm";
  std::ofstream(bad) << "Begin Form Form1\n  Caption = \"x\n";
  try {
    Form1::FromDescriptionFile(bad.string(), folder_.string());
    FAIL();
  } catch (const ze::AutomationError& e) {
    EXPECT_NE(ze::ToUtf8(e.description()).find("line 2"), std::string::npos);
  }
}

// The bar is no stop for Tab, and a click on it leaves the focus in the field being
// edited, so that leaving it is not what checks the date.
TEST_F(Provix2Test, TheBarNeverTakesTheFocus) {
  Form1& form = Open();
  ASSERT_TRUE(FieldOf(form.Kalendo1()).HasFocus());
  input::Key(keys::kTab);
  EXPECT_TRUE(FieldOf(form.Kalendo2()).HasFocus());
  input::Key(keys::kTab);
  EXPECT_TRUE(form.Command1().HasFocus());
  input::Key(keys::kTab);
  EXPECT_TRUE(FieldOf(form.Kalendo1()).HasFocus()) << "the tab order goes round the bar";
  input::Key(keys::kTab, ze::ui::shift::kShift);
  EXPECT_TRUE(form.Command1().HasFocus());

  input::Focus(FieldOf(form.Kalendo2()));
  input::Type(u"0707");
  input::Click(form.Data1().cmdNext);
  EXPECT_TRUE(FieldOf(form.Kalendo2()).HasFocus());
  EXPECT_EQ(Stored(1, "DataFinale"), "'2005-07-07'");
}

// Nothing typed is lost in silence: not when there is no record to hold it, not when
// another program deleted the record meanwhile.
TEST_F(Provix2Test, ADateTypedWithNoRecordIsReportedWhenClosing) {
  Sql("CREATE TABLE Data (ID INTEGER PRIMARY KEY, DataIniziale TEXT, DataFinale TEXT);");
  Form1& form = Open();
  EXPECT_TRUE(messages_.empty());
  input::Focus(FieldOf(form.Kalendo1()));
  input::Type(u"01012001");
  answer_ = ze::ui::msgbox::kCancel;
  EXPECT_FALSE(form.Unload());
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_NE(messages_[0].find("non c'è un record corrente"), std::string::npos) << messages_[0];
  EXPECT_NE(messages_[1].find("Chiudere comunque?"), std::string::npos) << messages_[1];
  answer_ = ze::ui::msgbox::kOk;
  EXPECT_TRUE(form.Unload());
}

TEST_F(Provix2Test, ADateTypedWithNoDatabaseIsReportedWhenClosing) {
  std::ofstream(database_) << "questo non è un database, solo testo qualunque..........";
  Form1& form = Open();
  ASSERT_EQ(messages_.size(), 1u);
  messages_.clear();
  input::Focus(FieldOf(form.Kalendo2()));
  input::Type(u"01012001");
  EXPECT_FALSE(form.Data1().MoveNext());
  answer_ = ze::ui::msgbox::kCancel;
  EXPECT_FALSE(form.Unload());
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_NE(messages_[0].find("non c'è un record corrente"), std::string::npos) << messages_[0];
  answer_ = ze::ui::msgbox::kOk;
  EXPECT_TRUE(form.Unload());
}

TEST_F(Provix2Test, ARecordDeletedMeanwhileIsNotASave) {
  Form1& form = Open();
  input::Focus(FieldOf(form.Kalendo1()));
  input::Type(u"04042004");
  Sql("DELETE FROM Data WHERE rowid = 1;");
  input::Click(form.Data1().cmdNext);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("non esiste più"), std::string::npos) << messages_[0];
  EXPECT_EQ(Field1(), "04/04/2004") << "the edit stays on screen";
  EXPECT_TRUE(form.Data1().recordset()->Dirty());
}

// A date-time text, as SQLite writes them, shows its date; the stored text stays as it
// is until the user changes that field.
TEST_F(Provix2Test, AStoredDateTimeShowsItsDateAndIsKept) {
  Sql("CREATE TABLE Data (ID INTEGER PRIMARY KEY, DataIniziale TEXT, DataFinale TEXT);"
      "INSERT INTO Data VALUES (1, '2005-09-01 13:45:00', '2005-12-25T08:00'),"
      " (2, '2005-09-01 25:00', '2005-09-01x');");
  Form1& form = Open();
  EXPECT_EQ(Field1(), "01/09/2005");
  EXPECT_EQ(Field2(), "25/12/2005");
  input::Focus(FieldOf(form.Kalendo2()));
  input::Type(u"26");
  input::Click(form.Data1().cmdNext);
  EXPECT_EQ(Stored(1, "DataIniziale"), "'2005-09-01 13:45:00'");
  EXPECT_EQ(Stored(1, "DataFinale"), "'2005-12-26'");
  EXPECT_EQ(Field1(), "00/00/0000") << "an hour 25 is no time of day";
  EXPECT_EQ(Field2(), "00/00/0000");
}

// Each control gets its own copy of the form's font: making one bold changes no other.
TEST_F(Provix2Test, ControlsDoNotShareTheFormsFont) {
  Form1& form = Open();
  auto font1 = std::dynamic_pointer_cast<ze::container::Font>(
      form.Kalendo1().Get(u"Font").Get<ze::ObjectRef>());
  ASSERT_TRUE(font1);
  font1->SetBold(true);
  auto font2 = std::dynamic_pointer_cast<ze::container::Font>(
      form.Kalendo2().Get(u"Font").Get<ze::ObjectRef>());
  ASSERT_TRUE(font2);
  EXPECT_FALSE(font2->Bold());
  EXPECT_FALSE(form.GetFont()->Bold());
}

}  // namespace
}  // namespace provix2::testing
