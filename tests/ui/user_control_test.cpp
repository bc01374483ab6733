// The container side of a control: lifecycle calls, the site's services (change
// notices, CanPropertyChange, ambient font, extender, events), resize and paint, and
// data binding of one property.
#include "frame/ui/user_control.h"

#include <gtest/gtest.h>

#include "frame/container/data_binding.h"
#include "frame/container/memory_recordset.h"
#include "frame/container/property_bag.h"
#include "frame/ui/form.h"
#include "frame/ui/input.h"
#include "frame/ui/screen.h"
#include "frame/ui/text_box.h"
#include "tests/fixtures/recording_site.h"
#include "tests/ui/ui_fixture.h"

namespace ze::ui {
namespace {

// A small date-like control: a field whose every change notifies "DataText", a
// persisted flag, an event with a by-reference argument, and a layout in Paint.
class Probe : public UserControl {
 public:
  Probe() { Move(0, 0, 2355, 375); }
  String TypeName() const override { return u"Probe"; }

  TextBox& Text1 = AddChild<TextBox>(u"Text1");
  std::vector<std::string> calls;
  bool flag = false;

  // The bindable property.
  String DataText() const { return Text1.Text(); }
  void SetDataText(const String& v) {
    if (!CanPropertyChange(u"DataText")) return;
    Text1.SetText(v);
  }
  void Fire(Variant& arg) {
    std::vector<Variant> args{arg};
    RaiseEventPublic(u"Changed", args);
    arg = args[0];
  }
  std::optional<Variant> Tip() { return ExtenderProperty(u"ToolTipText"); }
  std::shared_ptr<Font> Ambient() { return AmbientFont(); }

 protected:
  void UserControl_InitProperties() override {
    calls.push_back("init");
    Text1.onChange = [this] { PropertyChanged(u"DataText"); };
    Text1.SetText(u"00/00/0000");
  }
  void UserControl_ReadProperties(PropertyBag& bag) override {
    calls.push_back("read");
    Text1.onChange = [this] { PropertyChanged(u"DataText"); };
    const Variant v = bag.ReadProperty(u"Flag", false);
    flag = v.Is<bool>() && v.Get<bool>();
    const Variant t = bag.ReadProperty(u"Text", u"00/00/0000");
    if (t.Is<String>()) Text1.SetText(t.Get<String>());
  }
  void UserControl_WriteProperties(PropertyBag& bag) override {
    calls.push_back("write");
    bag.WriteProperty(u"Flag", flag, false);
    bag.WriteProperty(u"Text", Text1.Text(), u"00/00/0000");
  }
  void UserControl_Paint() override {
    calls.push_back("paint");
    Text1.Move(0, 0, ScaleWidth(), ScaleHeight());
  }
  void UserControl_Resize() override { calls.push_back("resize"); }

 private:
  void RaiseEventPublic(std::u16string_view name, std::vector<Variant>& args) {
    Site().RaiseEvent(name, args);
  }
};

class UserControlTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    site_.SetControl(&probe_);
    site_.onPropertyChanged = [this](std::u16string_view p) { Log("changed " + ToUtf8(p)); };
    site_.onEvent = [this](std::u16string_view e, std::vector<Variant>& args) {
      Log("event " + ToUtf8(e));
      if (!args.empty()) args[0] = Variant(std::int32_t{42});
    };
    probe_.SetSite(&site_);
  }
  fixtures::RecordingSite site_;
  Probe probe_;
};

TEST_F(UserControlTest, NewControlRunsInitAndNotifies) {
  probe_.InitNew();
  EXPECT_EQ(probe_.calls, std::vector<std::string>{"init"});
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"changed DataText"});
  EXPECT_TRUE(site_.Dirty());
}

TEST_F(UserControlTest, SaveAndLoadThroughABag) {
  probe_.InitNew();
  PropertyBag bag;
  probe_.Save(bag);
  EXPECT_TRUE(bag.empty());  // everything at its default
  probe_.flag = true;
  probe_.Text1.SetText(u"25/12/2005");
  probe_.Save(bag);
  EXPECT_EQ(bag.size(), 2u);

  Probe restored;
  restored.Load(bag);
  EXPECT_TRUE(restored.flag);
  EXPECT_EQ(restored.Text1.Text(), u"25/12/2005");
  EXPECT_EQ(restored.calls, std::vector<std::string>{"read"});
}

TEST_F(UserControlTest, EventsReachTheHostSynchronouslyWithByRefArguments) {
  Variant arg(std::int32_t{1});
  probe_.Fire(arg);
  EXPECT_EQ(TakeLog(), std::vector<std::string>{"event Changed"});
  EXPECT_EQ(arg, Variant(std::int32_t{42}));
}

TEST_F(UserControlTest, ExtenderPropertiesMayBeMissing) {
  probe_.SetToolTipText(u"from the base");
  EXPECT_EQ(probe_.Tip(), Variant(u"from the base"));
  site_.SetExtender(u"ToolTipText", Variant(u"from the host"));
  EXPECT_EQ(probe_.Tip(), Variant(u"from the host"));
  site_.RemoveExtender(u"ToolTipText");
  EXPECT_FALSE(probe_.Tip().has_value());
  EXPECT_FALSE(site_.ExtenderProperty(u"NoSuchThing").has_value());
}

