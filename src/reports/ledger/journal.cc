// Journal: each entry's lines with their amounts split into debit and credit, and a total per entry; for one
// source document (mode "0") or for every entry dated in a range (mode "1", which adds a grand total).
#include "framework/journal_lines.h"
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptJournal final : public ListingReport {
 public:
  rptJournal() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_DataInitialize() override {
    std::string sql;
    if (ReportParam(5) == "0") {
      sql = "SELECT GLJournalHeader.*, GLJournalDetail.* ";
      sql +=
          " FROM GLJournalHeader INNER JOIN GLJournalDetail ON GLJournalHeader.JournalEntryNo = "
          "GLJournalDetail.JournalEntryNo ";
      sql += " WHERE ((GLJournalHeader.JournalRef = " + ReportParam(1) +
             ") AND ((GLJournalHeader.LedgerType) Like '" + ReportParam(3) + "'))";
      sql += " order by GLJournalHeader.JournalEntryNo, GLJournalDetail.LineNo; ";
    } else if (ReportParam(5) == "1") {
      sql = "SELECT GLJournalHeader.*, GLJournalDetail.* ";
      sql +=
          " FROM GLJournalHeader INNER JOIN GLJournalDetail ON GLJournalHeader.JournalEntryNo = "
          "GLJournalDetail.JournalEntryNo ";
      sql += " WHERE (((GLJournalHeader.TransDate) Between #" + ReportParam(1) + "# And #" + ReportParam(2) +
             "# ) AND ((GLJournalHeader.LedgerType) Like '" + ReportParam(3) + "'))";
      sql += " order by GLJournalHeader.JournalEntryNo, GLJournalDetail.LineNo; ";
    } else {
      // Any other mode would select nothing and print an empty journal, which reads as "no entries"; the
      // host asked for something this report does not do, so the run fails instead and says why.
      vb::Raise(vb::kInvalidProcedureCall,
                "ReportParams(5) is \"" + ReportParam(5) +
                    "\"; the journal prints one document (\"0\") or a date range (\"1\")");
    }
    SetMainSql(std::move(sql));
    AddDebitCreditFields(*this);
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    if (ReportParam(5) == "0") {
      for (const char* name : {"txtBegDate", "txtEndDate", "lblBegDate", "lblEndDate"})
        Controls(name).set_visible(false);
      Sections("ReportFooter").set_visible(false);
    } else if (ReportParam(5) == "1") {
      ShowDateRange();
    }
    Controls<TextBox>("txtTrans").set_output_format(Settings().DateFormat);
    for (const char* name : {"Field16", "Field17", "Field21", "Field22"})
      Controls<TextBox>(name).set_output_format(Settings().CurrencyFormat);
  }

  void ActiveReport_FetchData(bool& /*eof*/) override {
    if (const data::Recordset* line = CurrentRow()) SplitDebitAmount(*this, *line);
  }

  void Detail_Format() override { ShowNonZeroAmounts(*this); }

  void GroupHeader1_Format() override { Controls<TextBox>("fldRefType").set_text(ReportParam(4)); }

 private:
  static constexpr std::string_view kModes[] = {"0", "1"};
  // The second example set prints the journal of one invoice.
  // clang-format off
  //  index  kind               label                                                           example       second example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kText,   "Beginning date (mode 1), or JournalRef of the document (mode 0)", "06/01/2024", "13048"},
      {2,      ParamKind::kDate,   "Ending date (mode 1)",                                          "06/30/2024"},
      {3,      ParamKind::kText,   "Ledger type pattern: * for all, or AR, AP, CD, CR, GL",         "*",          "AR"},
      {4,      ParamKind::kText,   "Caption before each entry's reference",                         "Ref No:",    "Invoice No:"},
      {5,      ParamKind::kChoice, "Mode: 0 one document, 1 a date range",                          "1",          "0",          kModes},
  };
  // clang-format on

  // Columns shared by the captions, the entry lines and the totals.
  static constexpr int32_t kEntryLeft = 0, kEntryWidth = 900;
  static constexpr int32_t kDateLeft = 1000, kDateWidth = 900;
  static constexpr int32_t kAccountLeft = 2000, kAccountWidth = 1100;
  static constexpr int32_t kNameLeft = 3200, kNameWidth = 4100;
  static constexpr int32_t kDebitLeft = 7400, kCreditLeft = 9200, kAmountWidth = 1600;
  static constexpr int32_t kTotalCaptionLeft = 5200, kTotalCaptionWidth = 2100;

  static constexpr int32_t kRangeTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kCaptionTop = kRangeTop + kLineHeight + 60;
  static constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;

  // clang-format off
  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0,              {},                               kHidden},
      {kPageHeader,   0,              {},                               kHidden},
      {kBannerHeader, kRuleTop + 160},
      {kGroupHeader1, 320,            "GLJournalHeader.JournalEntryNo", kKeepTogether},
      {kDetail,       kLineHeight},
      {kGroupFooter1, 380},
      {kBannerFooter, 0,              {},                               kHidden},
      {kReportFooter, 440},
  };

  //  section        control            kind        left                top         width                height        caption / field                   format                   align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "lblBegDate",     kLabel,     0,                  kRangeTop,  1300,                kLineHeight,  "Beginning Date:",                {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtBegDate",     kText,      1300,               kRangeTop,  1000,                kLineHeight,  {},                               kShortDate,              Align::kLeft,  kBodyFont},
      {kBannerHeader, "lblEndDate",     kLabel,     2500,               kRangeTop,  1100,                kLineHeight,  "Ending Date:",                   {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtEndDate",     kText,      3600,               kRangeTop,  1000,                kLineHeight,  {},                               kShortDate,              Align::kLeft,  kBodyFont},
      {kBannerHeader, "Label3",         kLabel,     kEntryLeft,         kCaptionTop, kEntryWidth,        kLineHeight,  "Entry No",                       {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label4",         kLabel,     kDateLeft,          kCaptionTop, kDateWidth,         kLineHeight,  "Date",                           {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label6",         kLabel,     kAccountLeft,       kCaptionTop, kAccountWidth,      kLineHeight,  "Account No",                     {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label7",         kLabel,     kNameLeft,          kCaptionTop, kNameWidth,         kLineHeight,  "Description",                    {},                      Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label13",        kLabel,     kDebitLeft,         kCaptionTop, kAmountWidth,       kLineHeight,  "Debit",                          {},                      Align::kRight, kCaptionFont},
      {kBannerHeader, "Label15",        kLabel,     kCreditLeft,        kCaptionTop, kAmountWidth,       kLineHeight,  "Credit",                         {},                      Align::kRight, kCaptionFont},
      {kBannerHeader, "Line1",          kLine,      0,                  kRuleTop,   kPrintWidth,         0},
      {kBannerHeader, "lblBlank",       kLabel,     0,                  kRuleTop + 20, 100,              120},

      {kGroupHeader1, "Field18",        kText,      kEntryLeft,         60,         kEntryWidth,         kLineHeight,  "GLJournalHeader.JournalEntryNo", {},                      Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Field19",        kText,      kDateLeft,          60,         3700,                kLineHeight,  "Description",                    {},                      Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtReference",   kText,      4800,               60,         2500,                kLineHeight,  "Reference",                      {},                      Align::kLeft,  kBodyFont},
      {kGroupHeader1, "fldRefType",     kText,      kDebitLeft,         60,         kAmountWidth,        kLineHeight,  {},                               {},                      Align::kRight, kBodyFont},
      {kGroupHeader1, "txtJournalRef",  kText,      kCreditLeft - 100,  60,         kAmountWidth + 100,  kLineHeight,  "JournalRef",                     {},                      Align::kLeft,  kBodyFont},

      {kDetail,       "txtLineNo",      kText,      kEntryLeft + 200,   0,          kEntryWidth - 200,   kLineHeight,  "LineNo",                         {},                      Align::kLeft,  kBodyFont},
      // The line's own date: the header's date is the entry's, and the two share a name in this join.
      {kDetail,       "txtTrans",       kText,      kDateLeft,          0,          kDateWidth,          kLineHeight,  "GLJournalDetail.TransDate",      kShortDate,              Align::kLeft,  kBodyFont},
      {kDetail,       "Field20",        kText,      kAccountLeft,       0,          kAccountWidth,       kLineHeight,  "AccountNo",                      {},                      Align::kLeft,  kBodyFont},
      {kDetail,       "txtAccountName", kText,      kNameLeft,          0,          kNameWidth,          kLineHeight,  "AccountName",                    {},                      Align::kLeft,  kBodyFont},
      {kDetail,       "txtDebit",       kText,      kDebitLeft,         0,          kAmountWidth,        kLineHeight,  "dbAmt",                          kAmount,                 Align::kRight, kBodyFont},
      {kDetail,       "txtCredit",      kText,      kCreditLeft,        0,          kAmountWidth,        kLineHeight,  "crAmt",                          kAmount,                 Align::kRight, kBodyFont},

      {kGroupFooter1, "Line2",          kLine,      kDebitLeft + 200,   40,         kAmountWidth - 200,  0},
      {kGroupFooter1, "Line3",          kLine,      kCreditLeft + 200,  40,         kAmountWidth - 200,  0},
      {kGroupFooter1, "Label16",        kLabel,     kTotalCaptionLeft,  80,         kTotalCaptionWidth,  kLineHeight,  "Transaction Total:",             {},                      Align::kRight, kCaptionFont},
      {kGroupFooter1, "Field16",        kGroupSum,  kDebitLeft,         80,         kAmountWidth,        kLineHeight,  "dbAmt",                          kMoney,                  Align::kRight, kCaptionFont},
      {kGroupFooter1, "Field17",        kGroupSum,  kCreditLeft,        80,         kAmountWidth,        kLineHeight,  "crAmt",                          kAmount,                 Align::kRight, kCaptionFont},

      {kReportFooter, "Line4",          kLine,      kDebitLeft,         60,         kPrintWidth - kDebitLeft, 0},
      {kReportFooter, "Label17",        kLabel,     kTotalCaptionLeft,  120,        kTotalCaptionWidth,  kLineHeight,  "Ledger Total:",                  {},                      Align::kRight, kGroupFont},
      {kReportFooter, "Field21",        kReportSum, kDebitLeft,         120,        kAmountWidth,        kLineHeight,  "dbAmt",                          kMoney,                  Align::kRight, kGroupFont},
      {kReportFooter, "Field22",        kReportSum, kCreditLeft,        120,        kAmountWidth,        kLineHeight,  "crAmt",                          kAmount,                 Align::kRight, kGroupFont},
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptJournal)
