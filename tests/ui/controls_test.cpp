// The other widgets and services: label arrays, drop-down lists, buttons, message
// boxes, the screen and the pointer.
#include <gtest/gtest.h>

#include "frame/ui/combo_box.h"
#include "frame/ui/command_button.h"
#include "frame/ui/control_array.h"
#include "frame/ui/cursor.h"
#include "frame/ui/form.h"
#include "frame/ui/input.h"
#include "frame/ui/keys.h"
#include "frame/ui/label.h"
#include "frame/ui/message_box.h"
#include "frame/ui/screen.h"
#include "tests/ui/ui_fixture.h"

namespace ze::ui {
namespace {

class Grid : public Form {
 public:
  Grid() {
    lblGio[0].Move(135, 1035, 510, 420);
    lblGio[0].SetVisible(false);
    lblGio[0].SetCaption(u"1");
    lblGio[0].SetBackColor(0x00FFFFFF);
    lblGio[0].SetBorderStyle(1);
    lblGio[0].SetAlignment(2);
    lblGio[0].SetFont(std::make_shared<Font>(u"MS Sans Serif", 9.75));
  }
  ControlArray<Label> lblGio{*this, u"lblGio"};
  ComboBox& cboMese = AddChild<ComboBox>(u"cboMese");
};

using ControlsTest = testing::UiTest;

TEST_F(ControlsTest, LoadingAnArrayElementCopiesElementZeroHidden) {
  auto form = NewForm<Grid>();
  auto& a = form->lblGio;
  a[0].SetVisible(true);  // even a visible template gives hidden copies
  a.Load(1);
  const Label& e = a[1];
  EXPECT_FALSE(e.VisibleFlag());
  EXPECT_EQ(e.Left(), 135);
  EXPECT_EQ(e.Top(), 1035);
  EXPECT_EQ(e.Width(), 510);
  EXPECT_EQ(e.Height(), 420);
  EXPECT_EQ(e.Caption(), u"1");
  EXPECT_EQ(e.BackColor(), 0x00FFFFFFu);
  EXPECT_EQ(e.BorderStyle(), 1);
  EXPECT_EQ(e.Alignment(), 2);
  EXPECT_EQ(*e.GetFont(), *a[0].GetFont());
  EXPECT_NE(e.GetFont(), a[0].GetFont());  // its own font object
  EXPECT_EQ(e.Index(), 1);
  EXPECT_EQ(e.Name(), u"lblGio");
  a[1].SetCaption(u"15");
  EXPECT_EQ(a[0].Caption(), u"1");
}

TEST_F(ControlsTest, ArrayBoundsAndErrors) {
  auto form = NewForm<Grid>();
  auto& a = form->lblGio;
  for (int i = 1; i <= 42; ++i) a.Load(i);
  EXPECT_EQ(a.LBound(), 0);
  EXPECT_EQ(a.UBound(), 42);
  EXPECT_EQ(a.Count(), 43);
  struct {
    const char* name;
    std::function<void()> action;
    std::int32_t number;
  } cases[] = {
      {"element that does not exist", [&] { a[43]; }, 340},
      {"negative index", [&] { a.Load(-1); }, 340},
      {"loaded twice", [&] { a.Load(5); }, 360},
      {"unload the template", [&] { a.Unload(0); }, 362},
      {"unload what is not there", [&] { a.Unload(99); }, 340},
  };
  for (const auto& c : cases) {
    try {
      c.action();
      ADD_FAILURE() << c.name;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.number) << c.name;
    }
  }
  a.Unload(42);
  EXPECT_EQ(a.UBound(), 41);
  a.Load(42);  // an unloaded element can be loaded again
  EXPECT_EQ(a.Count(), 43);
}

TEST_F(ControlsTest, ArrayHandlersGetTheElementIndex) {
  auto form = NewForm<Grid>();
  std::vector<int> clicked;
  form->lblGio.onClick = [&](std::int16_t i) { clicked.push_back(i); };
  form->lblGio.Load(7);
  form->lblGio[7].SetVisible(true);
  form->Show();
  input::Click(form->lblGio[7]);
  input::Click(form->lblGio[0]);  // the hidden template is never clicked
  EXPECT_EQ(clicked, std::vector<int>{7});
  form->lblGio[7].Refresh();
  EXPECT_EQ(form->lblGio[7].RefreshCount(), 1);
}

TEST_F(ControlsTest, DropDownList) {
  auto form = NewForm<Grid>();
  ComboBox& c = form->cboMese;
  int clicks = 0;
  c.onClick = [&] { ++clicks; };
  for (const char16_t* m : {u"GENNAIO", u"FEBBRAIO", u"MARZO"}) c.AddItem(m);
  EXPECT_EQ(c.ListCount(), 3);
  EXPECT_EQ(c.ListIndex(), -1);
  EXPECT_EQ(c.Text(), u"");
  c.SetListIndex(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(c.Text(), u"FEBBRAIO");
  c.SetListIndex(1);  // unchanged from code: no Click
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(c.List(2), u"MARZO");
  EXPECT_EQ(c.List(3), u"");
  EXPECT_THROW(c.List(-2), AutomationError);
  EXPECT_THROW(c.SetListIndex(3), AutomationError);
  EXPECT_THROW(c.SetListIndex(-2), AutomationError);
  EXPECT_THROW(c.AddItem(u"x", 9), AutomationError);
  EXPECT_THROW(c.SetText(u"APRILE"), AutomationError);
  c.SetText(u"marzo");
  EXPECT_EQ(c.ListIndex(), 2);
  EXPECT_EQ(clicks, 2);
  form->Show();
  input::Choose(c, 2);  // a user's choice raises Click even when unchanged
  EXPECT_EQ(clicks, 3);
  EXPECT_TRUE(c.HasFocus());
  input::Key(keys::kUp);
  EXPECT_EQ(c.ListIndex(), 1);
  input::Type(u"g");
  EXPECT_EQ(c.ListIndex(), 0);
  EXPECT_EQ(clicks, 5);
  c.Clear();
  EXPECT_EQ(c.ListCount(), 0);
  EXPECT_EQ(c.ListIndex(), -1);
  EXPECT_EQ(clicks, 5);
}

TEST_F(ControlsTest, CommandButtonClicksFromMouseAndKeys) {
  auto form = NewForm<Form>();
  auto& b = form->AddChild<CommandButton>(u"cmdpop");
  int clicks = 0;
  b.onClick = [&] { ++clicks; };
  form->Show();
  input::Click(b);
  input::Key(keys::kSpace);
  input::Key(keys::kReturn);
  input::RightClick(b);  // no Click from the right button
  EXPECT_EQ(clicks, 3);
  auto picture = std::make_shared<Picture>(container::PictureKind::Bitmap, 11, 9, "glyph");
  b.SetPicture(picture);
  EXPECT_EQ(b.GetPicture(), picture);
}

TEST_F(ControlsTest, MouseEventsCarryButtonAndOrder) {
  auto form = NewForm<Form>();
  auto& b = form->AddChild<CommandButton>(u"b");
  b.Move(0, 0, 300, 200);
  b.onMouseDown = [&](std::int16_t& button, std::int16_t&, float& x, float& y) {
    Log("down " + std::to_string(button) + " " + std::to_string(int(x)) + "," +
        std::to_string(int(y)));
  };
  b.onMouseUp = [&](std::int16_t& button, std::int16_t&, float&, float&) {
    Log("up " + std::to_string(button));
  };
  b.onClick = [&] { Log("click"); };
  b.onDblClick = [&] { Log("dblclick"); };
  form->Show();
  input::DoubleClick(b);
  input::RightClick(b);
  EXPECT_EQ(TakeLog(), (std::vector<std::string>{"down 1 150,100", "up 1", "click", "dblclick",
                                                 "up 1", "down 2 150,100", "up 2"}));
}

TEST_F(ControlsTest, MessageBoxesGoToTheSink) {
  std::vector<MessageBoxRequest> seen;
  EXPECT_EQ(MsgBox(u"no sink"), msgbox::kOk);
  EXPECT_EQ(MsgBox(u"?", msgbox::kYesNo | msgbox::kDefaultButton2), msgbox::kNo);
  EXPECT_EQ(MsgBox(u"?", msgbox::kOkCancel | msgbox::kDefaultButton3), msgbox::kOk);
  SetMessageBoxSink([&](const MessageBoxRequest& r) {
    seen.push_back(r);
    return msgbox::kRetry;
  });
  EXPECT_EQ(MsgBox(u"Disco pieno", msgbox::kRetryCancel | msgbox::kCritical, u"Errore"),
            msgbox::kRetry);
  EXPECT_EQ(MsgBox(u"Ciao"), msgbox::kOk);  // Retry is not a button of this box
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].prompt, u"Disco pieno");
  EXPECT_EQ(seen[0].style, msgbox::kRetryCancel | msgbox::kCritical);
  EXPECT_EQ(seen[0].title, u"Errore");
  EXPECT_EQ(seen[1].title, ApplicationTitle());
  EXPECT_THROW(MsgBox(u"x", 6), AutomationError);
}

