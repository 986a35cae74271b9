// Text line placement: the first baseline one ascent below the box's top, then one line height apart.
#include "platform/render/text_lines.h"

#include "platform/vb/lines.h"

namespace vob::render {

std::vector<TextLine> PlaceTextLines(FontService& fonts, const engine::PageModel& model,
                                     const engine::PageItem& item) {
  const engine::FontSpec& font_spec = model.font(item.font);
  const uint32_t face_index = fonts.FaceIndex(font_spec);
  const FontFace& face = fonts.face(face_index);
  const double scale = font_spec.size_points / face.units_per_em();  // points per font unit
  const double line_height = (face.ascender() - face.descender() + face.line_gap()) * scale;
  const double left = item.left / static_cast<double>(engine::kTwipsPerPoint);
  const double box_width = item.width / static_cast<double>(engine::kTwipsPerPoint);

  std::vector<TextLine> lines;
  double baseline = item.top / static_cast<double>(engine::kTwipsPerPoint) + face.ascender() * scale;
  vb::ForEachLine(item.text, [&](std::string_view line) {
    if (!line.empty()) {
      TextLine placed{line,
                      left,
                      baseline,
                      fonts.Shape(face_index, line).advance * scale,
                      face.ascender() * scale,
                      -face.descender() * scale};
      if (item.align == engine::Align::kRight) placed.left_points += box_width - placed.width_points;
      if (item.align == engine::Align::kCenter) placed.left_points += (box_width - placed.width_points) / 2;
      lines.push_back(placed);
    }
    baseline += line_height;
  });
  return lines;
}

}  // namespace vob::render
