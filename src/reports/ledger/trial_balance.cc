// Trial balance: beginning, period and ending balance of each posting account, split into debit and credit.
// Activity totals are kept by the handlers, not summed by the engine, so debit and credit accounts stay
// apart.
#include "framework/debit_credit.h"
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptTrBalance final : public ListingReport {
 public:
  rptTrBalance() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    ShowDateRange();
  }

  void ActiveReport_DataInitialize() override {
    mPeriodDebitTotal = Currency();
    mPeriodCreditTotal = Currency();
    std::string sql = "SELECT GLAccountsHeader.*, GLAccountsDetail.* ";
    sql +=
        "FROM GLAccountsHeader INNER JOIN GLAccountsDetail ON GLAccountsHeader.AccountNo = "
        "GLAccountsDetail.AccountNo ";
    sql += "WHERE ((GLAccountsHeader.Type)<> 'General' ) AND ((GLAccountsDetail.AccountingPeriod) Between '";
    sql += ReportParam(3);
    sql += "' And '";
    sql += ReportParam(4);
    sql += "')  ";
    sql += "Order by GlaccountsHeader.AccountNo;";
    SetMainSql(std::move(sql));
    Fields().Add("fldBegDebit");
    Fields().Add("fldBegCredit");
    Fields().Add("fldEndDebit");
    Fields().Add("fldEndCredit");
  }

  // Each account has one row per period; only the rows of the two bounds carry a balance, so the account's
  // sums hold the balance before the first period and after the last, and zero where that row is missing.
  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    const std::string period = vb::CStr(row->Fields("AccountingPeriod"));
    const Currency debit_amount = vb::CCur(row->Fields("DebitAmount"));

    DebitCredit beginning;
    if (period == ReportParam(3))
      beginning = SplitDebitCredit(vb::CCur(row->Fields("Todate")) - debit_amount);
    Fields("fldBegDebit").set_value(beginning.debit);
    Fields("fldBegCredit").set_value(beginning.credit);

    DebitCredit ending;
    if (period == ReportParam(4)) ending = SplitDebitCredit(vb::CCur(row->Fields("Todate")));
    Fields("fldEndDebit").set_value(ending.debit);
    Fields("fldEndCredit").set_value(ending.credit);
  }

  void Detail_Format() override { TOC().Add(vb::CStr(Sections("GroupHeader1").group_value())); }

  // The column without a figure is cleared, so the account's activity reads as one amount on its line
  // rather than as a zero beside it.
  void GroupFooter1_Format() override {
    double activity = 0;
    vb::ResumeNext([&] { activity = vb::CDbl(Variant(Controls<TextBox>("fldDebitTotal").text())); });
    auto& debit_column = Controls<TextBox>("Field10");
    auto& credit_column = Controls<TextBox>("Field11");
    if (activity >= 0) {
      vb::ResumeNext([&] { debit_column.set_text(vb::Format(Variant(activity), "#,##0.00")); },
                     [&] { credit_column.set_text(""); },
                     [&] { mPeriodDebitTotal += vb::CCur(Variant(activity)); });
    } else {
      vb::ResumeNext([&] { credit_column.set_text(vb::Format(Variant(-activity), "#,##0.00")); },
                     [&] { debit_column.set_text(""); },
                     [&] { mPeriodCreditTotal += vb::CCur(Variant(-activity)); });
    }
  }

  void ReportFooter_BeforePrint() override {
    Controls<TextBox>("Field15").set_text(vb::Format(Variant(mPeriodDebitTotal), "#,##0.00"));
    Controls<TextBox>("Field16").set_text(vb::Format(Variant(mPeriodCreditTotal), "#,##0.00"));
  }

 private:
  // The trial balance prints its figures without the blank after a positive amount that kAmount leaves.
  static constexpr std::string_view kFigure = "#,##0.00;(#,##0.00)";

  // clang-format off
  //  index  kind                label                                example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate,     "Beginning date",                    "04/01/2024"},
      {2,      ParamKind::kDate,     "Ending date",                       "06/30/2024"},
      {3,      ParamKind::kPeriod,   "First accounting period (YYYYPP)",  "202404"},
      {4,      ParamKind::kPeriod,   "Last accounting period (YYYYPP)",   "202406"},
  };
  // clang-format on
  // Six amount columns, beginning, period and ending balance, each a debit and a credit, up to the right
  // margin.
  static constexpr int32_t kColumnWidth = 1120;
  static constexpr int32_t kBegDebit = kPrintWidth - 6 * kColumnWidth;
  static constexpr int32_t kBegCredit = kBegDebit + kColumnWidth;
  static constexpr int32_t kPeriodDebit = kBegCredit + kColumnWidth;
  static constexpr int32_t kPeriodCredit = kPeriodDebit + kColumnWidth;
  static constexpr int32_t kEndDebit = kPeriodCredit + kColumnWidth;
  static constexpr int32_t kEndCredit = kEndDebit + kColumnWidth;
  static constexpr int32_t kAmountWidth = kColumnWidth - 40;  // a gap before each right-aligned figure
  static constexpr int32_t kPairWidth = 2 * kColumnWidth - 40;
  static constexpr int32_t kNameLeft = 900;
  static constexpr int32_t kNameWidth = kBegDebit - kNameLeft - 100;

  static constexpr int32_t kDatesTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kCaptionTop = kDatesTop + kLineHeight + 120;
  static constexpr int32_t kSubCaptionTop = kCaptionTop + kLineHeight;
  static constexpr int32_t kRuleTop = kSubCaptionTop + kLineHeight + 20;
  static constexpr int32_t kTotalsTop = 80;

  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0, {}, kHidden},
      {kBannerHeader, kRuleTop + 180},
      {kGroupHeader1, 0, "GLAccountsHeader.AccountNo", kHidden},
      {kDetail, kLineHeight, {}, kHidden},
      {kGroupFooter1, kLineHeight},
      {kBannerFooter, 0, {}, kHidden},
      {kReportFooter, kTotalsTop + kLineHeight + 120},
  };
  // clang-format off
  //  section        control          kind        left           top             width        height       caption / field                format   align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "lblBegDate",    kLabel,     0,             kDatesTop,      1400,        kLineHeight, "Beginning Date:",             {},      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtBegDate",    kText,      1450,          kDatesTop,      1000,        kLineHeight, {},                            kShortDate, Align::kLeft, kBodyFont},
      {kBannerHeader, "lblEndDate",    kLabel,     2800,          kDatesTop,      1100,        kLineHeight, "Ending Date:",                {},      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtEndDate",    kText,      3950,          kDatesTop,      1000,        kLineHeight, {},                            kShortDate, Align::kLeft, kBodyFont},
      {kBannerHeader, "Label4",        kLabel,     0,             kCaptionTop,    kNameLeft,   kLineHeight, "Account",                     {},      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label7",        kLabel,     kBegDebit,     kCaptionTop,    kPairWidth,  kLineHeight, "Beginning Balance",           {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label17",       kLabel,     kPeriodDebit,  kCaptionTop,    kPairWidth,  kLineHeight, "Report Period",               {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label18",       kLabel,     kEndDebit,     kCaptionTop,    kPairWidth,  kLineHeight, "Ending Balance",              {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label3",        kLabel,     0,             kSubCaptionTop, kNameLeft,   kLineHeight, "Number",                      {},      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label16",       kLabel,     kNameLeft,     kSubCaptionTop, kNameWidth,  kLineHeight, "Name",                        {},      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label11",       kLabel,     kBegDebit,     kSubCaptionTop, kAmountWidth, kLineHeight, "Debit",                      {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label12",       kLabel,     kBegCredit,    kSubCaptionTop, kAmountWidth, kLineHeight, "Credit",                     {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label19",       kLabel,     kPeriodDebit,  kSubCaptionTop, kAmountWidth, kLineHeight, "Debit",                      {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label20",       kLabel,     kPeriodCredit, kSubCaptionTop, kAmountWidth, kLineHeight, "Credit",                     {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label21",       kLabel,     kEndDebit,     kSubCaptionTop, kAmountWidth, kLineHeight, "Debit",                      {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label22",       kLabel,     kEndCredit,    kSubCaptionTop, kAmountWidth, kLineHeight, "Credit",                     {},      Align::kRight, kCaptionFont},
      {kBannerHeader, "Line1",         kLine,      0,             kRuleTop,       kPrintWidth, 0},
      {kBannerHeader, "lblBlank",      kLabel,     0,             kRuleTop + 20,  100,         120},

      {kDetail,       "Field2",        kText,      kBegDebit,     0,              kAmountWidth, kLineHeight, "fldBegDebit",                kFigure, Align::kRight, kBodyFont},
      {kDetail,       "Field3",        kText,      kBegCredit,    0,              kAmountWidth, kLineHeight, "fldBegCredit",               kFigure, Align::kRight, kBodyFont},
      {kDetail,       "txtDebitAmount", kText,     kPeriodDebit,  0,              kAmountWidth, kLineHeight, "DebitAmount",                {},      Align::kRight, kBodyFont},
      {kDetail,       "Field6",        kText,      kEndDebit,     0,              kAmountWidth, kLineHeight, "fldEndDebit",                kFigure, Align::kRight, kBodyFont},
      {kDetail,       "Field7",        kText,      kEndCredit,    0,              kAmountWidth, kLineHeight, "fldEndCredit",               kFigure, Align::kRight, kBodyFont},

      {kGroupFooter1, "Field1",        kText,      0,             0,              kNameLeft - 100, kLineHeight, "GLAccountsHeader.AccountNo", {},   Align::kLeft,  kBodyFont},
      {kGroupFooter1, "txtAccountName", kText,     kNameLeft,     0,              kNameWidth,  kLineHeight, "AccountName",                 {},      Align::kLeft,  kBodyFont},
      {kGroupFooter1, "Field8",        kGroupSum,  kBegDebit,     0,              kAmountWidth, kLineHeight, "fldBegDebit",                kFigure, Align::kRight, kBodyFont},
      {kGroupFooter1, "Field9",        kGroupSum,  kBegCredit,    0,              kAmountWidth, kLineHeight, "fldBegCredit",               kFigure, Align::kRight, kBodyFont},
      {kGroupFooter1, "Field10",       kText,      kPeriodDebit,  0,              kAmountWidth, kLineHeight, {},                           kFigure, Align::kRight, kBodyFont},
      {kGroupFooter1, "Field11",       kText,      kPeriodCredit, 0,              kAmountWidth, kLineHeight, {},                           kFigure, Align::kRight, kBodyFont},
      {kGroupFooter1, "Field12",       kGroupSum,  kEndDebit,     0,              kAmountWidth, kLineHeight, "fldEndDebit",                kFigure, Align::kRight, kBodyFont},
      {kGroupFooter1, "Field18",       kGroupSum,  kEndCredit,    0,              kAmountWidth, kLineHeight, "fldEndCredit",               kFigure, Align::kRight, kBodyFont},
      {kGroupFooter1, "fldDebitTotal", kGroupSum,  kPeriodDebit,  0,              kAmountWidth, kLineHeight, "DebitAmount",                {},      Align::kRight, kBodyFont, kHidden},

      {kReportFooter, "Line2",         kLine,      kBegDebit,     20,             kPrintWidth - kBegDebit, 0},
      {kReportFooter, "Label23",       kLabel,     kNameLeft,     kTotalsTop,     kNameWidth,  kLineHeight, "Totals",                      {},      Align::kLeft,  kCaptionFont},
      {kReportFooter, "Field13",       kReportSum, kBegDebit,     kTotalsTop,     kAmountWidth, kLineHeight, "fldBegDebit",                kFigure, Align::kRight, kCaptionFont},
      {kReportFooter, "Field14",       kReportSum, kBegCredit,    kTotalsTop,     kAmountWidth, kLineHeight, "fldBegCredit",               kFigure, Align::kRight, kCaptionFont},
      {kReportFooter, "Field15",       kText,      kPeriodDebit,  kTotalsTop,     kAmountWidth, kLineHeight, {},                           kFigure, Align::kRight, kCaptionFont},
      {kReportFooter, "Field16",       kText,      kPeriodCredit, kTotalsTop,     kAmountWidth, kLineHeight, {},                           kFigure, Align::kRight, kCaptionFont},
      {kReportFooter, "Field17",       kReportSum, kEndDebit,     kTotalsTop,     kAmountWidth, kLineHeight, "fldEndDebit",                kFigure, Align::kRight, kCaptionFont},
      {kReportFooter, "Field19",       kReportSum, kEndCredit,    kTotalsTop,     kAmountWidth, kLineHeight, "fldEndCredit",               kFigure, Align::kRight, kCaptionFont},
      {kReportFooter, "Line3",         kLine,      kBegDebit,     kTotalsTop + kLineHeight + 40, kPrintWidth - kBegDebit, 0},
  };
  // clang-format on

  Currency mPeriodDebitTotal;
  Currency mPeriodCreditTotal;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptTrBalance)
