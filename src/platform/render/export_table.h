// The records of a run as one table: each row is the keys of the groups it belongs to, then the cells of the
// row section. The CSV and XLSX writers derive from it and only write what it hands them.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/engine/record_sink.h"
#include "platform/render/export_columns.h"

namespace vob::render {

struct ExportOptions {
  bool writes_printed_text = false;  // CSV: the texts as printed instead of the values
  bool has_sheet_per_group = false;  // XLSX: each first-level group on a sheet of its own
  double run_date = 0;               // serial date and time of the run, for the workbook's properties
};

class ExportTable : public engine::RecordSink {
 public:
  void Begin(const engine::DocumentInfo& info, const engine::RecordLayout& layout) final;
  void AddRecord(const engine::Record& record) final;
  void End() final;

 protected:
  const engine::RecordLayout& layout() const { return layout_; }
  const std::vector<ExportColumn>& columns() const { return columns_; }

  // Once, before any row. columns() is ready.
  virtual void BeginTable(const engine::DocumentInfo& info) = 0;
  // A first-level group starts: key is its break value. Only for reports with groups.
  virtual void BeginGroup(const vb::Variant& key) { (void)key; }
  // One row: a cell per column, in columns() order.
  virtual void AddRow(std::span<const engine::RecordCell> cells) = 0;
  // A footer other than the row section printed: keys holds a cell per key column of the groups enclosing
  // it (a group footer of level L: the keys of levels 1 to L), cells the footer's boxes (layout order, from
  // box index first_box on).
  virtual void AddFooter(engine::SectionId footer, std::span<const engine::RecordCell> keys,
                         std::span<const engine::RecordCell> cells, size_t first_box) {
    (void)footer, (void)keys, (void)cells, (void)first_box;
  }
  // Once, after the last row: the writer completes its output.
  virtual void EndTable() = 0;

  // A subreport's table (a profile's other locations): its own columns, the enclosing group's key first.
  struct Subtable {
    std::string title;                  // "Locations", from the subreport control's name
    std::vector<std::string> captions;  // a column each
    std::vector<int32_t> widths;        // twips, a column each
  };
  // Once per subreport, the first time it prints; then its rows: a cell per caption.
  virtual void BeginSubtable(size_t index, const Subtable& table) { (void)index, (void)table; }
  virtual void AddSubrow(size_t index, std::span<const engine::RecordCell> cells) {
    (void)index, (void)cells;
  }

 public:
  void BeginSubtable(const std::string& name, const engine::RecordLayout& layout) final;
  void AddSubrecord(const std::string& name, const engine::Record& record) final;

 private:
  // A group key's cell kept from its header's record until the group's next start.
  struct KeptCell {
    vb::Variant value;
    std::string text, output_format;
    bool is_text_set = false, is_visible = true;
  };

  // A subreport's table as the rows arrive: its row section and columns, and the key column that leads it.
  struct SubtableState {
    std::string name;
    engine::SectionId row_section;
    std::vector<ExportColumn> columns;
    size_t key_column;  // index into keys_, or SIZE_MAX for none
  };

  engine::RecordLayout layout_;
  std::vector<SubtableState> subtables_;
  std::vector<vb::Variant> group_values_;  // by level - 1: the break value of each open group
  std::vector<ExportColumn> columns_;
  size_t key_count_ = 0;                      // the first columns are group keys
  std::vector<KeptCell> keys_;                // one per key column
  std::vector<size_t> first_box_of_section_;  // by section: index of its first box in layout_.boxes
  std::vector<engine::RecordCell> cells_;     // reused for every row
  std::vector<std::string> line_texts_;       // by column: the line a line column shows of its box
};

}  // namespace vob::render
