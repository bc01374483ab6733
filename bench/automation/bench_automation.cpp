// The automation services beside a peer that does the same work, in the same run.
//
// Each benchmark times a batch of our calls and then a batch of the peer's calls on the
// same inputs, once per iteration, and reports both costs per operation and their ratio
// as counters: speedup = peer time / our time (above 1: we are faster).
//   DateRoundTrip  serial -> year, month, day -> serial: SplitDate + DateSerial against
//                  std::chrono (sys_days -> year_month_day -> sys_days)
//   CivilRoundTrip the same through the civil-date hub alone, without the Date's checks
//   DateText       a "dd/mm/yyyy" text read and written again: IsDate + CDate + Format
//                  against ICU's SimpleDateFormat parse + format
//   NumberPicture  Format(v, "##########0.00") against ICU's DecimalFormat with the same
//                  pattern, rounding halves up
// Both sides of DateRoundTrip start from the same Date serials (doubles) and end with a
// serial: the peer truncates to its day count and converts back, without our checks.
// Goals: DateRoundTrip >= 1, DateText >= 10, NumberPicture >= 2.
#include <benchmark/benchmark.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "frame/automation/civil_date.h"
#include "frame/automation/date_serial.h"
#include "frame/automation/date_text.h"
#include "frame/automation/format.h"
#include "frame/automation/locale.h"
#include "frame/automation/number_text.h"
#include "bench/run_pair.h"

namespace {

constexpr size_t kBatch = 1024;

// Times ours() and peer() once each per iteration, a batch of kBatch operations each.
template <class Ours, class Peer>
void RunPair(benchmark::State& state, Ours&& ours, Peer&& peer) {
  ze::bench::RunPair(state, kBatch, ours, peer);
}

std::vector<std::int32_t> RandomDays() {
  std::mt19937 random(42);
  std::uniform_int_distribution<std::int32_t> day(ze::civil::kFirstDay, ze::civil::kLastDay);
  std::vector<std::int32_t> days(kBatch);
  for (auto& d : days) d = day(random);
  return days;
}

std::vector<double> RandomSerials() {
  std::vector<double> serials;
  for (std::int32_t d : RandomDays()) serials.push_back(d);
  return serials;
}

// The peer's round trip of a serial: its day count, year_month_day and back.
double ChronoRoundTrip(double serial) {
  using namespace std::chrono;
  // std::chrono counts from 1970-01-01.
  constexpr std::int32_t kOffset = ze::civil::kDay0FromUnixEpoch;
  const year_month_day ymd{sys_days{days{static_cast<std::int32_t>(serial) + kOffset}}};
  return static_cast<double>(sys_days{ymd}.time_since_epoch().count() - kOffset);
}

void DateRoundTrip(benchmark::State& state) {
  const std::vector<double> serials = RandomSerials();
  RunPair(
      state,
      [&] {
        for (double s : serials) {
          const ze::DateParts p = ze::SplitDate(ze::Date(s));
          benchmark::DoNotOptimize(ze::DateSerial(p.year, p.month, p.day).serial);
        }
      },
      [&] {
        for (double s : serials) benchmark::DoNotOptimize(ChronoRoundTrip(s));
      });
}
BENCHMARK(DateRoundTrip);

// The civil-date hub alone (no Date checks): day number -> year, month, day -> day number.
void CivilRoundTrip(benchmark::State& state) {
  const std::vector<double> serials = RandomSerials();
  RunPair(
      state,
      [&] {
        for (double s : serials) {
          const auto ymd = ze::civil::CivilFromDays(static_cast<std::int32_t>(s));
          benchmark::DoNotOptimize(
              static_cast<double>(ze::civil::DaysFromCivil(ymd.year, ymd.month, ymd.day)));
        }
      },
      [&] {
        for (double s : serials) benchmark::DoNotOptimize(ChronoRoundTrip(s));
      });
}
BENCHMARK(CivilRoundTrip);

// The same through the three calls a component makes: Day, Month and Year.
void DateRoundTripThreeCalls(benchmark::State& state) {
  const std::vector<double> serials = RandomSerials();
  RunPair(
      state,
      [&] {
        for (double s : serials) {
          const ze::Date date(s);
          benchmark::DoNotOptimize(
              ze::DateSerial(ze::Year(date), ze::Month(date), ze::Day(date)).serial);
        }
      },
      [&] {
        for (double s : serials) benchmark::DoNotOptimize(ChronoRoundTrip(s));
      });
}
BENCHMARK(DateRoundTripThreeCalls);

std::vector<ze::String> RandomDateTexts() {
  std::vector<ze::String> texts;
  for (std::int32_t d : RandomDays()) {
    const auto ymd = ze::civil::CivilFromDays(d);
    const int y = 1900 + ymd.year % 1100;  // the control's years, four digits
    char16_t text[10] = {char16_t(u'0' + ymd.day / 10),
                         char16_t(u'0' + ymd.day % 10),
                         u'/',
                         char16_t(u'0' + ymd.month / 10),
                         char16_t(u'0' + ymd.month % 10),
                         u'/',
                         char16_t(u'0' + y / 1000),
                         char16_t(u'0' + y / 100 % 10),
                         char16_t(u'0' + y / 10 % 10),
                         char16_t(u'0' + y % 10)};
    texts.emplace_back(text, 10);
  }
  return texts;
}

void DateText(benchmark::State& state) {
  ze::Locale::SetCurrent("it_IT");
  const std::vector<ze::String> texts = RandomDateTexts();
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat icu_format(icu::UnicodeString(u"dd/MM/yyyy"), icu::Locale("it_IT"), status);
  icu_format.setLenient(false);
  if (U_FAILURE(status)) {
    state.SkipWithError("ICU SimpleDateFormat");
    return;
  }
  RunPair(
      state,
      [&] {
        for (const ze::String& t : texts) {
          if (ze::IsDate(t)) benchmark::DoNotOptimize(ze::Format(ze::CDate(t), u"dd/mm/yyyy"));
        }
      },
      [&] {
        for (const ze::String& t : texts) {
          UErrorCode s = U_ZERO_ERROR;
          const UDate when =
              icu_format.parse(icu::UnicodeString(t.data(), static_cast<int32_t>(t.size())), s);
          icu::UnicodeString out;
          if (U_SUCCESS(s)) benchmark::DoNotOptimize(icu_format.format(when, out));
        }
      });
}
BENCHMARK(DateText);

void NumberPicture(benchmark::State& state) {
  ze::Locale::SetCurrent("it_IT");
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-100000, 100000);
  std::vector<double> values(kBatch);
  for (auto& v : values) v = value(random);
  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols symbols(icu::Locale("it_IT"), status);
  icu::DecimalFormat icu_format(icu::UnicodeString(u"##########0.00"), symbols, status);
  icu_format.setRoundingMode(icu::DecimalFormat::kRoundHalfUp);
  if (U_FAILURE(status)) {
    state.SkipWithError("ICU DecimalFormat");
    return;
  }
  RunPair(
      state,
      [&] {
        for (double v : values) benchmark::DoNotOptimize(ze::Format(v, u"##########0.00"));
      },
      [&] {
        for (double v : values) {
          icu::UnicodeString out;
          benchmark::DoNotOptimize(icu_format.format(v, out));
        }
      });
}
BENCHMARK(NumberPicture);

}  // namespace

BENCHMARK_MAIN();
