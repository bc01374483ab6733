// The numeric field's value model: reading the text, display form, limits and their
// 380s, the commit on leaving, stepping, and the re-show on a setting's change.
#include <algorithm>

#include "tests/numeric/numeric_fixture.h"

namespace zekalendo::testing {
namespace {

struct ShownCase {
  double value;
  std::int16_t decimals;
  std::u16string shown;
  double readBack;
};

TEST_F(NumericTest, ValuesShowInDisplayFormAndReadBackRounded) {
  ZEInputNumerico& n = NewControl();
  n.SetMassimo(1e16);
  n.SetMinimo(-1e16);
  const ShownCase cases[] = {
      {1234.5, 2, u"1234,50", 1234.5},
      {2.999, 2, u"3,00", 3},
      {-3, 2, u"-3,00", -3},
      {0, 2, u"0,00", 0},
      {1.236, 2, u"1,24", 1.24},
      {1.235, 2, u"1,24", 1.24},  // halves away from zero
      {-1.235, 2, u"-1,24", -1.24},
      {1900, 0, u"1900", 1900},
      {2.5, 0, u"3", 3},
      {-2.5, 0, u"-3", -3},
      {0.4, -3, u"0", 0},  // a negative count shows whole numbers too
      {123456789012345, 0, u"123456789012345", 123456789012345},  // beyond the eleven places
      {0.5, 4, u"0,5000", 0.5},
  };
  for (const ShownCase& c : cases) {
    n.SetCifreDecimali(c.decimals);
    n.SetValore(c.value);
    EXPECT_EQ(FieldText(), c.shown) << c.value << " with " << c.decimals;
    EXPECT_DOUBLE_EQ(n.valore(), c.readBack) << c.value << " with " << c.decimals;
  }
}

TEST_F(NumericTest, AnyCountOfDecimalsIsShown) {
  ZEInputNumerico& n = NewControl();
  n.SetValore(1.5);
  n.SetCifreDecimali(32767);
  EXPECT_EQ(FieldText().size(), 2u + 32767u);
  EXPECT_EQ(FieldText().substr(0, 5), u"1,500");
  EXPECT_DOUBLE_EQ(n.valore(), 1.5);
  n.SetCifreDecimali(-32768);
  EXPECT_EQ(FieldText(), u"2");
}

TEST_F(NumericTest, AValueThatRoundsToZeroShowsNoSign) {
  ZEInputNumerico& n = NewControl();
  n.SetMinimo(-1);
  n.SetValore(-0.001);
  EXPECT_EQ(FieldText(), u"0,00");
}

TEST_F(NumericTest, AnyTextReadsAsANumberOrZero) {
  ZEInputNumerico& n = NewControl();
  const std::pair<std::u16string, double> cases[] = {
      {u"12,50", 12.5},
      {u"  12,5  ", 12.5},
      {u"1.234,5", 1234.5},
      {u"-7", -7},
      {u"", 0},
      {u"   ", 0},
      {u"-", 0},
      {u"abc", 0},
      {u"1,2,3", 0},
      {u"--5", 0},
      {u"5-", 0},
      {u"1-2", 0},
      {u"1e400", 0},
      {u",5", 0.5},
      {u"12.5", 125},  // "." groups thousands here, wherever it stands
  };
  for (const auto& [text, value] : cases) {
    SetField(text);
    EXPECT_DOUBLE_EQ(n.valore(), value) << ze::ToUtf8(text);
  }
}

TEST_F(NumericTest, ValoreLetShowsAndNotifiesAfterTheChange) {
  ZEInputNumerico& n = NewControl();
  n.SetValore(42);
  EXPECT_EQ(Take(), (Log{"event CambioValore 42", "changed Valore"}));
  n.SetVisualizzaZero(false);
  Take();
  n.SetValore(0);
  EXPECT_EQ(FieldText(), u"");
  EXPECT_EQ(n.valore(), 0);
  EXPECT_EQ(Take(), (Log{"event CambioValore 0", "changed Valore"}));
}

TEST_F(NumericTest, LimitsAreInclusiveAndOutsideThemIs380) {
  ZEInputNumerico& n = NewControl();
  n.SetValore(100);
  EXPECT_EQ(FieldText(), u"100,00");
  n.SetValore(0);
  EXPECT_EQ(FieldText(), u"0,00");
  Take();
  Expect380([&] { n.SetValore(100.000001); });
  Expect380([&] { n.SetValore(-0.000001); });
  EXPECT_EQ(FieldText(), u"0,00");
  EXPECT_TRUE(Take().empty());
}

TEST_F(NumericTest, LimitsCannotMeetOrCross) {
  ZEInputNumerico& n = NewControl();
  Expect380([&] { n.SetMassimo(0); });
  Expect380([&] { n.SetMassimo(-5); });
  Expect380([&] { n.SetMinimo(100); });
  Expect380([&] { n.SetMinimo(150); });
  EXPECT_EQ(n.Massimo(), 100);
  EXPECT_EQ(n.Minimo(), 0);
  EXPECT_TRUE(Take().empty());
  n.SetMinimo(99.5);
  EXPECT_EQ(n.Minimo(), 99.5);
}

TEST_F(NumericTest, ALimitChangeBringsTheTextInsideWithoutEvents) {
  ZEInputNumerico& n = NewControl();
  n.SetValore(80);
  Take();
  n.SetMassimo(50);
  EXPECT_EQ(FieldText(), u"50,00");
  EXPECT_EQ(Take(), (Log{"event CambioValore 50", "changed Valore", "changed Massimo"}));
  n.SetMinimo(10);
  // Rewritten in display form even though the value did not change.
  SetField(u"20");
  n.SetMinimo(15);
  EXPECT_EQ(FieldText(), u"20,00");
  // An empty field stays empty.
  SetField(u"");
  n.SetMassimo(40);
  EXPECT_EQ(FieldText(), u"");
}

TEST_F(NumericTest, CommitClampsWithTheUpperTestFirst) {
  ZEInputNumerico& n = NewControl();
  FocusAtEnd();
  SetField(u"150");
  Leave();
  EXPECT_EQ(FieldText(), u"100,00");
  EXPECT_EQ(Take(), (Log{"event MassimoSuperato 100", "event CambioValore 100", "changed Valore"}));

  ze::ui::input::Focus(n.txtnumero);
  SetField(u"-5");
  Leave();
  EXPECT_EQ(FieldText(), u"0,00");
  EXPECT_EQ(Take(), (Log{"event MinimoSuperato 0", "event CambioValore 0", "changed Valore"}));

  // A value on a limit crosses nothing.
  ze::ui::input::Focus(n.txtnumero);
  SetField(u"100");
  Leave();
  EXPECT_EQ(Take(), (Log{"event CambioValore 100", "changed Valore"}));
}

TEST_F(NumericTest, CommitOfAnEmptyOrNonNumericField) {
  ZEInputNumerico& n = NewControl();
  ze::ui::input::Focus(n.txtnumero);
  SetField(u"");
  Leave();
  EXPECT_EQ(FieldText(), u"");
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(n.valore(), 0);

  n.SetMinimo(10);
  ze::ui::input::Focus(n.txtnumero);
  SetField(u"abc");
  Leave();
  EXPECT_EQ(FieldText(), u"10,00");
  EXPECT_EQ(ValueOf(Take(), "MinimoSuperato"), 10);
}

TEST_F(NumericTest, AHandlerChangingTheEventsValueChangesNothing) {
  ZEInputNumerico& n = NewControl();
  double seen = 0;
  n.onMassimoSuperato = [&](double& v) {
    seen = v;
    v = 5;
  };
  site_.onEvent = [](std::u16string_view, std::vector<ze::Variant>& args) {
    args[0] = ze::Variant(7.0);
  };
  ze::ui::input::Focus(n.txtnumero);
  SetField(u"300");
  Leave();
  EXPECT_EQ(seen, 100);
  EXPECT_EQ(FieldText(), u"100,00");
}

TEST_F(NumericTest, SteppingClampsShowsAndSelects) {
  ZEInputNumerico& n = NewControl();
  n.SetValore(99.5);
  Take();
  n.IncrementaValore();
  EXPECT_EQ(FieldText(), u"100,00");
  const Log log = Take();
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& l) { return l.find("Superato") != l.npos; }),
            0);
  EXPECT_TRUE(n.txtnumero.HasFocus());
  EXPECT_EQ(n.txtnumero.SelStart(), 0);
  EXPECT_EQ(n.txtnumero.SelLength(), 6);

  n.SetIncremento(0.25);
  n.SetValore(0.1);
  n.DecrementaValore();
  EXPECT_EQ(FieldText(), u"0,00");
  // An empty or non-numeric field counts as 0.
  SetField(u"x");
  n.IncrementaValore();
  EXPECT_EQ(FieldText(), u"0,25");
  // A negative step reverses the buttons.
  n.SetIncremento(-1);
  n.IncrementaValore();
  EXPECT_EQ(FieldText(), u"0,00");
}

