// The Qt backend: installation, time, the modal wait and the host's main loop.
#include "frame/qt/qt_backend.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtCore/QThread>
#include <QtGui/QCursor>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include "frame/automation/error.h"
#include "frame/qt/folder_dialog.h"
#include "frame/qt/message_box_dialog.h"
#include "frame/qt/view.h"
#include "frame/ui/cursor.h"
#include "frame/ui/desktop.h"
#include "frame/ui/folder_picker.h"
#include "frame/ui/form.h"
#include "frame/ui/message_box.h"
#include "frame/ui/screen.h"

namespace ze::qt {

struct QtBackend::State {
  explicit State(QtBackend& backend) : view(backend) {}
  QElapsedTimer clock;
  View view;
  bool installed = false;
  bool quitOnLastWindowClosed = true;  // QApplication's setting before Install
};

QtBackend::QtBackend() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    qFatal("zeKalendo: the Qt backend needs a QApplication, created before it");
  state_ = std::make_unique<State>(*this);
  state_->clock.start();
}

QtBackend::~QtBackend() {
  Uninstall();
}

void QtBackend::Install() {
  State& s = *state_;
  if (s.installed) return;
  s.installed = true;
  ze::ui::InstallBackend(this);
  ze::InstallClock(this);

  // Twips at the real screen's resolution.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const double dpiX = screen->logicalDotsPerInchX();
    const double dpiY = screen->logicalDotsPerInchY();
    if (dpiX > 0 && dpiY > 0)
      ze::ui::Screen::SetTwipsPerPixel(static_cast<float>(1440.0 / dpiX),
                                       static_cast<float>(1440.0 / dpiY));
    const QSize size = screen->geometry().size();
    if (size.width() > 0 && size.height() > 0)
      ze::ui::Screen::SetSizePixels(size.width(), size.height());
  }
  const QPoint pointer = QCursor::pos();
  ze::ui::SetCursorPos(pointer.x(), pointer.y());

  // Message boxes over the active form's window, which shows what the model holds.
  ze::ui::SetMessageBoxSink(MessageBoxDialogSink([this]() -> QWidget* {
    state_->view.Sync();
    return state_->view.ActiveWindow();
  }));
  // The folder picker over the window of the form the caller names, else the active one.
  ze::ui::SetFolderPickerSink(FolderDialogSink([this](ze::ui::WindowHandle owner) -> QWidget* {
    state_->view.Sync();
    if (ze::ui::Form* form = ze::ui::Desktop::FindByHandle(owner))
      if (QWidget* window = state_->view.WidgetOf(*form)) return window;
    return state_->view.ActiveWindow();
  }));

  // Windows come and go with the forms; the host's loop ends when the last form
  // unloads (Run), not when Qt sees no window for a moment.
  s.quitOnLastWindowClosed = QGuiApplication::quitOnLastWindowClosed();
  QGuiApplication::setQuitOnLastWindowClosed(false);
  s.view.SetActive(true);
  s.view.MarkDirty();
}

void QtBackend::Uninstall() {
  State& s = *state_;
  if (!s.installed) return;
  s.installed = false;
  s.view.SetActive(false);
  s.view.Clear();
  QGuiApplication::setQuitOnLastWindowClosed(s.quitOnLastWindowClosed);
  ze::ui::SetMessageBoxSink(nullptr);
  ze::ui::SetFolderPickerSink(nullptr);
  if (&ze::CurrentClock() == this) ze::InstallClock(nullptr);
  if (&ze::ui::CurrentBackend() == this) ze::ui::InstallBackend(nullptr);
}

int QtBackend::Run() {
  State& s = *state_;
  s.view.Sync();
  if (ze::ui::Desktop::OpenForms().empty()) return 0;
  s.view.SetQuitting(false);
  s.view.SetRunning(true);
  const int rc = QCoreApplication::exec();
  s.view.SetRunning(false);
  // Qt quit with forms still loaded: they unload now, with their handlers.
  if (!ze::ui::Desktop::OpenForms().empty()) {
    try {
      ze::ui::Desktop::UnloadAll();
    } catch (const ze::AutomationError& e) {
      qWarning("zeKalendo: unloading the forms: error %d: %s", static_cast<int>(e.number()),
               ze::ToUtf8(e.description()).c_str());
    }
    s.view.Sync();
  }
  return rc;
}

void QtBackend::Sync() {
  state_->view.Sync();
}

QImage QtBackend::RenderForm(ze::ui::Form& form) {
  State& s = *state_;
  s.view.Sync();
  QWidget* window = s.view.WidgetOf(form);
  if (!window || !window->isVisible()) return {};
  return window->grab().toImage();
}

bool QtBackend::SaveFormPng(ze::ui::Form& form, const QString& path) {
  const QImage image = RenderForm(form);
  return !image.isNull() && image.save(path, "PNG");
}

QWidget* QtBackend::WidgetOf(const ze::ui::Control& control) const {
  return state_->view.WidgetOf(control);
}

std::int64_t QtBackend::TickMs() {
  return state_->clock.elapsed();
}

void QtBackend::SleepMs(std::int32_t ms) {
  // What the handler changed before it blocks shows while it waits (a picked day's
  // mark): the windows paint now, as nothing of Qt's loop runs until the sleep ends.
  state_->view.Sync();
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible()) window->repaint();
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

bool QtBackend::WaitForInput(ze::ui::Form& /*modal*/) {
  State& s = *state_;
  s.view.Sync();
  if (s.view.Quitting() || QCoreApplication::closingDown()) return false;
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return !s.view.Quitting();
}

void QtBackend::ShowPending() {
  State& s = *state_;
  s.view.Sync();
  if (QCoreApplication::closingDown()) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtBackend::Embed(ze::ui::Form& form, QWidget& host) {
  state_->view.Embed(form, host);
}

void QtBackend::Unembed(const ze::ui::Form& form) {
  state_->view.Unembed(form);
}

void QtBackend::SetSyncMode(SyncMode mode) {
  state_->view.SetSyncMode(mode);
}

ze::Date QtBackend::Now() {
  return ze::SystemClock().Now();
}

}  // namespace ze::qt
