// Field slots, name resolution and the two row buffers of the read-ahead.
#include "platform/engine/fields.h"

#include <algorithm>
#include <atomic>
#include <span>

#include "platform/vb/error.h"

namespace vob::engine {

const std::string& Field::name() const {
  return fields_->name(slot_);
}
const vb::Variant& Field::value() const {
  return fields_->value(slot_);
}
void Field::set_value(vb::Variant value) {
  fields_->set_value(slot_, std::move(value));
}

void FieldCollection::Add(std::string_view name) {
  if (unbound_slots_.find(name) != unbound_slots_.end()) return;
  int slot = Count();
  unbound_slots_.emplace(std::string(name), slot);
  names_.emplace_back(name);
  for (auto& row : rows_) row.resize(names_.size());
  generation_ = NextGeneration();
}

Field FieldCollection::Item(std::string_view name) {
  int slot = Resolve(name);
  if (slot < 0) vb::Raise(vb::kSubscriptOutOfRange, "no field \"" + std::string(name) + "\"");
  return Field(*this, slot);
}

void FieldCollection::Attach(const data::Recordset* recordset) {
  std::vector<std::string> unbound_names(names_.begin() + column_count_, names_.end());
  std::array<std::vector<vb::Variant>, 2> unbound_values;
  for (int row = 0; row < 2; ++row) {
    unbound_values[row].assign(rows_[row].begin() + column_count_, rows_[row].end());
  }

  recordset_ = recordset;
  column_count_ = recordset != nullptr ? recordset->FieldCount() : 0;
  names_.clear();
  for (int column = 0; column < column_count_; ++column) names_.push_back(recordset->FieldName(column));
  unbound_slots_.clear();
  for (std::string& name : unbound_names) {
    unbound_slots_.emplace(name, Count());
    names_.push_back(std::move(name));
  }
  for (int row = 0; row < 2; ++row) {
    rows_[row].assign(column_count_, vb::Variant());
    rows_[row].insert(rows_[row].end(), unbound_values[row].begin(), unbound_values[row].end());
  }
  generation_ = NextGeneration();
}

uint64_t FieldCollection::NextGeneration() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

int FieldCollection::Resolve(std::string_view name) const {
  if (recent_generation_ != generation_) {
    recent_slots_.Clear();
    recent_generation_ = generation_;
  }
  if (const int* kept = recent_slots_.Find(name)) return *kept;
  int slot = -1;
  if (auto found = unbound_slots_.find(name); found != unbound_slots_.end()) {
    slot = found->second;
  } else if (recordset_ != nullptr) {
    slot = recordset_->FieldIndex(name);
    // A qualified name reaches a column the recordset knows by its bare name.
    if (size_t dot = name.rfind('.'); slot < 0 && dot != std::string_view::npos) {
      slot = recordset_->FieldIndex(name.substr(dot + 1));
    }
  }
  if (slot >= 0) recent_slots_.Keep(name, slot);
  return slot;
}

void FieldCollection::BeginRow() {
  int next = 1 - current_;
  std::vector<vb::Variant>& row = rows_[next];
  const std::vector<vb::Variant>& previous = rows_[current_];
  if (recordset_ != nullptr && !recordset_->eof()) {
    std::span<const vb::Variant> values = recordset_->CurrentValues();
    const size_t count = std::min<size_t>(values.size(), column_count_);
    for (size_t slot = 0; slot < count; ++slot) row[slot].Assign(values[slot]);
  }
  for (size_t slot = column_count_; slot < row.size(); ++slot) row[slot].Assign(previous[slot]);
  current_ = next;
  shown_ = next;
}

void FieldCollection::DiscardRow() {
  current_ = 1 - current_;
  shown_ = current_;
}

}  // namespace vob::engine
