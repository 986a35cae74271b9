// The report's fields: the columns of the data control's current row, and unbound fields added by name whose
// values handlers set. Names match without regard to case; "Table.Column" reaches a column whose bare name
// does.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/recordset.h"
#include "platform/vb/names.h"
#include "platform/vb/variant.h"

namespace vob::engine {

class FieldCollection;
class ReportFill;

// One field of the current row; a value set in ActiveReport_FetchData prints with that row.
class Field {
 public:
  const std::string& name() const;
  const vb::Variant& value() const;
  void set_value(vb::Variant value);

 private:
  friend class FieldCollection;
  Field(FieldCollection& fields, int slot) : fields_(&fields), slot_(slot) {}
  FieldCollection* fields_;
  int slot_;
};

// Every field has a slot: the columns first, then the unbound fields. The engine reads one row ahead to find
// group breaks, so it keeps two rows of values: the current row, and the previous one, which it shows again
// while group footers print (a footer shows the values of its group's last row).
class FieldCollection {
 public:
  // Adds an unbound field, Empty until set. Adding a name that exists already keeps that field and its value.
  void Add(std::string_view name);
  int Count() const { return static_cast<int>(names_.size()); }
  // Throws vb::Error 9 (Subscript out of range) naming the field when there is no field of that name.
  Field Item(std::string_view name);
  // Changes whenever slots move (a field added, data bound): a Field found by name stays good until then. No
  // two collections share a generation, so it also tells which collection a Field was found in.
  uint64_t generation() const { return generation_; }

 private:
  friend class Field;
  friend class ReportFill;  // binds the data, moves from row to row and reads values by slot

  // Attach binds the columns of a recordset (or none) ahead of the unbound fields, which keep
  // their values; column values start Empty. Slots change, and so does generation().
  void Attach(const data::Recordset* recordset);
  int Resolve(std::string_view name) const;  // the slot, or -1
  const std::string& name(int slot) const { return names_[slot]; }
  const vb::Variant& value(int slot) const { return rows_[shown_][slot]; }
  void set_value(int slot, vb::Variant value) { rows_[shown_][slot] = std::move(value); }

  // Starts the next row: the recordset's current row fills the columns, the unbound fields carry their values
  // over, and it becomes the current and shown row. DiscardRow drops it again (no row after all).
  void BeginRow();
  void DiscardRow();
  void ShowPreviousRow() { shown_ = 1 - current_; }
  void ShowCurrentRow() { shown_ = current_; }

  const data::Recordset* recordset_ = nullptr;
  int column_count_ = 0;
  std::vector<std::string> names_;
  vb::NameMap<int> unbound_slots_;
  std::array<std::vector<vb::Variant>, 2> rows_;
  int current_ = 0;
  int shown_ = 0;
  static uint64_t NextGeneration();
  uint64_t generation_ = NextGeneration();
  // Handlers ask for the same fields by the same literals on every row; the answers hold for one generation.
  mutable vb::RecentNames<int> recent_slots_;
  mutable uint64_t recent_generation_ = generation_;
};

}  // namespace vob::engine
