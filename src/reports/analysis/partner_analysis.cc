// The layout and handlers of both partner analyses: the SQL from the twin's pieces, each document's amounts
// signed by its type, and the partner's name printed on its first line of each page only.
#include "reports/analysis/partner_analysis.h"

#include <string>

#include "framework/standard_layout.h"

namespace vob::reports {
namespace {

// The partner's name, the document, its date and its three amounts up to the right margin.
constexpr int32_t kNameLeft = 0, kNameWidth = 2600;
constexpr int32_t kTypeLeft = 2700, kTypeWidth = 700;
constexpr int32_t kNumberLeft = 3450, kNumberWidth = 1300;
constexpr int32_t kDateLeft = 4900, kDateWidth = 900;
constexpr int32_t kAmountWidth = 1400;
constexpr int32_t kTotalLeft = kPrintWidth - kAmountWidth;
constexpr int32_t kTaxLeft = kTotalLeft - kAmountWidth - 100;
constexpr int32_t kGrossLeft = kTaxLeft - kAmountWidth - 100;
constexpr int32_t kAmountsWidth = kPrintWidth - kGrossLeft;
constexpr int32_t kTotalNameLeft = 800, kTotalNameWidth = kGrossLeft - kTotalNameLeft - 100;

constexpr int32_t kTitleTop = kCompanyHeaderHeight + 60;
constexpr int32_t kDatesTop = kTitleTop + 400;
constexpr int32_t kBannerRuleTop = kDatesTop + kLineHeight + 60;
constexpr int32_t kGroupTop = 80;
constexpr int32_t kCaptionRuleTop = kGroupTop + kLineHeight + 60;
constexpr int32_t kCaptionTop = kCaptionRuleTop + 40;
constexpr int32_t kUnderCaptionTop = kCaptionTop + kLineHeight + 20;
constexpr int32_t kTotalTop = 60;
constexpr int32_t kTotalsHeight = kTotalTop + kLineHeight + 100;

// The billing-group header carries the column captions, so it repeats on every page its group goes on.
constexpr SectionRow kSections[] = {
    {kReportHeader, 0},
    {kBannerHeader, kBannerRuleTop + 100},
    {kGroupHeader1, kUnderCaptionTop + 60, "BillGroup", kRepeat | kKeepTogether},
    {kDetail, kLineHeight},
    {kGroupFooter2, kTotalsHeight},
    {kGroupFooter1, kTotalsHeight + 60},
    {kBannerFooter, 0},
    {kReportFooter, kTotalsHeight + 60},
};

// clang-format off
//  section         control             kind        left         top               width          height       caption / field  format       align          font
constexpr ControlRow kHeadingRows[] = {
    {kBannerHeader, "Line1",            kLine,      0,           kBannerRuleTop,   kPrintWidth,   0},
    {kBannerHeader, "lblBegDate",       kLabel,     0,           kDatesTop,        1400,          kLineHeight, "Beginning Date:", {},         Align::kLeft,  kCaptionFont},
    {kBannerHeader, "lblEndDate",       kLabel,     2800,        kDatesTop,        1100,          kLineHeight, "Ending Date:",    {},         Align::kLeft,  kCaptionFont},
    {kBannerHeader, "txtBegDate",       kText,      1450,        kDatesTop,        1300,          kLineHeight, {},                kShortDate, Align::kLeft,  kBodyFont},
    {kBannerHeader, "txtEndDate",       kText,      3950,        kDatesTop,        1300,          kLineHeight, {},                kShortDate, Align::kLeft,  kBodyFont},
    {kBannerHeader, "lblBlank",         kLabel,     0,           kBannerRuleTop + 20, 100,        60},

    {kGroupHeader1, "txtBillGroup",     kText,      1800,        kGroupTop,        4000,          kLineHeight, "BillGroup",       {},         Align::kLeft,  kGroupFont},
    {kGroupHeader1, "Label3",           kLabel,     kNameLeft,   kCaptionTop,      kNameWidth,    kLineHeight, "Name",            {},         Align::kLeft,  kCaptionFont},
    {kGroupHeader1, "Label4",           kLabel,     kTypeLeft,   kCaptionTop,      kNumberLeft + kNumberWidth - kTypeLeft, kLineHeight, "Invoice / Ret Number", {}, Align::kLeft, kCaptionFont},
    {kGroupHeader1, "Label5",           kLabel,     kDateLeft,   kCaptionTop,      kDateWidth,    kLineHeight, "Date",            {},         Align::kLeft,  kCaptionFont},
    {kGroupHeader1, "Label6",           kLabel,     kGrossLeft,  kCaptionTop,      kAmountWidth,  kLineHeight, "Gross",           {},         Align::kRight, kCaptionFont},
    {kGroupHeader1, "Label7",           kLabel,     kTaxLeft,    kCaptionTop,      kAmountWidth,  kLineHeight, "Tax",             {},         Align::kRight, kCaptionFont},
    {kGroupHeader1, "Label8",           kLabel,     kTotalLeft,  kCaptionTop,      kAmountWidth,  kLineHeight, "Total",           {},         Align::kRight, kCaptionFont},
    {kGroupHeader1, "Line2",            kLine,      0,           kCaptionRuleTop,  kPrintWidth,   0},
    {kGroupHeader1, "Line3",            kLine,      0,           kUnderCaptionTop, kPrintWidth,   0},
};

constexpr ControlRow kDetailRows[] = {
    {kDetail,       "txtInvoiceType",   kText,      kTypeLeft,   0,                kTypeWidth,    kLineHeight, "InvoiceType",     {},         Align::kLeft,  kBodyFont},
    {kDetail,       "txtInvoiceNumber", kText,      kNumberLeft, 0,                kNumberWidth,  kLineHeight, "InvoiceNumber",   {},         Align::kLeft,  kBodyFont},
    {kDetail,       "txtInvoiceDate",   kText,      kDateLeft,   0,                kDateWidth,    kLineHeight, "InvoiceDate",     kShortDate, Align::kLeft,  kBodyFont},
    {kDetail,       "txtGross",         kText,      kGrossLeft,  0,                kAmountWidth,  kLineHeight, "fldGross",        "#,##0.00", Align::kRight, kBodyFont},
    {kDetail,       "txtTax",           kText,      kTaxLeft,    0,                kAmountWidth,  kLineHeight, "fldTax",          "#,##0.00", Align::kRight, kBodyFont},
    {kDetail,       "txtTotal",         kText,      kTotalLeft,  0,                kAmountWidth,  kLineHeight, "fldTotal",        "#,##0.00", Align::kRight, kBodyFont},
};

constexpr ControlRow kPartnerTotalLabel[] = {
    {kGroupFooter2, "Label11",          kLabel,     0,           kTotalTop,        kTotalNameLeft, kLineHeight, "Totals for",     {},         Align::kLeft,  kCaptionFont},
};

constexpr ControlRow kPartnerTotalRows[] = {
    {kGroupFooter2, "Field4",           kGroupSum,  kGrossLeft,  kTotalTop,        kAmountWidth,  kLineHeight, "fldGross",        "#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter2, "Field6",           kGroupSum,  kTaxLeft,    kTotalTop,        kAmountWidth,  kLineHeight, "fldTax",          "#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter2, "Field7",           kGroupSum,  kTotalLeft,  kTotalTop,        kAmountWidth,  kLineHeight, "fldTotal",        "#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter2, "Line4",            kLine,      kGrossLeft,  20,               kAmountsWidth, 0},
    {kGroupFooter2, "Line5",            kLine,      kGrossLeft,  kTotalTop + kLineHeight + 40, kAmountsWidth, 0},
};

constexpr ControlRow kTotalRows[] = {
    {kGroupFooter1, "Label12",          kLabel,     0,           kTotalTop,        kTotalNameLeft, kLineHeight, "Totals for",     {},         Align::kLeft,  kCaptionFont},
    {kGroupFooter1, "Field3",           kText,      kTotalNameLeft, kTotalTop,     kTotalNameWidth, kLineHeight, "BillGroup",     {},         Align::kLeft,  kCaptionFont},
    {kGroupFooter1, "Field5",           kGroupSum,  kGrossLeft,  kTotalTop,        kAmountWidth,  kLineHeight, "fldGross",        "#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter1, "Field8",           kGroupSum,  kTaxLeft,    kTotalTop,        kAmountWidth,  kLineHeight, "fldTax",          "#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter1, "Field9",           kGroupSum,  kTotalLeft,  kTotalTop,        kAmountWidth,  kLineHeight, "fldTotal",        "#,##0.00", Align::kRight, kCaptionFont},
    {kGroupFooter1, "Line6",            kLine,      0,           20,               kPrintWidth,   0},

    {kReportFooter, "Label13",          kLabel,     0,           kTotalTop + 40,   kTotalNameWidth, kLineHeight, "Grand Totals",  {},         Align::kLeft,  kCaptionFont},
    {kReportFooter, "Field14",          kReportSum, kGrossLeft,  kTotalTop + 40,   kAmountWidth,  kLineHeight, "fldGross",        "#,##0.00", Align::kRight, kCaptionFont},
    {kReportFooter, "Field15",          kReportSum, kTaxLeft,    kTotalTop + 40,   kAmountWidth,  kLineHeight, "fldTax",          "#,##0.00", Align::kRight, kCaptionFont},
    {kReportFooter, "Field16",          kReportSum, kTotalLeft,  kTotalTop + 40,   kAmountWidth,  kLineHeight, "fldTotal",        "#,##0.00", Align::kRight, kCaptionFont},
    {kReportFooter, "Line7",            kLine,      0,           20,               kPrintWidth,   0},
};
// clang-format on

}  // namespace

PartnerAnalysis::PartnerAnalysis(const Design& design) : design_(design) {
  Declare(kSections, kHeadingRows);
  DeclareParams(design.params);
  // The partner's header prints nothing but repeats too, so that its handler runs on each page the partner
  // goes on: sales index the partner there again, purchases tell the repetition apart.
  const SectionRow partner_group[] = {{kGroupHeader2, 0, design.partner_break, kRepeat}};
  // clang-format off
  const ControlRow titles[] = {
      {kBannerHeader, "Label14", kLabel, 0, kTitleTop, kPrintWidth, 360, design.title, {}, Align::kCenter, kTitleFont},
      {kGroupHeader1, "Label2", kLabel, 0, kGroupTop, 1750, kLineHeight, design.group_caption, {}, Align::kLeft, kGroupFont},
  };
  const ControlRow detail_name[] = {
      {kDetail, design.detail_name_control, kText, kNameLeft, 0, kNameWidth, kLineHeight, design.name_field, {}, Align::kLeft, kBodyFont},
  };
  const ControlRow total_name[] = {
      {kGroupFooter2, design.footer_name_control, kText, kTotalNameLeft, kTotalTop, kTotalNameWidth, kLineHeight, design.name_field, {}, Align::kLeft, kCaptionFont},
  };
  // clang-format on
  Declare(partner_group, titles);
  if (design.names_stored_first) {
    Declare({}, detail_name);
    Declare({}, kDetailRows);
    Declare({}, kPartnerTotalLabel);
    Declare({}, total_name);
    Declare({}, kPartnerTotalRows);
  } else {
    Declare({}, kDetailRows);
    Declare({}, detail_name);
    Declare({}, kPartnerTotalLabel);
    Declare({}, kPartnerTotalRows);
    Declare({}, total_name);
  }
  Declare({}, kTotalRows);
  // "Invoice / Ret Number" prints over the type and the number.
  Controls<TextBox>("txtInvoiceType").set_column_name("Type");
  Controls<TextBox>("txtInvoiceNumber").set_column_name("Number");
}

Variant PartnerAnalysis::Signed(const Variant& amount, int sign) {
  if (vb::IsNull(amount)) return Variant::Null();
  return Variant(vb::CCur(amount) * sign);
}

void PartnerAnalysis::ActiveReport_DataInitialize() {
  std::string sql(design_.select_text);
  sql += design_.from_text;
  sql += design_.where_text;
  sql += ReportParam(1);
  sql += "# And #";
  sql += ReportParam(2);
  sql += "#)) ";
  sql += design_.order_text;
  SetMainSql(std::move(sql));
  Fields().Add("fldGross");
  Fields().Add("fldTax");
  Fields().Add("fldTotal");
}

void PartnerAnalysis::ActiveReport_ReportStart() {
  ListingReport::ActiveReport_ReportStart();
  ShowDateRange();
  Controls<TextBox>("txtInvoiceDate").set_output_format(Settings().DateFormat);
}

void PartnerAnalysis::ActiveReport_FetchData(bool& /*eof*/) {
  const data::Recordset* row = CurrentRow();
  if (row == nullptr) return;
  // Exact codes only: a code in other letter case passes the query but counts zero.
  const std::string type = vb::GeneralText(row->Fields("InvoiceType"));
  int sign = 0;
  for (std::string_view code : design_.positive_types) {
    if (type == code) sign = 1;
  }
  for (std::string_view code : design_.negative_types) {
    if (type == code) sign = -1;
  }
  Fields("fldGross").set_value(Signed(row->Fields("SubTotal"), sign));
  Fields("fldTax").set_value(Signed(row->Fields("tax"), sign));
  Fields("fldTotal").set_value(Signed(row->Fields("Total"), sign));
}

void PartnerAnalysis::ActiveReport_PageStart() {
  if (design_.forgets_name_each_page) mPrintedName.clear();
}

// Names are compared as text, a Null name as an empty one: it never stops the report, and a partner
// without a name after another without one prints nothing, which is what its name would have printed.
void PartnerAnalysis::Detail_BeforePrint() {
  const data::Recordset* row = CurrentRow();
  if (row == nullptr) return;
  const std::string name = vb::GeneralText(row->Fields(design_.name_field));
  auto& name_control = Controls<TextBox>(design_.detail_name_control);
  if (name == mPrintedName) {
    name_control.set_visible(false);
  } else {
    name_control.set_visible(true);
    mPrintedName = name;
  }
}

// Group values enter the table of contents as text; a Null billing group is an empty entry rather than an
// error that would stop the report.
void PartnerAnalysis::GroupHeader1_Format() {
  const Section& header = Sections("GroupHeader1");
  if (!design_.forgets_name_each_page && header.is_repeating()) mPrintedName.clear();
  TOC().Add(vb::GeneralText(header.group_value()));
}

void PartnerAnalysis::GroupHeader2_Format() {
  const Section& header = Sections("GroupHeader2");
  if (!design_.forgets_name_each_page && header.is_repeating()) return;
  TOC().Add(vb::GeneralText(Sections("GroupHeader1").group_value()) + "\\" +
            vb::GeneralText(header.group_value()));
}

}  // namespace vob::reports
