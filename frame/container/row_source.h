// RowSource: a record source whose records are rows it reaches by number.
//
// The position and the moves of such a source are the same whatever holds the rows
// (memory, a list of row ids of a table): this class keeps them. An engine supplies
// RecordCount and the two hooks around a move: BeforeMove may refuse it (by throwing)
// before the position changes, AfterMove reads the record now current.
#pragma once

#include <cstddef>
#include <optional>

#include "frame/container/record_source.h"

namespace ze::container {

class RowSource : public RecordSource {
 public:
  std::optional<std::size_t> Position() const final;
  bool IsBOF() const final { return Rows() == 0 || position_ < 0; }
  bool IsEOF() const final { return Rows() == 0 || position_ >= Rows(); }
  void MoveFirst() final;
  void MoveLast() final;
  void MoveNext() final;
  void MovePrevious() final;

 protected:
  std::ptrdiff_t Rows() const { return static_cast<std::ptrdiff_t>(RecordCount()); }
  // Stands on a row (-1 is BOF, Rows() is EOF; beyond them is clamped), through both
  // hooks, then sends the move notice.
  void StandAt(std::ptrdiff_t position);
  virtual void BeforeMove() {}
  virtual void AfterMove() {}

  std::ptrdiff_t position_ = -1;  // -1 is BOF, Rows() is EOF
};

}  // namespace ze::container
