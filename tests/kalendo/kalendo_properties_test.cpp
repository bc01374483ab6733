// Focus and mouse, the appearance properties, the property bag and the layout.
#include "frame/automation/error.h"
#include "frame/container/property_bag.h"
#include "frame/ui/control.h"
#include "tests/kalendo/kalendo_fixture.h"

namespace zekalendo::testing {
namespace {

using Log = std::vector<std::string>;
using ze::container::PropertyBag;
using ze::Variant;

// The popup button's glyph byte for byte: an 11 by 9 24-bit bitmap, white around a
// black triangle pointing down.
TEST_F(KalendoTest, ButtonGlyphBytesAreUnchanged) {
  Kalendo& k = NewControl();
  const auto picture = k.cmdpop.GetPicture();
  ASSERT_NE(picture, nullptr);
  std::string hex;
  for (char c : picture->Data()) {
    const auto b = static_cast<unsigned char>(c);
    hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
  }
  EXPECT_EQ(hex,
            "424d7a0100000000000036000000280000000b000000090000000100180000000000440100000000"
            "0000000000000000000000000000ffffffffffffffffffffffffffffffffffffffffffffffffffff"
            "ffffffffffffff000000ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff"
            "ffffff000000ffffffffffffffffffffffffffffff000000ffffffffffffffffffffffffffffff00"
            "0000ffffffffffffffffffffffff000000000000000000ffffffffffffffffffffffff000000ffff"
            "ffffffffffffff000000000000000000000000000000ffffffffffffffffff000000ffffffffffff"
            "000000000000000000000000000000000000000000ffffffffffff000000ffffffffffffffffffff"
            "ffffffffffffffffffffffffffffffffffffffffffffff000000ffffffffffffffffffffffffffff"
            "ffffffffffffffffffffffffffffffffffffff000000ffffffffffffffffffffffffffffffffffff"
            "ffffffffffffffffffffffffffffff000000");
}

TEST_F(KalendoTest, InitPropertiesNotifiesFontMouseIconAndTheField) {
  NewControl();
  EXPECT_EQ(initLog_, (Log{"changed Font", "changed MouseIcon", "changed DataText"}));
}

TEST_F(KalendoTest, FocusSelectsTheWholeFieldOnlyWithEvidenzia) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();
  EXPECT_EQ(k.Text1.SelStart(), 0);
  EXPECT_EQ(k.Text1.SelLength(), 10);

  other_->SetFocus();
  k.SetEvidenzia(false);
  Select(4, 0);
  FocusField();
  EXPECT_EQ(k.Text1.SelLength(), 0);
}

TEST_F(KalendoTest, RightButtonCollapsesTheSelectionLeftButtonKeepsIt) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  FocusField();
  Select(3, 4);
  k.Text1.RaiseMouseDown(ze::ui::buttons::kRight, 0, 100, 100);
  EXPECT_EQ(k.Text1.SelLength(), 0);
  EXPECT_EQ(k.Text1.SelStart(), 3);
}

TEST_F(KalendoTest, ClicksReachTheHost) {
  Kalendo& k = NewControl();
  site_.Take();
  k.Text1.RaiseClick();
  k.Text1.RaiseDblClick();
  const Log log = site_.Take();
  EXPECT_NE(std::find(log.begin(), log.end(), "event Click"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "event DblClick"), log.end());
}

TEST_F(KalendoTest, AppearancePropertiesPassThroughAndNotify) {
  Kalendo& k = NewControl();
  site_.Take();
  k.SetBackColor(0x0000FF);
  k.SetForeColor(0x00FF00);
  k.SetLocked(true);
  k.SetEnabled(false);
  EXPECT_EQ(k.Text1.BackColor(), 0x0000FFu);
  EXPECT_EQ(k.Text1.ForeColor(), 0x00FF00u);
  EXPECT_TRUE(k.Text1.Locked());
  EXPECT_FALSE(k.Text1.Enabled());
  EXPECT_FALSE(k.cmdpop.Enabled()) << "the button follows the field";
  EXPECT_EQ(site_.Take(),
            (Log{"changed BackColor", "changed ForeColor", "changed Locked", "changed Enabled"}));
}

