// What the calendar needs of the control that opens it: the date it holds, read as the
// calendar loads, and written once when the user has picked a day.
//
// The calendar keeps no owning reference: the control belongs to its host, which may
// destroy it while a calendar is still open. The opener hands over its alive token
// (Control::AliveToken) with itself, and the calendar touches the control only while
// the token lives.
#pragma once

#include "frame/automation/date_value.h"

namespace zekalendo {

class DataChiamante {
 public:
  virtual ~DataChiamante() = default;
  // 0 (30/12/1899) means that the control holds no date.
  virtual ze::Date valore() const = 0;
  virtual void SetValore(ze::Date d) = 0;
};

}  // namespace zekalendo
