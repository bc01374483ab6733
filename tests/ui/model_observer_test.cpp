// The model's notices to its views, and a control's place on the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/automation/string.h"
#include "frame/ui/combo_box.h"
#include "frame/ui/control_array.h"
#include "frame/ui/form.h"
#include "frame/ui/input.h"
#include "frame/ui/label.h"
#include "frame/ui/model_observer.h"
#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"
#include "tests/ui/ui_fixture.h"

namespace ze::ui {
namespace {

// Writes every notice down as "what name".
class Recorder : public ModelObserver {
 public:
  std::vector<std::string> log;
  void Changed(Control& c, Aspect what) override {
    static const char* const kAspects[] = {"place", "state", "appearance", "content",
                                           "selection"};
    log.push_back(std::string(kAspects[static_cast<int>(what)]) + " " + ToUtf8(c.Name()));
  }
  void ChildAdded(Control& container, Control& child) override {
    log.push_back("added " + ToUtf8(child.Name()) + " to " + ToUtf8(container.Name()));
  }
  void ChildRemoved(Control& container, Control&) override {
    log.push_back("removed from " + ToUtf8(container.Name()));
  }
  void FormShown(Form& f) override { log.push_back("shown " + ToUtf8(f.Name())); }
  void FormHidden(Form& f) override { log.push_back("hidden " + ToUtf8(f.Name())); }
  std::vector<std::string> Take() { return std::exchange(log, {}); }
};

class Riquadro : public UserControl {
 public:
  Riquadro() : inner(AddChild<TextBox>(u"Inner")) { inner.Move(150, 90, 900, 300); }
  TextBox& inner;
};

class Maschera : public Form {};

class ModelObserverTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    AddModelObserver(recorder_);
  }
  void TearDown() override {
    RemoveModelObserver(recorder_);
    UiTest::TearDown();
  }
  Recorder recorder_;
};

using Lines = std::vector<std::string>;

TEST_F(ModelObserverTest, EachChangeIsToldOnceWithItsAspect) {
  auto form = NewForm<Maschera>();
  auto& field = form->AddChild<TextBox>(u"Text1");
  auto& label = form->AddChild<Label>(u"Label1");
  recorder_.Take();
  field.Move(0, 0, 1500, 300);
  field.SetEnabled(false);
  field.SetForeColor(0xFF);
  field.SetText(u"25/12/2005");
  field.SetSelStart(3);
  label.SetCaption(u"Data:");
  form->SetCaption(u"Form");
  EXPECT_EQ(recorder_.Take(), (Lines{"place Text1", "state Text1", "appearance Text1",
                                   "content Text1", "selection Text1", "content Label1",
                                   "content Form"}));
}

TEST_F(ModelObserverTest, SettingWhatIsAlreadyThereTellsNothing) {
  auto form = NewForm<Maschera>();
  auto& field = form->AddChild<TextBox>(u"Text1");
  auto& label = form->AddChild<Label>(u"Label1");
  field.Move(10, 20, 30, 40);
  field.SetText(u"abc");
  label.SetCaption(u"x");
  recorder_.Take();
  field.Move(10, 20, 30, 40);
  field.SetLeft(10);
  field.SetWidth(30);
  field.SetVisible(true);
  field.SetLocked(false);
  field.SetSelStart(0);  // SetText left the caret at 0
  label.SetCaption(u"x");
  EXPECT_TRUE(recorder_.Take().empty());
}

TEST_F(ModelObserverTest, TypingTellsTheFieldItChanged) {
  auto form = NewForm<Maschera>();
  auto& field = form->AddChild<TextBox>(u"Text1");
  form->Show();
  field.SetFocus();
  recorder_.Take();
  input::Type(u"a");
  const Lines log = recorder_.Take();
  ASSERT_FALSE(log.empty());
  for (const auto& line : log) EXPECT_EQ(line, "content Text1");
  input::Key(0x25);  // left arrow: only the caret moves
  EXPECT_EQ(recorder_.Take(), (Lines{"selection Text1"}));
}

TEST_F(ModelObserverTest, ChildrenComeAndGoAndFormsShowAndHide) {
  auto form = NewForm<Maschera>();
  form->AddChild<Label>(u"Label1");
  auto guest = std::make_unique<TextBox>();
  form->Place(*guest, u"Ospite");
  ControlArray<Label> days(*form, u"lblGio");
  days.Load(1);
  Lines added;
  for (const auto& line : recorder_.Take())
    if (line.rfind("added", 0) == 0) added.push_back(line);
  EXPECT_EQ(added, (Lines{"added Label1 to Form", "added Ospite to Form",
                        "added lblGio to Form", "added lblGio to Form"}));
  guest.reset();
  days.Unload(1);
  form->Show();
  form->Hide();
  form->Show();
  form->Unload();
  const Lines log = recorder_.Take();
  const Lines expected = {"removed from Form", "removed from Form", "shown Form",
                        "hidden Form", "shown Form", "hidden Form"};
  Lines seen;
  for (const auto& line : log)
    if (line.rfind("removed", 0) == 0 || line.rfind("shown", 0) == 0 ||
        line.rfind("hidden", 0) == 0)
      seen.push_back(line);
  EXPECT_EQ(seen, expected);
}

