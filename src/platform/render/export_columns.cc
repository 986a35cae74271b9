// Caption matching: which printed label names which exported column.
// Geometry only, in twips: labels in sections printed above a box count as above it whatever their top.
#include "platform/render/export_columns.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/vb/names.h"

namespace vob::render {
namespace {

using engine::RecordControl;
using engine::RecordLayout;
using engine::SectionId;

int32_t Right(const RecordControl& control) {
  return control.left + control.width;
}
int32_t Bottom(const RecordControl& control) {
  return control.top + control.height;
}

int32_t HorizontalOverlap(const RecordControl& a, const RecordControl& b) {
  return std::min(Right(a), Right(b)) - std::max(a.left, b.left);
}
bool OverlapsVertically(const RecordControl& a, const RecordControl& b) {
  return std::min(Bottom(a), Bottom(b)) > std::max(a.top, b.top);
}

// A label covers a box when they share at least half of the narrower of the two: a right-aligned caption
// over a wide amount, or a wide caption over a narrow column.
bool Covers(const RecordControl& label, const RecordControl& box) {
  const int32_t overlap = HorizontalOverlap(label, box);
  return overlap > 0 && 2 * overlap >= std::min(label.width, box.width);
}

// The sections whose labels can caption a box of `section`: the page header, the banner and the group
// headers above a row or a footer; only its own header for a group's key.
bool CanCaption(SectionId label_section, SectionId box_section) {
  if (engine::IsGroupHeader(box_section)) return label_section == box_section;
  return label_section == engine::kPageHeader || label_section == engine::kBannerHeader ||
         engine::IsGroupHeader(label_section);
}

// Lines joined by one blank, blanks collapsed, a trailing colon dropped.
std::string CleanCaption(std::string_view text) {
  std::string clean;
  for (char c : text) {
    const bool is_blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
    if (is_blank) {
      if (!clean.empty() && clean.back() != ' ') clean += ' ';
    } else {
      clean += c;
    }
  }
  while (!clean.empty() && (clean.back() == ' ' || clean.back() == ':')) clean.pop_back();
  return clean;
}

// "Above" in print order: an earlier section, or the same section higher up.
bool IsAbove(const RecordControl& label, const RecordControl& box) {
  if (label.section != box.section)
    return CanCaption(label.section, box.section) && label.section < box.section;
  return Bottom(label) <= box.top;
}

// The nearest of two labels above a box: the later section, then the lower bottom edge.
bool IsNearer(const RecordControl& a, const RecordControl& b) {
  if (a.section != b.section) return a.section > b.section;
  return Bottom(a) > Bottom(b);
}

const RecordControl* LabelLeftOf(const RecordLayout& layout, const RecordControl& box) {
  const RecordControl* nearest = nullptr;
  for (const RecordControl& label : layout.labels) {
    if (label.section != box.section || !OverlapsVertically(label, box) || label.left >= box.left) continue;
    if (nearest == nullptr || label.left > nearest->left) nearest = &label;
  }
  if (nearest == nullptr) return nullptr;
  // Another box between them has the label to itself.
  for (const RecordControl& other : layout.boxes) {
    if (&other != &box && other.section == box.section && OverlapsVertically(other, box) &&
        other.left >= nearest->left && other.left < box.left) {
      return nullptr;
    }
  }
  return nearest;
}

// A label that names the field to its right ("Customer:" before the id) is no column's heading; a blank
// one (a spacer) names nothing.
bool CanHead(const RecordLayout& layout, const RecordControl& label) {
  if (CleanCaption(label.text).empty()) return false;
  for (const RecordControl& box : layout.boxes) {
    if (box.section == label.section && LabelLeftOf(layout, box) == &label) return false;
  }
  return true;
}

const RecordControl* LabelAbove(const RecordLayout& layout, const RecordControl& box) {
  auto is_candidate = [&](const RecordControl& label) {
    return &label != &box && IsAbove(label, box) && Covers(label, box) && CanHead(layout, label);
  };
  const RecordControl* nearest = nullptr;
  for (const RecordControl& label : layout.labels) {
    if (is_candidate(label) && (nearest == nullptr || IsNearer(label, *nearest))) nearest = &label;
  }
  if (nearest == nullptr) return nullptr;
  for (const RecordControl& label : layout.labels) {
    if (&label != nearest && is_candidate(label) && label.section == nearest->section &&
        OverlapsVertically(label, *nearest)) {
      return nullptr;  // the box spans two captioned columns: neither names it
    }
  }
  return nearest;
}

const RecordControl* CaptionLabel(const RecordLayout& layout, const RecordControl& box) {
  if (engine::IsGroupHeader(box.section)) {
    if (const RecordControl* left = LabelLeftOf(layout, box)) return left;
  }
  return LabelAbove(layout, box);
}

}  // namespace

std::string CaptionOver(const RecordLayout& layout, const RecordControl& box) {
  const RecordControl* label = CaptionLabel(layout, box);
  return label == nullptr ? std::string() : CleanCaption(label->text);
}

void NumberRepeats(std::vector<std::string>& captions) {
  std::vector<std::string> seen;
  for (std::string& caption : captions) {
    std::string unique = caption;
    for (int number = 2; std::find(seen.begin(), seen.end(), vb::LowerAscii(unique)) != seen.end();
         ++number) {
      unique = caption + " " + std::to_string(number);
    }
    seen.push_back(vb::LowerAscii(unique));
    caption = std::move(unique);
  }
}

std::vector<std::string> NameBoxes(const RecordLayout& layout, std::span<const size_t> boxes) {
  std::vector<std::string> names;
  std::vector<const RecordControl*> labels;  // the label each name came from, or null
  for (size_t index : boxes) {
    const RecordControl& box = layout.boxes.at(index);
    const RecordControl* label = CaptionLabel(layout, box);
    std::string caption = label == nullptr ? std::string() : CleanCaption(label->text);
    if (caption.empty()) {
      caption = box.name;
      label = nullptr;
    }
    names.push_back(std::move(caption));
    labels.push_back(label);
  }
  // Qualify a repeated caption by the caption over its own label, where that tells the repeats apart.
  std::vector<std::string> lower;
  for (const std::string& name : names) lower.push_back(vb::LowerAscii(name));
  for (size_t i = 0; i < names.size(); ++i) {
    if (labels[i] == nullptr || std::count(lower.begin(), lower.end(), lower[i]) < 2) continue;
    const std::string over = CaptionOver(layout, *labels[i]);
    if (!over.empty()) names[i] = over + " " + names[i];
  }
  NumberRepeats(names);
  return names;
}

std::vector<ExportColumn> RowColumns(const RecordLayout& layout) {
  std::vector<ExportColumn> columns;
  std::vector<size_t> boxes;
  for (size_t index = 0; index < layout.boxes.size(); ++index) {
    const engine::SectionId section = layout.boxes[index].section;
    const bool is_key = engine::IsGroupHeader(section);
    if (!is_key && section != layout.row_section) continue;
    columns.push_back({"", index, is_key ? engine::GroupLevel(section) : 0});
    boxes.push_back(index);
  }
  std::vector<std::string> names = NameBoxes(layout, boxes);
  for (size_t i = 0; i < columns.size(); ++i) columns[i].caption = std::move(names[i]);
  return columns;
}

}  // namespace vob::render