TEST_F(KalendoTest, MousePointerAcceptsStandardShapesAndCustom) {
  Kalendo& k = NewControl();
  site_.Take();
  for (std::int32_t bad : {-1, 16, 98, 100, 32767}) {
    try {
      k.SetMousePointer(bad);
      ADD_FAILURE() << bad << " was accepted";
    } catch (const ze::AutomationError& e) {
      EXPECT_EQ(e.number(), 380);
    }
  }
  EXPECT_EQ(k.MousePointer(), 0);
  EXPECT_TRUE(site_.Take().empty());
  k.SetMousePointer(99);
  k.SetMousePointer(15);
  EXPECT_EQ(k.MousePointer(), 15);
  EXPECT_EQ(site_.Take(), (Log{"changed MousePointer", "changed MousePointer"}));
}

TEST_F(KalendoTest, NewInstanceSavesOnlyPopSelezione) {
  Kalendo& k = NewControl();
  PropertyBag bag;
  k.Save(bag);
  ASSERT_EQ(bag.size(), 1u);
  EXPECT_EQ(bag.Entries()[0].name, u"PopSelezione");
  EXPECT_EQ(bag.Entries()[0].value, Variant(false));
}

TEST_F(KalendoTest, BagRoundTripKeepsEverySetting) {
  Kalendo& k = NewControl();
  SetField(u"25/12/2005");
  k.SetBackColor(0x00C0FFEE);
  k.SetForeColor(0x00123456);
  k.SetLocked(true);
  k.SetEnabled(false);
  k.SetMousePointer(11);
  k.SetEvidenzia(false);
  k.SetPopSelezione(true);
  k.SetFont(std::make_shared<ze::container::Font>(u"Arial", 12, true));
  PropertyBag bag;
  k.Save(bag);
  const std::vector<std::u16string> order = {u"BackColor", u"Font", u"ForeColor", u"Locked",
                                             u"MousePointer", u"Text", u"Evidenzia", u"Enabled",
                                             u"PopSelezione"};
  ASSERT_EQ(bag.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(bag.Entries()[i].name, order[i]);

  // Through the text form, as a host's form file keeps it.
  PropertyBag reread;
  reread.Parse(bag.Format());
  Kalendo copy;
  copy.SetSite(&site_);
  copy.Load(reread);
  EXPECT_EQ(copy.Text1.Text(), u"25/12/2005");
  EXPECT_EQ(copy.BackColor(), 0x00C0FFEEu);
  EXPECT_EQ(copy.ForeColor(), 0x00123456u);
  EXPECT_TRUE(copy.Locked());
  EXPECT_FALSE(copy.Enabled());
  EXPECT_FALSE(copy.cmdpop.Enabled());
  EXPECT_EQ(copy.MousePointer(), 11);
  EXPECT_FALSE(copy.Evidenzia());
  EXPECT_TRUE(copy.PopSelezione());
  EXPECT_EQ(copy.GetFont()->Name(), u"Arial");
  EXPECT_TRUE(copy.GetFont()->Bold());
}

TEST_F(KalendoTest, BagFromAnEarlierVersionHasNoButton) {
  PropertyBag bag;
  bag.WriteProperty(u"Text", Variant(std::u16string(u"01/02/2003")));
  Kalendo k;
  k.SetSite(&site_);
  k.Load(bag);
  k.Paint();
  EXPECT_FALSE(k.PopSelezione());
  EXPECT_FALSE(k.cmdpop.Visible());
  EXPECT_EQ(k.Text1.Width(), Kalendo::kDesignWidth);
}

TEST_F(KalendoTest, StoredImpossibleDateIsShownAndReportedOnLeaving) {
  PropertyBag bag;
  bag.WriteProperty(u"Text", Variant(std::u16string(u"31/02/2005")));
  Kalendo& k = NewControl();
  k.Load(bag);
  EXPECT_EQ(k.Text1.Text(), u"31/02/2005");
  FocusField();
  site_.Take();
  other_->SetFocus();
  EXPECT_EQ(site_.Take(), (Log{"event DataNonValida"}));
}

TEST_F(KalendoTest, BagValueOfTheWrongKindStopsTheReadThere) {
  PropertyBag bag;
  bag.WriteProperty(u"BackColor", Variant(std::int32_t{0x00ABCDEF}));
  bag.WriteProperty(u"Locked", Variant(std::u16string(u"sì")));
  bag.WriteProperty(u"Text", Variant(std::u16string(u"01/02/2003")));
  Kalendo k;
  k.SetSite(&site_);
  EXPECT_THROW(k.Load(bag), ze::AutomationError);
  EXPECT_EQ(k.BackColor(), 0x00ABCDEFu) << "the steps before the failure took effect";
  EXPECT_NE(k.Text1.Text(), u"01/02/2003");

  PropertyBag asText;  // a Boolean stored as the text "True" converts like a Let would
  asText.WriteProperty(u"Locked", Variant(std::u16string(u"True")));
  Kalendo k2;
  k2.SetSite(&site_);
  k2.Load(asText);
  EXPECT_TRUE(k2.Locked());
}

struct LayoutCase {
  const char* name;
  bool pop;
  float width, height;
  float fieldWidth, fieldHeight, buttonLeft, buttonSize;
};

class LayoutTest : public KalendoTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, FieldAndButton) {
  const LayoutCase& c = GetParam();
  Kalendo& k = NewControl();
  k.SetPopSelezione(c.pop);
  k.SetWidth(c.width);
  k.SetHeight(c.height);
  k.Paint();
  EXPECT_EQ(k.Text1.Left(), 0);
  EXPECT_EQ(k.Text1.Top(), 0);
  EXPECT_EQ(k.Text1.Width(), c.fieldWidth);
  EXPECT_EQ(k.Text1.Height(), c.fieldHeight);
  EXPECT_EQ(k.cmdpop.Visible(), c.pop);
  if (c.pop) {
    EXPECT_EQ(k.cmdpop.Left(), c.buttonLeft);
    EXPECT_EQ(k.cmdpop.Width(), c.buttonSize);
    EXPECT_EQ(k.cmdpop.Height(), c.buttonSize);
    EXPECT_EQ(k.cmdpop.Top(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kalendo, LayoutTest,
    ::testing::Values(LayoutCase{"DesignSizeWithButton", true, 2355, 375, 1960, 375, 1980, 375},
                      LayoutCase{"DesignSizeWithout", false, 2355, 375, 2355, 375, 0, 0},
                      LayoutCase{"Resized", true, 3000, 500, 2480, 500, 2500, 500},
                      // Too narrow: the field keeps its last width, the button still moves.
                      LayoutCase{"TooNarrow", true, 300, 375, 1960, 375, 1980, 375}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KalendoTest, PopSelezioneShowsTheButtonAtOnce) {
  Kalendo& k = NewControl();
  site_.Take();
  k.SetPopSelezione(true);
  EXPECT_TRUE(k.cmdpop.Visible());
  EXPECT_EQ(k.Text1.Width(), 1960);
  EXPECT_EQ(site_.Take(), (Log{"changed PopSelezione"}));
}

TEST_F(KalendoTest, HostTooltipShowsOverTheField) {
  Kalendo& k = NewControl();
  k.Text1.SetToolTipText(u"prima");
  k.Paint();
  EXPECT_EQ(k.Text1.ToolTipText(), u"prima") << "no extender property: unchanged";
  site_.SetExtender(u"ToolTipText", Variant(std::u16string(u"Data di nascita")));
  k.Paint();
  EXPECT_EQ(k.Text1.ToolTipText(), u"Data di nascita");
}

}  // namespace
}  // namespace zekalendo::testing
