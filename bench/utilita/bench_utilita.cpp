// zeUtilita's number text and text routines beside a peer doing the same work, in the
// same run (bench/run_pair.h: speedup = peer time / our time).
//   RealeToString  RealeToString(v, 2) against ICU's DecimalFormat "#,##0.00" with the
//                  same locale's symbols, rounding halves up         goal: speedup >= 3
//   ZeReplace      every "ab" of a 10,000-character text replaced by "xyz", against a
//                  find-and-append loop over std::u16string          goal: speedup >= 1
//   ZeSplit        a 10,000-character text cut at every ",", against a find-and-substr
//                  loop into a std::vector<std::u16string>           goal: speedup >= 1
#include <benchmark/benchmark.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <random>
#include <string>
#include <vector>

#include "bench/run_pair.h"
#include "frame/automation/locale.h"
#include "utilita/ze_utilita.h"

namespace {

constexpr std::size_t kBatch = 1024;
constexpr std::size_t kTextLength = 10000;
constexpr std::size_t kTexts = 16;

// Words of 1 to 8 letters from "abc", each followed by `sep`, to the given length.
std::u16string Text(char16_t sep, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> letter(0, 2), length(1, 8);
  std::u16string text;
  while (text.size() < kTextLength) {
    for (int n = length(random); n > 0; --n) text += static_cast<char16_t>(u'a' + letter(random));
    text += sep;
  }
  text.resize(kTextLength);
  return text;
}

std::vector<std::u16string> Texts(char16_t sep) {
  std::vector<std::u16string> texts;
  for (unsigned i = 0; i < kTexts; ++i) texts.push_back(Text(sep, i));
  return texts;
}

void RealeToString(benchmark::State& state) {
  ze::Locale::SetCurrent("it_IT");
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-1e9, 1e9);
  std::vector<double> values(kBatch);
  for (auto& v : values) v = value(random);
  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols symbols(icu::Locale("it_IT"), status);
  icu::DecimalFormat icu_format(icu::UnicodeString(u"#,##0.00"), symbols, status);
  icu_format.setRoundingMode(icu::DecimalFormat::kRoundHalfUp);
  if (U_FAILURE(status)) {
    state.SkipWithError("ICU DecimalFormat");
    return;
  }
  const zekalendo::zeUtilita u;
  std::int16_t cifre = 2;
  ze::bench::RunPair(
      state, kBatch,
      [&] {
        for (double v : values) benchmark::DoNotOptimize(u.RealeToString(v, cifre));
      },
      [&] {
        for (double v : values) {
          icu::UnicodeString out;
          benchmark::DoNotOptimize(icu_format.format(v, out));
        }
      });
}
BENCHMARK(RealeToString);

void ZeReplace(benchmark::State& state) {
  const std::vector<std::u16string> texts = Texts(u' ');
  const zekalendo::zeUtilita u;
  ze::bench::RunPair(
      state, kTexts,
      [&] {
        for (const auto& t : texts) benchmark::DoNotOptimize(u.zeReplace(t, u"ab", u"xyz"));
      },
      [&] {
        for (const auto& t : texts) {
          std::u16string out;
          std::size_t from = 0;
          for (std::size_t at; (at = t.find(u"ab", from)) != std::u16string::npos; from = at + 2) {
            out.append(t, from, at - from);
            out += u"xyz";
          }
          out.append(t, from);
          benchmark::DoNotOptimize(out);
        }
      });
}
BENCHMARK(ZeReplace);

void ZeSplit(benchmark::State& state) {
  const std::vector<std::u16string> texts = Texts(u',');
  const zekalendo::zeUtilita u;
  ze::bench::RunPair(
      state, kTexts,
      [&] {
        for (const auto& t : texts) {
          std::vector<std::u16string> tmp;
          benchmark::DoNotOptimize(u.zeSplit(tmp, t, u","));
          benchmark::DoNotOptimize(tmp.data());
        }
      },
      [&] {
        for (const auto& t : texts) {
          std::vector<std::u16string> tmp;
          std::size_t from = 0;
          for (std::size_t at; (at = t.find(u',', from)) != std::u16string::npos; from = at + 1) {
            tmp.push_back(t.substr(from, at - from));
          }
          tmp.push_back(t.substr(from));
          benchmark::DoNotOptimize(tmp.data());
        }
      });
}
BENCHMARK(ZeSplit);

}  // namespace

BENCHMARK_MAIN();
