// The rows of an in-memory recordset: typed fields appended before opening, rows added one at a time,
// a stable sort by a field list. Fixed-width text is padded with blanks to its size, as adChar fields are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/data/field_names.h"
#include "platform/data/recordset.h"
#include "platform/vb/variant.h"

namespace vob::data {

class MemoryRows {
 public:
  // REQUIRES: no row added yet. A text size of 0 means variable width.
  void AppendField(std::string name, FieldType type, int defined_size);
  const FieldNames& names() const { return names_; }
  int field_count() const { return static_cast<int>(fields_.size()); }

  // Starts a row with every field Null.
  void BeginRow();
  // Converts the value to the field's type (text padded to its size); throws SqlError naming the field for an
  // unknown field, a value of another type, or text longer than the field.
  void SetValue(int index, vb::Variant value);
  // Appends the row begun; returns its position.
  size_t CommitRow();
  const std::vector<vb::Variant>& pending_row() const { return pending_row_; }

  size_t row_count() const { return rows_.size(); }
  const std::vector<vb::Variant>& row(size_t position) const { return rows_[position]; }

  // "A, B DESC": stable; Null sorts first, text without regard to case. Throws SqlError for an unknown field.
  void Sort(std::string_view field_list);

 private:
  struct Field {
    std::string name;
    FieldType type;
    int defined_size;
  };
  vb::Variant Convert(const Field& field, vb::Variant value) const;

  std::vector<Field> fields_;
  FieldNames names_;
  std::vector<std::vector<vb::Variant>> rows_;
  std::vector<vb::Variant> pending_row_;
};

}  // namespace vob::data
