// The view over the model: a widget per control at its place, the model's changes
// shown after a sync (and nothing touched when nothing changed), widgets gone with
// their controls and forms.
#include <QtCore/QCoreApplication>
#include <QtCore/QPointer>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include "frame/qt/appearance.h"
#include "frame/ui/combo_box.h"
#include "frame/ui/command_button.h"
#include "frame/ui/control_array.h"
#include "frame/ui/label.h"
#include "frame/ui/screen.h"
#include "frame/ui/text_box.h"
#include "frame/ui/timer.h"
#include "frame/ui/user_control.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

using namespace ze::ui;

// A user control with a field inside, as components build theirs.
class Riquadro : public UserControl {
 public:
  Riquadro() : inner(AddChild<TextBox>(u"Inner")) { inner.Move(150, 150, 900, 300); }
  String TypeName() const override { return u"Riquadro"; }
  TextBox& inner;
};

// A control of a kind the view does not know.
class Strano : public Control {
 public:
  String TypeName() const override { return u"Strano"; }
};

// Lets deleteLater happen, as Qt's loop would.
void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ViewTest : public QtBackendTest {};

TEST_F(ViewTest, EachControlGetsItsWidgetAtItsPlace) {
  auto form = ze::ui::NewForm<HostForm>();
  form->SetClientSize(4680, 3195);
  auto& label = form->AddChild<Label>(u"Label1");
  label.Move(240, 660, 1215, 255);
  auto& field = form->AddChild<TextBox>(u"Text1");
  field.Move(1680, 600, 1215, 315);
  auto& button = form->AddChild<CommandButton>(u"Command1");
  button.Move(2880, 1980, 1575, 435);
  auto& list = form->AddChild<ComboBox>(u"Combo1");
  list.Move(0, 0, 1500, 315);
  auto& timer = form->AddChild<Timer>(u"Timer1");
  auto& box = form->AddChild<Riquadro>(u"Riquadro1");
  box.Move(300, 2400, 1500, 600);
  auto& strange = form->AddChild<Strano>(u"Strano1");
  strange.Move(15, 30, 45, 60);
  form->Show();
  backend_->Sync();

  struct Case {
    const char* name;
    const Control* control;
    const char* qtClass;
    QRect geometry;  // pixels, in the container
  };
  const Case cases[] = {
      {"label", &label, "QLabel", QRect(16, 44, 81, 17)},
      {"field", &field, "QLineEdit", QRect(112, 40, 81, 21)},
      {"button", &button, "QPushButton", QRect(192, 132, 105, 29)},
      {"list", &list, "QComboBox", QRect(0, 0, 100, 21)},
      {"user control", &box, "QWidget", QRect(20, 160, 100, 40)},
      {"field inside it", &box.inner, "QLineEdit", QRect(10, 10, 60, 20)},
      {"unknown kind", &strange, "QWidget", QRect(1, 2, 3, 4)},
  };
  QWidget* window = backend_->WidgetOf(*form);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isWindow());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->size(), QSize(312, 213));
  for (const Case& c : cases) {
    QWidget* w = backend_->WidgetOf(*c.control);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_STREQ(w->metaObject()->className(), c.qtClass) << c.name;
    EXPECT_EQ(w->geometry(), c.geometry) << c.name;
    EXPECT_TRUE(w->isVisible()) << c.name;
    EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << c.name;
  }
  EXPECT_EQ(backend_->WidgetOf(box.inner)->parentWidget(), backend_->WidgetOf(box));
  EXPECT_EQ(backend_->WidgetOf(timer), nullptr);  // nothing to see
}

TEST_F(ViewTest, TheWindowFollowsItsForm) {
  auto form = ze::ui::NewForm<HostForm>();
  form->SetCaption(u"Provix N\u00B0 2");
  form->SetClientSize(4680, 3195);
  form->SetLeft(1500);
  form->SetTop(750);
  form->Show();
  backend_->Sync();
  QWidget* window = backend_->WidgetOf(*form);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Provix N\u00B0 2"));
  EXPECT_EQ(window->size(), QSize(312, 213));
  EXPECT_EQ(window->pos(), QPoint(100, 50));

  form->SetCaption(u"Bozza [*]");  // Qt's modified mark is no part of a caption
  form->SetClientSize(3000, 1500);
  form->SetBorderStyle(3);  // fixed dialog: the user cannot resize it
  backend_->Sync();
  window = backend_->WidgetOf(*form);
  ASSERT_NE(window->windowHandle(), nullptr);
  EXPECT_EQ(window->windowHandle()->title(), "Bozza [*]");
  EXPECT_EQ(window->size(), QSize(200, 100));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_TRUE(window->isVisible());  // a new frame does not hide it
}

