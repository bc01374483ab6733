// Recordset: the records of one table of a SQLite database, walked one at a time.
//
// This is the engine behind provix2's data control. It opens a database file, checks
// that the record source (a table) has the fields the form binds, and keeps the list
// of row ids in table order; the current record's fields are read on each move.
// Edits are held in the recordset until Update writes them, in one transaction; a
// write that fails leaves the record dirty, so nothing typed is lost silently.
//
// Date fields are stored as ISO text "yyyy-mm-dd" (readable with any SQLite tool);
// NULL is the empty date. A stored value that is not such a date is handed out as it
// is stored, and written back only when the user changes that field.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/variant.h"

namespace provix2 {

// A failure of the database, with a message fit for the user.
class RecordsetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Recordset {
 public:
  // Opens `path` and the table `recordSource`, which must have every field of
  // `fields`. Throws RecordsetError when the file cannot be opened or is not a
  // database, or the table or a field is missing.
  Recordset(const std::string& path, const std::string& recordSource,
            std::vector<std::string> fields);
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // Creates the database with the sample table and a few records when the file is
  // missing; an existing file is left alone. Throws RecordsetError on failure.
  static void CreateSampleIfMissing(const std::string& path);

  int RecordCount() const { return static_cast<int>(rowids_.size()); }
  // 0-based position of the current record; -1 when there is none.
  int AbsolutePosition() const { return position_; }
  bool HasCurrent() const { return position_ >= 0; }

  // Moves; each reloads the current record's fields. A move with unsaved edits
  // throws: the caller decides whether to Update or CancelUpdate first.
  void MoveFirst();
  void MovePrevious();
  void MoveNext();
  void MoveLast();

  // The current record's value of a field: a Date, Null, or the raw stored value
  // (String, Double or Long) when it is not a date.
  ze::Variant Field(const std::string& name) const;
  // True when the stored value is a date or NULL.
  bool FieldIsDate(const std::string& name) const;
  // Changes a field of the current record (Date or Null); it is written by Update.
  void SetField(const std::string& name, const ze::Variant& value);
  bool Dirty() const { return !edits_.empty(); }
  // Writes the edits of the current record in one transaction. Throws RecordsetError
  // and keeps the edits when the write fails.
  void Update();
  // Forgets the edits and reloads the stored values.
  void CancelUpdate();

  // ISO text of a date and back (std::nullopt when the text is no date).
  static std::string DateToIso(ze::Date d);
  static std::optional<ze::Date> IsoToDate(const std::string& text);
  // Whether text is the time part of a stored date-time: " hh:mm[:ss[.fff]]" or "T...".
  static bool IsTimeOfDay(std::string_view text);

 private:
  void MoveTo(int position);
  void Load();
  void Check(int rc, const char* what) const;

  sqlite3* db_ = nullptr;
  std::string table_;
  std::vector<std::string> fields_;
  std::vector<std::int64_t> rowids_;
  int position_ = -1;
  std::map<std::string, ze::Variant> values_;
  std::map<std::string, ze::Variant> edits_;
};

}  // namespace provix2
