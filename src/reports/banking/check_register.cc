// Check register: the entries of one bank account over a date range, with payments, deposits and the balance
// as the host stored them, and the totals of payments and deposits. Nothing is recomputed here.
#include <string>

#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptCheckReg final : public ListingReport {
 public:
  rptCheckReg() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    ShowDateRange();
    Controls<TextBox>("txtCheckDate").set_output_format(Settings().DateFormat);
  }

  void ActiveReport_DataInitialize() override {
    std::string sql = "SELECT CheckRegister.*, GLAccountsHeader.AccountName, CheckRegister.AccountNo";
    sql +=
        " FROM CheckRegister INNER JOIN GLAccountsHeader ON CheckRegister.AccountNo = "
        "GLAccountsHeader.AccountNo ";
    sql += " WHERE (((CheckRegister.CheckDate) Between #";
    sql += ReportParam(1);
    sql += "# And #";
    sql += ReportParam(2);
    sql += "#) AND ((CheckRegister.AccountNo)= '";
    sql += ReportParam(3);
    sql += "'));";
    SetMainSql(std::move(sql));
  }

  void Detail_Format() override {
    TextBox& payment = Controls<TextBox>("txtPayment");
    payment.set_visible(IsNonZeroAmount(payment.text()));
    TextBox& deposit = Controls<TextBox>("txtDeposit");
    deposit.set_visible(IsNonZeroAmount(deposit.text()));
    ShadeAlternateRows(Sections("Detail"), mRowCount);
  }

 private:
  // clang-format off
  //  index  kind                label                                example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate,     "Beginning date",                    "06/01/2024"},
      {2,      ParamKind::kDate,     "Ending date",                       "06/30/2024"},
      {3,      ParamKind::kId,       "Bank account number",               "1010"},
  };
  // clang-format on

  static constexpr int32_t kNoLeft = 0, kNoWidth = 1000;
  static constexpr int32_t kDateLeft = 1100, kDateWidth = 800;
  static constexpr int32_t kNameLeft = 2000, kNameWidth = 3300;
  static constexpr int32_t kClearedLeft = 5400, kVoidLeft = 5950, kFlagWidth = 500;
  static constexpr int32_t kPaymentLeft = 6550, kDepositLeft = 7950, kBalanceLeft = 9400, kAmountWidth = 1300;
  static constexpr int32_t kBalanceWidth = kPrintWidth - kBalanceLeft;

  static constexpr int32_t kAccountTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kCaptionTop = kAccountTop + kLineHeight + 120;
  static constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;
  static constexpr int32_t kTotalTop = 80;

  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0},     {kPageHeader, 0, {}, kHidden},   {kBannerHeader, kRuleTop + 160},
      {kDetail, kLineHeight}, {kBannerFooter, 0, {}, kHidden}, {kReportFooter, kTotalTop + kLineHeight + 120},
  };

  // clang-format off
  //  section        control            kind        left           top           width          height        caption / field                 format                 align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "Label16",        kLabel,     0,             kAccountTop,  1000,          kLineHeight,  "GL Account:",                  {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Field15",        kText,      1000,          kAccountTop,  900,           kLineHeight,  "CheckRegister.AccountNo",      {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtAccountName", kText,      1900,          kAccountTop,  3400,          kLineHeight,  "AccountName",                  {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "lblBegDate",     kLabel,     5700,          kAccountTop,  1300,          kLineHeight,  "Beginning Date:",              {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtBegDate",     kText,      7000,          kAccountTop,  900,           kLineHeight,  {},                             kShortDate,            Align::kLeft,  kBodyFont},
      {kBannerHeader, "lblEndDate",     kLabel,     8100,          kAccountTop,  1100,          kLineHeight,  "Ending Date:",                 {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtEndDate",     kText,      9200,          kAccountTop,  900,           kLineHeight,  {},                             kShortDate,            Align::kLeft,  kBodyFont},
      {kBannerHeader, "Line1",          kLine,      0,             kCaptionTop - 60, kPrintWidth, 0},
      {kBannerHeader, "Label3",         kLabel,     kNoLeft,       kCaptionTop,  kNoWidth,      kLineHeight,  "No",                           {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label4",         kLabel,     kDateLeft,     kCaptionTop,  kDateWidth,    kLineHeight,  "Date",                         {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label7",         kLabel,     kNameLeft,     kCaptionTop,  kNameWidth,    kLineHeight,  "Name",                         {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label11",        kLabel,     kClearedLeft,  kCaptionTop,  kFlagWidth,    kLineHeight,  "Clr",                          {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label12",        kLabel,     kVoidLeft,     kCaptionTop,  kFlagWidth,    kLineHeight,  "Void",                         {},                    Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label13",        kLabel,     kPaymentLeft,  kCaptionTop,  kAmountWidth,  kLineHeight,  "Payment",                      {},                    Align::kRight, kCaptionFont},
      {kBannerHeader, "Label15",        kLabel,     kDepositLeft,  kCaptionTop,  kAmountWidth,  kLineHeight,  "Deposit",                      {},                    Align::kRight, kCaptionFont},
      {kBannerHeader, "Label17",        kLabel,     kBalanceLeft,  kCaptionTop,  kBalanceWidth, kLineHeight,  "Balance",                      {},                    Align::kRight, kCaptionFont},
      {kBannerHeader, "Line2",          kLine,      0,             kRuleTop,     kPrintWidth,   0},
      {kBannerHeader, "lblBlank",       kLabel,     0,             kRuleTop + 20, 100,          120},

      {kDetail,       "txtCheckNo",     kText,      kNoLeft,       0,            kNoWidth,      kLineHeight,  "CheckNo",                      {},                    Align::kLeft,  kBodyFont},
      {kDetail,       "txtCheckDate",   kText,      kDateLeft,     0,            kDateWidth,    kLineHeight,  "CheckDate",                    kShortDate,            Align::kLeft,  kBodyFont},
      {kDetail,       "txtName",        kText,      kNameLeft,     0,            kNameWidth,    kLineHeight,  "Name",                         {},                    Align::kLeft,  kBodyFont},
      {kDetail,       "txtCleared",     kText,      kClearedLeft,  0,            kFlagWidth,    kLineHeight,  "Cleared",                      "Yes/No",              Align::kLeft,  kBodyFont},
      {kDetail,       "txtVoid",        kText,      kVoidLeft,     0,            kFlagWidth,    kLineHeight,  "Void",                         "Yes/no",              Align::kLeft,  kBodyFont},
      {kDetail,       "txtPayment",     kText,      kPaymentLeft,  0,            kAmountWidth,  kLineHeight,  "Payment",                      kAmount,               Align::kRight, kBodyFont},
      {kDetail,       "txtDeposit",     kText,      kDepositLeft,  0,            kAmountWidth,  kLineHeight,  "Deposit",                      kAmount,               Align::kRight, kBodyFont},
      {kDetail,       "txtBalance",     kText,      kBalanceLeft,  0,            kBalanceWidth, kLineHeight,  "Balance",                      kAmount,               Align::kRight, kBodyFont},

      {kReportFooter, "Line3",          kLine,      kPaymentLeft,  40,           kAmountWidth,  0},
      {kReportFooter, "Line4",          kLine,      kDepositLeft,  40,           kAmountWidth,  0},
      {kReportFooter, "Label18",        kLabel,     kNameLeft,     kTotalTop,    kPaymentLeft - kNameLeft - 200, kLineHeight, "Total Deposits and Withdrawals", {}, Align::kRight, kCaptionFont},
      {kReportFooter, "Field16",        kReportSum, kPaymentLeft,  kTotalTop,    kAmountWidth,  kLineHeight,  "Payment",                      kAmount,               Align::kRight, kCaptionFont},
      {kReportFooter, "Field17",        kReportSum, kDepositLeft,  kTotalTop,    kAmountWidth,  kLineHeight,  "Deposit",                      kAmount,               Align::kRight, kCaptionFont},
  };
  // clang-format on

  int16_t mRowCount = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptCheckReg)
