// What the engine needs to know about text to lay it out: widths, line heights and where lines wrap.
// The font service implements it with the same fonts the renderers draw, so layout and output agree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/page_model.h"

namespace vob::engine {

struct FontMetrics {
  double ascent_twips = 0;       // baseline below the top of a line
  double line_height_twips = 0;  // distance between baselines of two lines
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Throws vob::Error naming the family when no font file for it can be found. The width of a text of
  // printable ASCII characters is the sum of its characters' widths (no kerning), so that the engine can add
  // up most texts from a table instead of calling this.
  virtual double WidthTwips(const FontSpec& font, std::string_view text) = 0;
  virtual FontMetrics Metrics(const FontSpec& font) = 0;
  // Breaks text into lines no wider than width_twips: at line breaks, then at blanks; a word wider than the
  // line stands alone on its line (it is not split).
  virtual std::vector<std::string> Wrap(const FontSpec& font, std::string_view text, double width_twips);
};

}  // namespace vob::engine
