// One row per supported Jet function, as SQLite's func.c lists its built-ins.
// Year and Month read ISO text on SQLite and timestamps on PostgreSQL; Nz with one argument gives "".
#include "platform/data/jet_functions.h"

#include <array>

#include "platform/data/jet_tokenizer.h"
#include "platform/vb/names.h"

namespace vob::data {
namespace {

using F = JetFunction;

constexpr std::array<JetFunction, 24> kFunctions = {{
    //  name     min max  result         SQLite                                       PostgreSQL
    {"Sum", 1, 1, F::kLikeFirst, "sum($1)", "sum($1)"},
    {"Count", 1, 1, F::kLong, "count($1)", "count($1)"},
    {"Min", 1, 1, F::kLikeFirst, "min($1)", "min($1)"},
    {"Max", 1, 1, F::kLikeFirst, "max($1)", "max($1)"},
    {"Avg", 1, 1, F::kAverage, "avg($1)", "avg($1)"},
    {"Abs", 1, 1, F::kLikeFirst, "abs($1)", "abs($1)"},
    {"UCase", 1, 1, F::kText, "upper($1)", "upper($1)"},
    {"LCase", 1, 1, F::kText, "lower($1)", "lower($1)"},
    {"Left", 2, 2, F::kText, "substr($1, 1, $2)", "left($1, $2)"},
    {"Right", 2, 2, F::kText, "CASE WHEN $2 > 0 THEN substr($1, -($2)) ELSE '' END", "right($1, $2)"},
    {"Mid", 2, 3, F::kText, "substr($*)", "substr($*)"},
    {"Len", 1, 1, F::kLong, "length($1)", "length($1)"},
    {"Trim", 1, 1, F::kText, "trim($1, ' ')", "btrim($1, ' ')"},
    {"LTrim", 1, 1, F::kText, "ltrim($1, ' ')", "ltrim($1, ' ')"},
    {"RTrim", 1, 1, F::kText, "rtrim($1, ' ')", "rtrim($1, ' ')"},
    {"Nz", 1, 2, F::kLikeFirst, "coalesce($1, $2)", "coalesce($1, $2)"},
    {"IIf", 3, 3, F::kLikeSecond, "CASE WHEN $1 THEN $2 ELSE $3 END", "CASE WHEN $1 THEN $2 ELSE $3 END"},
    {"Year", 1, 1, F::kLong, "CAST(strftime('%Y', $1) AS INTEGER)", "CAST(EXTRACT(YEAR FROM $1) AS integer)"},
    {"Month", 1, 1, F::kLong, "CAST(strftime('%m', $1) AS INTEGER)",
     "CAST(EXTRACT(MONTH FROM $1) AS integer)"},
    {"Day", 1, 1, F::kLong, "CAST(strftime('%d', $1) AS INTEGER)", "CAST(EXTRACT(DAY FROM $1) AS integer)"},
    {"Hour", 1, 1, F::kLong, "CAST(strftime('%H', $1) AS INTEGER)", "CAST(EXTRACT(HOUR FROM $1) AS integer)"},
    {"Minute", 1, 1, F::kLong, "CAST(strftime('%M', $1) AS INTEGER)",
     "CAST(EXTRACT(MINUTE FROM $1) AS integer)"},
    {"Date", 0, 0, F::kDate, "$today", "$today"},
    {"Now", 0, 0, F::kDate, "$now", "$now"},
}};

}  // namespace

const JetFunction* FindJetFunction(std::string_view name) {
  for (const JetFunction& function : kFunctions) {
    if (vb::SameName(function.name, name)) return &function;
  }
  return nullptr;
}

}  // namespace vob::data
