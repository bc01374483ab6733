// Recordset: rows in memory.
#include "frame/container/memory_recordset.h"

#include <algorithm>

#include "frame/automation/error.h"

namespace ze::container {

Recordset::Recordset(std::vector<String> fieldNames) : fields_(std::move(fieldNames)) {}

void Recordset::AddRecord(std::vector<Variant> values) {
  values.resize(fields_.size(), Variant::Null());
  rows_.push_back(std::move(values));
  edited_.push_back(false);
  if (rows_.size() == 1) position_ = 0;
}

void Recordset::MoveTo(std::size_t row) {
  StandAt(static_cast<std::ptrdiff_t>(std::min(row, rows_.size())));
}

Variant Recordset::Field(std::u16string_view name) const {
  const std::size_t column = IndexOf(fields_, name);
  RequireCurrent();
  return rows_[static_cast<std::size_t>(position_)][column];
}

void Recordset::SetField(std::u16string_view name, const Variant& value) {
  const std::size_t column = IndexOf(fields_, name);
  RequireWritable();
  rows_[static_cast<std::size_t>(position_)][column] = value;
  edited_[static_cast<std::size_t>(position_)] = true;
}

Variant Recordset::Value(std::size_t row, std::u16string_view name) const {
  const std::size_t column = IndexOf(fields_, name);
  if (row >= rows_.size()) Raise(kNoCurrentRecord, u"No current record.");
  return rows_[row][column];
}

}  // namespace ze::container
