// Output formats as spreadsheet number formats: named formats, numeric sections, date tokens, text patterns,
// and the patterns a spreadsheet cannot say; sheet names made valid and unique.
#include "platform/render/excel_format.h"

#include <gtest/gtest.h>

#include <string_view>

#include "platform/render/sheet_names.h"

namespace vob::render {
namespace {

TEST(TranslateFormat, KeepsTheMeaningOfEachPattern) {
  struct Case {
    std::string_view pattern;
    CellKind kind;
    std::string_view expected;
  };
  static constexpr Case kCases[] = {
      {"", CellKind::kGeneral, ""},
      // Named formats, any case.
      {"Currency", CellKind::kNumber, "$#,##0.00;($#,##0.00)"},
      {"standard", CellKind::kNumber, "#,##0.00"},
      {"General Number", CellKind::kNumber, ""},
      {"Yes/No", CellKind::kNumber, "\"Yes\";\"Yes\";\"No\""},
      {"Short Date", CellKind::kDate, "m/d/yyyy"},
      {"Long Time", CellKind::kDate, "h:mm:ss AM/PM"},
      // Numeric sections read alike; an empty one borrows the first, the Null section goes.
      {"#,##0.00 ;(#,##0.00)", CellKind::kNumber, "#,##0.00 ;(#,##0.00)"},
      {"0.00;", CellKind::kNumber, "0.00;-0.00"},
      {"0.00;;\"zero\"", CellKind::kNumber, "0.00;-0.00;\"zero\""},
      {"0.00;(0.00);0;\"n/a\"", CellKind::kNumber, "0.00;(0.00);0"},
      {"\"Group \"0", CellKind::kNumber, "\"Group \"0"},
      {"0.00 \"d;m\"", CellKind::kNumber, "0.00 \"d;m\""},
      {"#,##0,", CellKind::kNumber, "#,##0,"},
      {"0.00E+00", CellKind::kNumber, "0.00E+00"},
      {"0%", CellKind::kNumber, "0%"},
      // Date tokens renamed: n is the minute, ddddd and ttttt the short date and long time, AMPM the marker.
      {"mm/dd/yy", CellKind::kDate, "mm/dd/yy"},
      {"dd-mmm-yyyy", CellKind::kDate, "dd-mmm-yyyy"},
      {"hh:nn", CellKind::kDate, "hh:mm"},
      {"ddddd ttttt", CellKind::kDate, "m/d/yyyy h:mm:ss AM/PM"},
      {"dddddd", CellKind::kDate, "dddd, mmmm d, yyyy"},
      {"h:nn ampm", CellKind::kDate, "h:mm AM/PM"},
      {"h:nn a/p", CellKind::kDate, "h:mm a/p"},
      {"c", CellKind::kDate, "m/d/yyyy h:mm:ss AM/PM"},
      {"\"As of \"mmmm d", CellKind::kDate, "\"As of \"mmmm d"},
      // A date with weekday, week, quarter or day-of-year numbers falls back to the short date.
      {"yyyy \\Qq", CellKind::kDate, "m/d/yyyy"},
      {"ww", CellKind::kDate, "m/d/yyyy"},
      {"y", CellKind::kDate, "m/d/yyyy"},
      // Text patterns: the printed text is the cell.
      {"@@@-@@@@", CellKind::kText, "@"},
      {">&", CellKind::kText, "@"},
  };
  for (const Case& c : kCases) {
    const ExcelFormat format = TranslateFormat(c.pattern);
    EXPECT_EQ(format.kind, c.kind) << c.pattern;
    EXPECT_EQ(format.number_format, c.expected) << c.pattern;
  }
}

TEST(SheetNames, MakesKeysValidAndUnique) {
  struct Case {
    std::string_view wanted, expected;
  };
  static constexpr Case kCases[] = {
      {"ACME0021", "ACME0021"},
      {"acme0021", "acme0021 (2)"},  // unique without regard to case
      {"A/B [x]: *?\\", "A_B _x__ ___"},
      {"'quoted'", "quoted"},
      {"", "Blank"},
      {"Blank", "Blank (2)"},
      {"history", "history (1)"},
      {"A very long customer name, Incorporated", "A very long customer name, Inco"},
      {"A very long customer name, Incorporated", "A very long customer name, (2)"},
      {"Zürich Öl & Gas AG, Niederlassung Nord", "Zürich Öl & Gas AG, Niederlassu"},
  };
  SheetNames names;
  for (const Case& c : kCases) EXPECT_EQ(names.Add(c.wanted), c.expected) << c.wanted;
}

}  // namespace
}  // namespace vob::render
