// The layout and handlers of both department analyses: the SQL from the twin's pieces, each line's amount
// signed by its document's type, department and item code printed on an item's first line of each page, and
// the item type's word in its footer.
#include "reports/analysis/department_analysis.h"

#include <string>

#include "framework/standard_layout.h"

namespace vob::reports {
namespace {

// Department, item and description, then units, unit price and amount up to the right margin.
constexpr int32_t kDepartmentLeft = 0, kDepartmentWidth = 700;
constexpr int32_t kItemLeft = 750, kItemWidth = 1400;
constexpr int32_t kDescriptionLeft = 2200, kDescriptionWidth = 3900;
constexpr int32_t kAmountWidth = 1500;
constexpr int32_t kTotalLeft = kPrintWidth - kAmountWidth;
constexpr int32_t kPriceLeft = kTotalLeft - kAmountWidth - 100;
constexpr int32_t kUnitsWidth = 1100;
constexpr int32_t kUnitsLeft = kPriceLeft - kUnitsWidth - 100;
constexpr int32_t kTotalNameLeft = 1800, kTotalNameWidth = 2500;

constexpr int32_t kTitleTop = kCompanyHeaderHeight + 60;
constexpr int32_t kDatesTop = kTitleTop + 400;
constexpr int32_t kCaptionTop = kDatesTop + kLineHeight + 120;
constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;
constexpr int32_t kTotalTop = 60;
constexpr int32_t kTotalsHeight = kTotalTop + kLineHeight + 100;

constexpr SectionRow kSections[] = {
    {kReportHeader, 0},
    {kBannerHeader, kRuleTop + 100},
    {kGroupHeader1, 0, "DepartmentNo"},
    {kGroupHeader2, 0, "ItemType"},
    {kGroupHeader3, 0, "ItemCode"},
    {kDetail, kLineHeight},
    {kGroupFooter3, kTotalsHeight},
    {kGroupFooter2, kTotalsHeight},
    {kGroupFooter1, kTotalsHeight + 60},
    {kBannerFooter, 0},
    {kReportFooter, kTotalsHeight + 60},
};

// clang-format off
//  section         control            kind        left              top          width              height       caption / field            format       align          font
constexpr ControlRow kHeadingRows[] = {
    {kBannerHeader, "Line1",           kLine,      0,                kDatesTop + kLineHeight + 40, kPrintWidth, 0},
    {kBannerHeader, "lblBegDate",      kLabel,     0,                kDatesTop,   1400,              kLineHeight, "Beginning Date:",         {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "lblEndDate",      kLabel,     2800,             kDatesTop,   1100,              kLineHeight, "Ending Date:",            {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "txtBegDate",      kText,      1450,             kDatesTop,   1300,              kLineHeight, {},                        kShortDate,  Align::kLeft,  kBodyFont},
    {kBannerHeader, "txtEndDate",      kText,      3950,             kDatesTop,   1300,              kLineHeight, {},                        kShortDate,  Align::kLeft,  kBodyFont},
    {kBannerHeader, "Label14",         kLabel,     0,                kTitleTop,   kPrintWidth,       360,         "By Product / Service Departments", {}, Align::kCenter, kTitleFont},
    {kBannerHeader, "Label3",          kLabel,     kDepartmentLeft,  kCaptionTop, kDepartmentWidth,  kLineHeight, "Dept",                    {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label4",          kLabel,     kItemLeft,        kCaptionTop, kItemWidth,        kLineHeight, "Item Code",               {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label5",          kLabel,     kDescriptionLeft, kCaptionTop, kDescriptionWidth, kLineHeight, "Description",             {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label6",          kLabel,     kUnitsLeft,       kCaptionTop, kUnitsWidth,       kLineHeight, "Units",                   {},          Align::kRight, kCaptionFont},
    {kBannerHeader, "Label7",          kLabel,     kPriceLeft,       kCaptionTop, kAmountWidth,      kLineHeight, "Unit Price",              {},          Align::kRight, kCaptionFont},
};

constexpr ControlRow kBannerRules[] = {
    {kBannerHeader, "Line3",           kLine,      0,                kRuleTop,    kPrintWidth,       0},
    {kBannerHeader, "lblBlank",        kLabel,     0,                kRuleTop + 20, 100,             60},
};

constexpr ControlRow kLineRows[] = {
    {kDetail,       "txtDepartmentNo", kText,      kDepartmentLeft,  0,           kDepartmentWidth,  kLineHeight, "DepartmentNo",            {},          Align::kLeft,  kBodyFont},
    {kDetail,       "txtItemCode",     kText,      kItemLeft,        0,           kItemWidth,        kLineHeight, "ItemCode",                {},          Align::kLeft,  kBodyFont},
    {kDetail,       "txtDescription",  kText,      kDescriptionLeft, 0,           kDescriptionWidth, kLineHeight, "Description",             {},          Align::kLeft,  kBodyFont},
};

constexpr ControlRow kLinePriceRows[] = {
    {kDetail,       "txtSalesPrice",   kText,      kPriceLeft,       0,           kAmountWidth,      kLineHeight, "SalesPrice",              "#,##0.00",  Align::kRight, kBodyFont},
    {kDetail,       "Field1",          kText,      kTotalLeft,       0,           kAmountWidth,      kLineHeight, "fldTotal",                "#,##0.00",  Align::kRight, kBodyFont},
};

constexpr ControlRow kTotalRows[] = {
    {kGroupFooter3, "Field2",          kText,      kTotalNameLeft,   kTotalTop,   kTotalNameWidth,   kLineHeight, "ItemCode",                {},          Align::kLeft,  kCaptionFont},
    {kGroupFooter3, "Label15",         kLabel,     kItemLeft,        kTotalTop,   kTotalNameLeft - kItemLeft, kLineHeight, "Totals for",     {},          Align::kLeft,  kCaptionFont},
    {kGroupFooter3, "Field4",          kGroupSum,  kTotalLeft,       kTotalTop,   kAmountWidth,      kLineHeight, "fldTotal",                "$#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter3, "Line8",           kLine,      kUnitsLeft,       20,          kUnitsWidth,       0},
    {kGroupFooter3, "Line9",           kLine,      kTotalLeft,       20,          kAmountWidth,      0},

    {kGroupFooter2, "Label11",         kLabel,     kItemLeft,        kTotalTop,   kTotalNameLeft - kItemLeft, kLineHeight, "Totals for",     {},          Align::kLeft,  kCaptionFont},
    {kGroupFooter2, "Line5",           kLine,      kItemLeft,        20,          kPrintWidth - kItemLeft, 0},
    {kGroupFooter2, "Field6",          kGroupSum,  kTotalLeft,       kTotalTop,   kAmountWidth,      kLineHeight, "fldTotal",                "$#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter2, "Field11",         kText,      kTotalNameLeft,   kTotalTop,   kTotalNameWidth,   kLineHeight, {},                        {},          Align::kLeft,  kCaptionFont},

    {kGroupFooter1, "Label12",         kLabel,     0,                kTotalTop,   kTotalNameLeft,    kLineHeight, "Totals for department",   {},          Align::kLeft,  kCaptionFont},
    {kGroupFooter1, "Line6",           kLine,      0,                20,          kPrintWidth,       0},
    {kGroupFooter1, "Field8",          kGroupSum,  kTotalLeft,       kTotalTop,   kAmountWidth,      kLineHeight, "fldTotal",                "$#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter1, "Field12",         kText,      kTotalNameLeft,   kTotalTop,   kTotalNameWidth,   kLineHeight, "DepartmentNo",            {},          Align::kLeft,  kCaptionFont},

    {kReportFooter, "Label13",         kLabel,     0,                kTotalTop + 40, kTotalNameLeft, kLineHeight, "Grand Totals",            {},          Align::kLeft,  kCaptionFont},
    {kReportFooter, "Line7",           kLine,      0,                20,          kPrintWidth,       0},
    {kReportFooter, "Field10",         kReportSum, kTotalLeft,       kTotalTop + 40, kAmountWidth,   kLineHeight, "fldTotal",                "$#,##0.00", Align::kRight, kCaptionFont},
};
// clang-format on

}  // namespace

DepartmentAnalysis::DepartmentAnalysis(const Design& design) : design_(design) {
  Declare(kSections, kHeadingRows);
  DeclareParams(design.params);
  // clang-format off
  const ControlRow amount_caption[] = {
      {kBannerHeader, "Label8", kLabel, kTotalLeft, kCaptionTop, kAmountWidth, kLineHeight, design.amount_caption, {}, Align::kRight, kCaptionFont},
  };
  const ControlRow quantity[] = {
      {kDetail, design.quantity_control, kText, kUnitsLeft, 0, kUnitsWidth, kLineHeight, design.quantity_field, "0.00", Align::kRight, kBodyFont},
  };
  const ControlRow quantity_sums[] = {
      {kGroupFooter3, design.item_quantity, kGroupSum, kUnitsLeft, kTotalTop, kUnitsWidth, kLineHeight, design.quantity_field, "0.00", Align::kRight, kCaptionFont},
      {kGroupFooter2, design.type_quantity, kGroupSum, kUnitsLeft, kTotalTop, kUnitsWidth, kLineHeight, design.quantity_field, "0.00", Align::kRight, kCaptionFont},
      {kGroupFooter1, design.department_quantity, kGroupSum, kUnitsLeft, kTotalTop, kUnitsWidth, kLineHeight, design.quantity_field, "0.00", Align::kRight, kCaptionFont},
      {kReportFooter, design.grand_quantity, kReportSum, kUnitsLeft, kTotalTop + 40, kUnitsWidth, kLineHeight, design.quantity_field, "0.00", Align::kRight, kCaptionFont},
  };
  // clang-format on
  Declare({}, amount_caption);
  Declare({}, kBannerRules);
  Declare({}, kLineRows);
  if (design.quantity_stored_first) {
    Declare({}, quantity);
    Declare({}, kLinePriceRows);
  } else {
    Declare({}, kLinePriceRows);
    Declare({}, quantity);
  }
  Declare({}, kTotalRows);
  Declare({}, quantity_sums);
}

void DepartmentAnalysis::ActiveReport_DataInitialize() {
  std::string sql(design_.select_text);
  sql += design_.from_text;
  sql += design_.where_text;
  sql += ReportParam(1);
  sql += "# And #";
  sql += ReportParam(2);
  sql += design_.filter_text;
  sql += design_.order_text;
  SetMainSql(std::move(sql));
  Fields().Add("fldTotal");
}

void DepartmentAnalysis::ActiveReport_ReportStart() {
  ListingReport::ActiveReport_ReportStart();
  ShowDateRange();
  // The grand total keeps its design format, and the line amounts theirs.
  for (const char* name : {"Field4", "Field6", "Field8"})
    Controls<TextBox>(name).set_output_format(Settings().CurrencyFormat);
}

void DepartmentAnalysis::ActiveReport_FetchData(bool& /*eof*/) {
  const data::Recordset* row = CurrentRow();
  if (row == nullptr) return;
  // Exact codes only: a code in other letter case passes the query but counts zero.
  const std::string type = vb::GeneralText(row->Fields("InvoiceType"));
  int sign = 0;
  if (type == design_.positive_type) sign = 1;
  if (type == design_.negative_type) sign = -1;
  const Variant& amount = row->Fields("SplitAmount");
  Fields("fldTotal").set_value(vb::IsNull(amount) ? Variant::Null() : Variant(vb::CCur(amount) * sign));
}

void DepartmentAnalysis::ActiveReport_PageStart() {
  mPrintedItemCode.clear();
}

// Item codes are compared as text, a Null code as an empty one, so that it never stops the report.
void DepartmentAnalysis::Detail_BeforePrint() {
  const data::Recordset* row = CurrentRow();
  if (row == nullptr) return;
  const std::string item_code = vb::GeneralText(row->Fields("ItemCode"));
  const bool is_first_line = item_code != mPrintedItemCode;
  Controls<TextBox>("txtItemCode").set_visible(is_first_line);
  Controls<TextBox>("txtDepartmentNo").set_visible(is_first_line);
  if (is_first_line) mPrintedItemCode = item_code;
}

void DepartmentAnalysis::GroupHeader1_Format() {
  TOC().Add(vb::GeneralText(Sections("GroupHeader1").group_value()));
}

void DepartmentAnalysis::GroupHeader2_Format() {
  const std::string item_type = vb::GeneralText(Sections("GroupHeader2").group_value());
  TOC().Add(vb::GeneralText(Sections("GroupHeader1").group_value()) + "\\" + item_type);
  // Only an upper-case P, blanks aside, is a product; every other type is a service.
  Controls<TextBox>("Field11").set_text(vb::Trim(item_type) == "P" ? "Products" : "Services");
}

void DepartmentAnalysis::GroupHeader3_Format() {
  TOC().Add(vb::GeneralText(Sections("GroupHeader1").group_value()) + "\\" +
            vb::GeneralText(Sections("GroupHeader2").group_value()) + "\\" +
            vb::GeneralText(Sections("GroupHeader3").group_value()));
}

}  // namespace vob::reports
