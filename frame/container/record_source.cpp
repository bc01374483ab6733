// RecordSource: the parts every engine shares.
#include "frame/container/record_source.h"

#include "frame/automation/error.h"

namespace ze::container {

RecordSource::~RecordSource() = default;

void RecordSource::NotifyMove() {
  // A listener may add another; the copy keeps the walk valid.
  auto listeners = listeners_;
  for (auto& listener : listeners) listener();
}

std::size_t RecordSource::IndexOf(const std::vector<String>& names, std::u16string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (EqualsIgnoringAsciiCase(names[i], name)) return i;
  Raise(kItemNotFound, u"Item not found in this collection.");
}

void RecordSource::RequireCurrent() const {
  if (!HasCurrent()) Raise(kNoCurrentRecord, u"No current record.");
}

void RecordSource::RequireWritable() const {
  if (ReadOnly()) Raise(kNotUpdatable, u"Database or object is read-only.");
  RequireCurrent();
}

}  // namespace ze::container