TEST_F(ModelObserverTest, ARemovedObserverHearsNothing) {
  RemoveModelObserver(recorder_);
  auto form = NewForm<Maschera>();
  form->AddChild<Label>(u"Label1").SetCaption(u"x");
  form->Show();
  EXPECT_TRUE(recorder_.Take().empty());
  AddModelObserver(recorder_);
  AddModelObserver(recorder_);  // once is enough
  form->SetCaption(u"y");
  EXPECT_EQ(recorder_.Take(), (Lines{"content Form"}));
}

// ---- the place on the screen ----------------------------------------------------------

TEST_F(ModelObserverTest, APlaceOnTheScreenAddsTheFormAndEveryContainer) {
  auto form = NewForm<Maschera>();
  form->Move(1500, 900, 6000, 4000);  // sizable: 4 pixels of border, 19 of caption
  auto& box = form->AddChild<Riquadro>(u"Riquadro1");
  box.Move(300, 600, 1500, 600);
  auto& field = form->AddChild<TextBox>(u"Text1");
  field.Move(1680, 600, 1215, 315);

  struct Case {
    const char* name;
    const Control* control;
    float left, top, width, height;
    int leftPx, topPx, widthPx, heightPx;
  };
  const Case cases[] = {
      {"form: its window", form.get(), 1500, 900, 6000, 4000, 100, 60, 400, 267},
      {"field on the form", &field, 1500 + 60 + 1680, 900 + 345 + 600, 1215, 315, 216, 123, 81,
       21},
      {"field in a user control", &box.inner, 1500 + 60 + 300 + 150, 900 + 345 + 600 + 90, 900,
       300, 134, 129, 60, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto place = c.control->PlaceOnScreen();
    ASSERT_TRUE(place.has_value());
    EXPECT_FLOAT_EQ(place->left, c.left);
    EXPECT_FLOAT_EQ(place->top, c.top);
    EXPECT_FLOAT_EQ(place->width, c.width);
    EXPECT_FLOAT_EQ(place->height, c.height);
    EXPECT_EQ(place->leftPixels, c.leftPx);
    EXPECT_EQ(place->topPixels, c.topPx);
    EXPECT_EQ(place->widthPixels, c.widthPx);
    EXPECT_EQ(place->heightPixels, c.heightPx);
  }
}

TEST_F(ModelObserverTest, APlaceFollowsTheFrameAndTheResolution) {
  auto form = NewForm<Maschera>();
  form->Move(0, 0, 6000, 4000);
  form->SetBorderStyle(0);  // no frame: the client area is the window
  auto& field = form->AddChild<TextBox>(u"Text1");
  field.Move(150, 300, 900, 300);
  EXPECT_FLOAT_EQ(field.PlaceOnScreen()->left, 150);
  EXPECT_FLOAT_EQ(field.PlaceOnScreen()->top, 300);
  Screen::SetTwipsPerPixel(10, 12);
  EXPECT_EQ(field.PlaceOnScreen()->leftPixels, 15);
  EXPECT_EQ(field.PlaceOnScreen()->topPixels, 25);
  field.Move(-1e30f, 0, 0, 0);  // far outside any screen: the pixels stay in range
  EXPECT_EQ(field.PlaceOnScreen()->leftPixels, INT32_MIN);
}

TEST_F(ModelObserverTest, AControlOnNoFormHasNoPlace) {
  TextBox loose;
  EXPECT_FALSE(loose.PlaceOnScreen().has_value());
  Riquadro box;  // a user control not placed yet
  EXPECT_FALSE(box.inner.PlaceOnScreen().has_value());
}

TEST_F(ModelObserverTest, AskingThePlaceLoadsNoForm) {
  auto form = NewForm<Maschera>();
  bool loaded = false;
  form->onLoad = [&] { loaded = true; };
  auto& field = form->AddChild<TextBox>(u"Text1");
  ASSERT_TRUE(field.PlaceOnScreen().has_value());
  EXPECT_FALSE(loaded);
}

}  // namespace
}  // namespace ze::ui
