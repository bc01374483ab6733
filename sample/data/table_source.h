// TableSource: the records of one database table, walked one at a time in key order and
// saved optimistically; the half of provix2's data engines that is the same on every
// engine.
//
// The records stand in the order of their key (SQLite's rowid, a server table's primary
// key). Only the current record is held: a move asks the engine for the one record
// after or before the current key, or for the first or the last, so a table of a
// million rows opens and reaches its last record about as fast as one of ten, and its
// keys are never all in memory. A record's position and the table's count are asked of
// the engine only when someone wants them (they cost a count of the rows before it).
//
// Saves are optimistic, because several people may have the same record on screen:
// Update writes the edits only where the record still holds, in every bound field, what
// this source read; otherwise it throws RecordConflict (changed, with what the record
// holds now, or deleted) and keeps the edits. The caller then chooses: Reload takes
// the record as the database has it and drops the edits, Overwrite writes the edits
// over it (a deleted record is written again under its key). Nothing goes over another
// person's save without the user choosing it.
//
// Each access to the database first lets the engine get its connection back
// (Reconnect), so a server that went away and came back serves the next move or save;
// a failed access changes neither the position nor the edits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/variant.h"
#include "frame/container/record_source.h"

namespace provix2 {

// A failure of the database, with a message fit for the user.
using RecordsetError = ze::container::RecordSourceError;

// One stored value exactly as the engine holds it, so that it can be compared with
// what the database holds later without a round trip through a Variant.
struct Cell {
  enum class Kind { Null, Integer, Real, Text, Blob };
  Kind kind = Kind::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string bytes;  // Text (UTF-8) and Blob
  bool operator==(const Cell&) const = default;
};

// A record as read: its key and its bound fields.
struct Row {
  std::vector<Cell> key;
  std::vector<Cell> cells;  // by bound field
};

// An Update refused because someone else changed or deleted the record meanwhile.
class RecordConflict : public RecordsetError {
 public:
  enum class Kind { Changed, Deleted };
  RecordConflict(Kind kind, std::vector<ze::Variant> stored);
  Kind kind() const { return kind_; }
  // The bound fields as the database holds them now (empty when deleted).
  const std::vector<ze::Variant>& stored() const { return stored_; }

 private:
  Kind kind_;
  std::vector<ze::Variant> stored_;
};

class TableSource : public ze::container::RecordSource {
 public:
  // The edits of the current record, by field.
  using Edits = std::map<std::size_t, ze::Variant>;

  const std::vector<ze::String>& FieldNames() const override { return names_; }
  // Counts the rows (a query on every call).
  std::size_t RecordCount() const override;
  // Counts the rows before the current one the first time it is asked after a jump.
  std::optional<std::size_t> Position() const override;
  bool HasCurrent() const override { return at_ == At::Record; }
  bool IsBOF() const override { return at_ == At::Start || empty_; }
  bool IsEOF() const override { return at_ == At::End || empty_; }
  // A move with unsaved edits throws RecordsetError: the caller decides whether to
  // Update or CancelUpdate first.
  void MoveFirst() override;
  void MoveLast() override;
  void MoveNext() override;
  void MovePrevious() override;

  ze::Variant Field(std::u16string_view name) const override;
  // Null, Empty (stored as NULL), a Date, a number, a Boolean or a String.
  void SetField(std::u16string_view name, const ze::Variant& value) override;
  // A database that cannot be written is not opened at all.
  bool ReadOnly() const override { return false; }

  bool Dirty() const override { return !edits_.empty(); }
  // Writes the edits if the record still holds what was read; throws RecordConflict
  // otherwise, RecordsetError when the write fails; the edits stay in both cases.
  void Update() override;
  // Drops the edits and reads the record again (Reload).
  void CancelUpdate() override { Reload(); }

  // The record as the database holds it now, without the edits. A record deleted
  // meanwhile gives way to the next one (the previous one at the end).
  void Reload();
  // Writes the edits whatever the record holds now; a deleted record is inserted again
  // with its key and the values on screen.
  void Overwrite();

 protected:
  explicit TableSource(std::vector<std::string> fields);
  // Stands on the first record; engines call it at the end of their constructor.
  void Open();

  enum class Seek { First, Last, After, Before };
  // The record at the first or last key, or just after or before `key`.
  virtual std::optional<Row> Fetch(Seek seek, const std::vector<Cell>& key) const = 0;
  // The record with this key as stored now; nothing when it was deleted.
  virtual std::optional<Row> Reread(const std::vector<Cell>& key) const = 0;
  // Writes the edits into the record with this key and returns it as stored after; with
  // `expected`, only if its bound fields still hold those cells. Nothing when no record
  // matched.
  virtual std::optional<Row> Write(const std::vector<Cell>& key, const Edits& edits,
                                   const std::vector<Cell>* expected) = 0;
  // Adds a record with this key, the cells where there is no edit, and the edits.
  virtual Row Insert(const std::vector<Cell>& key, const std::vector<Cell>& cells,
                     const Edits& edits) = 0;
  virtual std::size_t CountBefore(const std::vector<Cell>* key) const = 0;  // all without key
  // What a stored cell shows as.
  virtual ze::Variant ValueOf(std::size_t field, const Cell& cell) const = 0;
  // Raises the automation error for a value the engine cannot store.
  virtual void CheckStorable(const ze::Variant& value) const = 0;
  // Gets a lost connection back, or throws RecordsetError.
  virtual void Reconnect() {}

  const std::vector<std::string>& fields() const { return fields_; }

 private:
  enum class At { Start, Record, End };  // BOF, a record, EOF
  void Go(Seek seek);
  void Stand(std::optional<Row> row, At otherwise);
  std::vector<ze::Variant> ValuesOf(const Row& row) const;

  std::vector<std::string> fields_;
  std::vector<ze::String> names_;
  At at_ = At::Start;
  bool empty_ = false;  // the last look for a first or last record found none
  std::optional<Row> row_;
  std::vector<ze::Variant> values_;  // by field, as row_ stores them
  Edits edits_;
  mutable std::optional<std::size_t> position_;
};

}  // namespace provix2
