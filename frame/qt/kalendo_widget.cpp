// KalendoWidget: one Kalendo hosted through the registry, shown inside a QWidget (see
// kalendo_widget.h).
#include "frame/qt/kalendo_widget.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QFocusEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QResizeEvent>
#include <QtWidgets/QApplication>
#include <cmath>

#include "frame/automation/civil_date.h"
#include "frame/automation/convert.h"
#include "frame/automation/error.h"
#include "frame/host/hosted_control.h"
#include "frame/qt/appearance.h"
#include "frame/qt/qt_backend.h"
#include "frame/ui/desktop.h"
#include "frame/ui/focus.h"
#include "frame/ui/input.h"
#include "frame/ui/user_control.h"

namespace ze::qt {

namespace {

constexpr char16_t kDataVuota[] = u"00/00/0000";

// The host's backend when it installed one; otherwise one shared by the widgets, made
// with the first and gone with the last.
std::shared_ptr<QtBackend> SharedBackend() {
  static std::weak_ptr<QtBackend> shared;
  if (auto backend = shared.lock()) return backend;
  if (auto* installed = dynamic_cast<QtBackend*>(&ze::ui::CurrentBackend()))
    return std::shared_ptr<QtBackend>(installed, [](QtBackend*) {});  // the host's own
  const bool quitOnLastWindowClosed = QGuiApplication::quitOnLastWindowClosed();
  auto backend = std::make_shared<QtBackend>();
  backend->Install();
  // A Qt program ends with its last window, whatever the forms do.
  QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindowClosed);
  shared = backend;
  return backend;
}

// Qt's calls cannot take an automation error: it is reported, and the call did nothing.
template <class F>
bool Guarded(const char* what, F&& f) {
  try {
    f();
    return true;
  } catch (const ze::AutomationError& e) {
    qWarning("zeKalendo: KalendoWidget::%s: error %d: %s", what, static_cast<int>(e.number()),
             ze::ToUtf8(e.description()).c_str());
    return false;
  }
}

// The automation Date of a day, and back; only the years a Date holds.
bool Representable(const QDate& date) {
  return date.isValid() && date.year() >= ze::civil::kFirstYear &&
         date.year() <= ze::civil::kLastYear;
}

ze::Date DateOf(const QDate& date) {
  return ze::Date(ze::civil::DaysFromCivil(date.year(), date.month(), date.day()));
}

QDate QDateOf(ze::Date date) {
  // Kalendo's valore reads 0 for the empty date and for a text that is no date.
  if (date.serial == 0 || !std::isfinite(date.serial)) return QDate();
  const double day = std::floor(date.serial);
  if (day < ze::civil::kFirstDay || day > ze::civil::kLastDay) return QDate();
  const auto ymd = ze::civil::CivilFromDays(static_cast<std::int32_t>(day));
  return QDate(ymd.year, ymd.month, ymd.day);
}

}  // namespace

struct KalendoWidget::State {
  std::shared_ptr<QtBackend> backend;
  std::shared_ptr<ze::ui::Form> form;
  std::unique_ptr<ze::host::HostedControl> kalendo;
  QString error;
  QSize designed{157, 25};  // the control's designed size, in pixels
  // What the signals last reported.
  QDate date;
  QString text = QString::fromUtf16(kDataVuota);
};

KalendoWidget::KalendoWidget(QWidget* parent) : QWidget(parent), state_(std::make_unique<State>()) {
  State& s = *state_;
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  s.backend = SharedBackend();
  s.form = ze::ui::NewForm<ze::ui::Form>();
  s.form->SetBorderStyle(0);
  s.backend->Embed(*s.form, *this);
  try {
    s.kalendo = ze::host::HostedControl::Create(u"zeKalendo.Kalendo", u"Kalendo1");
  } catch (const ze::AutomationError& e) {
    s.error = ToQString(e.description());
    qWarning("zeKalendo: KalendoWidget: error %d: %s", static_cast<int>(e.number()),
             ze::ToUtf8(e.description()).c_str());
    return;
  }
  ze::host::HostedControl& k = *s.kalendo;
  k.onPropertyChanged = [this](std::u16string_view) { Changed(); };
  k.onEvent = [this](const ze::String& event, std::span<ze::Variant>) {
    if (event == u"DataNonValida")
      emit dataNonValida();
    else if (event == u"ReturnPress")
      emit returnPress();
    else if (event == u"TastoPress")
      emit tastoPress();
  };
  Guarded("create", [&] {
    k.PlaceOn(*s.form);
    k.InitNew();
    ze::ui::UserControl& control = k.Widget();
    s.designed = QSize(PixelsX(control.Width()), PixelsY(control.Height()));
    control.Move(0, 0, control.Width(), control.Height());
    s.form->SetScaleWidth(control.Width());
    s.form->SetScaleHeight(control.Height());
    s.form->Show();
    // Shown, the form is the active one; the keyboard is elsewhere until Qt's focus
    // comes in.
    if (ze::ui::Desktop::Active() == s.form.get()) ze::ui::input::SwitchToOtherApplication();
  });
  s.text = text();
  s.date = date();
  resize(s.designed);
  // Qt's focus is in the field's widget, not in this one: leaving the field is this
  // widget's focus-out to whoever watches it (an item delegate commits its editor's
  // data on it, as a QDataWidgetMapper's automatic submit needs).
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (old && old != this && isAncestorOf(old) && now != this && !isAncestorOf(now)) {
      QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
      QCoreApplication::sendEvent(this, &out);
    }
  });
}

