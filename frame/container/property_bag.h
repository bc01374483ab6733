// PropertyBag: the container's store of a control's saved properties.
//
// An ordered list of (name, value) entries. Names are matched without regard to ASCII
// case and keep the case of their first writing; values are kept exactly as written
// (kind included), so a control reads back what it wrote and a file read back gives
// the control the values as stored, leaving conversions to the control.
//
// The default rule, which every control's save and restore code relies on:
//   ReadProperty(name, default)  -> the stored value, or the default when none is stored;
//   WriteProperty(name, value, default) stores nothing when value equals default (and
//     drops an entry a previous write left, so a later read gives the default, not a
//     stale value); WriteProperty(name, value) always stores.
// "Equals" is the comparison of stored values: numbers (and Booleans, True = -1) by
// numeric value whatever their kind, strings exactly, fonts and pictures by value,
// other objects by identity.
//
// The text form is one `Name = LITERAL` a line, in the literal syntax of literal.h,
// UTF-8. Reading a text is all or nothing: any bad line raises an automation error
// naming the line, and the bag keeps what it held before.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "frame/automation/string.h"
#include "frame/automation/variant.h"

namespace ze::container {

class PropertyBag {
 public:
  struct Entry {
    String name;
    Variant value;
  };

  Variant ReadProperty(std::u16string_view name, const Variant& defaultValue = Variant()) const;
  // Stores always (replacing an entry of the same name in place).
  void WriteProperty(std::u16string_view name, const Variant& value);
  // Stores unless value equals def.
  void WriteProperty(std::u16string_view name, const Variant& value, const Variant& def);

  bool Contains(std::u16string_view name) const;
  void Remove(std::u16string_view name);
  void Clear() { entries_.clear(); }
  const std::vector<Entry>& Entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }
  std::size_t size() const { return entries_.size(); }

  // The text form. Parse replaces the bag's contents, or raises and changes nothing.
  String Format() const;
  void Parse(std::u16string_view text);

  // The text form in a file (UTF-8). Errors: file missing (53), unreadable (70 or 75),
  // not text or a bad line (the description names the line).
  void LoadFile(const std::string& path);
  void SaveFile(const std::string& path) const;

 private:
  std::vector<Entry>::iterator Find(std::u16string_view name);
  std::vector<Entry>::const_iterator Find(std::u16string_view name) const;

  std::vector<Entry> entries_;
};

// The equality of the default rule (see above).
bool SameStoredValue(const Variant& a, const Variant& b);

}  // namespace ze::container
