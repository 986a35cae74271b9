// What a report reads from ReportParams and DrillDownParams, declared as a table beside its layout, so that
// users learn a report's parameters from `vobreports params KEY` rather than from its source.
// Declaring validates nothing: the report still receives every parameter exactly as the host set it.
#pragma once

#include <span>
#include <string_view>

namespace vob::reports {

enum class ParamKind {
  kDate,    // a date as the host writes it: "06/30/2024"
  kPeriod,  // an accounting period code, four-digit year and two-digit period: "202406"
  kId,      // an identifier or number of a record: customer, account, check, style
  kNumber,  // an amount or other number
  kText,    // free text: a caption, a pattern
  kChoice,  // one of a few codes, listed in values
  kYesNo,   // a yes/no flag
};

// The index of the drill-down argument in a parameter table; `vobreports params` prints it as "d".
inline constexpr int kDrillDown = -1;

struct ParamRow {
  int index;  // ReportParams index 0..6, or kDrillDown
  ParamKind kind;
  std::string_view label;    // "Beginning date", "Customer ID or blank for all"
  std::string_view example;  // a value that works on the demo company; blank where blank is the example
  // A value for a second demo run (the journal of one document beside the journal of a date range); empty
  // when the report has no second run. A parameter without one keeps its example in the second run.
  std::string_view second_example = {};
  std::span<const std::string_view> values = {};  // the codes of a choice
  // Blank is a meaning of its own ("all", "one check"). Every other parameter is needed, except the
  // drill-down argument and a yes/no flag, which are never needed.
  bool is_blank_allowed = false;
};

// True when the report cannot do without a value for the parameter.
constexpr bool IsRequired(const ParamRow& row) {
  return row.index != kDrillDown && row.kind != ParamKind::kYesNo && !row.is_blank_allowed;
}

// "date", "period", "id", "number", "text", "choice", "yesno".
std::string_view ParamKindName(ParamKind kind);

}  // namespace vob::reports
