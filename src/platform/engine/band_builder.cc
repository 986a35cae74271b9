// Section instances to page items: growth of text and subreports first, then every visible control in order.
// Also the cut of a band that is taller than a page, so that it can go on over several pages.
#include "platform/engine/band_builder.h"

#include <algorithm>
#include <cmath>

#include "platform/vb/lines.h"

namespace vob::engine {
namespace {

int32_t TopOf(const PageItem& item) {
  return item.kind == ItemKind::kLine ? std::min(item.top, item.top + item.height) : item.top;
}
int32_t BottomOf(const PageItem& item) {
  return item.kind == ItemKind::kLine ? std::max(item.top, item.top + item.height) : item.top + item.height;
}
size_t LineCount(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

}  // namespace

uint32_t BandBuilder::NameOf(const Control& control) {
  if (control.name_serial_ != tables_.serial()) {
    control.name_index_ = tables_.NameIndex(control.name());
    control.name_serial_ = tables_.serial();
  }
  return control.name_index_;
}

double BandBuilder::LineHeight(uint32_t font_index) {
  return measurer_.Metrics(tables_.info().fonts[font_index]).line_height_twips;
}

std::string BandBuilder::WrappedText(const TextControl& control, std::string_view text) {
  std::vector<std::string> lines = measurer_.Wrap(control.font(), text, control.width());
  std::string wrapped;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) wrapped.push_back('\n');
    wrapped += lines[i];
  }
  return wrapped;
}

void BandBuilder::ClipText(const TextControl& control, uint32_t font_index, const std::string& text,
                           std::string& clipped) {
  const FontSpec& font = tables_.info().fonts[font_index];
  const DocumentTables::AsciiWidths& widths = tables_.WidthsOf(font_index, measurer_);
  // A text may end up to half a point past its edge: the last glyph's advance ends in blank space.
  constexpr double kOverhangTwips = 10;
  double room = control.width() + kOverhangTwips;
  // A text's width summed from the table, or -1 when a byte of it is not there (a line end, a byte outside
  // printable ASCII).
  auto table_width = [&](std::string_view line) {
    double width = 0;
    for (char c : line) {
      const float added = widths.by_byte[static_cast<unsigned char>(c)];
      if (added < 0) return -1.0;
      width += added;
    }
    return width;
  };
  auto fits = [&](std::string_view line) {
    if (line.size() * widths.widest <= room) return true;  // short texts need no sum
    const double width = table_width(line);
    return (width < 0 ? measurer_.WidthTwips(font, line) : width) <= room;
  };
  // The common case, one line that fits, in one pass: a text summed from the table whole is one line.
  if (text.size() * widths.widest > room) {
    const double width = table_width(text);
    if (width >= 0 && width <= room) {
      clipped = text;
      return;
    }
  }
  bool is_one_line = text.find('\n') == std::string::npos && text.find('\r') == std::string::npos;
  if (is_one_line && fits(text)) {
    clipped = text;
    return;
  }
  // Whether the box holds the baseline of line `index` (from 0); the first line prints always.
  const FontMetrics metrics = measurer_.Metrics(font);
  auto holds_line = [&](size_t index) {
    return index == 0 ||
           static_cast<double>(index) * metrics.line_height_twips + metrics.ascent_twips <= control.height();
  };
  // Lines of plain text that each fit the width clearly (an address, a label) are the lines Wrap gives, their
  // trailing blanks dropped; the box keeps those whose baselines it holds, the first always. Summed from the
  // table, clear of the edge by a twip so that its rounding cannot decide what a measurement would.
  if (!is_one_line) {
    bool is_plain = true;
    size_t count = 0;
    clipped.clear();
    vb::ForEachLine(text, [&](std::string_view paragraph) {
      if (!is_plain || !holds_line(count)) return;
      paragraph = paragraph.substr(0, paragraph.find_last_not_of(' ') + 1);
      const double width = table_width(paragraph);
      if (width < 0 || width > control.width() - 1) {
        is_plain = false;
        return;
      }
      if (count++ > 0) clipped.push_back('\n');
      clipped.append(paragraph);
    });
    if (is_plain) return;
  }
  std::vector<std::string> lines;
  if (is_one_line) {
    lines.push_back(text);
  } else {
    lines = measurer_.Wrap(font, text, control.width());
  }
  size_t kept = 1;
  while (kept < lines.size() && holds_line(kept)) ++kept;
  lines.resize(kept);
  clipped.clear();
  for (std::string& line : lines) {
    if (!fits(line)) {
      // The longest start of the line that fits, cut between characters (before UTF-8 lead bytes).
      std::vector<size_t> ends;
      for (size_t end = 1; end < line.size(); ++end) {
        if ((static_cast<unsigned char>(line[end]) & 0xC0) != 0x80) ends.push_back(end);
      }
      size_t low = 0, high = ends.size();  // how many of the ends fit
      while (low < high) {
        size_t middle = (low + high + 1) / 2;
        if (fits(std::string_view(line).substr(0, ends[middle - 1]))) {
          low = middle;
        } else {
          high = middle - 1;
        }
      }
      line.resize(low == 0 ? 0 : ends[low - 1]);
      while (!line.empty() && line.back() == ' ') line.pop_back();
    }
    if (&line != &lines.front()) clipped.push_back('\n');
    clipped += line;
  }
}

