// The overwrite editor, key by key, through the ui layer's input path.
#include "frame/ui/keys.h"
#include "tests/kalendo/kalendo_fixture.h"

namespace zekalendo::testing {
namespace {

using Log = std::vector<std::string>;
namespace keys = ze::ui::keys;

int Count(const Log& log, const std::string& line) {
  return static_cast<int>(std::count(log.begin(), log.end(), line));
}

TEST_F(KalendoTest, TypingADateSkipsTheSlashes) {
  Kalendo& k = NewControl();
  FocusField();
  Select(0, 0);
  site_.Take();
  const std::u16string digits = u"25122005";
  // The caret stops before a slash; the next digit jumps it (2 -> 3, 5 -> 6).
  const std::int32_t carets[] = {1, 2, 4, 5, 7, 8, 9, 10};
  for (size_t i = 0; i < digits.size(); ++i) {
    Type(digits.substr(i, 1));
    EXPECT_EQ(k.Text1.SelStart(), carets[i]) << "after key " << i;
  }
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005");
  const Log log = site_.Take();
  EXPECT_EQ(Count(log, "event TastoPress"), 8);
  // A "0" typed over a "0" changes nothing, so the field sends no notice for it.
  EXPECT_EQ(Count(log, "changed DataText"), 6);
}

TEST_F(KalendoTest, DigitOverWholeSelectionChangesOnlyTheFirstPosition) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();  // Evidenzia selects everything
  ASSERT_EQ(k.Text1.SelLength(), 10);
  Type(u"7");
  EXPECT_EQ(k.Text1.Text(), u"75/12/2005");
  EXPECT_EQ(k.Text1.SelStart(), 1);
  EXPECT_EQ(k.Text1.SelLength(), 0);
}

TEST_F(KalendoTest, DigitAtTheEndIsSwallowed) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();
  Select(10, 0);
  site_.Take();
  Type(u"9");
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005");
  EXPECT_TRUE(site_.Take().empty());
}

TEST_F(KalendoTest, OtherCharactersAreSwallowed) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();
  Select(0, 0);
  site_.Take();
  Type(u"a/ -.\u00e8\u4e2d");
  for (std::int16_t control : {3, 22, 24, 27}) {  // Ctrl+C, Ctrl+V, Ctrl+X, Escape
    std::int16_t key = control;
    k.Text1.RaiseKeyPress(key);
  }
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005");
  EXPECT_TRUE(site_.Take().empty());
}

struct BackspaceCase {
  const char* name;
  std::int32_t caret;
  std::u16string after;
  std::int32_t caretAfter;
  int tastoPress;
};

class BackspaceTest : public KalendoTest, public ::testing::WithParamInterface<BackspaceCase> {};

TEST_P(BackspaceTest, ZeroesTheDigitBeforeTheCaret) {
  const BackspaceCase& c = GetParam();
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();
  Select(c.caret, 0);
  site_.Take();
  Press(keys::kBack);
  EXPECT_EQ(k.Text1.Text(), c.after);
  EXPECT_EQ(k.Text1.SelStart(), c.caretAfter);
  EXPECT_EQ(Count(site_.Take(), "event TastoPress"), c.tastoPress);
}

INSTANTIATE_TEST_SUITE_P(
    Kalendo, BackspaceTest,
    ::testing::Values(BackspaceCase{"AtStart", 0, u"25/12/2005", 0, 1},
                      BackspaceCase{"AfterFirstDigit", 1, u"05/12/2005", 0, 2},
                      BackspaceCase{"AfterSlash", 3, u"20/12/2005", 1, 2},
                      BackspaceCase{"AfterSecondSlash", 6, u"25/10/2005", 4, 2},
                      BackspaceCase{"AtEnd", 10, u"25/12/2000", 9, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KalendoTest, DeleteWithoutSelectionZeroesAtTheCaret) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();
  Select(2, 0);
  site_.Take();
  Press(keys::kDelete);
  EXPECT_EQ(k.Text1.Text(), u"25/02/2005");
  EXPECT_EQ(k.Text1.SelStart(), 4);
  EXPECT_EQ(Count(site_.Take(), "event TastoPress"), 1);

  Select(10, 0);
  Press(keys::kDelete);  // at the end: nothing
  EXPECT_EQ(k.Text1.Text(), u"25/02/2005");
  EXPECT_EQ(Count(site_.Take(), "event TastoPress"), 0);
}

TEST_F(KalendoTest, DeleteOverASelectionZeroesItsDigitsOnly) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();
  Select(3, 7);
  site_.Take();
  Press(keys::kDelete);
  EXPECT_EQ(k.Text1.Text(), u"25/00/0000");
  EXPECT_EQ(k.Text1.SelStart(), 10);
  EXPECT_EQ(Count(site_.Take(), "event TastoPress"), 0);
}