TEST_F(ControlsTest, ScreenAndPointer) {
  EXPECT_EQ(Screen::Width(), 1024 * 15);
  EXPECT_EQ(Screen::TwipsPerPixelY(), 15);
  Screen::SetSizePixels(800, 600);
  EXPECT_EQ(Screen::Height(), 9000);
  EXPECT_THROW(Screen::SetSizePixels(0, 600), AutomationError);
  input::MovePointer(10, 20);
  Point p;
  ASSERT_TRUE(GetCursorPos(p));
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 20);
  SetCursorAvailable(false);
  Point untouched{-7, -7};
  EXPECT_FALSE(GetCursorPos(untouched));
  EXPECT_EQ(untouched.x, -7);
  SetCursorAvailable(true);
}

TEST_F(ControlsTest, GeometryRefusesNegativeSizes) {
  auto form = NewForm<Form>();
  auto& l = form->AddChild<Label>(u"l");
  l.Move(10, 20, 30, 40);
  for (auto set : {+[](Label& x) { x.SetWidth(-1); }, +[](Label& x) { x.SetHeight(-0.5f); },
                   +[](Label& x) { x.Move(0, 0, -1, 5); }}) {
    try {
      set(l);
      ADD_FAILURE();
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 380);
    }
  }
  EXPECT_EQ(l.Left(), 10);
  EXPECT_EQ(l.Width(), 30);
  EXPECT_EQ(l.Height(), 40);
  l.SetLeft(-50);  // positions may be negative
  EXPECT_EQ(l.Left(), -50);
  EXPECT_THROW(l.SetMousePointer(16), AutomationError);
  EXPECT_THROW(l.SetMousePointer(-1), AutomationError);
  l.SetMousePointer(99);
  EXPECT_EQ(l.MousePointer(), 99);
  EXPECT_THROW(l.SetFont(nullptr), AutomationError);
}

}  // namespace
}  // namespace ze::ui
