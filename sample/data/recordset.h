// Recordset: the records of one table of a SQLite database, walked one at a time.
//
// This is the engine behind provix2's data control, a RecordSource
// (frame/container/record_source.h) for the container's data bindings. It opens a
// database file, checks that the record source (a table) has the fields the form
// binds, and keeps the list of row ids in table order; the current record's fields are
// read on each move. Edits are held in the recordset until Update writes them, in one
// transaction; a write that fails leaves the record dirty, so nothing typed is lost
// silently. A record deleted by another program meanwhile reads as all Null, and
// saving into it fails.
//
// Values: NULL is Null, an integer a Long (a Double beyond its range), a real a Double,
// a text a String, except that a stored date text reads as a Date. Dates are stored as
// "yyyy-mm-dd" (readable with any SQLite tool), with " hh:mm:ss" when they carry a
// time of day. A stored date text is "yyyy-mm-dd" alone or followed, after a blank or
// "T", by a time of day as SQLite's own date-time texts carry it ("2005-09-01
// 13:45:00", "2005-12-25T08:00", "...13:45:00.250"); it is read through the runtime's
// own date reading, and a fraction of a second is dropped (so a time never carries
// into the next day). Any other text, an impossible date or time among them, is text.
// An unchanged value written back leaves the record alone: a stored value is replaced
// only when the user changes that field.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/variant.h"
#include "frame/container/row_source.h"

namespace provix2 {

// A failure of the database, with a message fit for the user.
using RecordsetError = ze::container::RecordSourceError;

class Recordset : public ze::container::RowSource {
 public:
  // Opens `path` and the table `recordSource`, which must have every field of
  // `fields`. Throws RecordsetError when the file cannot be opened, is not a
  // database or cannot be written, or the table or a field is missing.
  Recordset(const std::string& path, const std::string& recordSource,
            std::vector<std::string> fields);
  ~Recordset() override;

  // Creates the database with the sample table and a few records when the file is
  // missing or empty (readable by its owner only); any other file is left alone, and
  // one made meanwhile by another run is kept. Throws RecordsetError on failure.
  static void CreateSampleIfMissing(const std::string& path);

  // The bound fields, as the form names them.
  const std::vector<ze::String>& FieldNames() const override { return names_; }
  std::size_t RecordCount() const override { return rowids_.size(); }
  // Moves (RowSource's) reload the current record's fields. A move with unsaved edits
  // throws RecordsetError: the caller decides whether to Update or CancelUpdate first.

  ze::Variant Field(std::u16string_view name) const override;
  // Null, Empty (stored as NULL), a Date, a number, a Boolean (-1 or 0) or a String.
  void SetField(std::u16string_view name, const ze::Variant& value) override;
  // A database that cannot be written is not opened at all.
  bool ReadOnly() const override { return false; }

  bool Dirty() const override { return !edits_.empty(); }
  // Writes the edits of the current record in one transaction. Throws RecordsetError
  // and keeps the edits when the write fails.
  void Update() override;
  // Forgets the edits and reloads the stored values.
  void CancelUpdate() override;

  // The stored text of a date, and the date of a stored text (nothing when it is none).
  static std::string DateText(ze::Date d);
  static std::optional<ze::Date> StoredDate(std::string_view text);

 private:
  void BeforeMove() override;
  void AfterMove() override { Load(); }
  void Load();
  void Check(int rc, const char* what) const;

  sqlite3* db_ = nullptr;
  std::string table_;
  std::vector<std::string> fields_;
  std::vector<ze::String> names_;
  std::vector<std::int64_t> rowids_;
  std::vector<ze::Variant> values_;           // by field, as stored
  std::map<std::size_t, ze::Variant> edits_;  // by field
};

}  // namespace provix2
