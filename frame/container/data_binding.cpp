// Recordset and DataBinding.
#include "frame/container/data_binding.h"

#include "frame/automation/error.h"
#include "frame/automation/string.h"

namespace ze::container {

namespace {
constexpr std::int32_t kNoCurrentRecord = 3021;
constexpr std::int32_t kNotUpdatable = 3027;
constexpr std::int32_t kItemNotFound = 3265;

}  // namespace

Recordset::Recordset(std::vector<String> fieldNames) : fields_(std::move(fieldNames)) {}

void Recordset::AddRecord(std::vector<Variant> values) {
  values.resize(fields_.size(), Variant::Null());
  const bool wasEof = AtEnd();
  rows_.push_back(std::move(values));
  edited_.push_back(false);
  // A source that had no rows stands on its first one now.
  if (wasEof && rows_.size() == 1) position_ = 0;
}

std::optional<std::size_t> Recordset::Position() const {
  if (AtEnd()) return std::nullopt;
  return position_;
}

void Recordset::MoveTo(std::size_t row) {
  position_ = row > rows_.size() ? rows_.size() : row;
  auto listeners = listeners_;
  for (auto& l : listeners) l();
}

std::size_t Recordset::IndexOf(std::u16string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (EqualsIgnoringAsciiCase(fields_[i], name)) return i;
  Raise(kItemNotFound, u"Item not found in this collection.");
}

Variant Recordset::Field(std::u16string_view name) const {
  const std::size_t column = IndexOf(name);
  if (AtEnd()) Raise(kNoCurrentRecord, u"No current record.");
  return rows_[position_][column];
}

void Recordset::SetField(std::u16string_view name, const Variant& value) {
  const std::size_t column = IndexOf(name);
  if (readOnly_) Raise(kNotUpdatable, u"Database or object is read-only.");
  if (AtEnd()) Raise(kNoCurrentRecord, u"No current record.");
  rows_[position_][column] = value;
  edited_[position_] = true;
}

Variant Recordset::Value(std::size_t row, std::u16string_view name) const {
  const std::size_t column = IndexOf(name);
  if (row >= rows_.size()) Raise(kNoCurrentRecord, u"No current record.");
  return rows_[row][column];
}

DataBinding::DataBinding(Recordset& source, String field, String property, Getter get, Setter set)
    : source_(source),
      field_(std::move(field)),
      property_(std::move(property)),
      get_(std::move(get)),
      set_(std::move(set)) {
  std::weak_ptr<int> alive = token_;
  source_.OnMove([this, alive] {
    if (!alive.expired()) RecordChanged();
  });
}

void DataBinding::RecordChanged() {
  if (source_.AtEnd()) return;
  const Variant value = source_.Field(field_);
  writing_ = true;
  try {
    set_(value);
  } catch (...) {
    writing_ = false;
    throw;
  }
  writing_ = false;
}

bool DataBinding::PropertyChanged(std::u16string_view name) {
  if (!EqualsIgnoringAsciiCase(name, property_)) return false;
  if (writing_ || source_.AtEnd() || source_.ReadOnly()) return true;
  source_.SetField(field_, get_());
  return true;
}

bool DataBinding::CanPropertyChange(std::u16string_view name) const {
  if (!EqualsIgnoringAsciiCase(name, property_)) return true;
  return !source_.ReadOnly() && !source_.AtEnd();
}

}  // namespace ze::container
