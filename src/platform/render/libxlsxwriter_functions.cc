// The libxlsxwriter functions the XLSX export calls, defined here to load libxlsxwriter on the first call:
// runs that export no XLSX never load it, nor its zip and zlib (see platform/vb/lazy_library.h).
#include <xlsxwriter.h>

#include "platform/vb/lazy_library.h"

namespace {

constexpr char kLibxlsxwriter[] = "libxlsxwriter.so.4";

}  // namespace

void format_set_bold(lxw_format* format) {
  VOB_LAZY_CALL(kLibxlsxwriter, format_set_bold, format);
}
void format_set_num_format(lxw_format* format, const char* num_format) {
  VOB_LAZY_CALL(kLibxlsxwriter, format_set_num_format, format, num_format);
}
char* lxw_strerror(lxw_error error_num) {
  VOB_LAZY_CALL(kLibxlsxwriter, lxw_strerror, error_num);
}
void lxw_workbook_free(lxw_workbook* workbook) {
  VOB_LAZY_CALL(kLibxlsxwriter, lxw_workbook_free, workbook);
}
lxw_format* workbook_add_format(lxw_workbook* workbook) {
  VOB_LAZY_CALL(kLibxlsxwriter, workbook_add_format, workbook);
}
lxw_worksheet* workbook_add_worksheet(lxw_workbook* workbook, const char* sheetname) {
  VOB_LAZY_CALL(kLibxlsxwriter, workbook_add_worksheet, workbook, sheetname);
}
lxw_error workbook_close(lxw_workbook* workbook) {
  VOB_LAZY_CALL(kLibxlsxwriter, workbook_close, workbook);
}
lxw_workbook* workbook_new_opt(const char* filename, lxw_workbook_options* options) {
  VOB_LAZY_CALL(kLibxlsxwriter, workbook_new_opt, filename, options);
}
lxw_error workbook_set_custom_property_datetime(lxw_workbook* workbook, const char* name,
                                                lxw_datetime* datetime) {
  VOB_LAZY_CALL(kLibxlsxwriter, workbook_set_custom_property_datetime, workbook, name, datetime);
}
lxw_error workbook_set_properties(lxw_workbook* workbook, lxw_doc_properties* properties) {
  VOB_LAZY_CALL(kLibxlsxwriter, workbook_set_properties, workbook, properties);
}
lxw_error worksheet_autofilter(lxw_worksheet* worksheet, lxw_row_t first_row, lxw_col_t first_col,
                               lxw_row_t last_row, lxw_col_t last_col) {
  VOB_LAZY_CALL(kLibxlsxwriter, worksheet_autofilter, worksheet, first_row, first_col, last_row, last_col);
}
void worksheet_freeze_panes(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col) {
  VOB_LAZY_CALL(kLibxlsxwriter, worksheet_freeze_panes, worksheet, row, col);
}
lxw_error worksheet_set_column(lxw_worksheet* worksheet, lxw_col_t first_col, lxw_col_t last_col,
                               double width, lxw_format* format) {
  VOB_LAZY_CALL(kLibxlsxwriter, worksheet_set_column, worksheet, first_col, last_col, width, format);
}
lxw_error worksheet_write_blank(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col, lxw_format* format) {
  VOB_LAZY_CALL(kLibxlsxwriter, worksheet_write_blank, worksheet, row, col, format);
}
lxw_error worksheet_write_boolean(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col, int value,
                                  lxw_format* format) {
  VOB_LAZY_CALL(kLibxlsxwriter, worksheet_write_boolean, worksheet, row, col, value, format);
}
lxw_error worksheet_write_number(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col, double number,
                                 lxw_format* format) {
  VOB_LAZY_CALL(kLibxlsxwriter, worksheet_write_number, worksheet, row, col, number, format);
}
lxw_error worksheet_write_string(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col, const char* string,
                                 lxw_format* format) {
  VOB_LAZY_CALL(kLibxlsxwriter, worksheet_write_string, worksheet, row, col, string, format);
}
