// The numeric field's saved property set, its first placement, the pass-through
// properties with the Enabled colours, and its layout.
#include "frame/container/font.h"
#include "tests/numeric/numeric_fixture.h"

namespace zekalendo::testing {
namespace {

using ze::container::Font;
using ze::container::PropertyBag;

TEST_F(NumericTest, ANewFieldHasTheDefaultsAndShowsZero) {
  auto font = std::make_shared<Font>(u"Tahoma", 8);
  site_.SetAmbientFont(font);
  ZEInputNumerico& n = NewControl();
  EXPECT_EQ(n.Massimo(), 100);
  EXPECT_EQ(n.Minimo(), 0);
  EXPECT_EQ(n.Incremento(), 1);
  EXPECT_EQ(n.CifreDecimali(), 2);
  EXPECT_TRUE(n.VisualizzaZero());
  EXPECT_EQ(FieldText(), u"0,00");
  EXPECT_EQ(*n.GetFont(), *font);
  EXPECT_TRUE(n.Enabled());
  EXPECT_FALSE(n.Locked());
}

TEST_F(NumericTest, AnEmptyBagRestoresTheDefaults) {
  ZEInputNumerico& n = NewControl();
  n.SetForeColor(0xFF);
  n.SetEnabled(false);
  PropertyBag empty;
  n.Load(empty);
  EXPECT_EQ(n.Massimo(), 100);
  EXPECT_EQ(n.Minimo(), 0);
  EXPECT_EQ(n.Incremento(), 1);
  EXPECT_EQ(n.CifreDecimali(), 2);
  EXPECT_TRUE(n.VisualizzaZero());
  EXPECT_EQ(*n.GetFont(), *site_.AmbientFont());
  EXPECT_EQ(n.ForeColor(), ZEInputNumerico::kWindowText);
  EXPECT_TRUE(n.Enabled());
  EXPECT_EQ(n.txtnumero.BackColor(), ZEInputNumerico::kWindowBackground);
  EXPECT_FALSE(n.Locked());
  EXPECT_EQ(FieldText(), u"0,00");
}

TEST_F(NumericTest, SettingsSurviveASaveAndARestore) {
  ZEInputNumerico& n = NewControl();
  n.SetMassimo(3000);
  n.SetMinimo(-10);
  n.SetIncremento(0.5);
  n.SetCifreDecimali(1);
  n.SetVisualizzaZero(false);
  n.SetValore(1900.25);
  n.SetFont(std::make_shared<Font>(u"Arial", 12));
  n.SetForeColor(0x0000FF);
  n.SetEnabled(false);
  n.SetLocked(true);
  PropertyBag bag;
  n.Save(bag);

  ZEInputNumerico copy;
  copy.SetSite(&site_);
  copy.Load(bag);
  EXPECT_EQ(copy.Massimo(), 3000);
  EXPECT_EQ(copy.Minimo(), -10);
  EXPECT_EQ(copy.Incremento(), 0.5);
  EXPECT_EQ(copy.CifreDecimali(), 1);
  EXPECT_FALSE(copy.VisualizzaZero());
  EXPECT_EQ(copy.Text(), u"1900,3");
  EXPECT_EQ(copy.GetFont()->Name(), u"Arial");
  EXPECT_EQ(copy.ForeColor(), 0x0000FFu);
  EXPECT_FALSE(copy.Enabled());
  EXPECT_EQ(copy.txtnumero.BackColor(), ZEInputNumerico::kButtonFace);
  EXPECT_TRUE(copy.Locked());
}

TEST_F(NumericTest, SavingWritesOnlyWhatDiffersFromTheDefaults) {
  ZEInputNumerico& n = NewControl();
  PropertyBag bag;
  n.Save(bag);
  for (const char16_t* key :
       {u"Massimo", u"Valore", u"Incremento", u"Minimo", u"Font", u"VisualizzaZero", u"ForeColor",
        u"Enabled", u"Locked", u"CifreDecimali"}) {
    EXPECT_FALSE(bag.Contains(key)) << ze::ToUtf8(key);
  }
  // An empty field while zero is hidden has the value 0: nothing for "Valore".
  n.SetVisualizzaZero(false);
  n.SetValore(0);
  n.SetMassimo(50);
  PropertyBag second;
  n.Save(second);
  EXPECT_FALSE(second.Contains(u"Valore"));
  EXPECT_EQ(second.ReadProperty(u"Massimo"), ze::Variant(50.0));
  EXPECT_EQ(second.ReadProperty(u"VisualizzaZero"), ze::Variant(false));
}

TEST_F(NumericTest, TheCalendarsDesignRestoresItsYearField) {
  ZEInputNumerico& n = NewControl();
  PropertyBag bag;
  bag.WriteProperty(u"Massimo", 3000.0);
  bag.WriteProperty(u"Valore", 1900.0);
  bag.WriteProperty(u"CifreDecimali", std::int16_t{0});
  bag.WriteProperty(u"Font", ze::ObjectRef(std::make_shared<Font>(u"MS Sans Serif", 8.25)));
  n.Load(bag);
  EXPECT_EQ(FieldText(), u"1900");
  EXPECT_EQ(n.Minimo(), 0);
  EXPECT_EQ(n.Incremento(), 1);
  EXPECT_TRUE(n.VisualizzaZero());
}

TEST_F(NumericTest, RestoredLimitsAreNotCheckedButTheValueIs) {
  ZEInputNumerico& n = NewControl();
  PropertyBag bag;
  bag.WriteProperty(u"Massimo", 50.0);
  bag.WriteProperty(u"Minimo", 80.0);
  bag.WriteProperty(u"Valore", 60.0);
  Expect380([&] { n.Load(bag); });
  EXPECT_EQ(n.Massimo(), 50);
  EXPECT_EQ(n.Minimo(), 80);
}

TEST_F(NumericTest, EnabledSetsTheBackgroundColour) {
  ZEInputNumerico& n = NewControl();
  n.SetEnabled(false);
  EXPECT_FALSE(n.txtnumero.Enabled());
  EXPECT_EQ(n.txtnumero.BackColor(), ZEInputNumerico::kButtonFace);
  EXPECT_TRUE(n.EnabledFlag());  // only the inner field is disabled
  n.SetEnabled(true);
  EXPECT_EQ(n.txtnumero.BackColor(), ZEInputNumerico::kWindowBackground);
  EXPECT_EQ(Take(), (Log{"changed Enabled", "changed Enabled"}));
}

TEST_F(NumericTest, TheTextPropertyReadsAndWritesTheFieldAsItStands) {
  ZEInputNumerico& n = NewControl();
  FocusAtEnd();
  Type(u"\b\b7");
  EXPECT_EQ(n.Text(), u"0,7");
  Take();
  n.SetText(u"12,345");
  EXPECT_EQ(n.Text(), u"12,345");
  EXPECT_DOUBLE_EQ(n.valore(), 12.345);
  EXPECT_EQ(Take(), (Log{"event CambioValore 12,345"}));
}

TEST_F(NumericTest, TheFieldFillsTheControl) {
  ZEInputNumerico& n = NewControl();
  n.Move(300, 200, 2000, 400);
  EXPECT_EQ(n.txtnumero.Left(), 0);
  EXPECT_EQ(n.txtnumero.Top(), 0);
  EXPECT_EQ(n.txtnumero.Width(), n.ScaleWidth());
  EXPECT_EQ(n.txtnumero.Height(), n.ScaleHeight());
  // No width: the field keeps its own; the height always follows.
  const float width = n.txtnumero.Width();
  n.Move(300, 200, 0, 250);
  EXPECT_EQ(n.txtnumero.Width(), width);
  EXPECT_EQ(n.txtnumero.Height(), 250);
}

}  // namespace
}  // namespace zekalendo::testing
