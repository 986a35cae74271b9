// CSV rows, gathered in a buffer and written in large pieces.
// Values by default (export_value.h), so a spreadsheet or a script reads numbers and dates without a locale.
#include "platform/render/csv_export.h"

#include "platform/render/clean_text.h"

namespace vob::render {
namespace {

constexpr size_t kFlushBytes = 1 << 16;

}  // namespace

CsvExport::CsvExport(const std::string& path, const ExportOptions& options)
    : file_(path), writes_printed_text_(options.writes_printed_text) {
  buffer_.reserve(2 * kFlushBytes);
}

void CsvExport::AddField(std::string_view text) {
  if (!IsCleanText(text)) {
    const std::string clean = CleanText(text);
    AddField(clean);
    return;
  }
  if (!is_line_start_) buffer_ += ',';
  is_line_start_ = false;
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    buffer_ += text;
    return;
  }
  buffer_ += '"';
  for (char c : text) {
    if (c == '"') buffer_ += '"';
    buffer_ += c;
  }
  buffer_ += '"';
}

void CsvExport::EndLine() {
  buffer_ += "\r\n";
  is_line_start_ = true;
  if (buffer_.size() >= kFlushBytes) {
    file_.Write(buffer_);
    buffer_.clear();
  }
}

void CsvExport::BeginTable(const engine::DocumentInfo& /*info*/) {
  for (const ExportColumn& column : columns()) AddField(column.caption);
  EndLine();
  patterns_.assign(columns().size(), std::string());
  kinds_.assign(columns().size(), CellKind::kGeneral);
}

void CsvExport::AddRow(std::span<const engine::RecordCell> cells) {
  for (size_t column = 0; column < cells.size(); ++column) {
    const engine::RecordCell& cell = cells[column];
    if (writes_printed_text_) {
      AddField(cell.is_visible ? std::string_view(*cell.text) : std::string_view());
      continue;
    }
    if (*cell.output_format != patterns_[column]) {
      patterns_[column] = *cell.output_format;
      kinds_[column] = TranslateFormat(patterns_[column]).kind;
    }
    AddField(RawText(ExportValue(cell, kinds_[column])));
  }
  EndLine();
}

void CsvExport::EndTable() {
  file_.Write(buffer_);
  buffer_.clear();
  file_.Commit();
}

}  // namespace vob::render