int32_t BandBuilder::PushOf(const Control& control) const {
  int32_t push = 0;
  for (const Grower& grower : growers_) {
    const Control& above = *grower.control;
    if (&above != &control && above.top() + above.height() <= control.top()) {
      push = std::max(push, grower.push + grower.growth);
    }
  }
  return push;
}

void BandBuilder::FindGrowers(const Section& section, SubreportRunner& subreports) {
  growers_.clear();
  for (const auto& owned : section.controls()) {
    const Control& control = *owned;
    if (!control.visible()) continue;
    if (control.kind() == kLabel || control.kind() == kText) {
      const auto& text_control = static_cast<const TextControl&>(control);
      if (!text_control.can_grow() || text_control.text_.empty()) continue;
      Grower& grower = growers_.emplace_back();
      grower.control = &control;
      grower.text = WrappedText(text_control, text_control.text_);
      double needed = LineHeight(tables_.FontIndex(text_control.font())) * LineCount(grower.text);
      grower.growth = std::max(0, static_cast<int32_t>(std::ceil(needed)) - control.height());
    } else if (control.kind() == kSubreport) {
      auto& subreport = const_cast<Subreport&>(static_cast<const Subreport&>(control));
      if (subreport.report() == nullptr) continue;
      Grower& grower = growers_.emplace_back();
      grower.control = &control;
      subreports.RunSubreport(subreport, grower.subreport);
      if (subreport.can_grow()) grower.growth = std::max(0, grower.subreport.height - control.height());
    }
  }
  std::stable_sort(growers_.begin(), growers_.end(),
                   [](const Grower& a, const Grower& b) { return a.control->top() < b.control->top(); });
  for (Grower& grower : growers_) grower.push = PushOf(*grower.control);
}

void BandBuilder::AddText(const TextControl& control, uint32_t section_name, int32_t push, Grower* grower,
                          Band& band) {
  const std::string& text = control.text_;
  const auto* text_box = control.kind() == kText ? static_cast<const TextBox*>(&control) : nullptr;
  // A page number or count prints its slot's final text, unless a handler set a text of its own.
  uint32_t deferred =
      text_box != nullptr && text_box->is_text_from_value_ && text_box->deferred_serial_ == tables_.serial()
          ? text_box->deferred_slot_
          : kNotDeferred;
  if (text.empty() && deferred == kNotDeferred) return;

  PageItem& item = band.items.emplace_back();
  item.kind = ItemKind::kText;
  item.align = control.alignment();
  item.left = control.left();
  item.top = control.top() + push;
  item.width = control.width();
  item.height = control.height() + (grower != nullptr ? grower->growth : 0);
  item.color = control.fore_color();
  if (control.font_serial_ != tables_.serial()) {
    control.font_index_ = tables_.FontIndex(control.font());
    control.font_serial_ = tables_.serial();
  }
  uint32_t font = control.font_index_;
  item.font = font;
  item.section = section_name;
  item.control = NameOf(control);
  item.deferred = deferred;
  if (grower != nullptr) {
    item.text = std::move(grower->text);
  } else if (deferred != kNotDeferred || control.width() <= 0) {
    item.text = text;  // a slot's final text is not known yet; a box without a width has no edge to cut at
  } else {
    ClipText(control, font, text, item.text);
  }
  if (text_box != nullptr) item.hyperlink = text_box->hyperlink();
}

