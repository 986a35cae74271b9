// Chart of accounts: every account with its number, name, type, parent and reconciliation flag, one account
// group per page. Groups break whenever Group changes in account-number order, so a split group prints twice.
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptChaccts final : public ListingReport {
 public:
  rptChaccts() { Declare(kSections, kLayout); }

  void ActiveReport_DataInitialize() override {
    SetMainSql("SELECT *  from GLAccountsHeader order by AccountNo; ");
  }

  void GroupHeader1_Format() override {
    TOC().Add(Controls<TextBox>("txtGroup").text());
    Sections("GroupHeader1").set_new_page(1);
  }

  void Detail_Format() override { ShadeAlternateRows(Sections("Detail"), mRowCount); }

 private:
  static constexpr int32_t kCaptionTop = kCompanyHeaderHeight + 60;
  static constexpr SectionRow kSections[] = {
      {kBannerHeader, kCaptionTop + kLineHeight + 180},
      {kGroupHeader1, 360, "Group"},
      {kDetail, kLineHeight},
  };
  //  section        control             kind    left   top          width  height       caption / field
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader,
       "Label4",
       kLabel,
       0,
       kCaptionTop,
       1400,
       kLineHeight,
       "Account No",
       {},
       Align::kLeft,
       kCaptionFont},
      {kBannerHeader,
       "Label5",
       kLabel,
       1500,
       kCaptionTop,
       4000,
       kLineHeight,
       "Account Name",
       {},
       Align::kLeft,
       kCaptionFont},
      {kBannerHeader,
       "Label6",
       kLabel,
       5600,
       kCaptionTop,
       1200,
       kLineHeight,
       "Type",
       {},
       Align::kLeft,
       kCaptionFont},
      {kBannerHeader,
       "Label7",
       kLabel,
       6900,
       kCaptionTop,
       1400,
       kLineHeight,
       "Parent",
       {},
       Align::kLeft,
       kCaptionFont},
      {kBannerHeader,
       "Label8",
       kLabel,
       8400,
       kCaptionTop,
       1400,
       kLineHeight,
       "Reconciliable",
       {},
       Align::kLeft,
       kCaptionFont},
      {kBannerHeader, "Line2", kLine, 0, kCaptionTop + kLineHeight + 20, kPrintWidth, 0},
      {kBannerHeader, "lblBlank", kLabel, 0, kCaptionTop + kLineHeight + 40, 100, 120},
      {kGroupHeader1, "txtGroup", kText, 0, 60, 4000, 280, "Group", {}, Align::kLeft, kGroupFont},
      {kDetail, "txtAccountNo", kText, 0, 0, 1400, kLineHeight, "AccountNo", {}, Align::kLeft, kBodyFont},
      {kDetail,
       "txtAccountName",
       kText,
       1500,
       0,
       4000,
       kLineHeight,
       "AccountName",
       {},
       Align::kLeft,
       kBodyFont},
      {kDetail, "txtType", kText, 5600, 0, 1200, kLineHeight, "Type", {}, Align::kLeft, kBodyFont},
      {kDetail, "txtParent", kText, 6900, 0, 1400, kLineHeight, "Parent", {}, Align::kLeft, kBodyFont},
      {kDetail, "txtReconciliable", kText, 8400, 0, 1400, kLineHeight, "Reconciliable", "yes/no",
       Align::kLeft, kBodyFont},
  };

  int16_t mRowCount = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptChaccts)
