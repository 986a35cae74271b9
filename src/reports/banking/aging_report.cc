// The aging layout and handlers both twins run: the SQL from the twin's pieces, the bucket of each row by its
// days past due, the drill-down link on each customer or vendor id, and the summary mode without lines.
#include "reports/banking/aging_report.h"

#include <string>

#include "framework/standard_layout.h"

namespace vob::reports {
namespace {

// Ten columns across the print width: the document, its dates, its amount and the four aging columns.
constexpr int32_t kNumberLeft = 0, kNumberWidth = 1300;
constexpr int32_t kTypeLeft = 1350, kTypeWidth = 700;
constexpr int32_t kForLeft = 2100, kForWidth = 1000;
constexpr int32_t kInvoiceDateLeft = 3150, kDueDateLeft = 4200, kDateWidth = 1000;
constexpr int32_t kAmountWidth = 1050;
constexpr int32_t kNetAmountLeft = 5350;
constexpr int32_t k030Left = 6450, k3160Left = 7550, k6190Left = 8650, k91Left = 9750;

constexpr int32_t kCaptionTop = kCompanyHeaderHeight + 60;
constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;
constexpr int32_t kHeadingTop = 80;
constexpr int32_t kTotalTop = 40;
constexpr int32_t kGrandTotalTop = 80;

constexpr SectionRow kSections[] = {
    {kReportHeader, 0},     {kBannerHeader, kRuleTop + 160},
    {kDetail, kLineHeight}, {kGroupFooter1, kTotalTop + kLineHeight + 120},
    {kBannerFooter, 0},     {kReportFooter, kGrandTotalTop + kLineHeight + 60},
};

// clang-format off
//  section         control             kind        left              top             width         height       caption / field             format       align          font
constexpr ControlRow kLayout[] = {
    {kBannerHeader, "Label3",           kLabel,     kNumberLeft,      kCaptionTop,    kNumberWidth, kLineHeight, "Invoice / Pmt No",         {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label4",           kLabel,     kTypeLeft,        kCaptionTop,    kTypeWidth,   kLineHeight, "Type",                     {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label5",           kLabel,     kForLeft,         kCaptionTop,    kForWidth,    kLineHeight, "For",                      {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label6",           kLabel,     kInvoiceDateLeft, kCaptionTop,    kDateWidth,   kLineHeight, "Invoice Date",             {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label7",           kLabel,     kDueDateLeft,     kCaptionTop,    kDateWidth,   kLineHeight, "Due Date",                 {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label8",           kLabel,     kNetAmountLeft,   kCaptionTop,    kAmountWidth, kLineHeight, "Amount",                   {},          Align::kRight, kCaptionFont},
    {kBannerHeader, "Label10",          kLabel,     k030Left,         kCaptionTop,    kAmountWidth, kLineHeight, "0 -30 Days",               {},          Align::kRight, kCaptionFont},
    {kBannerHeader, "Label11",          kLabel,     k3160Left,        kCaptionTop,    kAmountWidth, kLineHeight, "31 - 60 days",             {},          Align::kRight, kCaptionFont},
    {kBannerHeader, "Label12",          kLabel,     k6190Left,        kCaptionTop,    kAmountWidth, kLineHeight, "61 - 90 days",             {},          Align::kRight, kCaptionFont},
    {kBannerHeader, "Label13",          kLabel,     k91Left,          kCaptionTop,    kAmountWidth, kLineHeight, "Over 90 Days",             {},          Align::kRight, kCaptionFont},
    {kBannerHeader, "Line1",            kLine,      0,                kRuleTop,       kPrintWidth,  0},
    {kBannerHeader, "lblBlank",         kLabel,     0,                kRuleTop + 20,  100,          120},

    {kDetail,       "txtInvoiceNumber", kText,      kNumberLeft,      0,              kNumberWidth, kLineHeight, "InvoiceNumber",            {},          Align::kLeft,  kBodyFont},
    {kDetail,       "txtInvoiceType",   kText,      kTypeLeft,        0,              kTypeWidth,   kLineHeight, "InvoiceType",              {},          Align::kLeft,  kBodyFont},
    {kDetail,       "txtOriginalInvoiceNo", kText,  kForLeft,         0,              kForWidth,    kLineHeight, "OriginalInvoiceNo",        {},          Align::kLeft,  kBodyFont},
    {kDetail,       "txtInvoiceDate",   kText,      kInvoiceDateLeft, 0,              kDateWidth,   kLineHeight, "InvoiceDate",              kShortDate,  Align::kLeft,  kBodyFont},
    {kDetail,       "txtDueDate",       kText,      kDueDateLeft,     0,              kDateWidth,   kLineHeight, "DueDate",                  kShortDate,  Align::kLeft,  kBodyFont},
    {kDetail,       "txtNetAmount",     kText,      kNetAmountLeft,   0,              kAmountWidth, kLineHeight, "NetAmount",                kAmount,     Align::kRight, kBodyFont},
    {kDetail,       "txt030",           kText,      k030Left,         0,              kAmountWidth, kLineHeight, "due030",                   kAmount,     Align::kRight, kBodyFont},
    {kDetail,       "txt3160",          kText,      k3160Left,        0,              kAmountWidth, kLineHeight, "due3160",                  kAmount,     Align::kRight, kBodyFont},
    {kDetail,       "txt6190",          kText,      k6190Left,        0,              kAmountWidth, kLineHeight, "due6190",                  kAmount,     Align::kRight, kBodyFont},
    {kDetail,       "txt91",            kText,      k91Left,          0,              kAmountWidth, kLineHeight, "due91",                    kAmount,     Align::kRight, kBodyFont},

    {kGroupFooter1, "Label9",           kLabel,     0,                kTotalTop,      700,          kLineHeight, "Total  for",               {},          Align::kLeft,  kCaptionFont},
    {kGroupFooter1, "Field3",           kGroupSum,  kNetAmountLeft,   kTotalTop,      kAmountWidth, kLineHeight, "NetAmount",                kAmount,     Align::kRight, kCaptionFont},
    {kGroupFooter1, "Field6",           kGroupSum,  k030Left,         kTotalTop,      kAmountWidth, kLineHeight, "due030",                   kAmount,     Align::kRight, kCaptionFont},
    {kGroupFooter1, "Field7",           kGroupSum,  k3160Left,        kTotalTop,      kAmountWidth, kLineHeight, "due3160",                  kAmount,     Align::kRight, kCaptionFont},
    {kGroupFooter1, "Field8",           kGroupSum,  k6190Left,        kTotalTop,      kAmountWidth, kLineHeight, "due6190",                  kAmount,     Align::kRight, kCaptionFont},
    {kGroupFooter1, "Field9",           kGroupSum,  k91Left,          kTotalTop,      kAmountWidth, kLineHeight, "due91",                    kAmount,     Align::kRight, kCaptionFont},

    {kReportFooter, "Line2",            kLine,      0,                20,             kPrintWidth,  0},
    {kReportFooter, "Label14",          kLabel,     0,                kGrandTotalTop, 700,          kLineHeight, "Total",                    {},          Align::kLeft,  kCaptionFont},
    {kReportFooter, "Field4",           kReportSum, kNetAmountLeft,   kGrandTotalTop, kAmountWidth, kLineHeight, "NetAmount",                "#,##0.00",  Align::kRight, kCaptionFont},
    {kReportFooter, "Field10",          kReportSum, k030Left,         kGrandTotalTop, kAmountWidth, kLineHeight, "due030",                   kAmount,     Align::kRight, kCaptionFont},
    {kReportFooter, "Field11",          kReportSum, k3160Left,        kGrandTotalTop, kAmountWidth, kLineHeight, "due3160",                  kAmount,     Align::kRight, kCaptionFont},
    {kReportFooter, "Field12",          kReportSum, k6190Left,        kGrandTotalTop, kAmountWidth, kLineHeight, "due6190",                  kAmount,     Align::kRight, kCaptionFont},
    {kReportFooter, "Field13",          kReportSum, k91Left,          kGrandTotalTop, kAmountWidth, kLineHeight, "due91",                    kAmount,     Align::kRight, kCaptionFont},
};
// clang-format on

constexpr const char* kBucketFields[] = {"due030", "due3160", "due6190", "due91"};
constexpr const char* kBucketControls[] = {"txt030", "txt3160", "txt6190", "txt91"};

}  // namespace

AgingReport::AgingReport(const Design& design) : design_(design) {
  Declare(kSections, kLayout);
  DeclareParams(design.params);
  // The rows that name the customer or vendor: the same places in both twins, the twin's own names.
  // The heading does not repeat on later pages, so each id is one entry of the table of contents.
  const SectionRow group_header[] = {
      {kGroupHeader1, kHeadingTop + kLineHeight + 60, design.break_field, kKeepTogether}};
  // clang-format off
  const ControlRow party_rows[] = {
      {kGroupHeader1, "Label2",                   kLabel, 0,    kHeadingTop, 900,  kLineHeight, design.group_caption, {}, Align::kLeft, kGroupFont},
      {kGroupHeader1, "Field1",                   kText,  950,  kHeadingTop, 1500, kLineHeight, design.break_field,   {}, Align::kLeft, kGroupFont},
      {kGroupHeader1, "Field2",                   kText,  2500, kHeadingTop, 5000, kLineHeight, design.name_field,    {}, Align::kLeft, kGroupFont},
      {kGroupFooter1, design.total_name_control,  kText,  750,  kTotalTop,   4500, kLineHeight, design.name_field,    {}, Align::kLeft, kCaptionFont},
  };
  // clang-format on
  Declare(group_header, party_rows);
}

void AgingReport::ActiveReport_DataInitialize() {
  std::string filter;
  if (!vb::Trim(ReportParam(1)).empty()) {
    filter = std::string(design_.filter_text) + ReportParam(1) + "' ";
  }
  if (!vb::Trim(DrillDownParam()).empty()) {
    filter = std::string(design_.filter_text) + DrillDownParam() + "' ";
  }
  std::string sql(design_.select_text);
  sql += design_.from_text;
  sql += filter;
  sql += design_.order_text;

  SetMainSql(std::move(sql));
  for (const char* field : kBucketFields) Fields().Add(field);
}

void AgingReport::ActiveReport_ReportStart() {
  ListingReport::ActiveReport_ReportStart();
  // Run for everyone, the report is a summary: headings and totals only.
  Sections("Detail").set_visible(!vb::Trim(ReportParam(1) + DrillDownParam()).empty());
  Controls<TextBox>("txtInvoiceDate").set_output_format(Settings().DateFormat);
  Controls<TextBox>("txtDueDate").set_output_format(Settings().DateFormat);
}

void AgingReport::ActiveReport_FetchData(bool& /*eof*/) {
  const data::Recordset* row = CurrentRow();
  if (row == nullptr) return;

  Currency amount;
  float days = 0;
  if (const Variant& due_date = row->Fields("DueDate"); !vb::IsNull(due_date)) {
    // A Null amount on a dated row has nothing to age: it ages as zero, as the engine's sums skip it.
    const Variant& net_amount = row->Fields("NetAmount");
    if (!vb::IsNull(net_amount)) amount = vb::CCur(net_amount);
    days = static_cast<float>(vb::Today() - vb::CDate(due_date));
  }

  // Buckets hold whole days up to their limit; a due date with a time of day can leave a fraction past a
  // limit (30.4 days), which is more than 30 days past due and so ages into the next bucket.
  int bucket;
  if (days < 0) {
    bucket = -1;  // not yet due: no aging column
  } else if (days <= 30) {
    bucket = 0;
  } else if (days <= 60) {
    bucket = 1;
  } else if (days <= 90) {
    bucket = 2;
  } else {
    bucket = 3;
  }
  for (int i = 0; i < 4; ++i) Fields(kBucketFields[i]).set_value(i == bucket ? amount : Currency());
}

void AgingReport::GroupHeader1_Format() {
  auto& id = Controls<TextBox>("Field1");
  TOC().Add(id.text());
  id.set_hyperlink(id.text());
}

void AgingReport::Detail_Format() {
  for (const char* name : kBucketControls) {
    auto& bucket = Controls<TextBox>(name);
    bucket.set_visible(IsNonZeroAmount(bucket.text()));
  }
  ShadeAlternateRows(Sections("Detail"), mRowCount);
}

// The customer's or vendor's totals are the engine's sums; nothing to change per group.
void AgingReport::GroupFooter1_Format() {}

}  // namespace vob::reports
