// Account activity: the journal lines that touched each account in a date range, and its net change. Run for
// one drill-down account it prints the lines; for an account range only each account's header and totals.
#include "framework/journal_lines.h"
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptActivity final : public ListingReport {
 public:
  rptActivity() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
    // This layout's data control is spelled Datamain; names match without regard to case, so the common
    // lifecycle still finds it.
    Sections("Detail").RemoveControl("dataMain");
    Sections("Detail").AddControl(kData, "Datamain");
  }

  void ActiveReport_DataInitialize() override {
    const std::string& drilldown = DrillDownParam();
    std::string sql = "SELECT GLJournalDetail.*, GLJournalHeader.*, GLAccountsHeader.AccountName";
    sql +=
        " FROM GLAccountsHeader INNER JOIN (GLJournalHeader INNER JOIN GLJournalDetail ON "
        "GLJournalHeader.JournalEntryNo = GLJournalDetail.JournalEntryNo) ON GLAccountsHeader.AccountNo = "
        "GLJournalDetail.AccountNo ";
    if (!vb::Trim(drilldown).empty()) {
      sql += " WHERE (((GLJournalDetail.AccountNo) = '" + drilldown +
             "') AND ((GLJournalHeader.TransDate) Between #" + ReportParam(1) + "# And #" + ReportParam(2) +
             "#))";
      sql += " ORDER BY GLJournalDetail.AccountNo, GLJournalHeader.JournalEntryNo;";
    } else {
      sql += " WHERE (((GLJournalDetail.AccountNo) Between '" + ReportParam(3) + "' And '" + ReportParam(4) +
             "') AND ((GLJournalHeader.TransDate) Between #" + ReportParam(1) + "# And #" + ReportParam(2) +
             "#))";
      sql += " ORDER BY GLJournalDetail.AccountNo, GLJournalHeader.JournalEntryNo; ";
    }
    SetMainSql(std::move(sql));
    AddDebitCreditFields(*this);
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    ShowDateRange();
    Sections("Detail").set_visible(!vb::Trim(DrillDownParam()).empty());
    Controls<TextBox>("Field16").set_output_format(Settings().CurrencyFormat);
    Controls<TextBox>("Field17").set_output_format(Settings().CurrencyFormat);
    Controls<TextBox>("txtModified").set_output_format(Settings().DateTimeFormat);
  }

  void ActiveReport_FetchData(bool& /*eof*/) override {
    if (const data::Recordset* line = CurrentRow()) SplitDebitAmount(*this, *line);
  }

  // The counter is the report's, not the account's: shading alternates over the whole report.
  void Detail_Format() override {
    ShowNonZeroAmounts(*this);
    ShadeAlternateRows(Sections("Detail"), mRowCount);
  }

  void GroupHeader1_Format() override {
    TextBox& account = Controls<TextBox>("Field1");
    TOC().Add(account.text());
    account.set_hyperlink(account.text());
  }

 private:
  // clang-format off
  //  index        kind                label                                       example
  static constexpr ParamRow kParams[] = {
      {1,          ParamKind::kDate,     "Beginning date",                           "06/01/2024"},
      {2,          ParamKind::kDate,     "Ending date",                              "06/30/2024"},
      {3,          ParamKind::kId,       "First account number",                     "1000"},
      {4,          ParamKind::kId,       "Last account number",                      "9999"},
      {kDrillDown, ParamKind::kId,       "Account number, or blank for the range",   "1010"},
  };
  // clang-format on

  // Columns shared by the captions, the lines and the totals.
  static constexpr int32_t kEntryLeft = 0, kEntryWidth = 700;
  static constexpr int32_t kModuleLeft = 760, kModuleWidth = 580;
  static constexpr int32_t kDocumentLeft = 1360, kDocumentWidth = 1100;
  static constexpr int32_t kDescriptionLeft = 2480, kDescriptionWidth = 2670;
  static constexpr int32_t kTransDateLeft = 5200, kTransDateWidth = 880;
  static constexpr int32_t kModifiedLeft = 6100, kModifiedWidth = 1700;  // "12/31/2024 11:59:00 PM"
  static constexpr int32_t kDebitLeft = 7800, kCreditLeft = 8850, kAmountWidth = 1050;
  static constexpr int32_t kUserLeft = 10000, kUserWidth = kPrintWidth - kUserLeft;

  static constexpr int32_t kRangeTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kCaptionTop = kRangeTop + kLineHeight + 60;
  static constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;

  static constexpr SectionRow kSections[] = {
      {kPageHeader, 30},
      {kBannerHeader, kRuleTop + 160},
      {kGroupHeader1, 320, "AccountNo", kKeepTogether},
      {kDetail, kLineHeight},
      {kGroupFooter1, 380},
      {kBannerFooter, 0, {}, kHidden},
  };

  // clang-format off
  //  section        control            kind        left               top          width                height        caption / field                   format                   align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "lblBegDate",     kLabel,     0,                 kRangeTop,   1300,                kLineHeight,  "Beginning Date:",                {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtBegDate",     kText,      1300,              kRangeTop,   1000,                kLineHeight,  {},                               kShortDate,              Align::kLeft,  kBodyFont},
      {kBannerHeader, "lblEndDate",     kLabel,     2500,              kRangeTop,   1100,                kLineHeight,  "Ending Date:",                   {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtEndDate",     kText,      3600,              kRangeTop,   1000,                kLineHeight,  {},                               kShortDate,              Align::kLeft,  kBodyFont},
      {kBannerHeader, "Label3",         kLabel,     kEntryLeft,        kCaptionTop, kEntryWidth,         kLineHeight,  "Entry No",                       {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label4",         kLabel,     kModuleLeft,       kCaptionTop, kModuleWidth,        kLineHeight,  "Module",                         {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label6",         kLabel,     kDocumentLeft,     kCaptionTop, kDocumentWidth,      kLineHeight,  "Document No",                    {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label7",         kLabel,     kDescriptionLeft,  kCaptionTop, kDescriptionWidth,   kLineHeight,  "Transaction Description",        {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label11",        kLabel,     kTransDateLeft,    kCaptionTop, kTransDateWidth,     kLineHeight,  "Trans Date",                     {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label12",        kLabel,     kModifiedLeft,     kCaptionTop, kModifiedWidth,      kLineHeight,  "Modified Date",                  {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label13",        kLabel,     kDebitLeft,        kCaptionTop, kAmountWidth,        kLineHeight,  "Debit",                          {},                      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label15",        kLabel,     kCreditLeft,       kCaptionTop, kAmountWidth,        kLineHeight,  "Credit",                         {},                      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label16",        kLabel,     kUserLeft,         kCaptionTop, kUserWidth,          kLineHeight,  "User",                           {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Line1",          kLine,      0,                 kRuleTop,    kPrintWidth,         0},
      {kBannerHeader, "lblBlank",       kLabel,     0,                 kRuleTop + 20, 100,               120},

      {kGroupHeader1, "Field1",         kText,      kEntryLeft,        60,          1300,                kLineHeight,  "AccountNo",                      {},                      Align::kLeft,  kGroupFont},
      {kGroupHeader1, "Field2",         kText,      kDocumentLeft,     60,          5000,                kLineHeight,  "GLAccountsHeader.AccountName",   {},                      Align::kLeft,  kGroupFont},

      {kDetail,       "Field14",        kText,      kEntryLeft,        0,           kEntryWidth,         kLineHeight,  "GLJournalHeader.JournalEntryNo", {},                      Align::kLeft,  kBodyFont},
      {kDetail,       "txtLedgerType",  kText,      kModuleLeft,       0,           kModuleWidth,        kLineHeight,  "LedgerType",                     {},                      Align::kLeft,  kBodyFont},
      {kDetail,       "txtJournalRef",  kText,      kDocumentLeft,     0,           kDocumentWidth,      kLineHeight,  "JournalRef",                     {},                      Align::kLeft,  kBodyFont},
      {kDetail,       "txtDescription", kText,      kDescriptionLeft,  0,           kDescriptionWidth,   kLineHeight,  "Description",                    {},                      Align::kLeft,  kBodyFont,    kCanGrow},
      // The entry's date, the one the date range selects on; the line's own date shares its name in this join.
      {kDetail,       "txtTransDate",   kText,      kTransDateLeft,    0,           kTransDateWidth,     kLineHeight,  "GLJournalHeader.TransDate",      kShortDate,              Align::kLeft,  kBodyFont},
      {kDetail,       "txtModified",    kText,      kModifiedLeft,     0,           kModifiedWidth,      kLineHeight,  "Modified",                       kShortDate,              Align::kLeft,  kBodyFont},
      {kDetail,       "txtDebit",       kText,      kDebitLeft,        0,           kAmountWidth,        kLineHeight,  "dbAmt",                          kAmount,                 Align::kRight, kBodyFont},
      {kDetail,       "txtCredit",      kText,      kCreditLeft,       0,           kAmountWidth,        kLineHeight,  "crAmt",                          kAmount,                 Align::kRight, kBodyFont},
      {kDetail,       "Field18",        kText,      kUserLeft,         0,           kUserWidth,          kLineHeight,  "ModifiedBy",                     {},                      Align::kLeft,  kBodyFont},

      {kGroupFooter1, "Label9",         kLabel,     kDescriptionLeft,  80,          1200,                kLineHeight,  "Net change  for",                {},                      Align::kLeft,  kCaptionFont},
      {kGroupFooter1, "txtAccountNo",   kText,      kDescriptionLeft + 1250, 80,    800,                 kLineHeight,  "AccountNo",                      {},                      Align::kLeft,  kCaptionFont},
      {kGroupFooter1, "Field15",        kText,      kDescriptionLeft + 2100, 80,    kDebitLeft - kDescriptionLeft - 2200, kLineHeight, "GLAccountsHeader.AccountName", {},      Align::kLeft,  kCaptionFont},
      {kGroupFooter1, "Field16",        kGroupSum,  kDebitLeft,        80,          kAmountWidth,        kLineHeight,  "dbAmt",                          {},                      Align::kRight, kCaptionFont},
      {kGroupFooter1, "Field17",        kGroupSum,  kCreditLeft,       80,          kAmountWidth,        kLineHeight,  "crAmt",                          kAmount,                 Align::kRight, kCaptionFont},
  };
  // clang-format on

  int16_t mRowCount = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptActivity)
