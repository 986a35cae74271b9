// Income statement: revenue and expense posting accounts for one period and for the year to date, with group
// totals and net income. Revenue is a credit, so its sign is turned to print positive; expenses keep theirs.
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptIncStmt final : public ListingReport {
 public:
  rptIncStmt() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    Controls<TextBox>("txtBegDate")
        .set_text("As of " + vb::Format(Variant(ReportParam(2)), Settings().LongDateFormat));
    for (const char* name : {"Field1", "Field2", "Field4", "Field5", "txtNetCurrent", "txtNetYTD"})
      Controls<TextBox>(name).set_output_format(Settings().CurrencyFormat);
  }

  // The year to date runs from the first period of the reported period's year ("YYYY01") to that period.
  void ActiveReport_DataInitialize() override {
    mNetCurrent = Currency();
    mNetYTD = Currency();
    std::string sql =
        " SELECT GLAccountsDetail.AccountNo, GLAccountsHeader.AccountName, GLAccountsDetail.DebitAmount, "
        "GLAccountsHeader.[Group], GLAccountsHeader.Type, GLAccountsDetail.AccountingPeriod ";
    sql +=
        "FROM GLAccountsHeader INNER JOIN GLAccountsDetail ON GLAccountsHeader.AccountNo = "
        "GLAccountsDetail.AccountNo ";
    sql +=
        "WHERE (((GLAccountsHeader.[Group])='Revenue' Or (GLAccountsHeader.[Group])='Expense') AND "
        "((GLAccountsHeader.Type)='Detail') AND ((GLAccountsDetail.AccountingPeriod) Between '";
    sql += vb::Left(ReportParam(1), 4);
    sql += "01' And '";
    sql += ReportParam(1);
    sql += "')) ";
    sql += " ORDER BY GLAccountsDetail.AccountNo;";
    SetMainSql(std::move(sql));
    Fields().Add("fldCurrent");
    Fields().Add("fldYTD");
  }

  // A Null DebitAmount fails here, as it would when the net income is updated from it.
  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    const Variant& group = row->Fields("Group");
    const Currency debit_amount = vb::CCur(row->Fields("DebitAmount"));
    const Currency year_to_date = group == Variant("Expense") ? debit_amount : -debit_amount;
    Fields("fldYTD").set_value(year_to_date);
    const Currency current =
        row->Fields("AccountingPeriod") == Variant(ReportParam(1)) ? year_to_date : Currency();
    Fields("fldCurrent").set_value(current);
    if (group == Variant("Revenue")) {
      mNetCurrent += current;
      mNetYTD += year_to_date;
    } else {
      mNetCurrent -= current;
      mNetYTD -= year_to_date;
    }
  }

  // The account's sums read back from their printed text: an account without movement prints no line.
  void GroupFooter2_Format() override {
    const double current = vb::CDbl(Variant(Controls<TextBox>("Field1").text()));
    const double year_to_date = vb::CDbl(Variant(Controls<TextBox>("Field2").text()));
    Sections("GroupFooter2").set_visible(current != 0 || year_to_date != 0);
  }

  void ReportFooter_Format() override {
    Controls<TextBox>("txtNetCurrent").set_text(vb::Format(Variant(mNetCurrent), Settings().CurrencyFormat));
    Controls<TextBox>("txtNetYTD").set_text(vb::Format(Variant(mNetYTD), Settings().CurrencyFormat));
  }

 private:
  // clang-format off
  //  index  kind                label                                example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kPeriod,   "Accounting period (YYYYPP)",        "202406"},
      {2,      ParamKind::kDate,     "Statement date",                    "06/30/2024"},
  };
  // clang-format on

  static constexpr int32_t kAmountWidth = 1600;
  static constexpr int32_t kYearLeft = kPrintWidth - kAmountWidth;
  static constexpr int32_t kCurrentLeft = kYearLeft - 300 - kAmountWidth;
  static constexpr int32_t kNameLeft = 1000;
  static constexpr int32_t kNameWidth = kCurrentLeft - kNameLeft - 200;
  static constexpr int32_t kDateTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kCaptionTop = 360;
  static constexpr int32_t kTotalTop = 60;

  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0, {}, kHidden},
      {kBannerHeader, kDateTop + kLineHeight + 160},
      {kGroupHeader1, kCaptionTop + kLineHeight + 80, "Group", kRepeat | kKeepTogether},
      {kGroupHeader2, 0, "AccountNo"},
      {kDetail, kLineHeight, {}, kHidden},
      {kGroupFooter2, kLineHeight},
      {kGroupFooter1, kTotalTop + kLineHeight + 200},
      {kBannerFooter, 0, {}, kHidden},
      {kReportFooter, 700},
  };
  // clang-format off
  //  section        control           kind       left          top                 width         height       caption / field   format   align           font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "txtBegDate",     kText,     0,            kDateTop,           kPrintWidth,  kLineHeight, {},                {},      Align::kCenter, kGroupFont},
      {kBannerHeader, "lblBlank",       kLabel,    0,            kDateTop + kLineHeight + 40, 100, 100},

      {kGroupHeader1, "txtGroup",       kText,     0,            60,                 kNameLeft + kNameWidth, 280, "Group",         {},      Align::kLeft,   kGroupFont},
      {kGroupHeader1, "Label2",         kLabel,    kNameLeft,    kCaptionTop,        kNameWidth,   kLineHeight, "Account",         {},      Align::kLeft,   kCaptionFont},
      {kGroupHeader1, "Label3",         kLabel,    kCurrentLeft, kCaptionTop,        kAmountWidth, kLineHeight, "Current Period",  {},      Align::kRight,  kCaptionFont},
      {kGroupHeader1, "Label4",         kLabel,    kYearLeft,    kCaptionTop,        kAmountWidth, kLineHeight, "Year-to-date",    {},      Align::kRight,  kCaptionFont},

      {kDetail,       "txtCurrent",     kText,     kCurrentLeft, 0,                  kAmountWidth, kLineHeight, "fldCurrent",      kAmount, Align::kRight,  kBodyFont},
      {kDetail,       "txtYTD",         kText,     kYearLeft,    0,                  kAmountWidth, kLineHeight, "fldYTD",          kAmount, Align::kRight,  kBodyFont},

      {kGroupFooter2, "txtAccountNo",   kText,     0,            0,                  kNameLeft - 100, kLineHeight, "AccountNo",    {},      Align::kLeft,   kBodyFont},
      {kGroupFooter2, "txtAccountName", kText,     kNameLeft,    0,                  kNameWidth,   kLineHeight, "AccountName",     {},      Align::kLeft,   kBodyFont},
      {kGroupFooter2, "Field1",         kGroupSum, kCurrentLeft, 0,                  kAmountWidth, kLineHeight, "fldCurrent",      kMoney,  Align::kRight,  kBodyFont},
      {kGroupFooter2, "Field2",         kGroupSum, kYearLeft,    0,                  kAmountWidth, kLineHeight, "fldYTD",          kMoney,  Align::kRight,  kBodyFont},

      {kGroupFooter1, "Line3",          kLine,     kCurrentLeft, kTotalTop - 30,     kAmountWidth, 0},
      {kGroupFooter1, "Line6",          kLine,     kYearLeft,    kTotalTop - 30,     kAmountWidth, 0},
      {kGroupFooter1, "Label5",         kLabel,    kNameLeft,    kTotalTop,          500,          kLineHeight, "Total",           {},      Align::kLeft,   kCaptionFont},
      {kGroupFooter1, "Field3",         kText,     kNameLeft + 500, kTotalTop,       kNameWidth - 500, kLineHeight, "Group",       {},      Align::kLeft,   kCaptionFont},
      {kGroupFooter1, "Field4",         kGroupSum, kCurrentLeft, kTotalTop,          kAmountWidth, kLineHeight, "fldCurrent",      kMoney,  Align::kRight,  kCaptionFont},
      {kGroupFooter1, "Field5",         kGroupSum, kYearLeft,    kTotalTop,          kAmountWidth, kLineHeight, "fldYTD",          kMoney,  Align::kRight,  kCaptionFont},

      {kReportFooter, "Line5",          kLine,     kCurrentLeft, 60,                 kPrintWidth - kCurrentLeft, 0},
      {kReportFooter, "Label6",         kLabel,    kNameLeft,    160,                kNameWidth,   kLineHeight, "Net Income",      {},      Align::kLeft,   kGroupFont},
      {kReportFooter, "txtNetCurrent",  kText,     kCurrentLeft, 160,                kAmountWidth, kLineHeight, {},                kMoney,  Align::kRight,  kGroupFont},
      {kReportFooter, "txtNetYTD",      kText,     kYearLeft,    160,                kAmountWidth, kLineHeight, {},                kMoney,  Align::kRight,  kGroupFont},
  };
  // clang-format on

  Currency mNetCurrent;
  Currency mNetYTD;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptIncStmt)
