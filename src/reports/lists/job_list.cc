// Job list: every job starting on or after a date, with its dates, status, estimates and actual revenue and
// cost. Each job id links to the job information report through the "R:jobinfo;" hyperlink the host follows.
#include "framework/job_actuals.h"
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptJobList final : public ListingReport {
 public:
  rptJobList() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  // The date goes between # signs as the host wrote it: a blank date fails the query, which names the SQL.
  // The jobs come in the order the database returns them, as the query asks for none.
  void ActiveReport_DataInitialize() override {
    std::string sql = "SELECT * From JobCostHeader Where StartDate >= #";
    sql += ReportParam(1);
    sql += "#";
    SetMainSql(std::move(sql));
    Fields().Add("fldActualCost");
    Fields().Add("fldActualRevenue");
    Fields().Add("fldStatus");
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    Controls<TextBox>("txtBegDate").set_text(FormatMediumDate(ReportParam(1)));
    for (const char* amount : {"txtEstRevenue", "txtEstCost", "txtFldActRev", "txtFldActCost"})
      Controls<TextBox>(amount).set_output_format(Settings().CurrencyFormat);
  }

  // A Null Closed flag is not 0, so such a job counts as closed.
  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    const JobActuals actuals = GetJobActuals(vb::CStr(row->Fields("JobID")));
    Fields("fldActualCost").set_value(actuals.cost);
    Fields("fldActualRevenue").set_value(actuals.revenue);
    const Variant& closed = row->Fields("Closed");
    Fields("fldStatus").set_value(!vb::IsNull(closed) && vb::CDbl(closed) == 0 ? "Active" : "Closed");
  }

  void Detail_Format() override {
    auto& job_id = Controls<TextBox>("txtJobID");
    TOC().Add(job_id.text());
    job_id.set_hyperlink("R:jobinfo;" + job_id.text());
    ShadeAlternateRows(Sections("Detail"), mRowCount);
  }

 private:
  // clang-format off
  //  index  kind              label                        example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate, "Earliest start date",       "01/01/2023",  "07/01/2023"},
  };
  // clang-format on

  static constexpr int32_t kJobIdLeft = 0, kJobIdWidth = 1300;
  static constexpr int32_t kJobNameLeft = 1350, kJobNameWidth = 2300;
  static constexpr int32_t kStartLeft = 3700, kEndLeft = 4600, kDateWidth = 850;
  static constexpr int32_t kStatusLeft = 5500, kStatusWidth = 650;
  static constexpr int32_t kEstRevenueLeft = 6200, kEstCostLeft = 7350, kEstWidth = 1100;
  static constexpr int32_t kActRevenueLeft = 8500, kActCostLeft = 9650,
                           kActWidth = kPrintWidth - kActCostLeft;

  static constexpr int32_t kDateTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kCaptionTop = kDateTop + kLineHeight + 120;
  static constexpr int32_t kCaption2Top = kCaptionTop + kLineHeight;
  static constexpr int32_t kRuleTop = kCaption2Top + kLineHeight + 20;

  static constexpr SectionRow kSections[] = {
      {kBannerHeader, kRuleTop + 160},
      {kDetail, kLineHeight},
      {kBannerFooter, 0},
  };
  // clang-format off
  //  section        control          kind    left             top           width                    height       caption / field         format      align           font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "lblBegDate",    kLabel, 0,               kDateTop,     1500,                    kLineHeight, "Jobs Starting After:", {},         Align::kLeft,   kCaptionFont},
      {kBannerHeader, "txtBegDate",    kText,  1550,            kDateTop,     1200,                    kLineHeight, {},                     kShortDate, Align::kLeft,   kBodyFont},
      {kBannerHeader, "Label13",       kLabel, kEstRevenueLeft, kCaptionTop,  kEstCostLeft + kEstWidth - kEstRevenueLeft, kLineHeight, "Estimated", {}, Align::kCenter, kCaptionFont},
      {kBannerHeader, "Label19",       kLabel, kActRevenueLeft, kCaptionTop,  kPrintWidth - kActRevenueLeft, kLineHeight, "Actual",        {},         Align::kCenter, kCaptionFont},
      {kBannerHeader, "Label3",        kLabel, kJobIdLeft,      kCaption2Top, kJobIdWidth,             kLineHeight, "Job ID",               {},         Align::kLeft,   kCaptionFont},
      {kBannerHeader, "Label4",        kLabel, kJobNameLeft,    kCaption2Top, kJobNameWidth,           kLineHeight, "Job Name",             {},         Align::kLeft,   kCaptionFont},
      {kBannerHeader, "Label11",       kLabel, kStartLeft,      kCaption2Top, kDateWidth,              kLineHeight, "Start Date",           {},         Align::kLeft,   kCaptionFont},
      {kBannerHeader, "Label17",       kLabel, kEndLeft,        kCaption2Top, kDateWidth,              kLineHeight, "End Date",             {},         Align::kLeft,   kCaptionFont},
      {kBannerHeader, "Label12",       kLabel, kStatusLeft,     kCaption2Top, kStatusWidth,            kLineHeight, "Status",               {},         Align::kLeft,   kCaptionFont},
      {kBannerHeader, "Label15",       kLabel, kEstRevenueLeft, kCaption2Top, kEstWidth,               kLineHeight, "Revenue",              {},         Align::kRight,  kCaptionFont},
      {kBannerHeader, "Label18",       kLabel, kEstCostLeft,    kCaption2Top, kEstWidth,               kLineHeight, "Cost",                 {},         Align::kRight,  kCaptionFont},
      {kBannerHeader, "Label20",       kLabel, kActRevenueLeft, kCaption2Top, kActWidth,               kLineHeight, "Revenue",              {},         Align::kRight,  kCaptionFont},
      {kBannerHeader, "Label21",       kLabel, kActCostLeft,    kCaption2Top, kActWidth,               kLineHeight, "Cost",                 {},         Align::kRight,  kCaptionFont},
      {kBannerHeader, "Line1",         kLine,  0,               kRuleTop,     kPrintWidth,             0},
      {kBannerHeader, "lblBlank",      kLabel, 0,               kRuleTop + 20, 100,                    120},

      {kDetail,       "txtJobID",      kText,  kJobIdLeft,      0,            kJobIdWidth,             kLineHeight, "JobID",                {},         Align::kLeft,   kBodyFont},
      {kDetail,       "txtJobName",    kText,  kJobNameLeft,    0,            kJobNameWidth,           kLineHeight, "JobName",              {},         Align::kLeft,   kBodyFont},
      {kDetail,       "txtStartDate",  kText,  kStartLeft,      0,            kDateWidth,              kLineHeight, "StartDate",            kShortDate, Align::kLeft,   kBodyFont},
      {kDetail,       "txtEndDate",    kText,  kEndLeft,        0,            kDateWidth,              kLineHeight, "EndDate",              kShortDate, Align::kLeft,   kBodyFont},
      {kDetail,       "txtFldStatus",  kText,  kStatusLeft,     0,            kStatusWidth,            kLineHeight, "fldStatus",            {},         Align::kLeft,   kBodyFont},
      {kDetail,       "txtEstRevenue", kText,  kEstRevenueLeft, 0,            kEstWidth,               kLineHeight, "EstimatedRevenue",     kMoney,     Align::kRight,  kBodyFont},
      {kDetail,       "txtEstCost",    kText,  kEstCostLeft,    0,            kEstWidth,               kLineHeight, "EstimatedCost",        kMoney,     Align::kRight,  kBodyFont},
      {kDetail,       "txtFldActRev",  kText,  kActRevenueLeft, 0,            kActWidth,               kLineHeight, "fldActualRevenue",     kMoney,     Align::kRight,  kBodyFont},
      {kDetail,       "txtFldActCost", kText,  kActCostLeft,    0,            kActWidth,               kLineHeight, "fldActualCost",        kMoney,     Align::kRight,  kBodyFont},
  };
  // clang-format on

  // Detail sections formatted by this object, never reset: a second run continues the alternation.
  int16_t mRowCount = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptJobList)
