// The automation Date: a double counting days from 30 December 1899 (day 0), the
// fraction being the time of day. Valid dates lie in the years 100 to 9999. For days
// before day 0 the integer part is the day, counted negative, and the fraction is
// still the time of day added as a positive amount: -1.25 is 29 December 1899 06:00.
//
// A strong type rather than a bare double, so a Variant can tell a date from a number.
#pragma once

#include <compare>

namespace ze {

struct Date {
  double serial = 0;

  constexpr Date() = default;
  constexpr explicit Date(double s) : serial(s) {}
  friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

}  // namespace ze