TEST_F(NumericTest, OnlyLockedStopsStepping) {
  ZEInputNumerico& n = NewControl();
  n.SetLocked(true);
  n.IncrementaValore();
  EXPECT_EQ(FieldText(), u"0,00");
  n.SetLocked(false);
  n.SetEnabled(false);
  // Disabled: the field steps but cannot take the focus, and no error comes out.
  n.IncrementaValore();
  EXPECT_EQ(FieldText(), u"1,00");
  EXPECT_FALSE(n.txtnumero.HasFocus());
  n.SetEnabled(true);
  n.SetVisible(false);
  n.DecrementaValore();
  EXPECT_EQ(FieldText(), u"0,00");
}

TEST_F(NumericTest, DisplaySettingsShowTheValueAgain) {
  ZEInputNumerico& n = NewControl();
  n.SetValore(12.5);
  Take();
  n.SetCifreDecimali(0);
  EXPECT_EQ(FieldText(), u"13");
  EXPECT_EQ(Take(), (Log{"event CambioValore 13", "changed Valore", "changed CifreDecimali"}));
  n.SetCifreDecimali(3);
  EXPECT_EQ(FieldText(), u"13,000");

  SetField(u"");
  n.SetVisualizzaZero(true);
  EXPECT_EQ(FieldText(), u"0,000");
  n.SetVisualizzaZero(false);
  EXPECT_EQ(FieldText(), u"");
}

