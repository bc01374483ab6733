// TableSource: moves by key, edits held until saved, optimistic saves.
#include "sample/data/table_source.h"

#include "frame/automation/error.h"

namespace provix2 {

namespace {
const std::vector<Cell> kNoKey;
}

RecordConflict::RecordConflict(Kind kind, std::vector<ze::Variant> stored)
    : RecordsetError(kind == Kind::Changed ? "il record è stato modificato da un altro utente"
                                           : "il record non esiste più: lo ha cancellato un altro utente"),
      kind_(kind),
      stored_(std::move(stored)) {}

TableSource::TableSource(std::vector<std::string> fields) : fields_(std::move(fields)) {
  for (const auto& field : fields_) names_.push_back(ze::FromUtf8(field));
}

void TableSource::Open() {
  auto row = Fetch(Seek::First, kNoKey);
  empty_ = !row;
  Stand(std::move(row), At::Start);
  if (row_) position_ = 0;
}

std::size_t TableSource::RecordCount() const {
  return CountBefore(nullptr);
}

std::optional<std::size_t> TableSource::Position() const {
  if (at_ != At::Record) return std::nullopt;
  if (!position_) position_ = CountBefore(&row_->key);
  return position_;
}

std::vector<ze::Variant> TableSource::ValuesOf(const Row& row) const {
  std::vector<ze::Variant> values;
  for (std::size_t i = 0; i < row.cells.size(); ++i) values.push_back(ValueOf(i, row.cells[i]));
  return values;
}

void TableSource::Stand(std::optional<Row> row, At otherwise) {
  if (row) {
    values_ = ValuesOf(*row);
    row_ = std::move(row);
    at_ = At::Record;
    empty_ = false;
  } else {
    values_.clear();
    row_.reset();
    at_ = otherwise;
  }
}

void TableSource::Go(Seek seek) {
  if (Dirty()) throw RecordsetError("il record corrente ha modifiche non salvate");
  Reconnect();
  const std::optional<std::size_t> from = at_ == At::Record ? position_ : std::nullopt;
  switch (seek) {
    case Seek::First:
    case Seek::Last: {
      auto row = Fetch(seek, kNoKey);
      empty_ = !row;
      Stand(std::move(row), At::Start);
      position_ = row_ && seek == Seek::First ? std::optional<std::size_t>(0) : std::nullopt;
      break;
    }
    case Seek::After:
    case Seek::Before: {
      std::optional<Row> row;
      if (at_ == At::Record) row = Fetch(seek, row_->key);
      const At end = seek == Seek::After ? At::End : At::Start;
      Stand(std::move(row), end);
      position_.reset();
      if (row_ && from) position_ = seek == Seek::After ? *from + 1 : *from - 1;
      break;
    }
  }
  NotifyMove();
}

void TableSource::MoveFirst() {
  Go(Seek::First);
}

void TableSource::MoveLast() {
  Go(Seek::Last);
}

void TableSource::MoveNext() {
  if (at_ == At::Start) return Go(Seek::First);
  if (at_ == At::End) return Go(Seek::After);  // stays at EOF, with its notice
  Go(Seek::After);
}

void TableSource::MovePrevious() {
  if (at_ == At::End) return Go(Seek::Last);
  Go(Seek::Before);
}

ze::Variant TableSource::Field(std::u16string_view name) const {
  const std::size_t i = IndexOf(names_, name);
  RequireCurrent();
  if (auto e = edits_.find(i); e != edits_.end()) return e->second;
  return values_[i];
}

void TableSource::SetField(std::u16string_view name, const ze::Variant& value) {
  const std::size_t i = IndexOf(names_, name);
  RequireWritable();
  if (value.Is<ze::ObjectRef>() || value.Is<ze::ErrorValue>()) {
    ze::Raise(ze::errors::kTypeMismatch);
  }
  CheckStorable(value);
  if (value == values_[i]) {
    edits_.erase(i);  // back to what is stored: no edit
    return;
  }
  edits_[i] = value;
}

void TableSource::Update() {
  if (!Dirty() || !row_) return;
  Reconnect();
  std::optional<Row> after = Write(row_->key, edits_, &row_->cells);
  if (!after) {
    if (std::optional<Row> now = Reread(row_->key)) {
      throw RecordConflict(RecordConflict::Kind::Changed, ValuesOf(*now));
    }
    throw RecordConflict(RecordConflict::Kind::Deleted, {});
  }
  Stand(std::move(after), At::Start);
  edits_.clear();
}

void TableSource::Overwrite() {
  if (!Dirty() || !row_) return;
  Reconnect();
  std::optional<Row> after = Write(row_->key, edits_, nullptr);
  if (!after) after = Insert(row_->key, row_->cells, edits_);
  Stand(std::move(after), At::Start);
  edits_.clear();
  position_.reset();
}

void TableSource::Reload() {
  Reconnect();
  if (row_) {
    std::optional<Row> row = Reread(row_->key);
    std::optional<std::size_t> position = position_;
    if (!row) {
      row = Fetch(Seek::After, row_->key);
      if (!row) {
        row = Fetch(Seek::Before, row_->key);
        if (position) position = *position == 0 ? std::nullopt : std::optional(*position - 1);
      }
    }
    empty_ = !row;
    Stand(std::move(row), At::Start);
    position_ = position;
  }
  edits_.clear();
  NotifyMove();
}

}  // namespace provix2
