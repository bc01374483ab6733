// The system clock and the installed-clock slot.
#include "frame/automation/clock.h"

#include <ctime>

#include <chrono>

namespace ze {

namespace {

// Day number of 1899-12-30 counted from 1970-01-01.
constexpr double kEpochOffsetDays = 25569.0;

class LocalSystemClock final : public Clock {
 public:
  Date Now() override {
    const auto now = std::chrono::system_clock::now();
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count();
    std::time_t secs = static_cast<std::time_t>(micros / 1000000);
    std::tm local{};
    if (localtime_r(&secs, &local) == nullptr) return Date(kEpochOffsetDays);
    // Local wall-clock seconds since 1970, then days; a serial's fraction is always the
    // time of day, so split days and seconds before combining.
    const long long wall = static_cast<long long>(secs) + local.tm_gmtoff;
    long long days = wall / 86400;
    long long rest = wall % 86400;
    if (rest < 0) rest += 86400, --days;
    const double fraction = (static_cast<double>(rest) + (micros % 1000000) / 1e6) / 86400.0;
    return Date(static_cast<double>(days) + kEpochOffsetDays + fraction);
  }
};

Clock* g_installed = nullptr;

}  // namespace

Clock& SystemClock() {
  static LocalSystemClock clock;
  return clock;
}

Clock& CurrentClock() { return g_installed ? *g_installed : SystemClock(); }

void InstallClock(Clock* clock) { g_installed = clock; }

}  // namespace ze
