// Customer statement: one customer's balance brought forward, the period's documents with their days past
// due, and the ending balance aged into five columns. Every row read, listed or not, lands in exactly one of
// the five totals, so they add up to the ending balance; the aging describes the day the statement is
// printed.
#include <string>

#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptCusStmt final : public ListingReport {
 public:
  rptCusStmt() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    ShowDateRange("txtEndingDate");
    Controls<TextBox>("txtInvoiceDate").set_output_format(Settings().DateFormat);
    Controls<TextBox>("txtDueDate").set_output_format(Settings().DateFormat);
    for (const char* amount : {"Field2", "Field3", "fldCurrent", "fld030", "fld3160", "fld6190", "fld91"}) {
      Controls<TextBox>(amount).set_output_format(Settings().CurrencyFormat);
    }
  }

  void ActiveReport_DataInitialize() override {
    mCurrentTotal = Currency();
    m030Total = Currency();
    m3160Total = Currency();
    m6190Total = Currency();
    m91Total = Currency();
    std::string sql =
        "SELECT ARInvoiceHeader.CustomerID, ARInvoiceHeader.InvoiceDate, ARInvoiceHeader.OriginalInvoiceNo, "
        "ARInvoiceHeader.InvoiceNumber, ARInvoiceHeader.InvoiceType,ARInvoiceHeader.duedate, "
        "ARInvoiceHeader.NetAmount, ARInvoiceHeader.OurRef, Customers.Name, Customers.Address1, "
        "Customers.Address2, Customers.City, Customers.State, Customers.ZipCode ";
    sql += "FROM ARInvoiceHeader INNER JOIN Customers ON ARInvoiceHeader.CustomerID = Customers.CustomerID ";
    sql += "Where (((ARInvoiceHeader.CustomerID) = '";
    sql += ReportParam(3);
    sql += "') And ((ARInvoiceHeader.InvoiceDate) <= #";
    sql += ReportParam(2);
    sql += "#)) ";
    sql +=
        "ORDER BY ARInvoiceHeader.CustomerID, ARInvoiceHeader.InvoiceDate, "
        "ARInvoiceHeader.OriginalInvoiceNo, "
        "ARinvoiceheader.invoicetype;";
    SetMainSql(std::move(sql));
    Fields().Add("cutOff");
    Fields().Add("duedays");
    Fields().Add("fldZip");
  }

  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;

    const bool is_in_period = vb::CDate(row->Fields("InvoiceDate")) >= vb::CDate(Variant(ReportParam(1)));
    Fields("cutoff").set_value(static_cast<int16_t>(is_in_period ? 1 : 0));

    int16_t days = 0;
    if (const Variant& due_date = row->Fields("DueDate"); !vb::IsNull(due_date)) {
      days = vb::CInt(Variant(vb::Today() - vb::CDate(due_date)));
    }
    // A Null type is neither "INV" nor "SLS".
    const Variant& type = row->Fields("InvoiceType");
    const bool shows_days = type.is_string() && (type.str() == "INV" || type.str() == "SLS");
    Fields("DueDays").set_value(shows_days ? vb::CStr(Variant(days)) : std::string());

    // A Null amount adds nothing, as it adds nothing to the engine's balance sums, so the five totals still
    // add up to the ending balance.
    const Variant& net_amount = row->Fields("NetAmount");
    const Currency amount = vb::IsNull(net_amount) ? Currency() : vb::CCur(net_amount);
    if (days < 0) {
      mCurrentTotal += amount;
    } else if (days <= 30) {
      m030Total += amount;
    } else if (days <= 60) {
      m3160Total += amount;
    } else if (days <= 90) {
      m6190Total += amount;
    } else {
      m91Total += amount;
    }

    // A customer without a postal code gets an empty one in the heading.
    const Variant& zip_code = row->Fields("ZipCode");
    const std::string zip = vb::IsNull(zip_code) ? std::string() : vb::Trim(vb::CStr(zip_code));
    Fields("fldzip").set_value(zip.size() == 9 ? vb::Left(zip, 5) + "-" + vb::Right(zip, 4) : zip);
  }

  // Rows dated before the period are read, summed and aged, but not listed.
  void Detail_Format() override { Sections("Detail").set_visible(vb::CInt(Fields("cutOff").value()) == 1); }

  // The footer shows the fields of its group's last row, so cutOff tells which side of the period it closes.
  void GroupFooter2_Format() override {
    auto& caption = Controls<Label>("lblSubTotal");
    if (vb::CInt(Fields("cutOff").value()) == 0) {
      caption.set_caption("Previous Balance as of " +
                          vb::Format(Variant(ReportParam(1)), Settings().LongDateFormat));
    } else {
      caption.set_caption("Activity during Current Period:");
    }
  }

  void GroupFooter1_Format() override {
    Controls<Label>("lblGrandTotal")
        .set_caption("Ending Balance as of " +
                     vb::Format(Variant(ReportParam(2)), Settings().LongDateFormat));
    Controls<TextBox>("fldCurrent").set_text(vb::Format(Variant(mCurrentTotal), "Currency"));
    Controls<TextBox>("fld030").set_text(vb::Format(Variant(m030Total), "Currency"));
    Controls<TextBox>("fld3160").set_text(vb::Format(Variant(m3160Total), "Currency"));
    Controls<TextBox>("fld6190").set_text(vb::Format(Variant(m6190Total), "Currency"));
    Controls<TextBox>("fld91").set_text(vb::Format(Variant(m91Total), "Currency"));
  }

 private:
  // clang-format off
  //  index  kind                label                                example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate,     "Beginning date of the period",      "06/01/2024"},
      {2,      ParamKind::kDate,     "Ending date of the period",         "06/30/2024"},
      {3,      ParamKind::kId,       "Customer ID",                       "ACME0021"},
  };
  // clang-format on

  static constexpr const char* kAgingMoney = "$#,##0.00;($#,##0.00)";

  // The customer's name and address under the company header, the period to the right.
  static constexpr int32_t kCustomerTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kAddressLeft = 1050;
  static constexpr int32_t kPeriodLeft = 5600;
  static constexpr int32_t kCaptionTop = kCustomerTop + 5 * kLineHeight + 120;
  static constexpr int32_t kCaptionHeight = 2 * kLineHeight;  // the long captions wrap onto a second line
  static constexpr int32_t kRuleTop = kCaptionTop + kCaptionHeight + 20;

  // Eight columns: dates and numbers, type and reference, then the amount and the days past due.
  static constexpr int32_t kInvoiceDateLeft = 0, kDateWidth = 1000;
  static constexpr int32_t kNumberLeft = 1100, kOriginalLeft = 2600, kNumberWidth = 1400;
  static constexpr int32_t kDueDateLeft = 4100;
  static constexpr int32_t kTypeLeft = 5200, kTypeWidth = 600;
  static constexpr int32_t kOurRefLeft = 5900, kOurRefWidth = 1900;
  static constexpr int32_t kAmountLeft = 7900, kAmountWidth = 1400;
  static constexpr int32_t kDaysLeft = 9400, kDaysWidth = 1400;

  // The aging block: six columns of captions over their amounts, balance first.
  static constexpr int32_t kAgingWidth = kPrintWidth / 6;
  static constexpr int32_t kAgingCaptionTop = 120 + kLineHeight + 80;
  static constexpr int32_t kAgingAmountTop = kAgingCaptionTop + kLineHeight;

  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0},
      {kBannerHeader, kRuleTop + 160},
      {kGroupHeader1, 0, "CustomerID"},
      {kGroupHeader2, 0, "cutOff"},
      {kGroupHeader3, 0, "OriginalInvoiceNo"},
      {kDetail, kLineHeight},
      {kGroupFooter3, 0},
      {kGroupFooter2, 60 + kLineHeight + 60},
      {kGroupFooter1, kAgingAmountTop + kLineHeight + 120},
      {kBannerFooter, 0},
      {kReportFooter, 0},
  };
  // clang-format off
  //  section        control               kind       left                 top                     width           height          caption / field           format        align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "Label2",             kLabel,    0,                   kCustomerTop,           kAddressLeft - 50, kLineHeight, "Customer ID:",           {},           Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtCustomerID",      kText,     kAddressLeft,        kCustomerTop,           2500,           kLineHeight,    "CustomerID",             {},           Align::kLeft,  kGroupFont},
      {kBannerHeader, "txtName",            kText,     kAddressLeft,        kCustomerTop + 1 * kLineHeight, 4200,   kLineHeight,    "Name",                   {},           Align::kLeft,  kBodyFont},
      {kBannerHeader, "txtAddress1",        kText,     kAddressLeft,        kCustomerTop + 2 * kLineHeight, 4200,   kLineHeight,    "Address1",               {},           Align::kLeft,  kBodyFont},
      {kBannerHeader, "txtAddress2",        kText,     kAddressLeft,        kCustomerTop + 3 * kLineHeight, 4200,   kLineHeight,    "Address2",               {},           Align::kLeft,  kBodyFont},
      {kBannerHeader, "txtCity",            kText,     kAddressLeft,        kCustomerTop + 4 * kLineHeight, 2000,   kLineHeight,    "City",                   {},           Align::kLeft,  kBodyFont},
      {kBannerHeader, "txtState",           kText,     kAddressLeft + 2050, kCustomerTop + 4 * kLineHeight, 450,    kLineHeight,    "State",                  {},           Align::kLeft,  kBodyFont},
      {kBannerHeader, "Field4",             kText,     kAddressLeft + 2550, kCustomerTop + 4 * kLineHeight, 1100,   kLineHeight,    "fldZip",                 {},           Align::kLeft,  kBodyFont},
      {kBannerHeader, "Label3",             kLabel,    kPeriodLeft,         kCustomerTop,           1900,           kLineHeight,    "Statement Period From ", {},           Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtBegDate",         kText,     kPeriodLeft + 1900,  kCustomerTop,           1000,           kLineHeight,    {},                       kShortDate,   Align::kLeft,  kBodyFont},
      {kBannerHeader, "Label4",             kLabel,    kPeriodLeft + 2950,  kCustomerTop,           300,            kLineHeight,    "To",                     {},           Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtEndingDate",      kText,     kPeriodLeft + 3300,  kCustomerTop,           1000,           kLineHeight,    {},                       kShortDate,   Align::kLeft,  kBodyFont},
      {kBannerHeader, "Label5",             kLabel,    kInvoiceDateLeft,    kCaptionTop,            kDateWidth,     kCaptionHeight, "Invoice / Receipt Date", {},           Align::kLeft,  kCaptionFont, kCanGrow},
      {kBannerHeader, "Label6",             kLabel,    kNumberLeft,         kCaptionTop,            kNumberWidth,   kCaptionHeight, "Invoice/ Receipt No",    {},           Align::kLeft,  kCaptionFont, kCanGrow},
      {kBannerHeader, "Label7",             kLabel,    kOriginalLeft,       kCaptionTop,            kNumberWidth,   kCaptionHeight, "Reference Invoice No",   {},           Align::kLeft,  kCaptionFont, kCanGrow},
      {kBannerHeader, "Label8",             kLabel,    kDueDateLeft,        kCaptionTop,            kDateWidth,     kCaptionHeight, "Due Date",               {},           Align::kLeft,  kCaptionFont, kCanGrow},
      {kBannerHeader, "Label9",             kLabel,    kTypeLeft,           kCaptionTop,            kTypeWidth,     kCaptionHeight, "Type",                   {},           Align::kLeft,  kCaptionFont, kCanGrow},
      {kBannerHeader, "Label10",            kLabel,    kOurRefLeft,         kCaptionTop,            kOurRefWidth,   kCaptionHeight, "Reference",              {},           Align::kLeft,  kCaptionFont, kCanGrow},
      {kBannerHeader, "Label11",            kLabel,    kAmountLeft,         kCaptionTop,            kAmountWidth,   kCaptionHeight, "Amount",                 {},           Align::kRight, kCaptionFont, kCanGrow},
      {kBannerHeader, "Label12",            kLabel,    kDaysLeft,           kCaptionTop,            kDaysWidth,     kCaptionHeight, "Days Past Due",          {},           Align::kRight, kCaptionFont, kCanGrow},
      {kBannerHeader, "Line2",              kLine,     0,                   kRuleTop,               kPrintWidth,    0},
      {kBannerHeader, "lblBlank",           kLabel,    0,                   kRuleTop + 20,          100,            120},

      {kDetail,       "txtInvoiceDate",     kText,     kInvoiceDateLeft,    0,                      kDateWidth,     kLineHeight,    "InvoiceDate",            kShortDate,   Align::kLeft,  kBodyFont},
      {kDetail,       "txtInvoiceNumber",   kText,     kNumberLeft,         0,                      kNumberWidth,   kLineHeight,    "InvoiceNumber",          {},           Align::kLeft,  kBodyFont},
      {kDetail,       "txtOriginalInvoiceNo", kText,   kOriginalLeft,       0,                      kNumberWidth,   kLineHeight,    "OriginalInvoiceNo",      {},           Align::kLeft,  kBodyFont},
      {kDetail,       "txtDueDate",         kText,     kDueDateLeft,        0,                      kDateWidth,     kLineHeight,    "DueDate",                kShortDate,   Align::kLeft,  kBodyFont},
      {kDetail,       "txtInvoiceType",     kText,     kTypeLeft,           0,                      kTypeWidth,     kLineHeight,    "InvoiceType",            {},           Align::kLeft,  kBodyFont},
      {kDetail,       "txtOurRef",          kText,     kOurRefLeft,         0,                      kOurRefWidth,   kLineHeight,    "OurRef",                 {},           Align::kLeft,  kBodyFont},
      {kDetail,       "txtNetAmount",       kText,     kAmountLeft,         0,                      kAmountWidth,   kLineHeight,    "NetAmount",              kAmount,      Align::kRight, kBodyFont},
      {kDetail,       "fldDuedays",         kText,     kDaysLeft,           0,                      kDaysWidth,     kLineHeight,    "dueDays",                {},           Align::kRight, kBodyFont},

      {kGroupFooter2, "lblSubTotal",        kLabel,    kOriginalLeft,       60,                     kAmountLeft - kOriginalLeft - 100, kLineHeight, {},            {},  Align::kLeft,  kCaptionFont},
      {kGroupFooter2, "Field2",             kGroupSum, kAmountLeft,         60,                     kAmountWidth,   kLineHeight,    "netAmount",              kMoney,       Align::kRight, kCaptionFont},

      {kGroupFooter1, "lblGrandTotal",      kLabel,    0,                   120,                    kAmountLeft - 100, kLineHeight, {},                       {},           Align::kLeft,  kGroupFont},
      {kGroupFooter1, "Label13",            kLabel,    0 * kAgingWidth,     kAgingCaptionTop,       kAgingWidth,    kLineHeight,    "Balance",                {},           Align::kRight, kCaptionFont},
      {kGroupFooter1, "Label14",            kLabel,    1 * kAgingWidth,     kAgingCaptionTop,       kAgingWidth,    kLineHeight,    "Current",                {},           Align::kRight, kCaptionFont},
      {kGroupFooter1, "Label15",            kLabel,    2 * kAgingWidth,     kAgingCaptionTop,       kAgingWidth,    kLineHeight,    "0-30 days",              {},           Align::kRight, kCaptionFont},
      {kGroupFooter1, "Label16",            kLabel,    3 * kAgingWidth,     kAgingCaptionTop,       kAgingWidth,    kLineHeight,    "31-60 days",             {},           Align::kRight, kCaptionFont},
      {kGroupFooter1, "Label17",            kLabel,    4 * kAgingWidth,     kAgingCaptionTop,       kAgingWidth,    kLineHeight,    "61-90 days",             {},           Align::kRight, kCaptionFont},
      {kGroupFooter1, "Label18",            kLabel,    5 * kAgingWidth,     kAgingCaptionTop,       kAgingWidth,    kLineHeight,    "Over 90 days",           {},           Align::kRight, kCaptionFont},
      {kGroupFooter1, "Field3",             kGroupSum, 0 * kAgingWidth,     kAgingAmountTop,        kAgingWidth,    kLineHeight,    "netAmount",              kMoney,       Align::kRight, kBodyFont},
      {kGroupFooter1, "fldCurrent",         kText,     1 * kAgingWidth,     kAgingAmountTop,        kAgingWidth,    kLineHeight,    {},                       kAgingMoney,  Align::kRight, kBodyFont},
      {kGroupFooter1, "fld030",             kText,     2 * kAgingWidth,     kAgingAmountTop,        kAgingWidth,    kLineHeight,    {},                       kAgingMoney,  Align::kRight, kBodyFont},
      {kGroupFooter1, "fld3160",            kText,     3 * kAgingWidth,     kAgingAmountTop,        kAgingWidth,    kLineHeight,    {},                       kAgingMoney,  Align::kRight, kBodyFont},
      {kGroupFooter1, "fld6190",            kText,     4 * kAgingWidth,     kAgingAmountTop,        kAgingWidth,    kLineHeight,    {},                       kAgingMoney,  Align::kRight, kBodyFont},
      {kGroupFooter1, "fld91",              kText,     5 * kAgingWidth,     kAgingAmountTop,        kAgingWidth,    kLineHeight,    {},                       kAgingMoney,  Align::kRight, kBodyFont},
  };
  // clang-format on

  Currency mCurrentTotal;
  Currency m030Total;
  Currency m3160Total;
  Currency m6190Total;
  Currency m91Total;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptCusStmt)
