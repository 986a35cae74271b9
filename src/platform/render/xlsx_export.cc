// XLSX through libxlsxwriter in constant-memory mode: each sheet is written row by row, in order.
// The Totals sheet is small (one row per footer) and is kept in memory until the end, so it can come last.
#include "platform/render/xlsx_export.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "platform/render/clean_text.h"
#include "platform/render/export_value.h"
#include "platform/render/render_error.h"
#include "platform/vb/conversions.h"
#include "platform/vb/date.h"
#include "platform/vb/names.h"

namespace vob::render {
namespace {

constexpr std::string_view kTotalsSheet = "Totals";
constexpr std::string_view kShortDate = "m/d/yyyy";
constexpr std::string_view kDateTime = "m/d/yyyy h:mm:ss AM/PM";
// The spreadsheet's serials agree with the report's from 1 March 1900; before that it counts a 29 February
// 1900 that never was, so earlier dates are written as text.
constexpr double kFirstSharedSerial = 61;

// A layout width in the sheet's character widths: twips to pixels at 96 dpi, 7 pixels to a character of the
// default font, and room for the larger type a sheet uses (11 points beside the report's 8).
double CharacterWidth(int32_t twips) {
  return std::max(6.0, twips / 15.0 / 7.0 * 11.0 / 8.0);
}

bool IsNumber(const vb::Variant& value) {
  switch (value.type()) {
    case vb::VarType::kInteger:
    case vb::VarType::kLong:
    case vb::VarType::kSingle:
    case vb::VarType::kDouble:
    case vb::VarType::kCurrency:
      return true;
    default:
      return false;
  }
}

// A cell's text as the sheet can hold it: well-formed XML text of at most 32,767 characters.
std::string SheetText(std::string_view text) {
  constexpr size_t kMaxCharacters = 32767;
  std::string clean = CleanText(text);
  size_t characters = 0;
  for (size_t i = 0; i < clean.size(); ++i) {
    if ((static_cast<unsigned char>(clean[i]) & 0xC0) != 0x80 && ++characters > kMaxCharacters) {
      clean.resize(i);
      break;
    }
  }
  return clean;
}

// libxlsxwriter reports a temporary file it cannot create on standard error, which belongs to the host;
// finding out first lets the export fail with its own message instead.
bool CanCreateTemporary(const std::string& folder) {
  char path[4096];
  std::snprintf(path, sizeof path, "%s/.vobreports-XXXXXX", folder.c_str());
  const int descriptor = mkstemp(path);
  if (descriptor < 0) return false;
  close(descriptor);
  unlink(path);
  return true;
}

std::string FooterName(engine::SectionId footer) {
  if (engine::IsGroupFooter(footer)) return "Group " + std::to_string(engine::GroupLevel(footer));
  return footer == engine::kBannerFooter ? "Banner" : "Report";
}

}  // namespace

XlsxExport::XlsxExport(const std::string& path, const ExportOptions& options)
    : file_(path), options_(options) {
  lxw_workbook_options workbook_options{};
  workbook_options.constant_memory = LXW_TRUE;
  // The sheets' temporary files go beside the output, a folder known to be writable, rather than /tmp.
  temporary_folder_ = std::filesystem::path(file_.temporary_path()).parent_path().string();
  if (temporary_folder_.empty()) temporary_folder_ = ".";
  workbook_options.tmpdir = temporary_folder_.data();
  workbook_ = workbook_new_opt(file_.temporary_path().c_str(), &workbook_options);
  if (workbook_ == nullptr) throw RenderError("cannot start the workbook for " + path);
  bold_ = workbook_add_format(workbook_);
  format_set_bold(bold_);
  totals_name_ = names_.Add(kTotalsSheet);
}

XlsxExport::~XlsxExport() {
  if (workbook_ != nullptr) lxw_workbook_free(workbook_);  // a failed run: nothing is written
}

void XlsxExport::Check(int error, std::string_view what) const {
  if (error != LXW_NO_ERROR) {
    throw RenderError("cannot write " + file_.target() + ": " + std::string(what) + ": " +
                      lxw_strerror(static_cast<lxw_error>(error)));
  }
}

lxw_format* XlsxExport::NumberFormat(const std::string& number_format) {
  if (number_format.empty()) return nullptr;
  for (const auto& [known, format] : number_formats_) {
    if (known == number_format) return format;
  }
  lxw_format* format = workbook_add_format(workbook_);
  format_set_num_format(format, number_format.c_str());
  number_formats_.emplace_back(number_format, format);
  return format;
}

void XlsxExport::BeginTable(const engine::DocumentInfo& info) {
  // The title and the run date, as a spreadsheet's file properties show them.
  const double run_date = options_.run_date;
  lxw_doc_properties properties{};
  std::string title = SheetText(info.title.empty() ? info.report_key : info.title);
  std::string subject = SheetText("vobreports " + info.report_key);
  properties.title = title.data();
  properties.subject = subject.data();
  properties.created =
      static_cast<time_t>(std::llround((run_date - 25569.0) * 86400.0));  // 25569: 1970-01-01
  Check(workbook_set_properties(workbook_, &properties), "document properties");
  if (vb::IsDateSerialInRange(run_date) && run_date >= kFirstSharedSerial) {
    const vb::CivilDateTime civil = vb::SplitSerial(run_date);
    lxw_datetime when{civil.year, civil.month,  civil.day,
                      civil.hour, civil.minute, static_cast<double>(civil.second)};
    Check(workbook_set_custom_property_datetime(workbook_, "Run date", &when), "run date property");
  }

  column_formats_.assign(columns().size(), ColumnFormat{});
  column_widths_.clear();
  for (const ExportColumn& column : columns()) {
    column_widths_.push_back(
        std::max(CharacterWidth(layout().boxes[column.box].width),
                 static_cast<double>(column.caption.size()) + 3));  // room for the filter
  }

  // Footer boxes are named as the row columns are, footer by footer, so that "Amount" of the customer's
  // total and of the grand total meet in one column.
  total_column_of_box_.assign(layout().boxes.size(), SIZE_MAX);
  for (int id = 0; id < engine::kSectionCount; ++id) {
    const auto section = static_cast<engine::SectionId>(id);
    const bool is_footer = engine::IsGroupFooter(section) || section == engine::kBannerFooter ||
                           section == engine::kReportFooter;
    if (!is_footer || section == layout().row_section) continue;
    std::vector<size_t> boxes;
    for (size_t index = 0; index < layout().boxes.size(); ++index) {
      if (layout().boxes[index].section == section) boxes.push_back(index);
    }
    std::vector<std::string> names = NameBoxes(layout(), boxes);
    for (size_t i = 0; i < boxes.size(); ++i) {
      auto same = [&](const std::string& caption) { return vb::SameName(caption, names[i]); };
      auto found = std::find_if(total_captions_.begin(), total_captions_.end(), same);
      if (found == total_captions_.end()) {
        total_captions_.push_back(names[i]);
        total_formats_.emplace_back();
        found = total_captions_.end() - 1;
      }
      total_column_of_box_[boxes[i]] = static_cast<size_t>(found - total_captions_.begin());
    }
  }

  base_name_ = CleanText(info.title.empty() ? info.report_key : info.title);
  // With a sheet per group the groups' sheets come as the groups start; the report's own is only for
  // rows outside any group.
  if (!options_.has_sheet_per_group || layout().group_count == 0) OpenSheet(base_name_);
}

void XlsxExport::OpenSheet(const std::string& wanted_name) {
  CloseSheet();
  has_opened_sheet_ = true;
  const std::string name = names_.Add(CleanText(wanted_name));
  errno = 0;
  if (!CanCreateTemporary(temporary_folder_)) {
    const std::string cause = errno == EMFILE ? ": more sheets than the process may open files" : "";
    throw RenderError("cannot write " + file_.target() + ": cannot add the sheet " + name + cause);
  }
  sheet_ = workbook_add_worksheet(workbook_, name.c_str());
  if (sheet_ == nullptr) {
    // Each sheet holds a temporary file open until the workbook is written.
    const std::string cause = errno == EMFILE ? ": more sheets than the process may open files" : "";
    throw RenderError("cannot write " + file_.target() + ": cannot add the sheet " + name + cause);
  }
  for (size_t column = 0; column < columns().size(); ++column) {
    const auto index = static_cast<lxw_col_t>(column);
    Check(worksheet_set_column(sheet_, index, index, column_widths_[column], nullptr), "column width");
  }
  worksheet_freeze_panes(sheet_, 1, 0);
  for (size_t column = 0; column < columns().size(); ++column) {
    Check(worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(column),
                                 SheetText(columns()[column].caption).c_str(), bold_),
          "header");
  }
  // A sheet without a single cell keeps its temporary file open for good (the library closes it only when
  // it writes rows), so a sheet with no columns gets a formatted blank.
  if (columns().empty()) Check(worksheet_write_blank(sheet_, 0, 0, bold_), "header");
  next_row_ = 1;
}

