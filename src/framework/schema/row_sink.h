// Where generated rows go: a database loader, a test's checker or a hash. Rows arrive table by table in any
// order, each as one Variant per column of its table, Null where the column has no value.
#pragma once

#include <span>
#include <vector>

#include "framework/schema/accounting_tables.h"
#include "platform/vb/variant.h"

namespace vob::schema {

class RowSink {
 public:
  virtual ~RowSink() = default;
  // values: one per column of table, in column order. Text columns hold strings, Long columns Long, Double
  // columns Double, Currency columns Currency, DateTime columns Date, YesNo columns Boolean.
  virtual void AddRow(const TableDef& table, std::span<const vb::Variant> values) = 0;
};

// One row being filled, by column positions that Col() resolves while compiling.
class TableRow {
 public:
  explicit TableRow(TableId id) : table_(Table(id)), values_(table_.columns.size(), vb::Variant::Null()) {}

  vb::Variant& operator[](int column) { return values_[static_cast<size_t>(column)]; }

  // Hands the row to the sink and leaves every column Null for the next row.
  void Emit(RowSink& sink) {
    sink.AddRow(table_, values_);
    for (vb::Variant& value : values_) value = vb::Variant::Null();
  }

 private:
  const TableDef& table_;
  std::vector<vb::Variant> values_;
};

}  // namespace vob::schema
