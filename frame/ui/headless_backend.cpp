// The headless backend's virtual clock and modal input.
#include "frame/ui/headless_backend.h"

#include <cmath>

#include "frame/automation/error.h"
#include "frame/ui/event_loop.h"

namespace ze::ui {

namespace {

constexpr double kMsPerDay = 86400000.0;

// A Date serial counts days before day 0 negative but keeps the time of day positive
// (-1.25 is 29 December 1899 06:00); the clock runs on plain linear days instead, where
// adding time is addition.
double LinearFromSerial(double serial) {
  if (serial >= 0) return serial;
  const double day = std::trunc(serial);  // -1 for -1.25
  const double time = day - serial;       // 0.25
  return day + time;                      // -0.75
}

double SerialFromLinear(double linear) {
  if (linear >= 0) return linear;
  const double day = std::floor(linear);
  const double time = linear - day;
  return day - time;
}

Backend* g_installed = nullptr;

// The default backend, created on first use and installed as the clock too, unless a
// clock of someone else's is in force already.
Backend& DefaultBackend() {
  static HeadlessBackend* backend = [] {
    static HeadlessBackend instance;
    if (&ze::CurrentClock() == &ze::SystemClock()) ze::InstallClock(&instance);
    return &instance;
  }();
  return *backend;
}

}  // namespace

Backend& CurrentBackend() {
  return g_installed ? *g_installed : DefaultBackend();
}

void InstallBackend(Backend* backend) {
  g_installed = backend;
}

HeadlessBackend::HeadlessBackend()
    : baseLinear_(LinearFromSerial(ze::SystemClock().Now().serial)) {}

HeadlessBackend::~HeadlessBackend() {
  Uninstall();
}

void HeadlessBackend::Install() {
  InstallBackend(this);
  ze::InstallClock(this);
}

void HeadlessBackend::Uninstall() {
  if (g_installed == this) InstallBackend(nullptr);
  if (&ze::CurrentClock() == this) ze::InstallClock(nullptr);
}

ze::Date HeadlessBackend::Now() {
  return ze::Date(SerialFromLinear(baseLinear_ + static_cast<double>(tick_) / kMsPerDay));
}

void HeadlessBackend::SetNow(ze::Date now) {
  baseLinear_ = LinearFromSerial(now.serial) - static_cast<double>(tick_) / kMsPerDay;
}

void HeadlessBackend::Advance(std::int64_t ms) {
  if (ms < 0) Raise(errors::kInvalidProcedureCall);
  const std::int64_t target = tick_ + ms;
  EventLoop::RunPending();
  EventLoop::RunTimersUntil(target, [this](std::int64_t t) { tick_ = t; });
  if (tick_ < target) tick_ = target;
}

void HeadlessBackend::SleepMs(std::int32_t ms) {
  if (ms > 0) tick_ += ms;
}

bool HeadlessBackend::WaitForInput(Form& modal) {
  if (!driver_) return false;
  auto driver = driver_;  // the driver may replace itself
  return driver(modal);
}

}  // namespace ze::ui