TEST_F(ViewTest, AFormFarLargerThanTheScreenStaysWithinReason) {
  auto form = ze::ui::NewForm<HostForm>();
  form->SetClientSize(1e9f, 3e38f);
  form->SetLeft(-1e30f);
  form->Show();
  backend_->Sync();
  QWidget* window = backend_->WidgetOf(*form);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->size(), QSize(2 * Screen::WidthPixels(), 2 * Screen::HeightPixels()));
  EXPECT_FALSE(backend_->RenderForm(*form).isNull());
}

TEST_F(ViewTest, ScreenMetricsComeFromTheRealScreen) {
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_FLOAT_EQ(Screen::TwipsPerPixelX(),
                  static_cast<float>(1440.0 / screen->logicalDotsPerInchX()));
  EXPECT_EQ(Screen::WidthPixels(), screen->geometry().width());
  EXPECT_EQ(Screen::HeightPixels(), screen->geometry().height());
}

TEST_F(ViewTest, ModelChangesShowAfterASync) {
  auto form = NewShownForm();
  auto& label = form->AddChild<Label>(u"Label1");
  label.Move(0, 0, 1500, 300);
  auto& field = form->AddChild<TextBox>(u"Text1");
  field.Move(0, 600, 1500, 300);
  backend_->Sync();
  auto* view = Widget<QLabel>(label);
  auto* edit = Widget<QLineEdit>(field);

  label.SetCaption(u"<b>Data</b> &Iniziale && altro");
  label.SetAlignment(1);
  label.SetBorderStyle(1);
  label.SetBackStyle(0);
  field.SetText(u"25/12/2005");
  field.SetSelStart(3);
  field.SetSelLength(2);
  field.SetLocked(true);
  field.SetBackColor(0x000000FF);
  field.SetForeColor(colors::kWindowText);
  field.SetToolTipText(u"<i>data</i>");
  field.SetMousePointer(11);
  field.Move(150, 600, 1500, 450);
  backend_->Sync();

  EXPECT_EQ(view->text(), "<b>Data</b> Iniziale & altro");  // plain text, access key gone
  EXPECT_EQ(view->textFormat(), Qt::PlainText);
  EXPECT_TRUE(view->alignment() & Qt::AlignRight);
  EXPECT_EQ(view->frameShape(), QFrame::Panel);
  EXPECT_FALSE(view->autoFillBackground());  // transparent
  EXPECT_EQ(edit->text(), "25/12/2005");
  EXPECT_EQ(edit->selectedText(), "12");
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), QColor(255, 0, 0));
  EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text),
            QApplication::palette().color(QPalette::Active, QPalette::Text));
  EXPECT_TRUE(edit->toolTip().contains("&lt;i&gt;data"));  // shown as written
  EXPECT_EQ(edit->cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(edit->geometry(), QRect(10, 40, 100, 30));

  field.SetEnabled(false);
  label.SetVisible(false);
  backend_->Sync();
  EXPECT_FALSE(edit->isEnabled());
  EXPECT_FALSE(view->isVisible());
}

TEST_F(ViewTest, LabelsWrapOnlyWithRoomForASecondLine) {
  auto form = NewShownForm();
  auto& oneLine = form->AddChild<Label>(u"Label1");
  oneLine.Move(240, 660, 1215, 255);  // the sample's label: one line of 9.75 points
  oneLine.SetFont(std::make_shared<ze::container::Font>(u"MS Sans Serif", 9.75));
  oneLine.SetCaption(u"Data Iniziale:");
  auto& tall = form->AddChild<Label>(u"Label2");
  tall.Move(240, 1140, 1215, 1200);
  tall.SetCaption(u"Una didascalia lunga su piu righe");
  backend_->Sync();
  EXPECT_FALSE(Widget<QLabel>(oneLine)->wordWrap());
  EXPECT_TRUE(Widget<QLabel>(tall)->wordWrap());
  tall.SetHeight(200);  // no room any more
  backend_->Sync();
  EXPECT_FALSE(Widget<QLabel>(tall)->wordWrap());
}

