// A report's output format (the value-format language) as a spreadsheet number format, and the kind of cell
// it asks for. Numeric patterns mostly read the same in both; dates rename a few tokens.
#pragma once

#include <string>
#include <string_view>

namespace vob::render {

enum class CellKind {
  kGeneral,  // no pattern: the value's own type decides
  kNumber,   // a numeric pattern or named number format: text that reads as a number becomes one
  kDate,     // a date or time pattern: text that reads as a date becomes one
  kText,     // a text pattern ("@@@-@@@@"): the sheet shows the printed text, which a spreadsheet cannot make
};

struct ExcelFormat {
  CellKind kind = CellKind::kGeneral;
  std::string number_format;  // "" for the spreadsheet's General
};

// Never fails: a pattern a spreadsheet cannot express keeps its kind with the nearest format ("m/d/yyyy" for
// a date pattern with weekday, week, quarter or day-of-year tokens). Cases: excel_format_test.cc.
ExcelFormat TranslateFormat(std::string_view pattern);

}  // namespace vob::render