TEST_F(NumericTest, ADisplaySettingFailsOverATypedValueOutsideTheLimits) {
  ZEInputNumerico& n = NewControl();
  SetField(u"500");
  Expect380([&] { n.SetCifreDecimali(0); });
  EXPECT_EQ(n.CifreDecimali(), 0);  // stored all the same
  Expect380([&] { n.SetVisualizzaZero(false); });
  EXPECT_FALSE(n.VisualizzaZero());
  EXPECT_EQ(FieldText(), u"500");
  EXPECT_TRUE(Take().empty());
}

// A restored design may hold Minimo >= Massimo, which the Lets never allow.
class CrossedLimitsTest : public NumericTest {
 protected:
  ZEInputNumerico& Restore(double massimo, double minimo) {
    ZEInputNumerico& n = NewControl();
    ze::container::PropertyBag bag;
    bag.WriteProperty(u"Massimo", massimo);
    bag.WriteProperty(u"Minimo", minimo);
    bag.WriteProperty(u"Valore", minimo);
    // Crossed limits admit no value: the restore fails at "Valore", leaving them set.
    if (minimo > massimo) {
      Expect380([&] { n.Load(bag); });
    } else {
      n.Load(bag);
    }
    EXPECT_EQ(n.Massimo(), massimo);
    EXPECT_EQ(n.Minimo(), minimo);
    Take();
    return n;
  }
};

TEST_F(CrossedLimitsTest, CommitReportsTheLimitsAndKeepsTheText) {
  ZEInputNumerico& n = Restore(50, 80);
  ze::ui::input::Focus(n.txtnumero);
  SetField(u"150");
  EXPECT_NO_THROW(Leave());
  EXPECT_EQ(FieldText(), u"150");
  EXPECT_EQ(Take(), (Log{"event MassimoSuperato 50", "event MinimoSuperato 80"}));
  EXPECT_TRUE(other_->HasFocus());
}

TEST_F(CrossedLimitsTest, SteppingChangesNothing) {
  ZEInputNumerico& n = Restore(50, 80);
  SetField(u"60");
  EXPECT_NO_THROW(n.IncrementaValore());
  EXPECT_NO_THROW(n.DecrementaValore());
  EXPECT_EQ(FieldText(), u"60");
  EXPECT_TRUE(Take().empty());
}

TEST_F(CrossedLimitsTest, EqualLimitsAdmitTheirOneValue) {
  ZEInputNumerico& n = Restore(70, 70);
  ze::ui::input::Focus(n.txtnumero);
  SetField(u"5");
  Leave();
  EXPECT_EQ(FieldText(), u"70,00");
  EXPECT_EQ(Take(), (Log{"event MinimoSuperato 70", "event CambioValore 70", "changed Valore"}));
  n.DecrementaValore();
  EXPECT_EQ(FieldText(), u"70,00");
}

}  // namespace
}  // namespace zekalendo::testing
