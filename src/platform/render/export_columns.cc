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

// The label printed left of a box on its line, with no other box or value between them.
const RecordControl* LabelLeftOf(const RecordLayout& layout, const RecordControl& box) {
  const RecordControl* nearest = nullptr;
  for (const RecordControl& label : layout.labels) {
    if (label.section != box.section || !OverlapsVertically(label, box) || label.left >= box.left) continue;
    if (nearest == nullptr || label.left > nearest->left) nearest = &label;
  }
  if (nearest == nullptr) return nullptr;
  // Another box between them has the label to itself.
  for (const auto* controls : {&layout.boxes, &layout.values}) {
    for (const RecordControl& other : *controls) {
      if (&other != &box && other.section == box.section && OverlapsVertically(other, box) &&
          other.left >= nearest->left && other.left < box.left) {
        return nullptr;
      }
    }
  }
  return nearest;
}

// A header's caption with its value printed right under it (a terms box's "Terms" over the terms).
bool HasValueUnder(const RecordLayout& layout, const RecordControl& label) {
  for (const RecordControl& value : layout.values) {
    if (value.section == label.section && value.top >= Bottom(label) &&
        value.top < Bottom(label) + label.height && Covers(label, value)) {
      return true;
    }
  }
  return false;
}

// A label that names the field to its right ("Customer:" before the id, "Ending Date:" before the date) or
// under it is a field's caption, no column's heading; a blank one (a spacer) names nothing.
bool CanHead(const RecordLayout& layout, const RecordControl& label) {
  if (CleanCaption(label.text).empty() || HasValueUnder(layout, label)) return false;
  for (const auto* controls : {&layout.boxes, &layout.values}) {
    for (const RecordControl& box : *controls) {
      if (box.section == label.section && LabelLeftOf(layout, box) == &label) return false;
    }
  }
  return true;
}

// The line a box prints on within its section, counted from 0, and how many lines the section's boxes
// make: a detail of two lines reads its captions from two heading lines, the first from the first.
std::pair<size_t, size_t> LineOf(const RecordLayout& layout, const RecordControl& box) {
  std::vector<int32_t> tops;
  for (const RecordControl& other : layout.boxes) {
    if (other.section == box.section) tops.push_back(other.top);
  }
  if (std::find(tops.begin(), tops.end(), box.top) == tops.end()) return {0, 1};  // a label
  std::sort(tops.begin(), tops.end());
  std::vector<int32_t> line_tops;  // a box lower by less than half a line shares the line
  for (int32_t top : tops) {
    if (line_tops.empty() || top >= line_tops.back() + std::max<int32_t>(box.height, 2) / 2)
      line_tops.push_back(top);
  }
  size_t line = 0;
  while (line + 1 < line_tops.size() && line_tops[line + 1] <= box.top) ++line;
  return {line, line_tops.size()};
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
  // The heading lines over the box in the nearest section, top to bottom; the box's line takes its own
  // from the bottom ones.
  std::vector<const RecordControl*> lines;
  for (const RecordControl& label : layout.labels) {
    if (!is_candidate(label) || label.section != nearest->section) continue;
    const bool is_new_line = std::none_of(lines.begin(), lines.end(), [&](const RecordControl* line) {
      return OverlapsVertically(*line, label);
    });
    if (is_new_line) lines.push_back(&label);
  }
  std::sort(lines.begin(), lines.end(),
            [](const RecordControl* a, const RecordControl* b) { return a->top < b->top; });
  const auto [line, line_count] = LineOf(layout, box);
  const size_t skipped = lines.size() > line_count ? lines.size() - line_count : 0;
  nearest = lines[std::min(skipped + line, lines.size() - 1)];
  for (const RecordControl& label : layout.labels) {
    if (&label != nearest && is_candidate(label) && label.section == nearest->section &&
        OverlapsVertically(label, *nearest)) {
      return nullptr;  // the box spans two captioned columns: neither names it
    }
  }
  // One caption over several boxes side by side ("Unit Price Discount" over two) names none of them.
  for (const RecordControl& other : layout.boxes) {
    if (&other != &box && other.section == box.section && OverlapsVertically(other, box) &&
        Covers(*nearest, other)) {
      return nullptr;
    }
  }
  return nearest;
}

const RecordControl* CaptionLabel(const RecordLayout& layout, const RecordControl& box) {
  if (const RecordControl* left = LabelLeftOf(layout, box)) {
    if (engine::IsGroupHeader(box.section)) return left;
    // A row's value with its own label before it ("Net change for" and the account) is no column's.
    if (box.section == layout.row_section) return nullptr;
  }
  return LabelAbove(layout, box);
}

