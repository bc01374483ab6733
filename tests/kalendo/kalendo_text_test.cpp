// The date text: Text, valore, DataText, DelData and the check on leaving the field.
#include "frame/automation/date_serial.h"
#include "frame/automation/error.h"
#include "tests/kalendo/kalendo_fixture.h"

namespace zekalendo::testing {
namespace {

using ze::Date;
using ze::DateSerial;
using Log = std::vector<std::string>;

TEST_F(KalendoTest, NewControlIsEmpty) {
  Kalendo& k = NewControl();
  EXPECT_EQ(k.Text1.Text(), u"00/00/0000");
  EXPECT_EQ(k.Text(), u"");
  EXPECT_EQ(k.valore(), Date(0));
  EXPECT_EQ(k.DataText(), Date(0));
}

TEST_F(KalendoTest, TextLetWithADateRewritesItAndNotifies) {
  Kalendo& k = NewControl();
  k.SetText(u"25/12/2005");
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005");
  EXPECT_EQ(k.valore(), DateSerial(2005, 12, 25));
  // The field's change comes first, then the property's own notice.
  EXPECT_EQ(site_.Take(), (Log{"changed DataText", "changed Text"}));

  k.SetText(u"5/6/2007");  // any date the recogniser reads comes out in the field's form
  EXPECT_EQ(k.Text1.Text(), u"05/06/2007");
}

TEST_F(KalendoTest, TextLetWithANonDateEmptiesTheFieldSilently) {
  Kalendo& k = NewControl();
  k.SetText(u"25/12/2005");
  site_.Take();
  k.SetText(u"abc");
  EXPECT_EQ(k.Text1.Text(), u"00/00/0000");
  EXPECT_EQ(k.Text(), u"");
  EXPECT_EQ(site_.Take(), (Log{"changed DataText"}));
}

// What the field text means: its value, and whether leaving the field reports it.
struct FieldCase {
  const char* name;
  std::u16string text;
  bool valid;
  Date value;
};

class FieldTextTest : public KalendoTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldTextTest, ValueAndCheckOnLeaving) {
  const FieldCase& c = GetParam();
  Kalendo& k = NewControl();
  FocusField();
  SetField(c.text);
  EXPECT_EQ(k.valore(), c.value);
  EXPECT_EQ(k.DataText(), c.value);
  other_->SetFocus();
  const Log log = site_.Take();
  const bool reported = std::count(log.begin(), log.end(), "event DataNonValida") == 1;
  EXPECT_EQ(reported, !c.valid);
  EXPECT_EQ(k.Text1.Text(), c.text) << "the check never corrects the text";
}

INSTANTIATE_TEST_SUITE_P(
    Kalendo, FieldTextTest,
    ::testing::Values(
        FieldCase{"Empty", u"00/00/0000", true, Date(0)},
        FieldCase{"Christmas", u"25/12/2005", true, DateSerial(2005, 12, 25)},
        FieldCase{"LastYear", u"31/12/3000", true, DateSerial(3000, 12, 31)},
        FieldCase{"FirstYear", u"01/01/1900", true, DateSerial(1900, 1, 1)},
        FieldCase{"LeapDay", u"29/02/2004", true, DateSerial(2004, 2, 29)},
        FieldCase{"Month13ReadSwapped", u"12/13/2005", false, Date(0)},
        FieldCase{"Month13", u"25/13/2005", false, Date(0)},
        FieldCase{"YearBefore1900", u"15/06/1850", false, Date(0)},
        FieldCase{"Year1899", u"01/01/1899", false, Date(0)},
        FieldCase{"YearAfter3000", u"01/01/3001", false, Date(0)},
        FieldCase{"ImpossibleDay", u"31/02/2005", false, Date(0)},
        FieldCase{"NotLeap", u"29/02/2005", false, Date(0)},
        FieldCase{"Letters", u"abc", false, Date(0)},
        FieldCase{"Blank", u"", false, Date(0)},
        FieldCase{"HalfTyped", u"25/12/0000", false, Date(0)},
        FieldCase{"HugeNumbers", u"99/99999/99999999", false, Date(0)}),
    [](const auto& info) { return std::string(info.param.name); });

// A host whose handler fails gets its error back from the check, and the event once:
// the check's own guard against oversized numbers must not swallow the host's error.
TEST_F(KalendoTest, AFailingHandlerSeesTheEventOnceAndItsErrorComesBack) {
  NewControl();
  for (const std::u16string text : {u"12/13/2005", u"01/01/1850", u"abc", u"99/99999/9"}) {
    FocusField();
    SetField(text);
    site_.onEvent = [](std::u16string_view, std::vector<ze::Variant>&) {
      ze::Raise(ze::errors::kInvalidProcedureCall);
    };
    EXPECT_THROW(other_->SetFocus(), ze::AutomationError) << ze::ToUtf8(text);
    site_.onEvent = nullptr;
    EXPECT_EQ(site_.Take(), (Log{"event DataNonValida"})) << ze::ToUtf8(text);
  }
}

TEST_F(KalendoTest, ValoreLetShowsTheDateWithoutTime) {
  Kalendo& k = NewControl();
  k.SetValore(Date(DateSerial(2005, 12, 25).serial + 0.75));
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005");
  EXPECT_EQ(site_.Take(), (Log{"changed DataText", "changed Text"}));
}

TEST_F(KalendoTest, ValoreZeroIsDayZeroAndFailsTheCheck) {
  Kalendo& k = NewControl();
  FocusField();
  k.SetValore(Date(0));
  EXPECT_EQ(k.Text1.Text(), u"30/12/1899");
  site_.Take();
  other_->SetFocus();
  EXPECT_EQ(site_.Take(), (Log{"event DataNonValida"}));
}

TEST_F(KalendoTest, DataTextLet) {
  Kalendo& k = NewControl();
  k.SetDataText(Date(DateSerial(2006, 1, 10).serial + 0.5));  // the time is not shown
  EXPECT_EQ(k.Text1.Text(), u"10/01/2006");
  EXPECT_EQ(site_.Take(), (Log{"changed DataText", "changed Text"}));

  k.SetDataText(Date(0));  // zero empties the field without a "Text" notice
  EXPECT_EQ(k.Text1.Text(), u"00/00/0000");
  EXPECT_EQ(site_.Take(), (Log{"changed DataText"}));
}

TEST_F(KalendoTest, DataTextLetRefusedByTheContainerChangesNothing) {
  Kalendo& k = NewControl();
  site_.Refuse(u"DataText");
  k.SetDataText(DateSerial(2006, 1, 10));
  EXPECT_EQ(k.Text1.Text(), u"00/00/0000");
  EXPECT_TRUE(site_.Take().empty());
}

TEST_F(KalendoTest, DataTextLetUnderAMonthFirstLocaleStillShowsDayFirst) {
  ze::Locale::SetCurrent("en_US");
  Kalendo& k = NewControl();
  k.SetDataText(DateSerial(2005, 12, 25));
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005");
  k.SetDataText(DateSerial(2005, 3, 4));
  EXPECT_EQ(k.Text1.Text(), u"04/03/2005");
  EXPECT_EQ(k.valore(), DateSerial(2005, 3, 4));
}

TEST_F(KalendoTest, DelDataEmptiesWithOnlyTheFieldsNotice) {
  Kalendo& k = NewControl();
  k.SetText(u"25/12/2005");
  site_.Take();
  k.DelData();
  EXPECT_EQ(k.Text1.Text(), u"00/00/0000");
  EXPECT_EQ(site_.Take(), (Log{"changed DataText"}));
}

TEST(KalendoBuffer, StringaToArrayAndBack) {
  Kalendo::Buffer buffer(Kalendo::kBufferSize, 0);
  Kalendo::StringaToArray(u"25/12/2005\u20ac", buffer);
  EXPECT_EQ(buffer[0], '2');
  EXPECT_EQ(buffer[10], 0x80);  // the euro sign's byte in the ANSI code page
  EXPECT_EQ(Kalendo::ArrayToStringa(buffer, 11), u"25/12/2005\u20ac");
  EXPECT_EQ(Kalendo::ArrayToStringa(buffer, 0), u"");
  EXPECT_EQ(Kalendo::ArrayToStringa(buffer, 12), std::u16string(u"25/12/2005\u20ac") + u'\0');
}

TEST(KalendoBuffer, CharacterOutsideTheCodePageFails) {
  Kalendo::Buffer buffer(Kalendo::kBufferSize, 0);
  EXPECT_THROW(Kalendo::StringaToArray(u"12\u4e2d", buffer), ze::AutomationError);
}

TEST(KalendoBuffer, LongTextGrowsTheBufferInsteadOfOverrunningIt) {
  Kalendo::Buffer buffer(Kalendo::kBufferSize, 0);
  const std::u16string text(300, u'7');
  Kalendo::StringaToArray(text, buffer);
  EXPECT_EQ(Kalendo::ArrayToStringa(buffer, 300), text);
}

}  // namespace
}  // namespace zekalendo::testing