TEST_F(ViewTest, SelectionKeepsItsDirection) {
  auto form = NewShownForm();
  auto& field = form->AddChild<TextBox>(u"Text1");
  field.SetText(u"abcdef");
  // A selection made backwards (Shift+Left) keeps its caret at the low end.
  field.PlaceCaret(5);
  field.PlaceCaret(2, /*extend=*/true);
  backend_->Sync();
  auto* edit = Widget<QLineEdit>(field);
  EXPECT_EQ(edit->selectedText(), "cde");
  EXPECT_EQ(edit->cursorPosition(), 2);
  field.PlaceCaret(4);
  backend_->Sync();
  EXPECT_FALSE(edit->hasSelectedText());
  EXPECT_EQ(edit->cursorPosition(), 4);
}

TEST_F(ViewTest, LongTextShowsWhole) {
  // Qt's line edit cuts at 32767 characters on its own; the model decides the length.
  auto form = NewShownForm();
  auto& field = form->AddChild<TextBox>(u"Text1");
  field.SetText(std::u16string(40000, u'x') + u"fine");
  backend_->Sync();
  EXPECT_EQ(Widget<QLineEdit>(field)->text().size(), 40004);
}

TEST_F(ViewTest, UnchangedModelTouchesNoWidget) {
  auto form = NewShownForm();
  auto& field = form->AddChild<TextBox>(u"Text1");
  field.SetText(u"25/12/2005");
  auto& list = form->AddChild<ComboBox>(u"Combo1");
  list.AddItem(u"gennaio");
  list.AddItem(u"febbraio");
  list.SetListIndex(1);
  backend_->Sync();
  auto* edit = Widget<QLineEdit>(field);
  auto* combo = Widget<QComboBox>(list);
  QWidget* window = backend_->WidgetOf(*form);
  int edits = 0, selections = 0, choices = 0, titles = 0, fonts = 0;
  QObject::connect(edit, &QLineEdit::textChanged, [&] { ++edits; });
  QObject::connect(edit, &QLineEdit::cursorPositionChanged, [&] { ++selections; });
  QObject::connect(combo, &QComboBox::currentIndexChanged, [&] { ++choices; });
  QObject::connect(window, &QWidget::windowTitleChanged, [&] { ++titles; });
  class FontWatch : public QObject {
   public:
    explicit FontWatch(int& n) : n_(n) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::FontChange || e->type() == QEvent::PaletteChange) ++n_;
      return false;
    }
    int& n_;
  } watch(fonts);
  edit->installEventFilter(&watch);
  for (int i = 0; i < 5; ++i) backend_->Sync();
  EXPECT_EQ(edits + selections + choices + titles + fonts, 0);
  // A change is pushed once.
  field.SetText(u"01/01/2006");
  for (int i = 0; i < 3; ++i) backend_->Sync();
  EXPECT_EQ(edits, 1);
  edit->removeEventFilter(&watch);
}

TEST_F(ViewTest, DropDownListShowsItsEntries) {
  auto form = NewShownForm();
  auto& list = form->AddChild<ComboBox>(u"Combo1");
  for (const char16_t* month : {u"gennaio", u"febbraio", u"marzo"}) list.AddItem(month);
  list.SetListIndex(2);
  backend_->Sync();
  auto* combo = Widget<QComboBox>(list);
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(1), "febbraio");
  EXPECT_EQ(combo->currentIndex(), 2);
  list.RemoveItem(0);  // the model's index follows its own rules; the view shows them
  list.SetList(0, u"Febbraio");
  backend_->Sync();
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(0), "Febbraio");
  EXPECT_EQ(combo->currentIndex(), list.ListIndex());
  list.Clear();
  backend_->Sync();
  EXPECT_EQ(combo->count(), 0);
  EXPECT_EQ(combo->currentIndex(), -1);
}

