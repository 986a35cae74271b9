// Writes a report's rows as an XLSX workbook of typed cells: a bold, frozen header with an autofilter, the
// layout's column widths, each control's format as the cell's number format, and a "Totals" sheet of the
// footers' sums. Constant-memory mode: rows go to disk as they come, so memory stays flat however long.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/render/excel_format.h"
#include "platform/render/export_table.h"
#include "platform/render/output_file.h"
#include "platform/render/sheet_names.h"

typedef struct lxw_workbook lxw_workbook;
typedef struct lxw_worksheet lxw_worksheet;
typedef struct lxw_format lxw_format;

namespace vob::render {

// Rows past a sheet's limit (1,048,576 with the header) go on to a sheet named like the first with " (2)".
// With sheet per group, each first-level group gets a sheet named by its key (a report without groups keeps
// the report's one sheet). The Totals sheet comes last. Each sheet keeps a
// temporary file open until the workbook is written, so very many groups need as many file handles.
class XlsxExport final : public ExportTable {
 public:
  // The file appears at path only when the run ends well (output_file.h).
  XlsxExport(const std::string& path, const ExportOptions& options);
  ~XlsxExport() override;

 private:
  // The format of one column as its cells last asked for it.
  struct ColumnFormat {
    std::string pattern;
    ExcelFormat excel;
    lxw_format* cell_format = nullptr;  // null for General
  };
  // One printed footer, kept for the Totals sheet.
  struct FooterTotals {
    engine::SectionId footer;
    std::vector<vb::Variant> keys;
    std::vector<std::pair<size_t, vb::Variant>> values;  // by total column
  };

  void BeginTable(const engine::DocumentInfo& info) override;
  void BeginGroup(const vb::Variant& key) override;
  void AddRow(std::span<const engine::RecordCell> cells) override;
  void AddFooter(engine::SectionId footer, std::span<const engine::RecordCell> keys,
                 std::span<const engine::RecordCell> cells, size_t first_box) override;
  void EndTable() override;
  void BeginSubtable(size_t index, const Subtable& table) override;
  void AddSubrow(size_t index, std::span<const engine::RecordCell> cells) override;

  void OpenSheet(const std::string& wanted_name);
  void CloseSheet();
  void WriteTotalsSheet();
  void WriteValue(lxw_worksheet* sheet, uint32_t row, uint16_t column, const vb::Variant& value,
                  const std::string* printed_text, const ColumnFormat& format);
  lxw_format* NumberFormat(const std::string& number_format);
  void Check(int error, std::string_view what) const;

  OutputFile file_;               // holds the temporary name; the library writes the workbook to it by name
  std::string temporary_folder_;  // the library's temporary files, beside the output
  ExportOptions options_;
  lxw_workbook* workbook_ = nullptr;
  lxw_format* bold_ = nullptr;
  std::vector<std::pair<std::string, lxw_format*>> number_formats_;
  SheetNames names_;
  std::string totals_name_;
  std::string base_name_;  // the report's sheet, and the stem of its continuations
  lxw_worksheet* sheet_ = nullptr;
  bool has_opened_sheet_ = false;
  uint32_t next_row_ = 0;
  std::vector<ColumnFormat> column_formats_;
  std::vector<double> column_widths_;  // in character widths

  // Totals: one column per distinct caption of the footers' numbers, first seen first.
  std::vector<std::string> total_captions_;
  std::vector<std::string> total_formats_;
  std::vector<size_t> total_column_of_box_;  // by layout box; SIZE_MAX for none yet
  std::vector<FooterTotals> footers_;

  // A subreport's sheet (a profile's other locations), written beside the report's as its rows come.
  struct Subsheet {
    lxw_worksheet* sheet = nullptr;
    uint32_t next_row = 1;
    size_t column_count = 0;
    std::vector<ColumnFormat> formats;
  };
  std::vector<Subsheet> subsheets_;
  void WriteCells(lxw_worksheet* sheet, uint32_t row, std::span<const engine::RecordCell> cells,
                  std::vector<ColumnFormat>& formats);
};

}  // namespace vob::render