TEST_F(UserControlTest, TheDefaultSite) {
  Probe alone;
  alone.InitNew();  // notices go nowhere
  EXPECT_TRUE(TakeLog().empty());
  alone.SetDataText(u"01/01/2000");
  EXPECT_EQ(alone.DataText(), u"01/01/2000");
  EXPECT_EQ(*alone.Ambient(), Font(u"MS Sans Serif", 8));
  alone.SetToolTipText(u"tip");
  EXPECT_EQ(alone.Tip(), Variant(u"tip"));
  Variant arg(std::int32_t{1});
  alone.Fire(arg);
  EXPECT_EQ(arg, Variant(std::int32_t{1}));
  site_.SetAmbientFont(std::make_shared<Font>(u"Arial", 10, true));
  EXPECT_EQ(probe_.Ambient()->Name(), u"Arial");
}

TEST_F(UserControlTest, CanPropertyChangeRefusal) {
  probe_.InitNew();
  site_.Refuse(u"DataText");
  probe_.SetDataText(u"01/01/2000");
  EXPECT_EQ(probe_.DataText(), u"00/00/0000");
  site_.Allow(u"DataText");
  probe_.SetDataText(u"01/01/2000");
  EXPECT_EQ(probe_.DataText(), u"01/01/2000");
}

TEST_F(UserControlTest, ResizeRepaintsAShownControl) {
  auto form = NewForm<Form>();
  form->Place(probe_, u"K1");
  probe_.SetWidth(3000);  // not shown yet: resize, no paint
  form->Show();           // coming into view paints
  probe_.Move(0, 0, 3000, 500);
  probe_.SetLeft(99);  // a move alone is no resize
  probe_.SetVisible(false);
  probe_.SetVisible(true);  // shown again: painted again
  EXPECT_EQ(probe_.calls,
            (std::vector<std::string>{"resize", "paint", "resize", "paint", "paint"}));
  EXPECT_EQ(probe_.Text1.Width(), 3000);
  EXPECT_EQ(probe_.Text1.Height(), 500);
  EXPECT_EQ(probe_.PaintCount(), 3);
  EXPECT_THROW(probe_.SetHeight(-1), AutomationError);
  EXPECT_EQ(probe_.Height(), 500);
}

TEST_F(UserControlTest, ScaleConversions) {
  EXPECT_EQ(probe_.ScaleX(10, scale::kPixels, scale::kTwips), 150);
  EXPECT_EQ(probe_.ScaleY(300, scale::kTwips, scale::kPixels), 20);
  EXPECT_EQ(probe_.ScaleX(1, scale::kInches, scale::kPoints), 72);
  Screen::SetTwipsPerPixel(12, 12);
  EXPECT_EQ(probe_.ScaleX(10, scale::kPixels, scale::kTwips), 120);
  EXPECT_THROW(probe_.ScaleX(1, 9, 1), AutomationError);
  EXPECT_EQ(probe_.ScaleWidth(), 2355);
}

TEST_F(UserControlTest, DataBindingFollowsTheRecordAndEveryEdit) {
  container::Recordset rs({u"Id", u"Data"});
  rs.AddRecord({std::int32_t{1}, u"01/02/2003"});
  rs.AddRecord({std::int32_t{2}, u"04/05/2006"});
  probe_.InitNew();
  site_.Bind(std::make_unique<container::DataBinding>(
      rs, u"Data", u"DataText", [this] { return Variant(probe_.DataText()); },
      [this](const Variant& v) { probe_.SetDataText(v.Get<String>()); }));
  rs.MoveFirst();  // the record arrives in the control...
  EXPECT_EQ(probe_.DataText(), u"01/02/2003");
  EXPECT_FALSE(rs.Edited(0));  // ...without being written back as an edit

  auto form = NewForm<Form>();
  form->Place(probe_, u"K1");
  form->Show();
  probe_.Text1.SetSelStart(0);
  probe_.Text1.SetSelLength(2);
  input::Type(u"9");  // each edit reaches the record at once
  EXPECT_EQ(rs.Field(u"Data"), Variant(u"9/02/2003"));
  EXPECT_TRUE(rs.Edited(0));
  rs.MoveNext();
  EXPECT_EQ(probe_.DataText(), u"04/05/2006");
  EXPECT_EQ(rs.Value(0, u"Data"), Variant(u"9/02/2003"));

  rs.SetReadOnly(true);  // a read-only source refuses the change
  probe_.SetDataText(u"x");
  EXPECT_EQ(probe_.DataText(), u"04/05/2006");
  rs.SetReadOnly(false);
  rs.MoveNext();  // past the end: no current record
  EXPECT_FALSE(site_.CanPropertyChange(u"DataText"));
  EXPECT_TRUE(site_.CanPropertyChange(u"Other"));
  EXPECT_THROW(rs.Field(u"Data"), AutomationError);
  EXPECT_THROW(rs.Field(u"Missing"), AutomationError);
}

}  // namespace
}  // namespace ze::ui
