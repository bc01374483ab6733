// Recordset: the records of one table of a SQLite database, walked one at a time.
//
// This is the embedded engine behind provix2's data control, a TableSource
// (table_source.h) for the container's data bindings. It opens a database file, checks
// that the record source (a table) has the fields the form binds, and walks the table
// in rowid order, one record read per move. Edits are held until Update writes them,
// in one statement that matches the rowid and every bound field's stored value, so a
// record that another program changed or deleted meanwhile is not overwritten.
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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/automation/variant.h"
#include "sample/data/table_source.h"

namespace provix2 {

class Recordset : public TableSource {
 public:
  // Opens `path` and the table `recordSource`, which must have every field of
  // `fields`, on its first record. Throws RecordsetError when the file cannot be
  // opened, is not a database or cannot be written, or the table or a field is missing.
  Recordset(const std::string& path, const std::string& recordSource,
            std::vector<std::string> fields);
  ~Recordset() override;

  // Creates the database with the sample table and a few records when the file is
  // missing or empty (readable by its owner only); any other file is left alone, and
  // one made meanwhile by another run is kept. Throws RecordsetError on failure.
  static void CreateSampleIfMissing(const std::string& path);

  // The stored text of a date, and the date of a stored text (nothing when it is none).
  static std::string DateText(ze::Date d);
  static std::optional<ze::Date> StoredDate(std::string_view text);

 private:
  std::optional<Row> Fetch(Seek seek, const std::vector<Cell>& key) const override;
  std::optional<Row> Reread(const std::vector<Cell>& key) const override;
  std::optional<Row> Write(const std::vector<Cell>& key, const Edits& edits,
                           const std::vector<Cell>* expected) override;
  Row Insert(const std::vector<Cell>& key, const std::vector<Cell>& cells,
             const Edits& edits) override;
  std::size_t CountBefore(const std::vector<Cell>* key) const override;
  ze::Variant ValueOf(std::size_t field, const Cell& cell) const override;
  void CheckStorable(const ze::Variant& value) const override;

  void Check(int rc, const char* what) const;
  // The rowid and the bound fields of the rows that `tail` selects (after "FROM t").
  std::optional<Row> SelectOne(const std::string& tail, const std::vector<Cell>& key) const;

  sqlite3* db_ = nullptr;
  std::string table_;
  std::string columns_;  // "rowid, f1, f2", quoted
};

}  // namespace provix2
