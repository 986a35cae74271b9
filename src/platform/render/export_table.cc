// Records to rows: group keys are kept as their headers print and put in front of every row below them.
// A key is copied once per group, a row's own cells are passed through without copying.
#include "platform/render/export_table.h"

#include <algorithm>
#include <cstdint>

#include "platform/vb/classic_locale.h"
#include "platform/vb/conversions.h"
#include "platform/vb/lines.h"
#include "platform/vb/names.h"

namespace vob::render {

// Each entry runs under the "C" locale: the writers print numbers with the C library, and a host's locale
// would give them decimal commas.
void ExportTable::Begin(const engine::DocumentInfo& info, const engine::RecordLayout& layout) {
  const vb::ClassicLocaleScope classic;
  layout_ = layout;
  columns_ = RowColumns(layout_);
  key_count_ = 0;
  while (key_count_ < columns_.size() && columns_[key_count_].group_level > 0) ++key_count_;
  keys_.assign(key_count_, KeptCell{});
  line_texts_.assign(columns_.size(), std::string());
  first_box_of_section_.assign(engine::kSectionCount + 1, layout_.boxes.size());
  for (size_t index = layout_.boxes.size(); index-- > 0;)
    first_box_of_section_[layout_.boxes[index].section] = index;
  BeginTable(info);
}

void ExportTable::AddRecord(const engine::Record& record) {
  const vb::ClassicLocaleScope classic;
  const engine::SectionId section = record.section;
  if (engine::IsGroupHeader(section)) {
    const int level = engine::GroupLevel(section);
    size_t cell = 0;
    for (size_t column = 0; column < key_count_; ++column) {
      if (columns_[column].group_level != level) continue;
      const engine::RecordCell& from = record.cells[cell++];
      keys_[column] = {*from.value, *from.text, *from.output_format, from.is_text_set, from.is_visible};
    }
    if (record.group_value != nullptr) {
      group_values_.resize(std::max<size_t>(group_values_.size(), static_cast<size_t>(level)));
      group_values_[static_cast<size_t>(level - 1)] = *record.group_value;
    }
    if (level == 1 && record.group_value != nullptr) BeginGroup(*record.group_value);
    return;
  }
  cells_.clear();
  const bool is_row = section == layout_.row_section;
  // A group footer carries the keys of its own group and the ones around it; the banner's and the report's
  // none.
  const int key_levels = is_row                           ? layout_.group_count
                         : engine::IsGroupFooter(section) ? engine::GroupLevel(section)
                                                          : 0;
  for (size_t column = 0; column < key_count_; ++column) {
    const KeptCell& key = keys_[column];
    const bool is_enclosing = columns_[column].group_level <= key_levels;
    static const vb::Variant kEmpty;
    static const std::string kNoText;
    cells_.push_back({is_enclosing ? &key.value : &kEmpty, is_enclosing ? &key.text : &kNoText,
                      &key.output_format, key.is_text_set, key.is_visible && is_enclosing});
  }
  if (is_row) {
    const size_t first_box = first_box_of_section_[section];
    for (size_t column = key_count_; column < columns_.size(); ++column) {
      const engine::RecordCell& cell = record.cells[columns_[column].box - first_box];
      if (columns_[column].line == 0) {
        cells_.push_back(cell);
        continue;
      }
      // The Nth line of the text, the last column taking any lines past it.
      std::string& text = line_texts_[column];
      text.clear();
      int line = 0;
      const bool is_last =
          column + 1 == columns_.size() || columns_[column + 1].line <= columns_[column].line;
      vb::ForEachLine(*cell.text, [&](std::string_view piece) {
        ++line;
        if (line == columns_[column].line || (is_last && line > columns_[column].line)) {
          if (!text.empty()) text += ", ";
          text += piece;
        }
      });
      static const vb::Variant kNoValue;
      static const std::string kNoFormat;
      cells_.push_back({&kNoValue, &text, &kNoFormat, true, cell.is_visible});
    }
    AddRow(cells_);
  } else {
    AddFooter(section, cells_, record.cells, first_box_of_section_[section]);
  }
}

void ExportTable::BeginSubtable(const std::string& name, const engine::RecordLayout& layout) {
  const vb::ClassicLocaleScope classic;
  SubtableState state{name, layout.row_section, {}, SIZE_MAX};
  for (const ExportColumn& column : RowColumns(layout)) {
    if (column.group_level == 0) state.columns.push_back(column);
  }
  // Rows are keyed by the innermost open group's key: the key column that holds its break value.
  Subtable table;
  table.title = NameFromControlName(name);
  // A group without a break field (one group for the one record a host named) has no break value; its
  // identifier field ("VendorID") keys the rows then.
  const std::string key =
      group_values_.empty() ? std::string() : vb::Trim(vb::GeneralText(group_values_.back()));
  const auto innermost = static_cast<int>(group_values_.size());
  for (size_t column = 0; column < key_count_ && state.key_column == SIZE_MAX; ++column) {
    if (columns_[column].group_level == innermost && !key.empty() &&
        vb::Trim(vb::GeneralText(keys_[column].value)) == key) {
      state.key_column = column;
    }
  }
  for (size_t column = 0; column < key_count_ && state.key_column == SIZE_MAX; ++column) {
    if (columns_[column].group_level == innermost &&
        vb::EndsWithIgnoringCase(layout_.boxes[columns_[column].box].field, "id")) {
      state.key_column = column;
    }
  }
  if (state.key_column != SIZE_MAX) {
    table.captions.push_back(columns_[state.key_column].caption);
    table.widths.push_back(layout_.boxes[columns_[state.key_column].box].width);
  }
  for (const ExportColumn& column : state.columns) {
    table.captions.push_back(column.caption);
    table.widths.push_back(layout.boxes[column.box].width);
  }
  NumberRepeats(table.captions);
  subtables_.push_back(std::move(state));
  BeginSubtable(subtables_.size() - 1, table);
}

void ExportTable::AddSubrecord(const std::string& name, const engine::Record& record) {
  const vb::ClassicLocaleScope classic;
  auto found = std::find_if(subtables_.begin(), subtables_.end(),
                            [&](const SubtableState& state) { return state.name == name; });
  if (found == subtables_.end() || record.section != found->row_section) return;
  std::vector<engine::RecordCell> cells;
  if (found->key_column != SIZE_MAX) {
    const KeptCell& key = keys_[found->key_column];
    cells.push_back({&key.value, &key.text, &key.output_format, key.is_text_set, key.is_visible});
  }
  // The row section's boxes come first among the subreport's boxes of that section, in layout order.
  size_t first = found->columns.empty() ? 0 : found->columns.front().box;
  for (const ExportColumn& column : found->columns) first = std::min(first, column.box);
  for (const ExportColumn& column : found->columns) cells.push_back(record.cells[column.box - first]);
  AddSubrow(static_cast<size_t>(found - subtables_.begin()), cells);
}

void ExportTable::End() {
  const vb::ClassicLocaleScope classic;
  EndTable();
}

}  // namespace vob::render
