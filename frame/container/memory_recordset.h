// Recordset: a record source held in memory.
//
// The rows are added by the program (or a test) and edited in place: a write goes to
// the record at once and marks it edited, so the source is never dirty and Update has
// nothing to save. It can be made read-only to see how its bound controls refuse
// changes.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "frame/container/row_source.h"

namespace ze::container {

class Recordset : public RowSource {
 public:
  explicit Recordset(std::vector<String> fieldNames);

  const std::vector<String>& FieldNames() const override { return fields_; }
  // Appends a row (its values in field order; missing values are Null). Does not move,
  // except that a source that had no rows stands on its first one now.
  void AddRecord(std::vector<Variant> values);
  std::size_t RecordCount() const override { return rows_.size(); }

  // No current record: at BOF, at EOF, or no rows.
  bool AtEnd() const { return !HasCurrent(); }
  // Beyond the last row is EOF.
  void MoveTo(std::size_t row);

  Variant Field(std::u16string_view name) const override;
  void SetField(std::u16string_view name, const Variant& value) override;
  bool ReadOnly() const override { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  bool Dirty() const override { return false; }
  void Update() override {}
  void CancelUpdate() override {}

  // Whether a row was written since it was added, and a row's value, wherever the
  // position stands.
  bool Edited(std::size_t row) const { return row < edited_.size() && edited_[row]; }
  Variant Value(std::size_t row, std::u16string_view name) const;

 private:
  std::vector<String> fields_;
  std::vector<std::vector<Variant>> rows_;
  std::vector<bool> edited_;
  bool readOnly_ = false;
};

}  // namespace ze::container
