// Fuzz target over zeUtilita's text routines: GetDataDaString, StringaToDate, zeSplit,
// zeReplace and RealeToString.
//
// Input layout: byte 0 picks the locale; bytes 1..8, when present, are a double (any
// bit pattern); byte 9 the decimals for RealeToString (signed); the rest is UTF-16
// text (two bytes a unit, little-endian), cut in three at its first two U+0001 units:
// a text, a separator or search text, a replacement. Every routine must end in a
// result or an AutomationError of the numbers it may raise; the properties checked
// below trap when broken.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/automation/date_parts.h"
#include "frame/automation/error.h"
#include "frame/automation/locale.h"
#include "utilita/ze_utilita.h"

namespace {

using ze::AutomationError;
using ze::String;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Splits at the first two U+0001 units.
std::vector<String> Parts(const String& text) {
  std::vector<String> parts(3);
  std::size_t part = 0;
  for (char16_t c : text) {
    if (c == u'\x01' && part < 2) {
      ++part;
      continue;
    }
    parts[part] += c;
  }
  return parts;
}

void Texts(const zekalendo::zeUtilita& u, const String& testo, const String& sep,
           const String& sostituzione) {
  // GetDataDaString: a real date, or the errors of its parts and of the date range;
  // either way the caller's text has no "-" left.
  String data = testo;
  try {
    Check(ze::IsValidSerial(u.GetDataDaString(data).serial));
  } catch (const AutomationError& e) {
    Check(e.number() == 9912 || e.number() == 5 || e.number() == 6 || e.number() == 13);
  }
  Check(data.find(u'-') == String::npos);

  // StringaToDate never fails.
  String a = testo;
  String b = sep;
  Check(ze::IsValidSerial(u.StringaToDate(a, b).serial));

  // zeReplace: replacing a text by itself changes nothing.
  try {
    Check(u.zeReplace(testo, sep, sep) == testo);
    u.zeReplace(testo, sep, sostituzione);
  } catch (const AutomationError& e) {
    Check(e.number() == 6);
  }

  // zeSplit: the elements joined with the separator give the text back, without one
  // trailing separator.
  std::vector<String> tmp;
  try {
    const bool split = u.zeSplit(tmp, testo, sep);
    Check(!tmp.empty());
    if (split) {
      String joined = tmp[0];
      for (std::size_t i = 1; i < tmp.size(); ++i) joined += sep + tmp[i];
      String expected = testo;
      if (expected.ends_with(sep)) expected.resize(expected.size() - sep.size());
      Check(joined == expected);
    } else {
      Check(tmp.size() == 1 && tmp[0].empty());
    }
  } catch (const AutomationError& e) {
    Check(e.number() == 6);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const kLocales[] = {"it_IT", "en_US", "de_CH", "fr_FR"};
  if (size == 0) return 0;
  ze::Locale::SetCurrent(kLocales[data[0] % 4]);
  const zekalendo::zeUtilita u;

  if (size >= 10) {
    double v;
    std::memcpy(&v, data + 1, sizeof v);
    std::int16_t cifre = static_cast<std::int8_t>(data[9]);
    try {
      Check(!u.RealeToString(v, cifre).empty());
      Check(std::isfinite(v));
    } catch (const AutomationError& e) {
      Check(e.number() == 6 && !std::isfinite(v));
    }
  }

  String text;
  for (std::size_t i = 10; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  const std::vector<String> parts = Parts(text);
  Texts(u, parts[0], parts[1], parts[2]);
  ze::Err().Clear();
  return 0;
}