void BandBuilder::Build(const Section& section, int32_t width, SubreportRunner& subreports, Band& band) {
  band.items.clear();
  band.height = section.height();
  if (section.name_serial_ != tables_.serial()) {
    section.name_index_ = tables_.NameIndex(section.name());
    section.name_serial_ = tables_.serial();
  }
  uint32_t section_name = section.name_index_;
  FindGrowers(section, subreports);

  bool is_opaque = section.back_style() == kBackStyleOpaque;
  if (is_opaque) {
    PageItem& background = band.items.emplace_back();
    background.kind = ItemKind::kRect;
    background.width = width;
    background.color = section.back_color();
    background.section = section_name;
  }
  for (const auto& owned : section.controls()) {
    const Control& control = *owned;
    if (!control.visible()) continue;
    auto grower = std::find_if(growers_.begin(), growers_.end(),
                               [&](const Grower& g) { return g.control == &control; });
    Grower* found = grower != growers_.end() ? &*grower : nullptr;
    int32_t push = found != nullptr ? found->push : growers_.empty() ? 0 : PushOf(control);
    switch (control.kind()) {
      case kLabel:
      case kText:
        AddText(static_cast<const TextControl&>(control), section_name, push, found, band);
        break;
      case kLine: {
        const auto& line = static_cast<const Line&>(control);
        PageItem& item = band.items.emplace_back();
        item.kind = ItemKind::kLine;
        item.left = line.left();
        item.top = line.top() + push;
        item.width = line.width();
        item.height = line.height();
        item.section = section_name;
        item.control = NameOf(line);
        break;
      }
      case kImage: {
        const auto& image = static_cast<const Image&>(control);
        if (image.picture() == nullptr) break;
        PageItem& item = band.items.emplace_back();
        item.kind = ItemKind::kImage;
        item.is_stretched = image.size_mode() == kSizeModeStretch;
        item.left = image.left();
        item.top = image.top() + push;
        item.width = image.width();
        item.height = image.height();
        item.picture = image.picture();
        item.section = section_name;
        item.control = NameOf(image);
        break;
      }
      case kSubreport:
        if (found == nullptr) break;
        for (PageItem& item : found->subreport.items) {
          item.left += control.left();
          item.top += control.top() + push;
          band.items.push_back(std::move(item));
        }
        break;
      default:
        break;
    }
  }
  int32_t growth = 0;
  for (const Grower& grower : growers_) growth = std::max(growth, grower.push + grower.growth);
  band.height += growth;
  if (is_opaque) band.items.front().height = band.height;
}

int32_t BandBuilder::Split(Band& band, int32_t cut, Band& rest) {
  // Move the cut up until it passes through nothing that cannot be cut: images, and text between its lines.
  bool is_moved = true;
  while (is_moved && cut > 0) {
    is_moved = false;
    for (const PageItem& item : band.items) {
      int32_t top = TopOf(item), bottom = BottomOf(item);
      if (top >= cut || bottom <= cut || item.kind == ItemKind::kRect || item.kind == ItemKind::kLine)
        continue;
      int32_t new_cut = top;
      if (item.kind == ItemKind::kText) {
        double line_height = LineHeight(item.font);
        auto whole_lines = static_cast<int32_t>((cut - top) / line_height);
        new_cut = top + static_cast<int32_t>(std::floor(whole_lines * line_height));
      }
      if (new_cut < cut) {
        cut = new_cut;
        is_moved = true;
      }
    }
  }
  if (cut <= 0) return 0;

  rest.items.clear();
  rest.height = band.height - cut;
  std::vector<PageItem> kept;
  for (PageItem& item : band.items) {
    int32_t top = TopOf(item), bottom = BottomOf(item);
    if (bottom <= cut) {
      kept.push_back(std::move(item));
    } else if (top >= cut) {
      item.top -= cut;
      rest.items.push_back(std::move(item));
    } else if (item.kind == ItemKind::kText) {
      // Whole lines above the cut stay; the others go on at the top of the rest.
      auto whole_lines = static_cast<size_t>(std::lround((cut - item.top) / LineHeight(item.font)));
      size_t split_at = std::string::npos;
      for (size_t line = 0, from = 0; line < whole_lines; ++line, from = split_at + 1) {
        split_at = item.text.find('\n', from);
        if (split_at == std::string::npos) break;
      }
      if (split_at != std::string::npos) {
        PageItem& below = rest.items.emplace_back(item);
        below.text = item.text.substr(split_at + 1);
        below.top = 0;
        below.height = item.top + item.height - cut;
        item.text.resize(split_at);
      }
      item.height = cut - item.top;
      kept.push_back(std::move(item));
    } else {
      // Rectangles and lines are cut in two; a line keeps its slope.
      PageItem below = item;
      if (item.kind == ItemKind::kLine && item.height != 0) {
        double fraction = static_cast<double>(cut - item.top) / item.height;
        int32_t x_at_cut = item.left + static_cast<int32_t>(std::lround(item.width * fraction));
        bool is_downwards = item.height > 0;
        int32_t upper_y = is_downwards ? item.top : item.top + item.height;
        int32_t lower_y = is_downwards ? item.top + item.height : item.top;
        int32_t upper_x = is_downwards ? item.left : item.left + item.width;
        int32_t lower_x = is_downwards ? item.left + item.width : item.left;
        item.left = upper_x;
        item.top = upper_y;
        item.width = x_at_cut - upper_x;
        item.height = cut - upper_y;
        below.left = x_at_cut;
        below.top = 0;
        below.width = lower_x - x_at_cut;
        below.height = lower_y - cut;
      } else {
        below.top = 0;
        below.height = bottom - cut;
        item.height = cut - top;
      }
      kept.push_back(std::move(item));
      rest.items.push_back(std::move(below));
    }
  }
  band.items = std::move(kept);
  band.height = cut;
  return cut;
}

}  // namespace vob::engine
