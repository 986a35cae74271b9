// Inventory valuation: each normally tracked product with its quantity on hand, unit cost by the chosen cost
// method and inventory cost, and the total inventory cost. The cost method is compared exactly.
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptInventory final : public ListingReport {
 public:
  rptInventory() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_DataInitialize() override {
    SetMainSql("SELECT * from products where [InventoryTracking] = 'Normal' order by Code;");
    Fields().Add("fldUCost");
    Fields().Add("fldICost");
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    Controls<TextBox>("txtUcost").set_output_format(Settings().CurrencyFormat);
    Controls<TextBox>("txtICost").set_output_format(Settings().CurrencyFormat);
    Controls<TextBox>("Field1").set_output_format(Settings().CurrencyFormat);
  }

  // The inventory cost is kept as money (four decimals), so the total is the exact sum of the lines. A Null
  // cost or quantity gives a Null inventory cost, which prints empty and adds nothing to the total.
  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    vb::ResumeNext(
        [&] {
          const std::string& method = ReportParam(1);
          const char* column = method == "Average"    ? "AverageCost"
                               : method == "Standard" ? "StandardCost"
                                                      : "LastPurchasePrice";
          Fields("fldUCost").set_value(row->Fields(column));
        },
        [&] {
          const Variant& on_hand = row->Fields("OnHandFractions");
          const Variant& unit_cost = Fields("fldUCost").value();
          Fields("fldICost")
              .set_value(vb::IsNull(on_hand) || vb::IsNull(unit_cost)
                             ? Variant::Null()
                             : Variant(vb::CCur(Variant(vb::CDbl(on_hand) * vb::CDbl(unit_cost)))));
        });
  }

  void Detail_Format() override { ShadeAlternateRows(Sections("Detail"), mRowCount); }

 private:
  static constexpr std::string_view kCostMethods[] = {"Average", "Standard", "Last"};
  // clang-format off
  //  index  kind                label                                                        example    second      values
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kChoice, "Cost method: Average, Standard, else last purchase price",  "Average", "Standard", kCostMethods},
  };
  // clang-format on

  static constexpr int32_t kCodeLeft = 0, kCodeWidth = 1300;
  static constexpr int32_t kDescriptionLeft = 1350, kDescriptionWidth = 3900;
  static constexpr int32_t kMeasureLeft = 5300, kMeasureWidth = 700;
  static constexpr int32_t kOnHandLeft = 6050, kOnHandWidth = 1200;
  static constexpr int32_t kUnitCostLeft = 7300, kUnitCostWidth = 1500;
  static constexpr int32_t kCostLeft = 8850, kCostWidth = kPrintWidth - kCostLeft;

  static constexpr int32_t kCaptionTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;
  static constexpr int32_t kTotalTop = 80;

  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0},
      {kBannerHeader, kRuleTop + 160},
      {kDetail, kLineHeight},
      {kBannerFooter, 0},
      {kReportFooter, kTotalTop + kLineHeight + 120},
  };
  // clang-format off
  //  section        control               kind        left              top          width              height       caption / field    format  align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "Label3",             kLabel,     kCodeLeft,        kCaptionTop, kCodeWidth,        kLineHeight, "Code",               {},     Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label4",             kLabel,     kDescriptionLeft, kCaptionTop, kDescriptionWidth, kLineHeight, "Name / Description", {},     Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label6",             kLabel,     kMeasureLeft,     kCaptionTop, kMeasureWidth,     kLineHeight, "Meas",               {},     Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label7",             kLabel,     kOnHandLeft,      kCaptionTop, kOnHandWidth,      kLineHeight, "on Hand",            {},     Align::kRight, kCaptionFont},
      {kBannerHeader, "Label8",             kLabel,     kUnitCostLeft,    kCaptionTop, kUnitCostWidth,    kLineHeight, "Unit Cost",          {},     Align::kRight, kCaptionFont},
      {kBannerHeader, "Line2",              kLine,      0,                kRuleTop,    kPrintWidth,       0},
      {kBannerHeader, "Label9",             kLabel,     kCostLeft,        kCaptionTop, kCostWidth,        kLineHeight, "Inventory Cost",     {},     Align::kRight, kCaptionFont},
      {kBannerHeader, "lblBlank",           kLabel,     0,                kRuleTop + 20, 100,             120},

      {kDetail,       "txtCode",            kText,      kCodeLeft,        0,           kCodeWidth,        kLineHeight, "Code",               {},     Align::kLeft,  kBodyFont},
      {kDetail,       "txtDescription",     kText,      kDescriptionLeft, 0,           kDescriptionWidth, kLineHeight, "Description",        {},     Align::kLeft,  kBodyFont},
      {kDetail,       "txtSalesMeasure",    kText,      kMeasureLeft,     0,           kMeasureWidth,     kLineHeight, "SalesMeasure",       {},     Align::kLeft,  kBodyFont},
      {kDetail,       "txtOnHandFractions", kText,      kOnHandLeft,      0,           kOnHandWidth,      kLineHeight, "OnHandFractions",    "0.00", Align::kRight, kBodyFont},
      {kDetail,       "txtUcost",           kText,      kUnitCostLeft,    0,           kUnitCostWidth,    kLineHeight, "fldUCost",           kMoney, Align::kRight, kBodyFont},
      {kDetail,       "txtICost",           kText,      kCostLeft,        0,           kCostWidth,        kLineHeight, "fldIcost",           kMoney, Align::kRight, kBodyFont},

      {kReportFooter, "Line3",              kLine,      kCostLeft,        20,          kCostWidth,        0},
      {kReportFooter, "Label10",            kLabel,     kDescriptionLeft, kTotalTop,   kDescriptionWidth, kLineHeight, "Total Inventory Cost", {},   Align::kLeft,  kCaptionFont},
      {kReportFooter, "Field1",             kReportSum, kCostLeft,        kTotalTop,   kCostWidth,        kLineHeight, "fldICost",           kMoney, Align::kRight, kCaptionFont},
      {kReportFooter, "Line4",              kLine,      kCostLeft,        kTotalTop + kLineHeight + 40, kCostWidth, 0},
  };
  // clang-format on

  // Detail sections formatted by this object, never reset: a second run continues the alternation.
  int16_t mRowCount = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptInventory)
