// The Qt test program's main and the fixture (see qt_fixture.h).
#include "tests/qt/qt_fixture.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QApplication>
#include <algorithm>

#include "frame/automation/locale.h"
#include "frame/ui/desktop.h"
#include "frame/ui/message_box.h"
#include "frame/ui/screen.h"

namespace ze::qt::testing {

void QtBackendTest::SetUp() {
  ze::Locale::SetCurrent("it_IT");
  backend_ = std::make_unique<QtBackend>();
  backend_->Install();
}

void QtBackendTest::TearDown() {
  ze::ui::Desktop::UnloadAll();
  backend_->Sync();
  backend_->Uninstall();
  backend_.reset();
  ze::ui::SetMessageBoxSink(nullptr);
  ze::ui::Screen::Reset();
  // Nothing of a test may stay behind for the next one.
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty())
      << QApplication::topLevelWidgets().size() << " windows left";
}

std::shared_ptr<HostForm> QtBackendTest::NewShownForm(float width, float height) {
  auto form = ze::ui::NewForm<HostForm>();
  form->SetClientSize(width, height);
  form->Show();
  backend_->Sync();
  return form;
}

}  // namespace ze::qt::testing

namespace {
// The offscreen platform says so for every window raised; nothing else is hidden.
QtMessageHandler g_defaultHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  if (g_defaultHandler) g_defaultHandler(type, context, message);
}
}  // namespace

// A QApplication for the whole program, on the offscreen platform unless the
// environment asks for another one.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  g_defaultHandler = qInstallMessageHandler(QuietHandler);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
