// Job information: one job's header data, its customer, estimated and actual cost and revenue, its status,
// every transaction charged to it and the net revenue or cost. A job without transactions is read from its
// header alone, with the transaction lines hidden.
#include "framework/job_actuals.h"
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptJobInfo final : public ListingReport {
 public:
  rptJobInfo() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_DataInitialize() override {
    const std::string drill_down = vb::Trim(DrillDownParam());
    mJobID = drill_down.empty() ? ReportParam(1) : drill_down;
    std::string sql;
    if (JobHasDetails()) {
      sql = "SELECT * From JobCostHeader Inner Join JobCostDetail On";
      sql += " JobCostHeader.JobID = JobCostDetail.JobID";
      Sections("GroupHeader1").set_break_field("JobCostHeader.JobID");
      Controls<TextBox>("txtJobID").set_data_field("JobCostHeader.JobID");
      Sections("Detail").set_visible(true);
    } else {
      sql = "SELECT * From JobCostHeader";
      Sections("Detail").set_visible(false);
      Sections("GroupHeader1").set_break_field("JobID");
      Controls<TextBox>("txtJobID").set_data_field("JobID");
      // The header-only query names the notes column Notes, not JobCostHeader.Notes; bound to that, the
      // notes of a job without transactions still print.
      Controls<TextBox>("txtNotes").set_data_field("Notes");
      // Without the charges' columns the transaction fields and the net sum have nothing to read; the engine
      // checks every binding, hidden sections included, so they are unbound rather than left dangling.
      for (const char* control : kTransactionControls) Controls<TextBox>(control).set_data_field("");
    }
    sql += " WHERE JobCostHeader.JobID = '";
    sql += mJobID;
    sql += "'";
    SetMainSql(std::move(sql));
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    // The actuals print as their handler formats them; their format tells an export they are amounts.
    for (const char* amount : {"txtEstimatedCost", "txtEstimatedRevenue", "txtJobCharges", "txtNetRevenue",
                               "txtActualCost", "txtActualRevenue"})
      Controls<TextBox>(amount).set_output_format(Settings().CurrencyFormat);
    Controls<TextBox>("txtStartDate").set_output_format(Settings().DateFormat);
    // "Transaction Type" prints over the type and the reference.
    Controls<TextBox>("txtLedgerType").set_column_name("Transaction Type");
    Controls<TextBox>("txtLedgerReference").set_column_name("Reference");
    Controls<TextBox>("txtEndDate").set_output_format(Settings().DateFormat);
  }

  // Once, on the first row. A Null Closed flag is not 0, so such a job is closed; a job without a customer
  // looks up the empty id, which finds none.
  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr || !mJobStatus.empty()) return;
    const Variant& closed = row->Fields("Closed");
    mJobStatus = !vb::IsNull(closed) && vb::CDbl(closed) == 0 ? "This job is active." : "This job is closed.";
    const Variant& customer_id = row->Fields("CustomerID");
    mCustInfo = GetCustomerInfo(vb::IsNull(customer_id) ? std::string() : vb::CStr(customer_id));
  }

  void GroupHeader1_Format() override {
    const JobActuals actuals = GetJobActuals(mJobID);
    Controls<TextBox>("txtActualCost").set_text(vb::Format(Variant(actuals.cost), Settings().CurrencyFormat));
    Controls<TextBox>("txtActualRevenue")
        .set_text(vb::Format(Variant(actuals.revenue), Settings().CurrencyFormat));
    Controls<TextBox>("txtClosed").set_text(mJobStatus);
    Controls<TextBox>("txtFldCustInfo").set_text(mCustInfo);
  }

 private:
  // Whether any charge names the job; a query that fails counts as having details, so the joined query then
  // reports the failure with its SQL.
  bool JobHasDetails() {
    bool has_details = true;
    data::Recordset recordset;
    vb::ResumeNext(
        [&] {
          recordset.Open("Select * From JobCostDetail Where JobID = '" + mJobID + "'", Settings().ConnString,
                         data::CursorType::kForwardOnly, data::LockType::kReadOnly);
        },
        [&] { has_details = !recordset.eof(); }, [&] { recordset.Close(); });
    return has_details;
  }

  // The name, then each non-blank address line after a line feed, then the state after one blank and the ZIP
  // code after two. With errors ignored: whatever fails adds nothing.
  std::string GetCustomerInfo(const std::string& customer_id) {
    std::string info;
    data::Recordset recordset;
    bool is_found = false;
    auto text_of = [&](std::string_view column) {
      const Variant& value = recordset.Fields(column);
      return vb::IsNull(value) ? std::string() : vb::CStr(value);
    };
    vb::ResumeNext(
        [&] {
          recordset.Open("Select * From Customers Where CustomerID = '" + customer_id + "'",
                         Settings().ConnString, data::CursorType::kForwardOnly, data::LockType::kReadOnly);
        },
        [&] { is_found = !recordset.eof(); });
    auto& caption = Controls<Label>("lblCustomer");
    if (!is_found) {
      caption.set_visible(false);
      vb::ResumeNext([&] { recordset.Close(); });
      return "";
    }
    caption.set_visible(true);
    vb::ResumeNext([&] { info = text_of("Name"); });
    for (const char* column : {"Address1", "Address2", "City"}) {
      vb::ResumeNext([&] {
        const std::string line = text_of(column);
        if (!vb::Trim(line).empty()) info += "\n" + line;
      });
    }
    vb::ResumeNext(
        [&] {
          const std::string state = text_of("State");
          if (!vb::Trim(state).empty()) info += " " + state;
        },
        [&] {
          const std::string zip = text_of("ZipCode");
          if (!vb::Trim(zip).empty()) info += "  " + zip;
        },
        [&] { recordset.Close(); });
    return info;
  }

  // clang-format off
  //  index        kind            label                                   example
  static constexpr ParamRow kParams[] = {
      {1,          ParamKind::kId, "Job ID (when no drill-down argument)", "J2023-003"},
      {kDrillDown, ParamKind::kId, "Job ID (replaces parameter 1)",        "J2023-005"},
  };
  // clang-format on

  static constexpr const char* kTransactionControls[] = {
      "txtTransDate",       "txtLedgerType",      "txtLedgerReference", "txtJournalRefNo", "txtTransLineNo",
      "txtItemDescription", "txtLineDescription", "txtJobCharges",      "txtNetRevenue"};

  // The heading: job and dates on the left, the money on the right, then the customer, then the captions of
  // the transaction lines.
  static constexpr int32_t kLabelWidth = 1000, kValueLeft = 1050;
  static constexpr int32_t kMiddleLabelLeft = 2600, kMiddleValueLeft = 3400;
  static constexpr int32_t kMoneyLabelLeft = 6800, kMoneyLabelWidth = 1750;
  static constexpr int32_t kMoneyLeft = 8600, kMoneyWidth = kPrintWidth - kMoneyLeft;
  static constexpr int32_t kRow1 = 60, kRow2 = kRow1 + 280, kRow3 = kRow2 + kLineHeight,
                           kRow4 = kRow3 + kLineHeight, kRow5 = kRow4 + kLineHeight;
  static constexpr int32_t kCustomerRule = kRow5 + kLineHeight + 60;
  static constexpr int32_t kCustomerTop = kCustomerRule + 60;
  static constexpr int32_t kCustomerHeight = 5 * kLineHeight;
  static constexpr int32_t kCustomerRightLabel = 5500, kCustomerRightValue = 6600;
  static constexpr int32_t kTransactionsRule = kCustomerTop + kCustomerHeight + 60;
  static constexpr int32_t kTransactionsTop = kTransactionsRule + 60;
  static constexpr int32_t kCaptionTop = kTransactionsTop + kLineHeight + 60;
  static constexpr int32_t kCaptionRule = kCaptionTop + kLineHeight + 20;

  // The transaction columns.
  static constexpr int32_t kDateLeft = 0, kDateWidth = 950;
  static constexpr int32_t kTypeLeft = 1000, kTypeWidth = 450, kReferenceLeft = 1500, kReferenceWidth = 1050;
  static constexpr int32_t kJournalLeft = 2600, kJournalWidth = 800;
  static constexpr int32_t kLineNoLeft = 3450, kLineNoWidth = 600;
  static constexpr int32_t kItemLeft = 4100, kItemWidth = 1950;
  static constexpr int32_t kDescriptionLeft = 6100, kDescriptionWidth = 3100;
  static constexpr int32_t kChargeLeft = 9250, kChargeWidth = kPrintWidth - kChargeLeft;

  static constexpr int32_t kNotesTop = 120, kNetTop = kNotesTop + 2 * kLineHeight + 60;

  static constexpr SectionRow kSections[] = {
      {kBannerHeader, kCompanyHeaderHeight + 60},
      {kGroupHeader1, kCaptionRule + 80, "JobCostHeader.JobID", kKeepTogether},
      {kDetail, kLineHeight},
      {kGroupFooter1, kNetTop + kLineHeight + 120},
      {kBannerFooter, 0},
  };
  // clang-format off
  //  section        control                kind        left                 top               width                height           caption / field          format      align          font                 flags
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "lblBlank",            kLabel,     0,                   kCompanyHeaderHeight, 100,            60},

      {kGroupHeader1, "Label2",              kLabel,     0,                   kRow1,            kLabelWidth,         280,             "Job ID:",               {},         Align::kLeft,  kGroupFont},
      {kGroupHeader1, "txtJobID",            kText,      kValueLeft,          kRow1,            1600,                280,             "JobCostHeader.JobID",   {},         Align::kLeft,  kGroupFont},
      {kGroupHeader1, "txtJobName",          kText,      kMiddleLabelLeft,    kRow1,            4300,                280,             "JobName",               {},         Align::kLeft,  kGroupFont},
      {kGroupHeader1, "txtClosed",           kText,      kMoneyLabelLeft,     kRow1,            kPrintWidth - kMoneyLabelLeft, 280,   {},                      {},         Align::kRight, kGroupFont},
      {kGroupHeader1, "Label20",             kLabel,     0,                   kRow2,            kLabelWidth,         kLineHeight,     "Start Date:",           {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtStartDate",        kText,      kValueLeft,          kRow2,            1000,                kLineHeight,     "StartDate",             kShortDate, Align::kLeft,  kBodyFont},
      {kGroupHeader1, "Label21",             kLabel,     kMiddleLabelLeft,    kRow2,            750,                 kLineHeight,     "End Date:",             {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtEndDate",          kText,      kMiddleValueLeft,    kRow2,            1000,                kLineHeight,     "EndDate",               kShortDate, Align::kLeft,  kBodyFont},
      {kGroupHeader1, "Label4",              kLabel,     0,                   kRow3,            kLabelWidth,         kLineHeight,     "Contact Phn:",          {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtContactPhone",     kText,      kValueLeft,          kRow3,            1600,                kLineHeight,     "ContactPhn",            {},         Align::kLeft,  kBodyFont},
      {kGroupHeader1, "Label6",              kLabel,     kMiddleLabelLeft,    kRow3,            750,                 kLineHeight,     "E-Mail:",               {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtContactEmail",     kText,      kMiddleValueLeft,    kRow3,            3500,                kLineHeight,     "ContactEMail",          {},         Align::kLeft,  kBodyFont},
      {kGroupHeader1, "Label13",             kLabel,     kMoneyLabelLeft,     kRow2,            kMoneyLabelWidth,    kLineHeight,     "Estimated Revenue:",    {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtEstimatedRevenue", kText,      kMoneyLeft,          kRow2,            kMoneyWidth,         kLineHeight,     "EstimatedRevenue",      "$#,##0.00;($#,##0.00)", Align::kRight, kBodyFont},
      {kGroupHeader1, "Label12",             kLabel,     kMoneyLabelLeft,     kRow3,            kMoneyLabelWidth,    kLineHeight,     "Estimated Cost:",       {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtEstimatedCost",    kText,      kMoneyLeft,          kRow3,            kMoneyWidth,         kLineHeight,     "EstimatedCost",         "$#,##0.00;($#,##0.00)", Align::kRight, kBodyFont},
      {kGroupHeader1, "Label16",             kLabel,     kMoneyLabelLeft,     kRow4,            kMoneyLabelWidth,    kLineHeight,     "Actual Revenue:",       {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtActualRevenue",    kText,      kMoneyLeft,          kRow4,            kMoneyWidth,         kLineHeight,     {},                      {},         Align::kRight, kBodyFont},
      {kGroupHeader1, "Label15",             kLabel,     kMoneyLabelLeft,     kRow5,            kMoneyLabelWidth,    kLineHeight,     "Actual Cost:",          {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtActualCost",       kText,      kMoneyLeft,          kRow5,            kMoneyWidth,         kLineHeight,     {},                      {},         Align::kRight, kBodyFont},
      {kGroupHeader1, "Line4",               kLine,      0,                   kCustomerRule,    kPrintWidth,         0},
      {kGroupHeader1, "lblCustomer",         kLabel,     0,                   kCustomerTop,     kLabelWidth,         kLineHeight,     "Customer:",             {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtFldCustInfo",      kText,      kValueLeft,          kCustomerTop,     4400,                kCustomerHeight, {},                      {},         Align::kLeft,  kBodyFont},
      {kGroupHeader1, "Label24",             kLabel,     kCustomerRightLabel, kCustomerTop,     1050,                kLineHeight,     "Customer ID:",          {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtCustomerID",       kText,      kCustomerRightValue, kCustomerTop,     kPrintWidth - kCustomerRightValue, kLineHeight, "CustomerID", {},     Align::kLeft,  kBodyFont},
      {kGroupHeader1, "Label25",             kLabel,     kCustomerRightLabel, kCustomerTop + kLineHeight, 1050,     kLineHeight,     "Contact:",              {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtContact",          kText,      kCustomerRightValue, kCustomerTop + kLineHeight, kPrintWidth - kCustomerRightValue, kLineHeight, "Contact", {}, Align::kLeft, kBodyFont},
      {kGroupHeader1, "Line5",               kLine,      0,                   kTransactionsRule, kPrintWidth,        0},
      {kGroupHeader1, "Label27",             kLabel,     0,                   kTransactionsTop, 1500,                kLineHeight,     "Transactions:",         {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Line6",               kLine,      0,                   kCaptionTop - 20, kPrintWidth,         0},
      {kGroupHeader1, "Label26",             kLabel,     kDateLeft,           kCaptionTop,      kDateWidth,          kLineHeight,     "Trans. Date",           {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label28",             kLabel,     kTypeLeft,           kCaptionTop,      kJournalLeft - kTypeLeft - 50, kLineHeight, "Transaction Type", {},  Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label33",             kLabel,     kJournalLeft,        kCaptionTop,      kJournalWidth,       kLineHeight,     "Trans. No.",            {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label29",             kLabel,     kLineNoLeft,         kCaptionTop,      kLineNoWidth,        kLineHeight,     "Line No",               {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label30",             kLabel,     kItemLeft,           kCaptionTop,      kItemWidth,          kLineHeight,     "Item or Acct No.",      {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label31",             kLabel,     kDescriptionLeft,    kCaptionTop,      kDescriptionWidth,   kLineHeight,     "Line Description",      {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label32",             kLabel,     kChargeLeft,         kCaptionTop,      kChargeWidth,        kLineHeight,     "Revenue/Cost",          {},         Align::kRight, kCaptionFont},
      {kGroupHeader1, "Line7",               kLine,      0,                   kCaptionRule,     kPrintWidth,         0},
      {kGroupHeader1, "Label35",             kLabel,     0,                   kCaptionRule + 20, 100,                60},

      {kDetail,       "txtTransDate",        kText,      kDateLeft,           0,                kDateWidth,          kLineHeight,     "TransDate",             kShortDate, Align::kLeft,  kBodyFont},
      {kDetail,       "txtLedgerType",       kText,      kTypeLeft,           0,                kTypeWidth,          kLineHeight,     "LedgerType",            {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtLedgerReference",  kText,      kReferenceLeft,      0,                kReferenceWidth,     kLineHeight,     "LedgerReference",       {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtJournalRefNo",     kText,      kJournalLeft,        0,                kJournalWidth,       kLineHeight,     "JournalRefNo",          {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtTransLineNo",      kText,      kLineNoLeft,         0,                kLineNoWidth,        kLineHeight,     "TransLineNo",           {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtItemDescription",  kText,      kItemLeft,           0,                kItemWidth,          kLineHeight,     "ItemDescription",       {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtLineDescription",  kText,      kDescriptionLeft,    0,                kDescriptionWidth,   kLineHeight,     "LineDescription",       {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtJobCharges",       kText,      kChargeLeft,         0,                kChargeWidth,        kLineHeight,     "JobCharges",            kMoney,     Align::kRight, kBodyFont},

      {kGroupFooter1, "Line3",               kLine,      0,                   60,               kPrintWidth,         0},
      {kGroupFooter1, "Label19",             kLabel,     0,                   kNotesTop,        1500,                kLineHeight,     "Notes / Comments:",     {},         Align::kLeft,  kCaptionFont},
      {kGroupFooter1, "txtNotes",            kText,      1550,                kNotesTop,        kPrintWidth - 1550,  2 * kLineHeight, "JobCostHeader.Notes",   {},         Align::kLeft,  kBodyFont},
      {kGroupFooter1, "Label34",             kLabel,     kMoneyLabelLeft - 1000, kNetTop,       kChargeLeft - kMoneyLabelLeft + 950, kLineHeight, "Net Revenue/(Cost) From Job:", {}, Align::kRight, kCaptionFont},
      {kGroupFooter1, "txtNetRevenue",       kReportSum, kChargeLeft,         kNetTop,          kChargeWidth,        kLineHeight,     "JobCharges",            kMoney,     Align::kRight, kCaptionFont},
      {kGroupFooter1, "Line8",               kLine,      kChargeLeft,         kNetTop - 20,     kChargeWidth,        0},
      {kGroupFooter1, "Line9",               kLine,      kChargeLeft,         kNetTop + kLineHeight + 40, kChargeWidth, 0},
  };
  // clang-format on

  std::string mJobID;
  std::string mJobStatus;  // empty until the first row is fetched
  std::string mCustInfo;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptJobInfo)
