// Balance sheet: asset, liability and equity balances at the end of one period, summary accounts in the first
// column and posting accounts in the second. Only posting accounts are summed, so nothing is counted twice.
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptbalsheet final : public ListingReport {
 public:
  rptbalsheet() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    Controls<TextBox>("txtBegDate")
        .set_text("As of " + vb::Format(Variant(ReportParam(2)), Settings().LongDateFormat));
  }

  void ActiveReport_DataInitialize() override {
    std::string sql =
        "SELECT GLAccountsDetail.*, GLAccountsHeader.AccountName, GLAccountsHeader.[Group], "
        "GLAccountsHeader.Type ";
    sql +=
        " FROM GLAccountsHeader INNER JOIN GLAccountsDetail ON GLAccountsHeader.AccountNo = "
        "GLAccountsDetail.AccountNo ";
    sql += " WHERE (((GLAccountsDetail.AccountingPeriod)= '";
    sql += ReportParam(1);
    sql += "' ) and GLAccountsDetail.AccountNo < '4' ) order by Glaccountsdetail.AccountNo;";
    SetMainSql(std::move(sql));
    Fields().Add("gAmount");
    Fields().Add("dAmount");
  }

  // Liabilities and equity are credit balances: the sign turns them into positive amounts.
  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    const Variant& group = row->Fields("Group");
    const int sign = group == Variant("Asset") || group == Variant("Expense") ? 1 : -1;
    const Currency balance = vb::CCur(row->Fields("Todate")) * sign;
    const bool is_summary = row->Fields("Type") == Variant("General");
    Fields("gAmount").set_value(is_summary ? balance : Currency());
    Fields("dAmount").set_value(is_summary ? Currency() : balance);
  }

  // The liability group opens the right-hand side: a new page, its heading, and the start of the final total.
  void GroupHeader1_Format() override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    auto& header = Sections("GroupHeader1");
    auto& heading = Controls<TextBox>("txtGroupHead");
    bool is_liability = false;
    vb::ResumeNext([&] { is_liability = row->Fields("Group") == Variant("Liability"); });
    if (is_liability) {
      vb::ResumeNext([&] { header.set_new_page(1); },
                     [&] { heading.set_text("Liabilities and Shareholders Equity"); },
                     [&] { heading.set_visible(true); }, [&] { mLiabEquityTotal = 0; });
    } else {
      vb::ResumeNext([&] { header.set_new_page(0); }, [&] { heading.set_text(""); },
                     [&] { heading.set_visible(false); });
    }
  }

  // A zero balance prints an empty line; otherwise only the column that holds the balance shows.
  void Detail_Format() override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    auto& general = Controls<TextBox>("txtGeneral");
    auto& detail = Controls<TextBox>("txtDetail");
    const Variant& to_date = row->Fields("ToDate");
    const bool is_zero = !to_date.is_null() && vb::CCur(to_date) == Currency();
    general.set_visible(!is_zero && IsNonZeroAmount(general.text()));
    detail.set_visible(!is_zero && IsNonZeroAmount(detail.text()));
    Controls<TextBox>("txtAccountNo").set_visible(!is_zero);
    Controls<TextBox>("txtAccountName").set_visible(!is_zero);
  }

  // The engine reads a row ahead: the recordset is at its end only while the last group's footer formats.
  void GroupFooter1_Format() override {
    const bool is_last_group = CurrentRow() == nullptr;
    Controls<Label>("lblCurYear").set_visible(is_last_group);
    auto& earnings = Controls<TextBox>("txtCurYear");
    earnings.set_visible(is_last_group);
    double total = vb::CDbl(Variant(Controls<TextBox>("txtGroupTotal").text()));
    if (is_last_group) {
      earnings.set_text(vb::Format(Variant(ReportParam(3)), kAmount));
      total += vb::CDbl(Variant(ReportParam(3)));
    }
    Controls<TextBox>("txtGroupNet").set_text(vb::Format(Variant(total), kAmount));
    mLiabEquityTotal += total;
  }

  void ReportFooter_Format() override {
    Controls<TextBox>("txtLiabEquity").set_text(vb::Format(Variant(mLiabEquityTotal), kAmount));
  }

 private:
  // clang-format off
  //  index  kind                label                                    example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kPeriod,   "Accounting period (YYYYPP)",            "202406"},
      {2,      ParamKind::kDate,     "Balance sheet date",                    "06/30/2024"},
      {3,      ParamKind::kNumber,   "Earnings of the current year",          "158995.18"},
  };
  // clang-format on

  static constexpr int32_t kAmountWidth = 1500;
  static constexpr int32_t kDetailLeft = kPrintWidth - kAmountWidth;
  static constexpr int32_t kGeneralLeft = kDetailLeft - 200 - kAmountWidth;
  static constexpr int32_t kNameLeft = 1000;
  static constexpr int32_t kNameWidth = kGeneralLeft - kNameLeft - 200;
  static constexpr int32_t kDateTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kTotalTop = kLineHeight + 60;

  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0, {}, kHidden},
      {kBannerHeader, kDateTop + kLineHeight + 200},
      {kGroupHeader1, 700, "Group", kKeepTogether},
      {kDetail, kLineHeight},
      {kGroupFooter1, kTotalTop + kLineHeight + 180},
      {kBannerFooter, 0, {}, kHidden},
      {kReportFooter, 600},
  };
  // clang-format off
  //  section        control          kind       left          top                  width         height       caption / field  format   align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "txtBegDate",    kText,     0,            kDateTop,            kPrintWidth,  kLineHeight, {},               {},      Align::kCenter, kGroupFont},
      {kBannerHeader, "Line1",         kLine,     0,            kDateTop + kLineHeight + 60, kPrintWidth, 0},
      {kBannerHeader, "lblBlank",      kLabel,    0,            kDateTop + kLineHeight + 80, 100, 100},

      {kGroupHeader1, "txtGroupHead",  kText,     0,            60,                  kPrintWidth,  300,         {},               {},      Align::kLeft,  kGroupFont},
      {kGroupHeader1, "txtGroup",      kText,     0,            400,                 kNameLeft + kNameWidth, 280, "Group",         {},      Align::kLeft,  kGroupFont},

      {kDetail,       "txtAccountNo",  kText,     0,            0,                   kNameLeft - 100, kLineHeight, "AccountNo",    {},      Align::kLeft,  kBodyFont},
      {kDetail,       "txtAccountName", kText,    kNameLeft,    0,                   kNameWidth,   kLineHeight, "AccountName",    {},      Align::kLeft,  kBodyFont},
      {kDetail,       "txtGeneral",    kText,     kGeneralLeft, 0,                   kAmountWidth, kLineHeight, "gAmount",        kAmount, Align::kRight, kBodyFont},
      {kDetail,       "txtDetail",     kText,     kDetailLeft,  0,                   kAmountWidth, kLineHeight, "dAmount",        kAmount, Align::kRight, kBodyFont},

      {kGroupFooter1, "lblCurYear",    kLabel,    kNameLeft,    0,                   kNameWidth,   kLineHeight, "Earnings for Current Year", {}, Align::kLeft, kBodyFont},
      {kGroupFooter1, "txtCurYear",    kText,     kDetailLeft,  0,                   kAmountWidth, kLineHeight, {},               {},      Align::kRight, kBodyFont},
      {kGroupFooter1, "Line2",         kLine,     kDetailLeft,  kTotalTop - 30,      kAmountWidth, 0},
      {kGroupFooter1, "Label2",        kLabel,    kNameLeft,    kTotalTop,           500,          kLineHeight, "Total",          {},      Align::kLeft,  kCaptionFont},
      {kGroupFooter1, "Field1",        kText,     kNameLeft + 500, kTotalTop,        kNameWidth - 500, kLineHeight, "Group",      {},      Align::kLeft,  kCaptionFont},
      {kGroupFooter1, "txtGroupTotal", kGroupSum, kGeneralLeft, kTotalTop,           kAmountWidth, kLineHeight, "dAmount",        kAmount, Align::kRight, kBodyFont, kHidden},
      {kGroupFooter1, "txtGroupNet",   kText,     kDetailLeft,  kTotalTop,           kAmountWidth, kLineHeight, {},               kAmount, Align::kRight, kCaptionFont},
      {kGroupFooter1, "Line3",         kLine,     kDetailLeft,  kTotalTop + kLineHeight + 30, kAmountWidth, 0},

      {kReportFooter, "Label3",        kLabel,    kNameLeft,    120,                 kNameWidth,   kLineHeight, "Total Liabilities and Equity", {}, Align::kLeft, kCaptionFont},
      {kReportFooter, "txtLiabEquity", kText,     kDetailLeft,  120,                 kAmountWidth, kLineHeight, {},               kAmount, Align::kRight, kCaptionFont},
      {kReportFooter, "Line4",         kLine,     kDetailLeft,  120 + kLineHeight + 30, kAmountWidth, 0},
  };
  // clang-format on

  double mLiabEquityTotal = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptbalsheet)