TEST_F(ViewTest, WidgetsGoWithTheirControls) {
  auto form = NewShownForm();
  auto placed = std::make_unique<TextBox>();
  form->Place(*placed, u"Ospite");
  ControlArray<Label> labels(*form, u"lblGio");
  labels.Load(1);
  labels[1].SetVisible(true);
  backend_->Sync();
  QPointer<QWidget> guest = backend_->WidgetOf(*placed);
  QPointer<QWidget> second = backend_->WidgetOf(labels[1]);
  ASSERT_TRUE(guest && second);
  placed.reset();
  labels.Unload(1);
  backend_->Sync();
  EXPECT_FALSE(guest->isVisible());  // hidden at once, deleted from the loop
  Settle();
  EXPECT_TRUE(guest.isNull());
  EXPECT_TRUE(second.isNull());
  EXPECT_NE(backend_->WidgetOf(labels[0]), nullptr);
}

TEST_F(ViewTest, ReorderedAndAddedControlsKeepTheirWidgets) {
  auto form = NewShownForm();
  auto& a = form->AddChild<TextBox>(u"A");
  auto& b = form->AddChild<TextBox>(u"B");
  auto& c = form->AddChild<TextBox>(u"C");
  a.Move(0, 0, 1500, 300);
  b.Move(0, 450, 1500, 300);
  c.Move(0, 900, 1500, 300);
  backend_->Sync();
  QWidget* wa = backend_->WidgetOf(a);
  QWidget* wb = backend_->WidgetOf(b);
  QWidget* wc = backend_->WidgetOf(c);
  // The tab order is the order the view meets them in: it changes, the widgets stay.
  c.SetTabIndex(0);
  auto& d = form->AddChild<TextBox>(u"D");
  d.Move(0, 1350, 1500, 300);
  b.SetTabIndex(0);
  a.SetText(u"a");
  c.SetText(u"c");
  backend_->Sync();
  EXPECT_EQ(backend_->WidgetOf(a), wa);
  EXPECT_EQ(backend_->WidgetOf(b), wb);
  EXPECT_EQ(backend_->WidgetOf(c), wc);
  EXPECT_EQ(static_cast<QLineEdit*>(wa)->text(), "a");
  EXPECT_EQ(static_cast<QLineEdit*>(wc)->text(), "c");
  ASSERT_NE(backend_->WidgetOf(d), nullptr);
  EXPECT_EQ(backend_->WidgetOf(d)->geometry(), QRect(0, 90, 100, 20));
  EXPECT_EQ(wb->geometry(), QRect(0, 30, 100, 20));
}

TEST_F(ViewTest, HiddenFormsLoseTheirWindows) {
  auto form = NewShownForm();
  QPointer<QWidget> window = backend_->WidgetOf(*form);
  ASSERT_TRUE(window);
  form->Hide();
  EXPECT_FALSE(window->isVisible());  // at once, before any sync
  backend_->Sync();
  Settle();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(backend_->WidgetOf(*form), nullptr);
  form->Show();
  EXPECT_NE(backend_->WidgetOf(*form), nullptr);  // a pending sync runs first
  form->Unload();
  EXPECT_EQ(backend_->WidgetOf(*form), nullptr);
}

TEST_F(ViewTest, OwnedFormsAreOwnedWindows) {
  auto owner = NewShownForm();
  auto owned = ze::ui::NewForm<HostForm>();
  owned->SetClientSize(1500, 1500);
  owned->Show(kModeless, owner.get());
  backend_->Sync();
  QWidget* window = backend_->WidgetOf(*owned);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->parentWidget(), backend_->WidgetOf(*owner));
  // The owner unloading takes the owned form (and its window) with it.
  owner->Unload();
  backend_->Sync();
  EXPECT_FALSE(owned->IsLoaded());
  EXPECT_EQ(backend_->WidgetOf(*owned), nullptr);
}

TEST_F(ViewTest, AnUninstalledBackendShowsNothing) {
  auto form = NewShownForm();
  QPointer<QWidget> window = backend_->WidgetOf(*form);
  ASSERT_TRUE(window);
  backend_->Uninstall();
  EXPECT_TRUE(window.isNull());
  backend_->Sync();
  EXPECT_EQ(backend_->WidgetOf(*form), nullptr);
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
  backend_->Install();  // for the fixture's tear-down
}

}  // namespace
}  // namespace ze::qt::testing
