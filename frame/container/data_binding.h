// Data binding: a control's bindable property tied to a field of the current record.
//
// A Recordset is the data source as a container's data control presents it: named
// fields, rows, a current position. A DataBinding ties one property of one control to
// one field. The container drives it:
//   - when the record changes (a move, a refresh), RecordChanged writes the field's
//     value into the property (through the setter the container supplies);
//   - when the control says PropertyChanged(name) for the bound property, the
//     container calls PropertyChanged here, which reads the property (through the
//     getter) and stores it in the current record, marking the record edited;
//   - CanPropertyChange answers whether the bound property may change now: not when
//     the source is read-only or has no current record.
// While RecordChanged writes the property, the control's own change notice is not
// written back: the record already holds that value.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"

namespace ze::container {

class Recordset {
 public:
  explicit Recordset(std::vector<String> fieldNames);

  const std::vector<String>& FieldNames() const { return fields_; }
  // Appends a row (its values in field order; missing values are Null). Does not move.
  void AddRecord(std::vector<Variant> values);
  std::size_t RecordCount() const { return rows_.size(); }

  // The current row, or nothing at BOF / EOF (or when there are no rows).
  std::optional<std::size_t> Position() const;
  bool AtEnd() const { return position_ >= rows_.size(); }
  void MoveFirst() { MoveTo(0); }
  void MoveLast() { MoveTo(rows_.empty() ? 0 : rows_.size() - 1); }
  void MoveNext() { MoveTo(position_ + 1); }
  void MovePrevious() { MoveTo(position_ == 0 ? rows_.size() : position_ - 1); }
  // Beyond the last row is EOF.
  void MoveTo(std::size_t row);

  // The current row's value; error 3021 ("No current record") at BOF/EOF, 3265 for
  // a field that does not exist.
  Variant Field(std::u16string_view name) const;
  // Stores into the current row and marks it edited; error 3027 when read-only.
  void SetField(std::u16string_view name, const Variant& value);
  bool Edited(std::size_t row) const { return row < edited_.size() && edited_[row]; }
  Variant Value(std::size_t row, std::u16string_view name) const;

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  // Called after every move, in the order they were added.
  void OnMove(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

 private:
  std::size_t IndexOf(std::u16string_view name) const;

  std::vector<String> fields_;
  std::vector<std::vector<Variant>> rows_;
  std::vector<bool> edited_;
  std::size_t position_ = 0;
  bool readOnly_ = false;
  std::vector<std::function<void()>> listeners_;
};

class DataBinding {
 public:
  using Getter = std::function<Variant()>;
  using Setter = std::function<void(const Variant&)>;

  // Ties property (of the control reached through get/set) to field of source, and
  // follows the source's moves from now on.
  DataBinding(Recordset& source, String field, String property, Getter get, Setter set);
  DataBinding(const DataBinding&) = delete;
  DataBinding& operator=(const DataBinding&) = delete;

  const String& Property() const { return property_; }
  const String& Field() const { return field_; }

  void RecordChanged();
  // Returns whether the notice was about the bound property (and was stored).
  bool PropertyChanged(std::u16string_view name);
  bool CanPropertyChange(std::u16string_view name) const;

 private:
  Recordset& source_;
  String field_;
  String property_;
  Getter get_;
  Setter set_;
  bool writing_ = false;
  // The source's move listener holds this weakly: a binding may go before its source.
  std::shared_ptr<int> token_ = std::make_shared<int>(0);
};

}  // namespace ze::container