void XlsxExport::CloseSheet() {
  if (sheet_ == nullptr) return;
  if (!columns().empty()) {
    Check(worksheet_autofilter(sheet_, 0, 0, next_row_ - 1, static_cast<lxw_col_t>(columns().size() - 1)),
          "autofilter");
  }
  sheet_ = nullptr;
}

void XlsxExport::BeginGroup(const vb::Variant& key) {
  if (options_.has_sheet_per_group) OpenSheet(vb::GeneralText(key));
}

void XlsxExport::WriteValue(lxw_worksheet* sheet, uint32_t row, uint16_t column, const vb::Variant& value,
                            const std::string* printed_text, const ColumnFormat& format) {
  if (format.excel.kind == CellKind::kText && printed_text != nullptr) {
    // The printed text: a spreadsheet cannot place characters into a text pattern.
    if (!printed_text->empty()) {
      Check(worksheet_write_string(sheet, row, column, SheetText(*printed_text).c_str(), nullptr), "cell");
    }
    return;
  }
  switch (value.type()) {
    case vb::VarType::kEmpty:
      return;
    case vb::VarType::kString:
      Check(worksheet_write_string(sheet, row, column, SheetText(value.str()).c_str(), nullptr), "cell");
      return;
    case vb::VarType::kBoolean:
      Check(worksheet_write_boolean(sheet, row, column, value.boolean(), nullptr), "cell");
      return;
    case vb::VarType::kDate: {
      const double serial = value.date_serial();
      if (serial < kFirstSharedSerial && std::floor(serial) != 0) {
        Check(worksheet_write_string(sheet, row, column, RawText(value).c_str(), nullptr), "cell");
        return;
      }
      lxw_format* date_format = format.cell_format;
      if (format.excel.kind == CellKind::kGeneral) {
        date_format = NumberFormat(std::string(serial == std::floor(serial) ? kShortDate : kDateTime));
      }
      Check(worksheet_write_number(sheet, row, column, serial, date_format), "cell");
      return;
    }
    default:
      Check(worksheet_write_number(sheet, row, column, vb::CDbl(value), format.cell_format), "cell");
      return;
  }
}

