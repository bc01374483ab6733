// DataBinding: a field of the current record and a property, in both directions.
#include "frame/container/data_binding.h"

namespace ze::container {

DataBinding::DataBinding(RecordSource& source, String field, String property, Getter get,
                         Setter set)
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

void DataBinding::Show(const Variant& value) {
  writing_ = true;
  try {
    set_(value);
  } catch (const AutomationError& e) {
    writing_ = false;
    if (!onRefused) throw;
    onRefused(e);
  } catch (...) {
    writing_ = false;
    throw;
  }
  writing_ = false;
}

void DataBinding::RecordChanged() {
  if (!source_.HasCurrent()) return;
  Show(source_.Field(field_));
}

void DataBinding::ShowNull() {
  Show(Variant::Null());
}

bool DataBinding::PropertyChanged(std::u16string_view name) {
  if (!EqualsIgnoringAsciiCase(name, property_)) return false;
  if (writing_) return true;
  if (!source_.HasCurrent()) {
    stranded_ = get_();
    return true;
  }
  if (source_.ReadOnly()) return true;
  source_.SetField(field_, get_());
  return true;
}

bool DataBinding::CanPropertyChange(std::u16string_view name) const {
  if (!EqualsIgnoringAsciiCase(name, property_)) return true;
  return !source_.ReadOnly() && source_.HasCurrent();
}

}  // namespace ze::container
