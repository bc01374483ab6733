// RowSource: positions and moves over numbered rows.
#include "frame/container/row_source.h"

#include <algorithm>

namespace ze::container {

std::optional<std::size_t> RowSource::Position() const {
  if (position_ < 0 || position_ >= Rows()) return std::nullopt;
  return static_cast<std::size_t>(position_);
}

void RowSource::StandAt(std::ptrdiff_t position) {
  BeforeMove();
  position_ = std::clamp<std::ptrdiff_t>(position, -1, Rows());
  AfterMove();
  NotifyMove();
}

void RowSource::MoveFirst() {
  StandAt(Rows() == 0 ? -1 : 0);
}
void RowSource::MoveLast() {
  StandAt(Rows() - 1);
}
void RowSource::MoveNext() {
  StandAt(position_ + 1);
}
void RowSource::MovePrevious() {
  StandAt(position_ >= Rows() ? Rows() - 1 : position_ - 1);
}

}  // namespace ze::container
