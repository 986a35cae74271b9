// Writes a report's rows as CSV: a header of the column captions, then one line per row; RFC 4180 quoting,
// CRLF line ends, UTF-8 without a byte-order mark. A subreport's table (a profile's other locations) goes to
// a file of its own beside it: "customer.csv" and "customer-locations.csv".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/render/excel_format.h"
#include "platform/render/export_table.h"
#include "platform/render/export_value.h"
#include "platform/render/output_file.h"

namespace vob::render {

class CsvExport final : public ExportTable {
 public:
  // The files appear only when the run ends well (output_file.h).
  CsvExport(const std::string& path, const ExportOptions& options);

 private:
  // One CSV file as its lines are written.
  struct CsvFile {
    explicit CsvFile(const std::string& path) : file(path) {}
    void AddField(std::string_view text);
    void EndLine();
    void AddRow(std::span<const engine::RecordCell> cells, bool writes_printed_text);

    OutputFile file;
    std::string buffer;
    bool is_line_start = true;
    // The last pattern seen in each column and its kind: a column keeps its format from row to row.
    std::vector<std::string> patterns;
    std::vector<CellKind> kinds;
  };

  void BeginTable(const engine::DocumentInfo& info) override;
  void AddRow(std::span<const engine::RecordCell> cells) override;
  void EndTable() override;
  void BeginSubtable(size_t index, const Subtable& table) override;
  void AddSubrow(size_t index, std::span<const engine::RecordCell> cells) override;

  std::string path_;
  bool writes_printed_text_;
  std::vector<std::unique_ptr<CsvFile>> files_;  // the report's, then a subreport's each
};

}  // namespace vob::render
