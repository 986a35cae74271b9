// Writes a report's rows as CSV: a header of the column captions, then one line per row; RFC 4180 quoting,
// CRLF line ends, UTF-8 without a byte-order mark.
#pragma once

#include <string>
#include <vector>

#include "platform/render/excel_format.h"
#include "platform/render/export_table.h"
#include "platform/render/export_value.h"
#include "platform/render/output_file.h"

namespace vob::render {

class CsvExport final : public ExportTable {
 public:
  // The file appears at path only when the run ends well (output_file.h).
  CsvExport(const std::string& path, const ExportOptions& options);

 private:
  void BeginTable(const engine::DocumentInfo& info) override;
  void AddRow(std::span<const engine::RecordCell> cells) override;
  void EndTable() override;

  void AddField(std::string_view text);
  void EndLine();

  OutputFile file_;
  bool writes_printed_text_;
  std::string buffer_;
  bool is_line_start_ = true;
  // The last pattern seen in each column and its kind: a column keeps its format from row to row.
  std::vector<std::string> patterns_;
  std::vector<CellKind> kinds_;
};

}  // namespace vob::render
