// Reorder alert: every product whose minimum quantity exceeds the quantity on hand, with the shortfall, the
// quantity to reorder (the larger of the shortfall and the reorder quantity) and what that reorder costs.
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptProdAlert final : public ListingReport {
 public:
  rptProdAlert() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_DataInitialize() override {
    std::string sql = "SELECT * from products where [MinimumQuantity] > [OnHandFractions] order by ";
    sql += vb::LCase(ReportParam(1)) == "code" ? "Code;" : "VendorID, Code;";
    SetMainSql(std::move(sql));
    Fields().Add("fldUnder");
    Fields().Add("fldReorder");
    Fields().Add("fldCost");
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    Controls<TextBox>("txtLastPurchasePrice").set_output_format(Settings().PriceFormat);
    Controls<TextBox>("txtCost").set_output_format(Settings().CurrencyFormat);
  }

  // The reorder starts at 0 on every row and a failing step keeps it: a Null reorder quantity fails the
  // comparison's other branch and so leaves 0, not the shortfall. The purchase cost is kept as money; a Null
  // last purchase price gives a Null cost, which prints empty.
  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    double shortfall = 0;
    double reorder = 0;
    vb::ResumeNext(
        [&] {
          shortfall = vb::CDbl(row->Fields("MinimumQuantity")) - vb::CDbl(row->Fields("OnHandFractions"));
        },
        [&] {
          const Variant& reorder_quantity = row->Fields("ReorderQuantity");
          if (!vb::IsNull(reorder_quantity) && shortfall > vb::CDbl(reorder_quantity)) {
            reorder = shortfall;
          } else {
            reorder = vb::CDbl(reorder_quantity);
          }
        },
        [&] {
          Fields("fldUnder")
              .set_value(vb::CDbl(row->Fields("MinimumQuantity")) - vb::CDbl(row->Fields("OnHandFractions")));
        },
        [&] { Fields("fldReorder").set_value(reorder); },
        [&] {
          const Variant& price = row->Fields("LastPurchasePrice");
          Fields("fldCost").set_value(
              vb::IsNull(price) ? Variant::Null() : Variant(vb::CCur(Variant(vb::CDbl(price) * reorder))));
        });
  }

  void Detail_Format() override { ShadeAlternateRows(Sections("Detail"), mRowCount); }

 private:
  static constexpr std::string_view kOrders[] = {"code", "vendor"};
  // clang-format off
  //  index  kind                label                                            example  second    values
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kChoice, "Order: code (any case), else by vendor then code", "code",  "vendor", kOrders},
  };
  // clang-format on

  // Two lines per product: the item and its stock above, where it comes from and what to reorder below.
  static constexpr int32_t kCodeLeft = 0, kCodeWidth = 1100;
  static constexpr int32_t kDescriptionLeft = 1150, kDescriptionWidth = 3300;
  static constexpr int32_t kBinLeft = 1150, kBinWidth = 1200;
  static constexpr int32_t kVendorLeft = 2400, kVendorWidth = 1500;
  static constexpr int32_t kDeptLeft = 4500, kMeasureLeft = 5150, kShortWidth = 600;
  static constexpr int32_t kColumn1 = 5800, kColumn2 = 6850, kColumn3 = 7900, kQuantityWidth = 1000;
  static constexpr int32_t kCostLeft = 8950, kCostWidth = kPrintWidth - kCostLeft;

  static constexpr int32_t kCaptionTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kCaption2Top = kCaptionTop + kLineHeight;
  static constexpr int32_t kRuleTop = kCaption2Top + kLineHeight + 20;
  static constexpr int32_t kLine2 = kLineHeight;

  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0},
      {kBannerHeader, kRuleTop + 160},
      {kDetail, 2 * kLineHeight + 40},
      {kBannerFooter, 0},
      {kReportFooter, 0},
  };
  // clang-format off
  //  section        control                 kind    left              top           width              height       caption / field           format      align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "Label3",               kLabel, kCodeLeft,        kCaptionTop,  kDeptLeft - 100,   kLineHeight, "Code       Description", {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label4",               kLabel, kDeptLeft,        kCaptionTop,  kShortWidth,       kLineHeight, "Dept",                  {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label6",               kLabel, kMeasureLeft,     kCaptionTop,  kShortWidth,       kLineHeight, "Meas",                  {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label7",               kLabel, kColumn1,         kCaptionTop,  kQuantityWidth,    kLineHeight, "on Hand",               {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "Label8",               kLabel, kColumn2,         kCaptionTop,  kQuantityWidth,    kLineHeight, "Under",                 {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "Line2",                kLine,  0,                kRuleTop,     kPrintWidth,       0},
      {kBannerHeader, "Label9",               kLabel, kColumn3,         kCaptionTop,  kQuantityWidth,    kLineHeight, "on Order",              {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "lblBlank",             kLabel, 0,                kRuleTop + 20, 100,              120},
      {kBannerHeader, "Label11",              kLabel, kBinLeft,         kCaption2Top, kBinWidth,         kLineHeight, "Bin",                   {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label12",              kLabel, kVendorLeft,      kCaption2Top, kVendorWidth,      kLineHeight, "Vendor ID",             {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label13",              kLabel, kColumn1,         kCaption2Top, kQuantityWidth,    kLineHeight, "Minimum",               {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "Label14",              kLabel, kColumn2,         kCaption2Top, kQuantityWidth,    kLineHeight, "Reorder",               {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "Label15",              kLabel, kColumn3,         kCaption2Top, kQuantityWidth,    kLineHeight, "Price",                 {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "Label16",              kLabel, kCostLeft,        kCaption2Top, kCostWidth,        kLineHeight, "Purchase Cost",         {},         Align::kRight, kCaptionFont},

      {kDetail,       "txtCode",              kText,  kCodeLeft,        0,            kCodeWidth,        kLineHeight, "Code",                  {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtDescription",       kText,  kDescriptionLeft, 0,            kDescriptionWidth, kLineHeight, "Description",           {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtDepartmentNo",      kText,  kDeptLeft,        0,            kShortWidth,       kLineHeight, "DepartmentNo",          {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtSalesMeasure",      kText,  kMeasureLeft,     0,            kShortWidth,       kLineHeight, "SalesMeasure",          {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtOnHandFractions",   kText,  kColumn1,         0,            kQuantityWidth,    kLineHeight, "OnHandFractions",       "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtUcost",             kText,  kColumn2,         0,            kQuantityWidth,    kLineHeight, "fldUnder",              "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtOnOrderFractions",  kText,  kColumn3,         0,            kQuantityWidth,    kLineHeight, "OnOrderFractions",      "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtBin",               kText,  kBinLeft,         kLine2,       kBinWidth,         kLineHeight, "Bin",                   {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtVendorID",          kText,  kVendorLeft,      kLine2,       kVendorWidth,      kLineHeight, "VendorID",              {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtMinimumQuantity",   kText,  kColumn1,         kLine2,       kQuantityWidth,    kLineHeight, "MinimumQuantity",       "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtReorderQuantity",   kText,  kColumn2,         kLine2,       kQuantityWidth,    kLineHeight, "fldReorder",            "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtLastPurchasePrice", kText,  kColumn3,         kLine2,       kQuantityWidth,    kLineHeight, "LastPurchasePrice",     "#,##0.00", Align::kRight, kBodyFont},
      {kDetail,       "txtCost",              kText,  kCostLeft,        kLine2,       kCostWidth,        kLineHeight, "fldCost",               kMoney,     Align::kRight, kBodyFont},
  };
  // clang-format on

  // Detail sections formatted by this object, never reset: a second run continues the alternation.
  int16_t mRowCount = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptProdAlert)
