// Data binding: a control's bindable property tied to a field of a record source.
//
// The container (a data control, a test) makes one DataBinding per bound control and
// drives it; the binding sees its source only as a RecordSource (record_source.h), so
// it works the same over any engine.
//   - On every move notice of the source, RecordChanged writes the current record's
//     field into the property through the setter the container supplies. With no
//     current record (BOF, EOF) the property keeps what it shows; ShowNull empties it,
//     for a container that wants the controls blank then.
//   - When the control says PropertyChanged(name) for the bound property, the container
//     calls PropertyChanged here, which reads the property through the getter and
//     writes it into the current record's field.
//   - CanPropertyChange answers whether the bound property may change now: not when
//     the source is read-only or has no current record.
// While the binding writes the property, the control's own change notice is not
// written back: the record already holds that value.
//
// A change with no current record to hold it (an empty source, a source past its end)
// is never dropped in silence: the binding keeps the value as Stranded() until the
// container forgets it, so the container can tell the user before the value is lost
// for good (on saving, on closing). A change while the source is read-only is not
// kept: the control was told that it may not change (CanPropertyChange).
//
// When the property refuses the record's value (its setter throws an automation
// error), onRefused hears it if set, and the source's other listeners still follow the
// move; without onRefused the error reaches whoever moved the source.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "frame/automation/error.h"
#include "frame/automation/string.h"
#include "frame/automation/variant.h"
#include "frame/container/record_source.h"

namespace ze::container {

class DataBinding {
 public:
  using Getter = std::function<Variant()>;
  using Setter = std::function<void(const Variant&)>;

  // Ties property (of the control reached through get/set) to field of source, and
  // follows the source's moves from now on.
  DataBinding(RecordSource& source, String field, String property, Getter get, Setter set);
  DataBinding(const DataBinding&) = delete;
  DataBinding& operator=(const DataBinding&) = delete;

  const String& Property() const { return property_; }
  const String& Field() const { return field_; }

  void RecordChanged();
  void ShowNull();
  // Returns whether the notice was about the bound property.
  bool PropertyChanged(std::u16string_view name);
  bool CanPropertyChange(std::u16string_view name) const;

  // The last value the property took while there was no current record to hold it.
  const std::optional<Variant>& Stranded() const { return stranded_; }
  void ForgetStranded() { stranded_.reset(); }

  std::function<void(const AutomationError&)> onRefused;

 private:
  void Show(const Variant& value);

  RecordSource& source_;
  String field_;
  String property_;
  Getter get_;
  Setter set_;
  bool writing_ = false;
  std::optional<Variant> stranded_;
  // The source's move listener holds this weakly: a binding may go before its source.
  std::shared_ptr<int> token_ = std::make_shared<int>(0);
};

}  // namespace ze::container