// The part of a caption over a box, where one label prints several headings apart ("Code       Description"):
// the part whose share of the label's width the box starts under.
std::string_view PartOver(const RecordControl& label, const RecordControl& box) {
  std::vector<std::string_view> parts;
  std::string_view text = label.text;
  for (size_t gap; (gap = text.find("   ")) != std::string_view::npos;) {
    if (gap > 0) parts.push_back(text.substr(0, gap));
    text.remove_prefix(text.find_first_not_of(' ', gap) == std::string_view::npos
                           ? text.size()
                           : text.find_first_not_of(' ', gap));
  }
  if (!text.empty()) parts.push_back(text);
  if (parts.size() < 2 || label.width <= 0) return label.text;
  const int64_t offset = std::clamp<int64_t>(box.left - label.left, 0, label.width - 1);
  return parts[static_cast<size_t>(offset * static_cast<int64_t>(parts.size()) / label.width)];
}

// "txtAccountName" or a generic "Field15" bound to "GLAccountsHeader.AccountName" as "Account Name".
std::string NameFromControl(const RecordControl& box) {
  std::string_view name = box.name;
  bool is_generic = false;
  for (std::string_view stem : {"Field", "Text", "TextBox"}) {
    if (name.size() > stem.size() && name.substr(0, stem.size()) == stem &&
        name.find_first_not_of("0123456789", stem.size()) == std::string_view::npos) {
      is_generic = true;
    }
  }
  if (is_generic) {
    std::string_view field = box.field;
    if (const size_t dot = field.rfind('.'); dot != std::string_view::npos) field.remove_prefix(dot + 1);
    while (!field.empty() && (field.front() == '[' || field.front() == ' ')) field.remove_prefix(1);
    while (!field.empty() && (field.back() == ']' || field.back() == ' ')) field.remove_suffix(1);
    if (field.empty() || field.substr(0, 3) == "fld") return box.name;
    name = field;
  } else {
    for (std::string_view prefix : {"txt", "fld", "lbl", "srpt", "sub"}) {
      if (name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix &&
          name[prefix.size()] >= 'A' && name[prefix.size()] <= 'Z') {
        name.remove_prefix(prefix.size());
        break;
      }
    }
    if (name.size() == box.name.size()) return box.name;
  }
  // Words at case changes: "CustomerIDNo" reads "Customer ID No".
  auto is_upper = [](char c) { return c >= 'A' && c <= 'Z'; };
  auto is_lower = [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); };
  std::string words;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i] == '_' ? ' ' : name[i];
    const bool starts_word = i > 0 && is_upper(c) &&
                             (is_lower(name[i - 1]) || (i + 1 < name.size() && is_upper(name[i - 1]) &&
                                                        name[i + 1] >= 'a' && name[i + 1] <= 'z'));
    if (starts_word && !words.empty() && words.back() != ' ') words += ' ';
    words += c;
  }
  return words;
}

}  // namespace

std::string NameFromControlName(std::string_view name) {
  RecordControl control;
  control.name = std::string(name);
  return NameFromControl(control);
}

std::string CaptionOver(const RecordLayout& layout, const RecordControl& box) {
  const RecordControl* label = CaptionLabel(layout, box);
  return label == nullptr ? std::string() : CleanCaption(PartOver(*label, box));
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
    std::string caption = label == nullptr ? std::string() : CleanCaption(PartOver(*label, box));
    if (!CleanCaption(box.text).empty()) {
      caption = CleanCaption(box.text);  // the report named the column itself
      label = nullptr;
    } else if (caption.empty()) {
      caption = NameFromControl(box);
      label = nullptr;
    }
    names.push_back(std::move(caption));
    labels.push_back(label);
  }
  // One caption over a stack of as many boxes as it names ("Name / Contact / Address" over three lines)
  // names them in turn, top to bottom.
  for (size_t i = 0; i < names.size(); ++i) {
    if (labels[i] == nullptr) continue;
    std::vector<size_t> stack;
    for (size_t j = 0; j < names.size(); ++j) {
      if (labels[j] == labels[i]) stack.push_back(j);
    }
    std::vector<std::string> parts;
    std::string_view text = names[i];
    for (size_t slash; (slash = text.find(" / ")) != std::string_view::npos; text.remove_prefix(slash + 3))
      parts.emplace_back(text.substr(0, slash));
    parts.emplace_back(text);
    if (stack.size() < 2 || parts.size() != stack.size() || stack.front() != i) continue;
    std::stable_sort(stack.begin(), stack.end(), [&](size_t a, size_t b) {
      return layout.boxes.at(boxes[a]).top < layout.boxes.at(boxes[b]).top;
    });
    for (size_t part = 0; part < parts.size(); ++part) {
      names[stack[part]] = parts[part];
      labels[stack[part]] = nullptr;  // named apart already
    }
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
  const auto is_lined = [&](const ExportColumn& column) { return layout.boxes[column.box].lines > 1; };
  const auto lined_count = std::count_if(columns.begin(), columns.end(), is_lined);
  if (lined_count == 0) return columns;
  std::vector<ExportColumn> expanded;
  for (const ExportColumn& column : columns) {
    if (!is_lined(column)) {
      expanded.push_back(column);
      continue;
    }
    for (int line = 1; line <= layout.boxes[column.box].lines; ++line) {
      const std::string stem = lined_count == 1 ? "Line " : column.caption + " Line ";
      expanded.push_back({stem + std::to_string(line), column.box, column.group_level, line});
    }
  }
  return expanded;
}

}  // namespace vob::render
