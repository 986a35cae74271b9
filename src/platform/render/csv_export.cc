// CSV rows, gathered in a buffer and written in large pieces.
// Values by default (export_value.h), so a spreadsheet or a script reads numbers and dates without a locale.
#include "platform/render/csv_export.h"

#include <filesystem>

#include "platform/render/clean_text.h"

namespace vob::render {
namespace {

constexpr size_t kFlushBytes = 1 << 16;

// "out/customer.csv" and "Other Locations" -> "out/customer-other-locations.csv".
std::string SubtablePath(const std::string& path, const std::string& title) {
  std::filesystem::path file(path);
  std::string suffix;
  for (char c : title) {
    const bool is_word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (is_word) {
      suffix += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    } else if (!suffix.empty() && suffix.back() != '-') {
      suffix += '-';
    }
  }
  file.replace_filename(file.stem().string() + "-" + suffix + file.extension().string());
  return file.string();
}

}  // namespace

CsvExport::CsvExport(const std::string& path, const ExportOptions& options)
    : path_(path), writes_printed_text_(options.writes_printed_text) {
  files_.push_back(std::make_unique<CsvFile>(path));
  files_.front()->buffer.reserve(2 * kFlushBytes);
}

void CsvExport::CsvFile::AddField(std::string_view text) {
  if (!IsCleanText(text)) {
    const std::string clean = CleanText(text);
    AddField(clean);
    return;
  }
  if (!is_line_start) buffer += ',';
  is_line_start = false;
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    buffer += text;
    return;
  }
  buffer += '"';
  for (char c : text) {
    if (c == '"') buffer += '"';
    buffer += c;
  }
  buffer += '"';
}

void CsvExport::CsvFile::EndLine() {
  buffer += "\r\n";
  is_line_start = true;
  if (buffer.size() >= kFlushBytes) {
    file.Write(buffer);
    buffer.clear();
  }
}

void CsvExport::CsvFile::AddRow(std::span<const engine::RecordCell> cells, bool writes_printed_text) {
  if (patterns.size() < cells.size()) {
    patterns.resize(cells.size());
    kinds.resize(cells.size(), CellKind::kGeneral);
  }
  for (size_t column = 0; column < cells.size(); ++column) {
    const engine::RecordCell& cell = cells[column];
    if (writes_printed_text) {
      AddField(cell.is_visible ? std::string_view(*cell.text) : std::string_view());
      continue;
    }
    if (*cell.output_format != patterns[column]) {
      patterns[column] = *cell.output_format;
      kinds[column] = TranslateFormat(patterns[column]).kind;
    }
    AddField(RawText(ExportValue(cell, kinds[column])));
  }
  EndLine();
}

void CsvExport::BeginTable(const engine::DocumentInfo& /*info*/) {
  for (const ExportColumn& column : columns()) files_.front()->AddField(column.caption);
  files_.front()->EndLine();
}

void CsvExport::AddRow(std::span<const engine::RecordCell> cells) {
  files_.front()->AddRow(cells, writes_printed_text_);
}

void CsvExport::BeginSubtable(size_t index, const Subtable& table) {
  if (files_.size() != index + 1) return;  // one file per subtable, in order
  files_.push_back(std::make_unique<CsvFile>(SubtablePath(path_, table.title)));
  for (const std::string& caption : table.captions) files_.back()->AddField(caption);
  files_.back()->EndLine();
}

void CsvExport::AddSubrow(size_t index, std::span<const engine::RecordCell> cells) {
  if (index + 1 < files_.size()) files_[index + 1]->AddRow(cells, writes_printed_text_);
}

void CsvExport::EndTable() {
  for (const auto& csv : files_) {
    csv->file.Write(csv->buffer);
    csv->buffer.clear();
  }
  for (const auto& csv : files_) csv->file.Commit();
}

}  // namespace vob::render