KalendoWidget::~KalendoWidget() {
  State& s = *state_;
  s.kalendo.reset();  // its widget leaves the form
  Guarded("destroy", [&] { s.form->Unload(); });
  s.backend->Unembed(*s.form);
  s.backend->Sync();
  s.form.reset();
}

ze::host::HostedControl* KalendoWidget::control() const {
  return state_->kalendo.get();
}

QString KalendoWidget::errorString() const {
  return state_->error;
}

QDate KalendoWidget::date() const {
  QDate date;
  if (auto* k = control()) Guarded("date", [&] { date = QDateOf(ze::CDate(k->Get(u"valore"))); });
  return date;
}

void KalendoWidget::setDate(const QDate& date) {
  auto* k = control();
  if (!k) return;
  if (!Representable(date)) {
    if (text() != QStringView(kDataVuota)) Guarded("setDate", [&] { k->Call(u"DelData"); });
  } else if (date != this->date()) {
    Guarded("setDate", [&] { k->Let(u"valore", DateOf(date)); });
  }
  state_->backend->Sync();
}

QString KalendoWidget::text() const {
  QString text = QString::fromUtf16(kDataVuota);
  if (auto* k = control())
    Guarded("text", [&] {
      // Kalendo's Text reads the empty date as "".
      const ze::String t = ze::CStr(k->Get(u"Text"));
      if (!t.empty()) text = ToQString(t);
    });
  return text;
}

void KalendoWidget::setText(const QString& text) {
  auto* k = control();
  if (!k) return;
  Guarded("setText", [&] { k->Let(u"Text", FromQString(text)); });
  state_->backend->Sync();
}

bool KalendoWidget::popSelezione() const {
  bool on = false;
  if (auto* k = control())
    Guarded("popSelezione", [&] { on = ze::CBool(k->Get(u"PopSelezione")); });
  return on;
}

void KalendoWidget::setPopSelezione(bool on) {
  auto* k = control();
  if (!k) return;
  Guarded("setPopSelezione", [&] { k->Let(u"PopSelezione", on); });
  state_->backend->Sync();
}

void KalendoWidget::clear() {
  if (auto* k = control()) Guarded("clear", [&] { k->Call(u"DelData"); });
  state_->backend->Sync();
}

QSize KalendoWidget::sizeHint() const {
  return state_->designed;
}

QSize KalendoWidget::minimumSizeHint() const {
  return QSize(state_->designed.height(), state_->designed.height());
}

void KalendoWidget::Changed() {
  // Every edit of the field comes here, from code or the user; the signals say only
  // what differs from what they said last.
  State& s = *state_;
  const QString now = text();
  if (now == s.text) return;
  s.text = now;
  emit textChanged(now);
  const QDate date = this->date();
  if (date == s.date) return;
  s.date = date;
  emit dateChanged(date);
}

void KalendoWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  State& s = *state_;
  if (!s.kalendo) return;
  const float width = TwipsX(event->size().width());
  const float height = TwipsY(event->size().height());
  Guarded("resize", [&] {
    s.form->SetScaleWidth(width);
    s.form->SetScaleHeight(height);
    s.kalendo->Widget().Move(0, 0, width, height);
  });
  s.backend->Sync();
}

void KalendoWidget::FocusField() {
  State& s = *state_;
  // The keyboard comes into the field, as a user's click or Tab there gives it.
  Guarded("focus", [&] {
    const auto order = ze::ui::FocusManager::TabOrder(*s.form, true);
    if (!order.empty()) ze::ui::input::Focus(*order.front());
  });
}

QWidget* KalendoWidget::FieldWidget() {
  State& s = *state_;
  auto inForm = [&] {
    ze::ui::Control* focused = ze::ui::FocusManager::Focused();
    return ze::ui::Desktop::Active() == s.form.get() && focused &&
                   focused->ParentForm() == s.form.get()
               ? focused
               : nullptr;
  };
  if (!inForm()) FocusField();
  ze::ui::Control* focused = inForm();
  return focused ? s.backend->WidgetOf(*focused) : nullptr;
}

bool KalendoWidget::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
      if (state_->kalendo && isEnabled()) {
        QWidget* field = FieldWidget();
        if (field && field != this) {
          QCoreApplication::sendEvent(field, event);
          return true;
        }
      }
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

void KalendoWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (!state_->kalendo) return;
  FocusField();
  state_->backend->Sync();
}

void KalendoWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::EnabledChange) return;
  auto* k = control();
  if (!k) return;
  const bool enabled = isEnabled();
  Guarded("setEnabled", [&] { k->Let(u"Enabled", enabled); });
  state_->backend->Sync();
}

}  // namespace ze::qt
