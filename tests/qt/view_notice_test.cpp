// The view follows the model's notices: a change reaches its widget, a control nobody
// changed is not touched, controls added and removed come and go, and a kind of control
// gets its widget from the factory registered for it.
#include <QtCore/QCoreApplication>
#include <QtCore/QPointer>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QSpinBox>
#include <map>

#include "frame/container/font.h"
#include "frame/qt/widget_factory.h"
#include "frame/ui/label.h"
#include "frame/ui/text_box.h"
#include "frame/ui/user_control.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

using namespace ze::ui;

// A kind of control of its own: a number the view shows in a spin box.
class Contatore : public Control {
 public:
  String TypeName() const override { return u"Contatore"; }
  const std::type_info& ViewType() const override { return typeid(Contatore); }
  int Value() const { return value_; }
  void SetValue(int value) {
    value_ = value;
    Notify(Aspect::Content);
  }

 private:
  int value_ = 0;
};

// A subclass shows as the kind it derives from.
class ContatoreRosso : public Contatore {};

// How often the factory pushed each control's own state.
std::map<const Control*, int>& Pushes() {
  static std::map<const Control*, int> pushes;
  return pushes;
}

void RegisterContatore() {
  WidgetFactory factory;
  factory.kind = Kind::Other;
  // Owned by its parent, as every widget the view makes.
  factory.create = [](QWidget* parent) -> QWidget* { return new QSpinBox(parent); };
  factory.update = [](Control& control, QWidget& widget, Pushed&, AppearanceCache&) {
    ++Pushes()[&control];
    static_cast<QSpinBox&>(widget).setValue(static_cast<Contatore&>(control).Value());
  };
  RegisterWidgetFactory(typeid(Contatore), factory);
}

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ViewNoticeTest : public QtBackendTest {
 protected:
  void SetUp() override {
    QtBackendTest::SetUp();
    RegisterContatore();
    Pushes().clear();
  }
};

TEST_F(ViewNoticeTest, AKindGetsItsWidgetFromItsFactory) {
  auto form = NewShownForm();
  auto& a = form->AddChild<Contatore>(u"A");
  auto& red = form->AddChild<ContatoreRosso>(u"Rosso");
  a.Move(0, 0, 900, 300);
  a.SetValue(7);
  red.SetValue(3);
  backend_->Sync();
  auto* spin = Widget<QSpinBox>(a);
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->value(), 7);
  EXPECT_EQ(spin->geometry(), QRect(0, 0, 60, 20));  // the common state too
  ASSERT_NE(Widget<QSpinBox>(red), nullptr);
  EXPECT_EQ(Widget<QSpinBox>(red)->value(), 3);
}

TEST_F(ViewNoticeTest, OnlyTheChangedControlIsTouched) {
  auto form = NewShownForm();
  Contatore* counters[3];
  for (int i = 0; i < 3; ++i) counters[i] = &form->AddChild<Contatore>(u"C");
  backend_->Sync();
  Pushes().clear();
  for (int i = 0; i < 3; ++i) backend_->Sync();
  EXPECT_TRUE(Pushes().empty()) << "an unchanged model pushed something";
  counters[1]->SetValue(42);
  counters[1]->SetValue(43);  // two notices, one push
  backend_->Sync();
  EXPECT_EQ(Pushes().size(), 1u);
  EXPECT_EQ(Pushes()[counters[1]], 1);
  EXPECT_EQ(Widget<QSpinBox>(*counters[1])->value(), 43);
  EXPECT_EQ(Widget<QSpinBox>(*counters[0])->value(), 0);
}

TEST_F(ViewNoticeTest, AChangedFontObjectShowsThoughNoControlWasTold) {
  auto form = NewShownForm();
  auto& label = form->AddChild<Label>(u"Label1");
  label.Move(0, 0, 1500, 300);
  backend_->Sync();
  label.GetFont()->SetBold(true);  // the shared object, changed in place
  backend_->Sync();
  EXPECT_TRUE(Widget<QLabel>(label)->font().bold());
}

TEST_F(ViewNoticeTest, AddedAndRemovedControlsComeAndGo) {
  auto form = NewShownForm();
  auto& first = form->AddChild<TextBox>(u"Text1");
  backend_->Sync();
  auto& second = form->AddChild<TextBox>(u"Text2");
  second.SetText(u"nuovo");
  auto guest = std::make_unique<Contatore>();
  form->Place(*guest, u"Ospite");
  backend_->Sync();
  ASSERT_NE(Widget<QLineEdit>(second), nullptr);
  EXPECT_EQ(Widget<QLineEdit>(second)->text(), "nuovo");
  QPointer<QWidget> gone = backend_->WidgetOf(*guest);
  ASSERT_TRUE(gone);
  guest.reset();
  backend_->Sync();
  Settle();
  EXPECT_TRUE(gone.isNull());
  EXPECT_NE(backend_->WidgetOf(first), nullptr);
}

TEST_F(ViewNoticeTest, ChangesWhileAFormIsHiddenShowWhenItShowsAgain) {
  auto form = NewShownForm();
  auto& field = form->AddChild<TextBox>(u"Text1");
  backend_->Sync();
  form->Hide();
  backend_->Sync();
  field.SetText(u"mentre era nascosta");
  form->Show();
  backend_->Sync();
  EXPECT_EQ(Widget<QLineEdit>(field)->text(), "mentre era nascosta");
}

TEST_F(ViewNoticeTest, BothSyncModesShowTheSame) {
  auto form = NewShownForm();
  auto& field = form->AddChild<TextBox>(u"Text1");
  backend_->SetSyncMode(SyncMode::Everything);
  field.SetText(u"a");
  backend_->Sync();
  EXPECT_EQ(Widget<QLineEdit>(field)->text(), "a");
  backend_->SetSyncMode(SyncMode::Changes);
  field.SetText(u"b");
  backend_->Sync();
  EXPECT_EQ(Widget<QLineEdit>(field)->text(), "b");
}

}  // namespace
}  // namespace ze::qt::testing
