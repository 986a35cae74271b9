// Product list: every product with department, tax flag, measure, sale price, unit cost by the chosen cost
// method and quantity on hand, in code or name order, every other line shaded.
// The sort value is compared exactly ("Code", "Name"); the cost method too ("Average", "Standard").
#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptProdList final : public ListingReport {
 public:
  rptProdList() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  // A sort value other than "Code" and "Name" leaves the source empty: the engine opens no data and the list
  // prints its banner and page footer without rows, as an empty list rather than a failed run.
  void ActiveReport_DataInitialize() override {
    std::string sql;
    if (ReportParam(1) == "Code") {
      sql = "Select * from Products order by Code;";
    } else if (ReportParam(1) == "Name") {
      sql = "Select * from Products order by Description;";
    }
    SetMainSql(std::move(sql));
    Fields().Add("fldCost");
    Fields().Add("fldTax");
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    Controls<TextBox>("txtSalesPrice").set_output_format(Settings().PriceFormat);
  }

  void BannerHeader_Format() override {
    Controls<TextBox>("txtSortBy").set_text(ReportParam(1) == "Code" ? "Product Code" : "Product Name");
  }

  // A Null cost is stored as Null and prints empty; a Null taxable flag counts as no.
  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    vb::ResumeNext(
        [&] {
          const std::string& method = ReportParam(2);
          const char* column = method == "Average"    ? "AverageCost"
                               : method == "Standard" ? "StandardCost"
                                                      : "LastPurchasePrice";
          Fields("fldCost").set_value(row->Fields(column));
        },
        [&] {
          const Variant& taxable = row->Fields("taxable");
          Fields("fldTax").set_value(!vb::IsNull(taxable) && vb::CBool(taxable) ? "Y" : "N");
        });
  }

  void Detail_Format() override { ShadeAlternateRows(Sections("Detail"), mRowCount); }

 private:
  static constexpr std::string_view kSortValues[] = {"Code", "Name"};
  static constexpr std::string_view kCostMethods[] = {"Average", "Standard", "Last"};
  // clang-format off
  //  index  kind                label                                                        example    second     values
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kChoice, "Sort: Code or Name (exact case)",                           "Code",    "Name",    kSortValues},
      {2,      ParamKind::kChoice, "Cost method: Average, Standard, else last purchase price",  "Average", "Standard", kCostMethods},
  };
  // clang-format on

  // Eight columns: the item, its department and tax flag, then measure, price, cost and stock.
  static constexpr int32_t kCodeLeft = 0, kCodeWidth = 1300;
  static constexpr int32_t kDescriptionLeft = 1350, kDescriptionWidth = 3600;
  static constexpr int32_t kDeptLeft = 5000, kDeptWidth = 700;
  static constexpr int32_t kTaxLeft = 5750, kTaxWidth = 400;
  static constexpr int32_t kMeasureLeft = 6200, kMeasureWidth = 900;
  static constexpr int32_t kPriceLeft = 7150, kCostLeft = 8400, kAmountWidth = 1200;
  static constexpr int32_t kOnHandLeft = 9650, kOnHandWidth = kPrintWidth - kOnHandLeft;

  static constexpr int32_t kSortTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kCaptionTop = kSortTop + kLineHeight + 120;
  static constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;

  static constexpr SectionRow kSections[] = {
      {kBannerHeader, kRuleTop + 160},
      {kDetail, kLineHeight},
      {kBannerFooter, 0},
  };
  // clang-format off
  //  section        control               kind    left              top          width              height       caption / field       format      align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "Label7",             kLabel, 0,                kSortTop,    900,               kLineHeight, "Sorted by:",         {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtSortBy",          kText,  950,              kSortTop,    2500,              kLineHeight, {},                   {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label2",             kLabel, kCodeLeft,        kCaptionTop, kCodeWidth,        kLineHeight, "Code",               {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label3",             kLabel, kDescriptionLeft, kCaptionTop, kDescriptionWidth, kLineHeight, "Name / Description", {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label8",             kLabel, kDeptLeft,        kCaptionTop, kDeptWidth,        kLineHeight, "Dept",               {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label4",             kLabel, kTaxLeft,         kCaptionTop, kTaxWidth,         kLineHeight, "Tax",                {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label5",             kLabel, kMeasureLeft,     kCaptionTop, kMeasureWidth,     kLineHeight, "Measure",            {},         Align::kLeft,  kCaptionFont},
      {kBannerHeader, "Label6",             kLabel, kPriceLeft,       kCaptionTop, kAmountWidth,      kLineHeight, "Sale Price",         {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "Label9",             kLabel, kCostLeft,        kCaptionTop, kAmountWidth,      kLineHeight, "Cost",               {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "Label10",            kLabel, kOnHandLeft,      kCaptionTop, kOnHandWidth,      kLineHeight, "On Hand",            {},         Align::kRight, kCaptionFont},
      {kBannerHeader, "Line2",              kLine,  0,                kRuleTop,    kPrintWidth,       0},
      {kBannerHeader, "lblBlank",           kLabel, 0,                kRuleTop + 20, 100,             120},

      {kDetail,       "txtCode",            kText,  kCodeLeft,        0,           kCodeWidth,        kLineHeight, "Code",               {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtDescription",     kText,  kDescriptionLeft, 0,           kDescriptionWidth, kLineHeight, "Description",        {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtDepartmentNo",    kText,  kDeptLeft,        0,           kDeptWidth,        kLineHeight, "DepartmentNo",       {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtTax",             kText,  kTaxLeft,         0,           kTaxWidth,         kLineHeight, "fldTax",             {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtSalesMeasure",    kText,  kMeasureLeft,     0,           kMeasureWidth,     kLineHeight, "SalesMeasure",       {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtSalesPrice",      kText,  kPriceLeft,       0,           kAmountWidth,      kLineHeight, "SalesPrice",         "$#,##0.00", Align::kRight, kBodyFont},
      {kDetail,       "txtCost",            kText,  kCostLeft,        0,           kAmountWidth,      kLineHeight, "fldCost",            "#,##0.00", Align::kRight, kBodyFont},
      {kDetail,       "txtOnHandFractions", kText,  kOnHandLeft,      0,           kOnHandWidth,      kLineHeight, "OnHandFractions",    "0.00",     Align::kRight, kBodyFont},
  };
  // clang-format on

  // Detail sections formatted by this object, never reset: a second run continues the alternation.
  int16_t mRowCount = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptProdList)