TEST_F(KalendoTest, EnterRaisesReturnPressAndEditsNothing) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();
  Press(keys::kReturn);
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005");
  EXPECT_EQ(site_.Take(), (Log{"event ReturnPress"}));
}

TEST_F(KalendoTest, LockedFieldIgnoresEveryEditingKey) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  k.SetLocked(true);
  FocusField();
  Select(4, 0);
  site_.Take();
  Type(u"1");
  Press(keys::kBack);
  Press(keys::kDelete);
  Press(keys::kReturn);
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005");
  EXPECT_TRUE(site_.Take().empty());
}

TEST_F(KalendoTest, ShortStoredTextIsRebuiltToTenCharacters) {
  Kalendo& k = NewControl();
  SetField(u"1/2/2005");
  FocusField();
  Select(0, 0);
  Type(u"3");
  EXPECT_EQ(k.Text1.Text(), std::u16string(u"3/2/2005") + u'\0' + u'\0');
}

TEST_F(KalendoTest, LongStoredTextIsCutToTenCharactersWhenADigitIsTyped) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005 ore 10");
  FocusField();
  Select(0, 0);
  Type(u"1");
  EXPECT_EQ(k.Text1.Text(), u"15/12/2005");
}

TEST_F(KalendoTest, TextOutsideTheCodePageIsLeftAlone) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005\u4e2d");
  FocusField();
  Select(0, 0);
  site_.Take();
  Type(u"1");
  Press(keys::kBack);
  Select(0, 11);
  Press(keys::kDelete);
  EXPECT_EQ(k.Text1.Text(), u"25/12/2005\u4e2d");
  EXPECT_TRUE(site_.Take().empty() || Count(site_.log, "changed DataText") == 0);
}

// Every editing key at every caret position of texts shorter and longer than ten
// characters: a key either leaves the text as it was or rebuilds exactly ten characters
// (a selection deleted keeps its length), and nothing escapes.
TEST_F(KalendoTest, EveryKeyAtEveryCaretOfOddTexts) {
  Kalendo& k = NewControl();
  FocusField();
  const std::u16string texts[] = {u"", u"1", u"1/2/05", u"00/00/0000", u"31/12/2005 12:00",
                                  std::u16string(200, u'9'), u"\u00e8\u20ac/\u4e2d"};
  for (const auto& text : texts) {
    for (std::int32_t caret = 0; caret <= static_cast<std::int32_t>(text.size()) + 1; ++caret) {
      for (int key = 0; key < 4; ++key) {
        SetField(text);
        Select(caret, key == 3 ? 3 : 0);
        ASSERT_NO_THROW({
          if (key == 0) Type(u"7");
          if (key == 1) Press(keys::kBack);
          if (key >= 2) Press(keys::kDelete);
        });
        const std::u16string& now = k.Text1.Text();
        EXPECT_GE(now.size(), std::min<size_t>(text.size(), 10)) << "text shrank";
        if (key == 3 && static_cast<std::size_t>(caret) < text.size()) {
          EXPECT_EQ(now.size(), text.size()) << "a deleted selection changed the length";
        } else if (now != text) {
          EXPECT_EQ(now.size(), 10u) << "an edit left other than ten characters";
        }
      }
    }
  }
}

}  // namespace
}  // namespace zekalendo::testing
