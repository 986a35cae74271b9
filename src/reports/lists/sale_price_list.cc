// The sale-price layout and handlers both twins run: one line per item from the twin's query, the price in
// the twin's format setting, every other line shaded.
#include "reports/lists/sale_price_list.h"

#include "framework/standard_layout.h"

namespace vob::reports {
namespace {

constexpr int32_t kCodeLeft = 0, kCodeWidth = 1500;
constexpr int32_t kDescriptionLeft = 1600, kDescriptionWidth = 4500;
constexpr int32_t kTaxableLeft = 6200, kTaxableWidth = 800;
constexpr int32_t kMeasureLeft = 7100, kMeasureWidth = 1200;
constexpr int32_t kPriceLeft = 8800, kPriceWidth = kPrintWidth - kPriceLeft;

constexpr int32_t kCaptionTop = kCompanyHeaderHeight + 60;
constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;

constexpr SectionRow kSections[] = {
    {kBannerHeader, kRuleTop + 160},
    {kDetail, kLineHeight},
    {kBannerFooter, 0},
};

// clang-format off
//  section         control            kind    left              top          width              height       caption / field       format       align          font
constexpr ControlRow kLayout[] = {
    {kBannerHeader, "Label2",          kLabel, kCodeLeft,        kCaptionTop, kCodeWidth,        kLineHeight, "Code",               {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label3",          kLabel, kDescriptionLeft, kCaptionTop, kDescriptionWidth, kLineHeight, "Name / Description", {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label4",          kLabel, kTaxableLeft,     kCaptionTop, kTaxableWidth,     kLineHeight, "Taxable",            {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label5",          kLabel, kMeasureLeft,     kCaptionTop, kMeasureWidth,     kLineHeight, "Measure",            {},          Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label6",          kLabel, kPriceLeft,       kCaptionTop, kPriceWidth,       kLineHeight, "Sale Price",         {},          Align::kRight, kCaptionFont},
    {kBannerHeader, "Line2",           kLine,  0,                kRuleTop,    kPrintWidth,       0},
    {kBannerHeader, "lblBlank",        kLabel, 0,                kRuleTop + 20, 100,             120},

    {kDetail,       "txtCode",         kText,  kCodeLeft,        0,           kCodeWidth,        kLineHeight, "Code",               {},          Align::kLeft,  kBodyFont},
    {kDetail,       "txtDescription",  kText,  kDescriptionLeft, 0,           kDescriptionWidth, kLineHeight, "Description",        {},          Align::kLeft,  kBodyFont},
    {kDetail,       "txtTaxable",      kText,  kTaxableLeft,     0,           kTaxableWidth,     kLineHeight, "Taxable",            "yes/no",    Align::kLeft,  kBodyFont},
    {kDetail,       "txtSalesMeasure", kText,  kMeasureLeft,     0,           kMeasureWidth,     kLineHeight, "SalesMeasure",       {},          Align::kLeft,  kBodyFont},
    {kDetail,       "txtSalesPrice",   kText,  kPriceLeft,       0,           kPriceWidth,       kLineHeight, "SalesPrice",         "$#,##0.00", Align::kRight, kBodyFont},
};
// clang-format on

}  // namespace

SalePriceList::SalePriceList(const Design& design) : design_(design) {
  Declare(kSections, kLayout);
}

void SalePriceList::ActiveReport_DataInitialize() {
  SetMainSql(std::string(design_.sql));
}

void SalePriceList::ActiveReport_ReportStart() {
  ListingReport::ActiveReport_ReportStart();
  Controls<TextBox>("txtSalesPrice").set_output_format(Settings().*design_.price_format);
}

void SalePriceList::Detail_Format() {
  ShadeAlternateRows(Sections("Detail"), mRowCount);
}

}  // namespace vob::reports
