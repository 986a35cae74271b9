// Runs the demo company's stages: reference tables, masters, then every day from 1 January of the year before
// the generation date up to that date, then the rows that summarise the days (jobs, balances, periods).
#include "framework/schema/demo_generator.h"

#include <array>
#include <cmath>
#include <vector>

#include <fmt/format.h>

#include "framework/schema/demo_internal.h"
#include "framework/schema/schema_error.h"
#include "platform/vb/date.h"

namespace vob::schema {
namespace demo {
namespace {

// Changing the seed changes every demo database; tests and benchmarks rely on it staying put.
constexpr uint32_t kSeed = 20240601;

int YearOf(double serial) {
  return vb::SplitSerial(serial).year;
}

// Numbers the rows of the tables keyed by the order of storage as they pass, table by table.
class RowNumbering : public RowSink {
 public:
  explicit RowNumbering(RowSink& sink) : sink_(sink) {}

  void AddRow(const TableDef& table, std::span<const vb::Variant> values) override {
    const std::span<const ColumnDef> columns = table.columns;
    if (columns.empty() || columns.back().name != columns::kRowNo) {
      sink_.AddRow(table, values);
      return;
    }
    row_.assign(values.begin(), values.end());
    row_.back() = vb::Variant(static_cast<int32_t>(++count_[static_cast<size_t>(table.id)]));
    sink_.AddRow(table, row_);
  }

 private:
  RowSink& sink_;
  std::array<int64_t, kTableCount> count_{};
  std::vector<vb::Variant> row_;
};

}  // namespace

DemoState::DemoState(const DemoOptions& options, RowSink& row_sink)
    : scale(options.scale),
      generation_date(std::floor(options.generation_date)),
      first_year(YearOf(generation_date) - 1),
      first_day(vb::DateSerial(first_year, 1, 1)),
      sink(row_sink),
      random(kSeed),
      ledger(row_sink, random, first_year),
      bank(row_sink, random, generation_date) {}

}  // namespace demo

void GenerateDemoCompany(const DemoOptions& options, RowSink& sink) {
  if (options.scale < 1 || options.scale > 10000) {
    throw SchemaError(fmt::format("demo company: scale {} is outside 1 to 10000", options.scale));
  }
  if (options.generation_date < vb::DateSerial(1901, 1, 1) ||
      options.generation_date > vb::DateSerial(9998, 12, 31)) {
    throw SchemaError("demo company: the generation date must lie between 1901 and 9998");
  }
  demo::RowNumbering numbered(sink);
  demo::DemoState state(options, numbered);
  demo::WriteReferenceTables(state);
  demo::CreateParties(state);
  demo::CreateItems(state);
  demo::PostOpeningBalances(state);
  demo::SalesActivity sales(state);
  demo::PurchaseActivity purchases(state);
  demo::OverheadActivity overhead(state);
  const double year_end = vb::DateSerial(state.first_year, 12, 31);
  for (double day = state.first_day; day <= state.generation_date; ++day) {
    sales.RunDay(day);
    purchases.RunDay(day);
    overhead.RunDay(day);
    if (day == year_end) state.ledger.CloseYear(day);
  }
  demo::WriteItems(state);
  demo::WriteJobs(state);
  demo::WriteParties(state);
  state.ledger.WriteAccounts();
}

}  // namespace vob::schema
