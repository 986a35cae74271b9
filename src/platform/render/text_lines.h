// Where each line of a text item stands on the page, in points: the placement every picture of a page uses.
// The painter draws glyphs at these places; the viewer lays its searchable text over them at the same ones.
#pragma once

#include <string_view>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/render/font_service.h"

namespace vob::render {

struct TextLine {
  std::string_view text;  // a view into the item's text, without its '\n' (or "\r\n")
  double left_points = 0;
  double baseline_points = 0;
  double width_points = 0;                       // the shaped run's advance
  double ascent_points = 0, descent_points = 0;  // the face's, descent positive
};

// The item's non-empty lines, aligned in its box as the item says. REQUIRES: item is a text of model.
std::vector<TextLine> PlaceTextLines(FontService& fonts, const engine::PageModel& model,
                                     const engine::PageItem& item);

}  // namespace vob::render
