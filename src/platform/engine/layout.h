// What a report module declares: its sections and controls as constexpr tables of rows, one row per object,
// aligned so that they read like the printed page. ActiveReport::Declare builds the runtime objects from
// them. Every length is in twips (1440 per inch); a field left out of a row takes the default shown here.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/engine/page_model.h"

namespace vob::engine {

// The sections of a banded report, in the order they nest. Group 1 is the outermost group; each header has
// the footer of the same number. The banner is an outer group without a break field, around all the others.
enum SectionId : uint8_t {
  kReportHeader,
  kPageHeader,
  kBannerHeader,
  kGroupHeader1,
  kGroupHeader2,
  kGroupHeader3,
  kGroupHeader4,
  kGroupHeader5,
  kGroupHeader6,
  kDetail,
  kGroupFooter1,
  kGroupFooter2,
  kGroupFooter3,
  kGroupFooter4,
  kGroupFooter5,
  kGroupFooter6,
  kBannerFooter,
  kPageFooter,
  kReportFooter,
  kSectionCount,
};

inline constexpr int kMaxGroups = 6;

// "GroupHeader1", "Detail", ...: the name handlers and SectionByName use.
std::string_view SectionName(SectionId section);
// The section a name stands for, matched without regard to case; kSectionCount for an unknown name.
SectionId SectionByName(std::string_view name);

constexpr bool IsGroupHeader(SectionId section) {
  return section >= kGroupHeader1 && section <= kGroupHeader6;
}
constexpr bool IsGroupFooter(SectionId section) {
  return section >= kGroupFooter1 && section <= kGroupFooter6;
}
// 1 to 6 for group headers and footers, 0 for every other section.
constexpr int GroupLevel(SectionId section) {
  if (IsGroupHeader(section)) return section - kGroupHeader1 + 1;
  if (IsGroupFooter(section)) return section - kGroupFooter1 + 1;
  return 0;
}
constexpr SectionId GroupHeaderOf(int level) {
  return static_cast<SectionId>(kGroupHeader1 + level - 1);
}
constexpr SectionId GroupFooterOf(int level) {
  return static_cast<SectionId>(kGroupFooter1 + level - 1);
}
// Headers and footers come in pairs: declaring one declares the other (zero height).
SectionId PartnerOf(SectionId section);

// Flags of a row, or-ed together. Sections take all but kCanGrow; controls take kHidden and kCanGrow.
using LayoutFlags = uint16_t;
inline constexpr LayoutFlags kHidden = 1;   // not printed (still formatted, and its handlers still run)
inline constexpr LayoutFlags kCanGrow = 2;  // text boxes and labels: wrap and grow (else cut at the box)
inline constexpr LayoutFlags kRepeat = 4;   // group headers: repeat at the top of each page the group goes on
inline constexpr LayoutFlags kNewPageBefore = 8;  // new page 1
inline constexpr LayoutFlags kNewPageAfter = 16;  // new page 2
inline constexpr LayoutFlags kKeepTogether =
    32;  // group headers: never the last thing on a page (kept with a line)
inline constexpr LayoutFlags kOpaque = 64;  // background style 1: the section is filled with its colour

inline constexpr Color kWhite{255, 255, 255};

struct SectionRow {
  SectionId section;
  int32_t height = 0;
  std::string_view break_field = {};  // group headers: a column, "Table.Column" or an unbound field
  LayoutFlags flags = 0;
  Color back_color = kWhite;  // used while the background style is opaque
  int columns = 1;            // detail: side-by-side columns, filled top to bottom, then across
  int32_t column_spacing = 0;
  // Groups: the section's name when the number in it is not the group's level, as in a stored layout whose
  // "GroupHeader2" is the outer group. The section answers to that name, runs that name's handlers and prints
  // under it; it still nests by its id.
  std::string_view name = {};
};

// Kinds of controls. kGroupSum, kReportSum, kPageNumber and kPageCount are text boxes whose value the engine
// computes: the sum of the bound field over the section's group (or the banner, for the banner footer) or the
// report, the page number, the page count.
enum ControlKind : uint8_t {
  kLabel,
  kText,
  kGroupSum,
  kReportSum,
  kPageNumber,
  kPageCount,
  kLine,
  kImage,
  kSubreport,
  kData,
};

struct FontRow {
  std::string_view family = "Arial";
  float size_points = 8;
  bool is_bold = false;
  bool is_italic = false;
};

// A line runs from (left, top) to (left + width, top + height).
struct ControlRow {
  SectionId section;
  std::string_view name;
  ControlKind kind;
  int32_t left = 0, top = 0, width = 0, height = 0;
  std::string_view text = {};    // text boxes and sums: the bound field; labels: the caption; data: the SQL
  std::string_view format = {};  // text boxes and sums: the output format (a vb format pattern)
  Align align = Align::kLeft;
  FontRow font = {};
  LayoutFlags flags = 0;
};

}  // namespace vob::engine
