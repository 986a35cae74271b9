// Check style geometry and the drawing steps check printing and the layout sample share.
#include "framework/check_geometry.h"

#include "platform/vb/conversions.h"

namespace vob::reports {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerCentimetre = 1440 / 2.54;
constexpr std::string_view kStubMeasure = "XXXXXXXXXXXX";

int32_t WholeTwips(double twips) {
  return static_cast<int32_t>(vb::RoundHalfEven(twips));
}

}  // namespace

CheckGeometry CheckGeometry::FromStyle(const data::Recordset& style) {
  CheckGeometry geometry;
  if (style.eof()) return geometry;
  const vb::Variant& units = style.Fields("Units");
  // Only the exact upper-case code means inches: that is how the styles have always been read.
  geometry.twips_per_unit = !units.is_null() && vb::CStr(units) == "IN" ? kTwipsPerInch : kTwipsPerCentimetre;
  auto position = [&](std::string_view left, std::string_view top) {
    return CanvasPoint{WholeTwips(vb::CDbl(style.Fields(left)) * geometry.twips_per_unit),
                       WholeTwips(vb::CDbl(style.Fields(top)) * geometry.twips_per_unit)};
  };
  geometry.date = position("dateleft", "DateTop");
  geometry.amount = position("amountLeft", "amountTop");
  geometry.words = position("vAmountleft", "vAmountTop");
  geometry.payee = position("AddressLeft", "AddressTop");
  geometry.stub = position("stubLeft", "stubTop");
  return geometry;
}

void CheckPage::SetCheckFont(std::string family) {
  canvas_.set_font_name(std::move(family));
  canvas_.set_font_size(9);
  canvas_.set_font_bold(true);
  canvas_.set_font_italic(true);
  canvas_.set_text_alignment(engine::kCanvasAlignLeft);
}

void CheckPage::DrawFace(std::string_view date, std::string_view amount, std::string_view words) {
  DrawText(date, geometry_.date.left_twips, geometry_.date.top_twips);
  DrawText(amount, geometry_.amount.left_twips, geometry_.amount.top_twips);
  DrawText(words, geometry_.words.left_twips, geometry_.words.top_twips);
}

void CheckPage::DrawText(std::string_view text, int32_t left_twips, int32_t top_twips) {
  canvas_.set_text_alignment(engine::kCanvasAlignLeft);
  canvas_.DrawText(text, left_twips, top_twips);
}

StubMetrics CheckPage::MeasureStub() {
  return {canvas_.TextWidth(kStubMeasure), canvas_.TextHeight(kStubMeasure)};
}

void CheckPage::DrawStubHeading(int item, std::string_view text, const StubMetrics& metrics) {
  DrawText(text, geometry_.stub.left_twips + item * metrics.column_step_twips, geometry_.stub.top_twips);
}

void CheckPage::DrawStubCaptions(int32_t top_twips) {
  for (const StubColumn& column : kStubColumns)
    DrawText(column.caption, geometry_.stub.left_twips + column.caption_offset_twips, top_twips);
}

void CheckPage::DrawStubValue(const StubColumn& column, std::string_view text, int32_t top_twips) {
  canvas_.set_text_alignment(column.is_right_aligned ? engine::kCanvasAlignRight : engine::kCanvasAlignLeft);
  canvas_.DrawText(text, geometry_.stub.left_twips + column.value_offset_twips, top_twips);
}

int32_t CheckPage::NextLineTop(int32_t top_twips, double factor, int32_t line_height_twips) {
  return top_twips + WholeTwips(factor * line_height_twips);
}

}  // namespace vob::reports
