// provix2's form on the Qt backend (offscreen): what it looks like, and the scripted
// session of the main job, which drives it through real Qt key and mouse events, and
// what a screen reader and a keyboard-only user meet (Qt's accessibility interface).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QtGui/QAccessible>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>

#include <filesystem>
#include <set>
#include <sstream>

#include "frame/com/activation.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/desktop.h"
#include "frame/ui/input.h"
#include "sample/provix2/form1.h"
#include "sample/provix2/program.h"
#include "sample/provix2/scripted_session.h"

namespace provix2 {
namespace {

class Provix2QtTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "provix2_qt_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("provix2-qt-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    PrepareFolder();
    std::filesystem::copy_file(ZE_KALENDO_LIBRARY, folder_ / "libzeKalendo.so");
    setenv("ZE_REGISTRO", (folder_ / "registro.db").c_str(), 1);
    cwd_ = std::filesystem::current_path();
    backend_ = std::make_unique<ze::qt::QtBackend>();
    backend_->Install();
    ASSERT_EQ(EnsureKalendoRegistered(folder_.string()), "");
    form_ = Form1::FromDescriptionFile(ZE_FORM1_DESCRIPTION, folder_.string());
    form_->Show();
    backend_->Sync();
  }
  // What stands in the program's folder before the form opens.
  virtual void PrepareFolder() {}
  void TearDown() override {
    ze::ui::Desktop::UnloadAll();
    form_.reset();
    backend_->Uninstall();
    backend_.reset();
    ze::com::CoFreeUnusedLibraries();
    std::filesystem::current_path(cwd_);
    std::filesystem::remove_all(folder_);
  }

  static QApplication* app_;
  std::filesystem::path folder_, cwd_;
  std::unique_ptr<ze::qt::QtBackend> backend_;
  std::shared_ptr<Form1> form_;
};
QApplication* Provix2QtTest::app_ = nullptr;

// Whether something is drawn in a rectangle of the image: text in any colours shows
// as a strong contrast between its lightest and darkest pixels.
bool HasInk(const QImage& image, QRect area) {
  int lightest = 0, darkest = 255;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const int gray = qGray(image.pixel(x, y));
      lightest = std::max(lightest, gray);
      darkest = std::min(darkest, gray);
    }
  }
  return lightest - darkest > 100;
}

TEST_F(Provix2QtTest, FormLooksAsDesigned) {
  const QImage image = backend_->RenderForm(*form_);
  ASSERT_FALSE(image.isNull());
  // 4680 by 3195 twips at 15 twips a pixel.
  EXPECT_EQ(image.size(), QSize(312, 213));
  const std::string path = (folder_ / "form1.png").string();
  EXPECT_TRUE(backend_->SaveFormPng(*form_, QString::fromStdString(path)));
  EXPECT_GT(std::filesystem::file_size(path), 500u);
  // Each label, each date field and the button carry text; the area between is blank.
  EXPECT_TRUE(HasInk(image, QRect(16, 44, 60, 17)));    // Label1(0)
  EXPECT_TRUE(HasInk(image, QRect(114, 42, 75, 17)));   // Kalendo1's date
  EXPECT_TRUE(HasInk(image, QRect(114, 74, 75, 17)));   // Kalendo2's date
  EXPECT_TRUE(HasInk(image, QRect(195, 134, 100, 25))); // Command1
  EXPECT_FALSE(HasInk(image, QRect(20, 100, 80, 20)));
}

TEST_F(Provix2QtTest, ScriptedSessionPasses) {
  std::ostringstream out;
  const int rc = RunScriptedSession(*backend_, *form_, (folder_ / "screens").string(), out);
  EXPECT_EQ(rc, 0) << out.str();
  EXPECT_NE(out.str().find("1 | 2011-08-15 | NULL"), std::string::npos) << out.str();
  EXPECT_TRUE(std::filesystem::exists(folder_ / "screens" / "03-data-non-valida.png"));
}

// A database in which the session's save cannot succeed: the session must say so and
// end with a failure, never pass for a completed one.
struct FailingSave {
  const char* name;
  const char* sql;
};

class Provix2FailingSaveTest : public Provix2QtTest,
                               public ::testing::WithParamInterface<FailingSave> {
 protected:
  void PrepareFolder() override {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((folder_ / "provix2.db").c_str(), &db), SQLITE_OK);
    const int rc = sqlite3_exec(db, GetParam().sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK);
  }
};

TEST_P(Provix2FailingSaveTest, TheSessionReportsTheFailure) {
  std::ostringstream out;
  const int rc = RunScriptedSession(*backend_, *form_, "", out);
  EXPECT_EQ(rc, 1) << out.str();
  EXPECT_NE(out.str().find("NON RIUSCITO: il primo record ha la nuova data"), std::string::npos)
      << out.str();
  EXPECT_EQ(out.str().find("sessione completata"), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("2011-08-15"), std::string::npos) << "nothing was saved";
}

constexpr const char* kSampleTable =
    "CREATE TABLE Data (ID INTEGER PRIMARY KEY, DataIniziale TEXT, DataFinale TEXT);";

INSTANTIATE_TEST_SUITE_P(
    Provix2, Provix2FailingSaveTest,
    ::testing::Values(FailingSave{"EmptyTable", kSampleTable},
                      FailingSave{"Constraint",
                                  "CREATE TABLE Data (ID INTEGER PRIMARY KEY, DataIniziale TEXT "
                                  "CHECK (DataIniziale < '2010'), DataFinale TEXT);"
                                  "INSERT INTO Data (DataIniziale, DataFinale) VALUES "
                                  "('2005-09-01', NULL), ('2006-01-10', NULL);"},
                      FailingSave{"RefusedByTrigger",
                                  "CREATE TABLE Data (ID INTEGER PRIMARY KEY, DataIniziale TEXT, "
                                  "DataFinale TEXT);"
                                  "INSERT INTO Data (DataIniziale, DataFinale) VALUES "
                                  "('2005-09-01', NULL), ('2006-01-10', NULL);"
                                  "CREATE TRIGGER sola_lettura BEFORE UPDATE ON Data "
                                  "BEGIN SELECT RAISE(ABORT, 'archivio chiuso'); END;"}),
    [](const auto& info) { return std::string(info.param.name); });
// The form's window, active, as a screen reader and a keyboard-only user meet it.
QWidget* ActiveWindow(ze::qt::QtBackend& backend, Form1& form) {
  QWidget* window = backend.WidgetOf(form);
  if (!window) return nullptr;
  window->activateWindow();
  return QTest::qWaitForWindowActive(window) ? window : nullptr;
}

QString Name(QWidget* widget) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
  return a ? a->text(QAccessible::Name) : QString();
}

TEST_F(Provix2QtTest, EveryWidgetIsNamedAndFieldsTakeTheirLabels) {
  QWidget* window = ActiveWindow(*backend_, *form_);
  ASSERT_NE(window, nullptr);
  std::multiset<QString> fields;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
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

TEST_F(Provix2QtTest, TabReachesEveryFieldAndTheButton) {
  ASSERT_NE(ActiveWindow(*backend_, *form_), nullptr);
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

TEST_F(Provix2QtTest, TheFocusedButtonShowsAFocusMark) {
  ASSERT_NE(ActiveWindow(*backend_, *form_), nullptr);
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
