// Where a check style puts the date, amounts, payee and remittance stub, and how a check page is drawn there.
// Check printing and the check layout sample both draw through this file, so a sample always matches checks.
//
// Positions are whole twips on the page canvas, which counts from the paper's top-left corner (not from the
// margins): a style's positions are measured from the edges of the check stock. A right-aligned canvas text
// ends at its position, so the stub's amounts end at their value offsets, under the right end of their
// captions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/data/recordset.h"
#include "platform/engine/page_canvas.h"

namespace vob::reports {

struct CanvasPoint {
  int32_t left_twips = 0;
  int32_t top_twips = 0;
};

// The ten positions of a check style (libChecks), converted once per run.
struct CheckGeometry {
  CanvasPoint date;    // DateTop, dateleft
  CanvasPoint amount;  // amountTop, amountLeft
  CanvasPoint words;   // vAmountTop, vAmountleft
  CanvasPoint payee;   // AddressTop, AddressLeft
  CanvasPoint stub;    // stubTop, stubLeft
  double twips_per_unit = 1440;

  // The style at the recordset's current row: Units exactly "IN" means inches, anything else (lower-case
  // "in" and Null included) centimetres; each value times the unit's twips, rounded halves to even. At the
  // recordset's end every position is 0. A Null position raises Invalid use of Null (94).
  static CheckGeometry FromStyle(const data::Recordset& style);
};

// The invoice table of the stub: captions and values at fixed offsets from the stub's left edge.
struct StubColumn {
  std::string_view caption;
  int32_t caption_offset_twips;
  int32_t value_offset_twips;
  bool is_right_aligned;
};
inline constexpr StubColumn kStubInvoiceNo{"Invoice No", 0, 0, false};
inline constexpr StubColumn kStubInvoiceDate{"Invoice Date", 2160, 2304, false};
inline constexpr StubColumn kStubInvoiceAmount{"Invoice Amount", 3888, 5328, true};
inline constexpr StubColumn kStubDiscount{"Discount Taken", 5616, 7056, true};
inline constexpr StubColumn kStubPayment{"Payment Amount", 7344, 8640, true};
inline constexpr StubColumn kStubColumns[] = {kStubInvoiceNo, kStubInvoiceDate, kStubInvoiceAmount,
                                              kStubDiscount, kStubPayment};

// Line spacing of the stub, as multiples of its measured line height.
inline constexpr double kAfterStubHeading = 1.5;
inline constexpr double kAfterStubCaptions = 1.2;
inline constexpr double kAfterStubLine = 1.1;

// The step between the stub heading's items (width) and the stub's line height (height), both measured on
// twelve X in the canvas's current font.
struct StubMetrics {
  int32_t column_step_twips = 0;
  int32_t line_height_twips = 0;
};

// Draws one check page on the page canvas. REQUIRES: called from a page event (the canvas is attached).
class CheckPage {
 public:
  CheckPage(engine::PageCanvas& canvas, const CheckGeometry& geometry)
      : canvas_(canvas), geometry_(geometry) {}

  // The check font: family as given, 9 points, bold, italic, left-aligned.
  void SetCheckFont(std::string family);
  // Date, amount in figures and amount in words at their positions, left-aligned.
  void DrawFace(std::string_view date, std::string_view amount, std::string_view words);

  // Left-aligned text at a position; the payee block draws its lines with it.
  void DrawText(std::string_view text, int32_t left_twips, int32_t top_twips);
  int32_t TextHeight(std::string_view text) { return canvas_.TextHeight(text); }

  StubMetrics MeasureStub();
  // Heading item i (0 "Vendor ID:", 1 the id, 2 "Name:", 3 the name) at the stub's top.
  void DrawStubHeading(int item, std::string_view text, const StubMetrics& metrics);
  void DrawStubCaptions(int32_t top_twips);
  // A value of the invoice table, aligned as its column is.
  void DrawStubValue(const StubColumn& column, std::string_view text, int32_t top_twips);

  // top + factor x line height, rounded to whole twips, halves to even (1.5 x 225 gives 338).
  static int32_t NextLineTop(int32_t top_twips, double factor, int32_t line_height_twips);

 private:
  engine::PageCanvas& canvas_;
  const CheckGeometry& geometry_;
};

}  // namespace vob::reports
