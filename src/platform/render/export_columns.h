// The columns of a report exported as data, named by the captions printed above the values.
// Names come from the layout alone, never from the rows, so the same report gives the same header every run.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/record_sink.h"

namespace vob::render {

struct ExportColumn {
  std::string caption;  // unique among the columns, compared without regard to case
  size_t box = 0;       // index into RecordLayout::boxes
  int group_level = 0;  // 1 to 6 for a group's key, 0 for a value of the row
  int line = 0;         // 0: the box's whole text; N: its Nth line (the last such column takes the rest)
};

// The caption over a text box, "" when none: for a box of a row or a footer, the nearest label above it in
// the page header, the banner, the group headers or its own section that covers at least half of the box
// or half of the label, none when two labels on that line both do (the box spans columns) or when the label
// covers another box beside it (one caption over two columns); a row section of several lines takes its
// captions line by line from as many heading lines. Labels with a value beside or under them ("Ending
// Date:", a terms box) are fields' captions and head no column, and a row's box with a label of its own
// before it has no caption. For a box of a group header, the label left of it on its line ("Customer:"),
// else the nearest label above it in its own header. Captions read as one line, without a trailing colon.
std::string CaptionOver(const engine::RecordLayout& layout, const engine::RecordControl& box);

// Names for the boxes given (indices into layout.boxes), in their order: the column name the report gave
// the box, else CaptionOver, else a name read from the control's name ("txtAccountName": "Account Name") or,
// for a generic one ("Field15"), from its bound field's. A caption printed over several of them ("Debit"
// under each of three balances) is qualified by the caption over its label ("Beginning Balance Debit"), then
// numbered ("Debit 2").
std::vector<std::string> NameBoxes(const engine::RecordLayout& layout, std::span<const size_t> boxes);

// The group headers' boxes, outermost group first, then the row section's boxes, named by NameBoxes. A box
// of several lines (a mailing label) gives a column per line: "Line 1", "Line 2", ..., or "Name Line 1" where
// the row has more than one such box.
std::vector<ExportColumn> RowColumns(const engine::RecordLayout& layout);

// A control's name as words: "txtAccountName" and "srptLocations" read "Account Name" and "Locations".
std::string NameFromControlName(std::string_view name);

// Makes captions unique in the order given, numbering repeats ("Amount", "Amount 2"); case is ignored.
void NumberRepeats(std::vector<std::string>& captions);

}  // namespace vob::render
