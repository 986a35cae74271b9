// Cell values for the exports: typed values out of what the fill bound, summed or a handler wrote.
// A text is read back only under a numeric or date format, so an account number "1010" stays a text.
#include "platform/render/export_value.h"

#include <cmath>
#include <cstdio>

#include "platform/vb/conversions.h"
#include "platform/vb/date.h"

namespace vob::render {
namespace {

vb::Variant FromText(const std::string& text, CellKind kind) {
  if (vb::Trim(text).empty()) return {};
  if (kind == CellKind::kNumber) {
    if (std::optional<double> number = vb::ParseNumber(text)) return vb::Variant(*number);
  } else if (kind == CellKind::kDate) {
    if (std::optional<double> serial = vb::ParseDate(text)) return vb::Variant::Date(*serial);
  }
  return vb::Variant(text);
}

}  // namespace

vb::Variant ExportValue(const engine::RecordCell& cell, CellKind kind) {
  if (!cell.is_visible) return {};
  if (cell.is_text_set) return FromText(*cell.text, kind);
  const vb::Variant& value = *cell.value;
  switch (value.type()) {
    case vb::VarType::kEmpty:
    case vb::VarType::kNull:
      return {};
    case vb::VarType::kString:
      return FromText(value.str(), kind);
    case vb::VarType::kBoolean:
      return kind == CellKind::kNumber ? vb::Variant(value.boolean() ? -1 : 0) : value;
    default:
      return value;
  }
}

std::string RawText(const vb::Variant& value) {
  switch (value.type()) {
    case vb::VarType::kDate: {
      const double serial = value.date_serial();
      if (!vb::IsDateSerialInRange(serial)) return vb::GeneralText(vb::Variant(serial));
      const vb::CivilDateTime civil = vb::SplitSerial(serial);
      char text[32];
      const bool has_time = civil.hour != 0 || civil.minute != 0 || civil.second != 0;
      std::snprintf(text, sizeof text, has_time ? "%04d-%02d-%02d %02d:%02d:%02d" : "%04d-%02d-%02d",
                    civil.year, civil.month, civil.day, civil.hour, civil.minute, civil.second);
      return text;
    }
    default:
      return vb::GeneralText(value);  // numbers in en-US general form: dot, no grouping
  }
}

}  // namespace vob::render
