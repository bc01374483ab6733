// provix2's form as a screen reader and a keyboard-only user meet it, through Qt's
// accessibility interface on the offscreen platform.
#include <gtest/gtest.h>

#include <QtGui/QAccessible>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPushButton>
#include <filesystem>
#include <set>

#include "frame/com/activation.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/desktop.h"
#include "frame/ui/input.h"
#include "sample/provix2/form1.h"
#include "sample/provix2/program.h"

namespace provix2 {
namespace {

class Provix2AccessibleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!qApp) {
      static int argc = 1;
      static char name[] = "provix2_qt_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);  // lives as long as the test program
    }
    folder_ = std::filesystem::temp_directory_path() / ("provix2-a11y-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    std::filesystem::copy_file(ZE_KALENDO_LIBRARY, folder_ / "libzeKalendo.so");
    setenv("ZE_REGISTRO", (folder_ / "registro.db").c_str(), 1);
    cwd_ = std::filesystem::current_path();
    backend_ = std::make_unique<ze::qt::QtBackend>();
    backend_->Install();
    ASSERT_EQ(EnsureKalendoRegistered(folder_.string()), "");
    form_ = Form1::FromDescriptionFile(ZE_FORM1_DESCRIPTION, folder_.string());
    form_->Show();
    backend_->Sync();
    window_ = backend_->WidgetOf(*form_);
    ASSERT_NE(window_, nullptr);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
  }
  void TearDown() override {
    ze::ui::Desktop::UnloadAll();
    form_.reset();
    backend_->Uninstall();
    backend_.reset();
    ze::com::CoFreeUnusedLibraries();
    std::filesystem::current_path(cwd_);
    std::filesystem::remove_all(folder_);
  }

  static QString Name(QWidget* widget) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    return a ? a->text(QAccessible::Name) : QString();
  }

  std::filesystem::path folder_, cwd_;
  std::unique_ptr<ze::qt::QtBackend> backend_;
  std::shared_ptr<Form1> form_;
  QWidget* window_ = nullptr;
};

TEST_F(Provix2AccessibleTest, EveryWidgetIsNamedAndFieldsTakeTheirLabels) {
  std::multiset<QString> fields;
  for (QWidget* widget : window_->findChildren<QWidget*>()) {
    if (!widget->isVisible()) continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(a, nullptr);
    const QAccessible::Role role = a->role();
    if (role == QAccessible::EditableText) fields.insert(Name(widget));
    if (role == QAccessible::EditableText || role == QAccessible::PushButton ||
        role == QAccessible::StaticText) {
      EXPECT_FALSE(Name(widget).isEmpty())
          << "a widget of role " << role << " has no name: " << widget->metaObject()->className();
    }
  }
  EXPECT_EQ(fields, (std::multiset<QString>{"Data Iniziale:", "Data finale:"}));
  EXPECT_EQ(Name(backend_->WidgetOf(form_->Command1())), "MsgBox");
}

TEST_F(Provix2AccessibleTest, TabReachesEveryFieldAndTheButton) {
  ze::ui::input::Focus(form_->Kalendo1().Widget());
  backend_->Sync();
  std::set<QString> reached;
  for (int i = 0; i < 8; ++i) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << "the focus is lost after " << i << " tabs";
    reached.insert(Name(focused));
    QTest::keyClick(focused, Qt::Key_Tab);
  }
  for (const char* name : {"Data Iniziale:", "Data finale:", "MsgBox"})
    EXPECT_TRUE(reached.count(name)) << name << " is never reached by Tab";
}

TEST_F(Provix2AccessibleTest, TheFocusedButtonShowsAFocusMark) {
  QWidget* button = backend_->WidgetOf(form_->Command1());
  ASSERT_NE(button, nullptr);
  ze::ui::input::Focus(form_->Kalendo1().Widget());
  backend_->Sync();
  const QImage unfocused = button->grab().toImage();
  ze::ui::input::Focus(form_->Command1());
  backend_->Sync();
  ASSERT_TRUE(button->hasFocus());
  EXPECT_NE(button->grab().toImage(), unfocused);
}

}  // namespace
}  // namespace provix2
