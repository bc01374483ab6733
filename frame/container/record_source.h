// RecordSource: the records a data control walks, one current at a time, whatever
// engine holds them.
//
// A data binding (data_binding.h) sees its source only through this class, so an engine
// is added by implementing it: the in-memory Recordset (memory_recordset.h), provix2's
// SQLite table, a shared server's table. An engine whose records are rows it reaches
// by number takes its position and moves from RowSource (row_source.h).
//
// The model:
// - Named fields, matched ignoring ASCII case. Values are Variants of any kind an
//   engine stores: Date, number, text, Boolean, Null.
// - A position: one current record, or none at BOF (before the first) or at EOF (after
//   the last). A source without records is at BOF and at EOF. Moves past either end stop
//   there; a move from BOF or EOF goes to the first or the last record.
// - Every move, and every reload of the current record, ends with a move notice to the
//   listeners, in the order they were added.
// - SetField writes a field of the current record. An engine may hold the edits until
//   Update saves them (Dirty() says so), or write through at once and never be dirty.
//   An engine that holds edits refuses to move while Dirty: the caller saves them with
//   Update or drops them with CancelUpdate first, so no edit goes in silence.
// - Update is optimistic where the engine is shared: a record that changed or went away
//   since it was read is not overwritten; Update fails and the edits stay.
//
// Failures: using the source wrongly is an automation error: 3021 "No current record"
// (reading or writing at BOF or EOF), 3027 for a write to a read-only source, 3265 for a
// field that does not exist, 13 for a value the engine cannot store. A failure of the
// engine itself (the file, the server, a record deleted meanwhile) is a
// RecordSourceError, whose text is fit to show to the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"

namespace ze::container {

inline constexpr std::int32_t kNoCurrentRecord = 3021;
inline constexpr std::int32_t kNotUpdatable = 3027;
inline constexpr std::int32_t kItemNotFound = 3265;

// A failure of the engine behind a record source, with a message fit for the user.
class RecordSourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class RecordSource {
 public:
  RecordSource() = default;
  virtual ~RecordSource();
  RecordSource(const RecordSource&) = delete;
  RecordSource& operator=(const RecordSource&) = delete;

  virtual const std::vector<String>& FieldNames() const = 0;
  virtual std::size_t RecordCount() const = 0;

  // The current record's 0-based position, or nothing at BOF or EOF.
  virtual std::optional<std::size_t> Position() const = 0;
  virtual bool IsBOF() const = 0;
  virtual bool IsEOF() const = 0;
  // Whether there is a current record; an engine that counts positions only on demand
  // answers it without counting.
  virtual bool HasCurrent() const { return Position().has_value(); }

  virtual void MoveFirst() = 0;
  virtual void MoveLast() = 0;
  virtual void MoveNext() = 0;
  virtual void MovePrevious() = 0;

  // The current record's value of a field, with its edit if it has one.
  virtual Variant Field(std::u16string_view name) const = 0;
  virtual void SetField(std::u16string_view name, const Variant& value) = 0;
  virtual bool ReadOnly() const = 0;

  virtual bool Dirty() const = 0;
  virtual void Update() = 0;
  virtual void CancelUpdate() = 0;

  // Called after every move notice.
  void OnMove(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

 protected:
  void NotifyMove();
  // The index of a field among names; error 3265 when it is none of them.
  static std::size_t IndexOf(const std::vector<String>& names, std::u16string_view name);
  // Error 3021 unless there is a current record.
  void RequireCurrent() const;
  // Errors 3027 and 3021: what a write needs.
  void RequireWritable() const;

 private:
  std::vector<std::function<void()>> listeners_;
};

}  // namespace ze::container