void XlsxExport::WriteCells(lxw_worksheet* sheet, uint32_t row, std::span<const engine::RecordCell> cells,
                            std::vector<ColumnFormat>& formats) {
  if (formats.size() < cells.size()) formats.resize(cells.size());
  for (size_t column = 0; column < cells.size(); ++column) {
    const engine::RecordCell& cell = cells[column];
    ColumnFormat& format = formats[column];
    if (*cell.output_format != format.pattern) {
      format.pattern = *cell.output_format;
      format.excel = TranslateFormat(format.pattern);
      format.cell_format = NumberFormat(format.excel.number_format);
    }
    WriteValue(sheet, row, static_cast<uint16_t>(column), ExportValue(cell, format.excel.kind),
               cell.is_visible ? cell.text : nullptr, format);
  }
}

void XlsxExport::AddRow(std::span<const engine::RecordCell> cells) {
  if (sheet_ == nullptr || next_row_ == LXW_ROW_MAX) OpenSheet(base_name_);
  WriteCells(sheet_, next_row_, cells, column_formats_);
  ++next_row_;
}

void XlsxExport::BeginSubtable(size_t index, const Subtable& table) {
  if (subsheets_.size() != index) return;
  const std::string name = names_.Add(CleanText(table.title));
  errno = 0;
  lxw_worksheet* sheet =
      CanCreateTemporary(temporary_folder_) ? workbook_add_worksheet(workbook_, name.c_str()) : nullptr;
  if (sheet == nullptr)
    throw RenderError("cannot write " + file_.target() + ": cannot add the sheet " + name);
  for (size_t column = 0; column < table.captions.size(); ++column) {
    const auto index_of = static_cast<lxw_col_t>(column);
    const double width = std::max(CharacterWidth(table.widths[column]), table.captions[column].size() + 3.0);
    Check(worksheet_set_column(sheet, index_of, index_of, width, nullptr), "column width");
    Check(worksheet_write_string(sheet, 0, index_of, SheetText(table.captions[column]).c_str(), bold_),
          "header");
  }
  if (table.captions.empty()) Check(worksheet_write_blank(sheet, 0, 0, bold_), "header");
  worksheet_freeze_panes(sheet, 1, 0);
  subsheets_.push_back({sheet, 1, table.captions.size(), {}});
}

void XlsxExport::AddSubrow(size_t index, std::span<const engine::RecordCell> cells) {
  if (index >= subsheets_.size() || subsheets_[index].next_row == LXW_ROW_MAX) return;
  Subsheet& subsheet = subsheets_[index];
  WriteCells(subsheet.sheet, subsheet.next_row++, cells, subsheet.formats);
}

