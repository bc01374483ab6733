// The numeric field's key filter under locales of each kind, the "full" rule, focus
// and the change notice, all through the ui layer's input path.
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "tests/numeric/numeric_fixture.h"

namespace zekalendo::testing {
namespace {

struct FilterCase {
  const char* locale;
  std::u16string typed;
  std::u16string result;
};

TEST_F(NumericTest, TheFilterKeepsTheCharactersOfANumber) {
  const FilterCase cases[] = {
      // "," decimal, "." thousands: "." is typed as ",".
      {"it_IT", u"12,5", u"12,5"},
      {"it_IT", u"12.5", u"12,5"},
      // "." decimal, "," thousands: the reverse.
      {"en_US", u"12.5", u"12.5"},
      {"en_US", u"12,5", u"12.5"},
      // A thousands separator that is neither: only the decimal one passes.
      {"de_CH", u"1,2.5", u"12.5"},
      {"fr_FR", u"1.2,5", u"12,5"},
      // A decimal separator that is neither: none can be typed.
      {"ar_EG", u"1,2.5", u"125"},
      // Minus anywhere and repeated, letters and the rest dropped.
      {"it_IT", u"-1-2-", u"-1-2-"},
      {"it_IT", u"a1 b+2e\u00e8\u20ac3", u"123"},
      // Several separators can be typed; the text then reads as 0.
      {"it_IT", u"1,,2", u"1,,2"},
  };
  ZEInputNumerico& n = NewControl();
  n.SetMassimo(1e9);
  n.SetMinimo(-1e9);
  for (const FilterCase& c : cases) {
    ze::Locale::SetCurrent(c.locale);
    SetField(u"");
    FocusAtEnd();
    Type(c.typed);
    EXPECT_EQ(FieldText(), c.result) << c.locale << " " << ze::ToUtf8(c.typed);
  }
}

TEST_F(NumericTest, EnterAndClipboardShortcutsAreDropped) {
  ZEInputNumerico& n = NewControl();
  SetField(u"");
  FocusAtEnd();
  Type(u"12");
  for (std::int16_t code : {13, 3, 22, 24, 26, 27}) {
    ze::ui::input::KeyPress(code);
  }
  EXPECT_EQ(FieldText(), u"12");
  // Backspace is always kept.
  Type(u"\b");
  EXPECT_EQ(FieldText(), u"1");
}

TEST_F(NumericTest, AFieldAtMassimoTakesNoMoreDigits) {
  ZEInputNumerico& n = NewControl();
  SetField(u"99");
  FocusAtEnd();
  Type(u"9");  // 99 is not yet full
  EXPECT_EQ(FieldText(), u"999");
  Type(u"9,1");
  EXPECT_EQ(FieldText(), u"999");
  // Backspace and "-" still pass in a full field.
  Type(u"\b");
  EXPECT_EQ(FieldText(), u"99");
  Type(u"9-");
  EXPECT_EQ(FieldText(), u"999-");
  Type(u"\b");
  Take();
  Leave();
  EXPECT_EQ(FieldText(), u"100,00");
  EXPECT_EQ(ValueOf(Take(), "MassimoSuperato"), 100);

  SetField(u"100");
  FocusAtEnd();
  Type(u",");  // exactly Massimo is already full
  EXPECT_EQ(FieldText(), u"100");
  (void)n;
}

TEST_F(NumericTest, AFieldBelowMinimoTakesNoDigitsUntilSelected) {
  ZEInputNumerico& n = NewControl();
  n.SetMassimo(3000);
  n.SetMinimo(1900);
  SetField(u"2");
  FocusAtEnd();
  Type(u"005");
  EXPECT_EQ(FieldText(), u"2");
  // Minimo itself is not full.
  SetField(u"1900");
  FocusAtEnd();
  Type(u"5");
  EXPECT_EQ(FieldText(), u"19005");
  // Backspace passes, and leaves a text below Minimo: full again.
  SetField(u"1900");
  FocusAtEnd();
  Type(u"\b1");
  EXPECT_EQ(FieldText(), u"190");
  // With the text selected only the filter applies: the digit replaces it.
  SetField(u"2");
  n.txtnumero.SetSelStart(0);
  n.txtnumero.SetSelLength(1);
  Type(u"3");
  EXPECT_EQ(FieldText(), u"3");
}

TEST_F(NumericTest, FocusSelectsTheWholeTextSoTheFirstDigitReplacesIt) {
  ZEInputNumerico& n = NewControl();
  n.SetValore(100);
  ze::ui::input::Focus(n.txtnumero);
  EXPECT_EQ(n.txtnumero.SelStart(), 0);
  EXPECT_EQ(n.txtnumero.SelLength(), 6);
  Type(u"7");
  EXPECT_EQ(FieldText(), u"7");
  // Tabbing in selects too.
  Leave();
  ze::ui::input::Key(ze::ui::keys::kTab, ze::ui::shift::kShift);
  EXPECT_TRUE(n.txtnumero.HasFocus());
  EXPECT_EQ(n.txtnumero.SelLength(), 4);
}

TEST_F(NumericTest, EveryChangeOfTheTextReportsTheValue) {
  ZEInputNumerico& n = NewControl();
  n.SetMassimo(3000);
  SetField(u"");
  FocusAtEnd();
  Type(u"1900");
  EXPECT_EQ(Take(), (Log{"event CambioValore 1", "event CambioValore 19", "event CambioValore 190",
                         "event CambioValore 1900"}));
  // A text that is no number reports 0; so does the empty text.
  n.SetText(u"x");
  n.SetText(u"");
  EXPECT_EQ(Take(), (Log{"event CambioValore 0", "event CambioValore 0"}));
  // The form's own callback hears the same.
  double heard = -1;
  n.onCambioValore = [&](double& v) { heard = v; };
  Type(u"5");
  EXPECT_EQ(heard, 5);
}

TEST_F(NumericTest, TheLocaleIsLookedUpForEveryCharacter) {
  ZEInputNumerico& n = NewControl();
  SetField(u"");
  FocusAtEnd();
  Type(u"1.");
  ze::Locale::SetCurrent("en_US");
  Type(u"5,");
  EXPECT_EQ(FieldText(), u"1,5.");
  (void)n;
}

}  // namespace
}  // namespace zekalendo::testing