void XlsxExport::AddFooter(engine::SectionId footer, std::span<const engine::RecordCell> keys,
                           std::span<const engine::RecordCell> cells, size_t first_box) {
  FooterTotals totals{footer, {}, {}};
  for (const engine::RecordCell& key : keys) {
    totals.keys.push_back(ExportValue(key, CellKind::kGeneral));
  }
  for (size_t i = 0; i < cells.size(); ++i) {
    const size_t column = total_column_of_box_[first_box + i];
    const ExcelFormat excel = TranslateFormat(*cells[i].output_format);
    vb::Variant value = ExportValue(cells[i], excel.kind);
    if (column == SIZE_MAX || !IsNumber(value)) continue;
    if (total_formats_[column].empty()) total_formats_[column] = excel.number_format;
    totals.values.emplace_back(column, std::move(value));
  }
  if (!totals.values.empty()) footers_.push_back(std::move(totals));
}

void XlsxExport::WriteTotalsSheet() {
  if (!CanCreateTemporary(temporary_folder_))
    throw RenderError("cannot write " + file_.target() + ": cannot add the Totals sheet");
  lxw_worksheet* sheet = workbook_add_worksheet(workbook_, totals_name_.c_str());
  if (sheet == nullptr) throw RenderError("cannot write " + file_.target() + ": cannot add the Totals sheet");
  // Only the columns some footer filled: the key columns, then the totals.
  size_t key_count = 0;
  while (key_count < columns().size() && columns()[key_count].group_level > 0) ++key_count;
  std::vector<bool> is_used(total_captions_.size(), false);
  for (const FooterTotals& totals : footers_) {
    for (const auto& [column, value] : totals.values) is_used[column] = true;
  }
  std::vector<uint16_t> sheet_column(total_captions_.size(), 0);
  uint16_t next_column = static_cast<uint16_t>(1 + key_count);
  Check(worksheet_write_string(sheet, 0, 0, "Footer", bold_), "totals");
  for (size_t key = 0; key < key_count; ++key) {
    Check(worksheet_set_column(sheet, static_cast<lxw_col_t>(1 + key), static_cast<lxw_col_t>(1 + key),
                               column_widths_[key], nullptr),
          "totals");
    Check(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(1 + key),
                                 SheetText(columns()[key].caption).c_str(), bold_),
          "totals");
  }
  for (size_t column = 0; column < total_captions_.size(); ++column) {
    if (!is_used[column]) continue;
    sheet_column[column] = next_column++;
    Check(worksheet_set_column(sheet, sheet_column[column], sheet_column[column],
                               std::max(14.0, total_captions_[column].size() + 3.0), nullptr),
          "totals");
    Check(worksheet_write_string(sheet, 0, sheet_column[column], SheetText(total_captions_[column]).c_str(),
                                 bold_),
          "totals");
  }
  worksheet_freeze_panes(sheet, 1, 0);
  uint32_t row = 1;
  for (const FooterTotals& totals : footers_) {
    Check(worksheet_write_string(sheet, row, 0, FooterName(totals.footer).c_str(), nullptr), "totals");
    for (size_t key = 0; key < totals.keys.size(); ++key) {
      WriteValue(sheet, row, static_cast<uint16_t>(1 + key), totals.keys[key], nullptr, ColumnFormat{});
    }
    for (const auto& [column, value] : totals.values) {
      Check(worksheet_write_number(sheet, row, sheet_column[column], vb::CDbl(value),
                                   NumberFormat(total_formats_[column])),
            "totals");
    }
    ++row;
  }
  Check(worksheet_autofilter(sheet, 0, 0, row - 1, static_cast<lxw_col_t>(next_column - 1)), "totals");
}

void XlsxExport::EndTable() {
  if (!has_opened_sheet_) OpenSheet(base_name_);  // no rows at all: the header alone
  CloseSheet();
  for (const Subsheet& subsheet : subsheets_) {
    if (subsheet.column_count == 0) continue;
    Check(worksheet_autofilter(subsheet.sheet, 0, 0, subsheet.next_row - 1,
                               static_cast<lxw_col_t>(subsheet.column_count - 1)),
          "autofilter");
  }
  WriteTotalsSheet();
  // Closing opens the output and one temporary file at a time beside it; with no file to spare the library
  // would say so on standard error.
  if (!CanCreateTemporary(temporary_folder_))
    throw RenderError("cannot write " + file_.target() + ": no file can be opened to assemble the workbook");
  lxw_workbook* workbook = workbook_;
  workbook_ = nullptr;  // closing frees it, whatever the outcome
  Check(workbook_close(workbook), "closing the workbook");
  file_.Commit();
}

}  // namespace vob::render
