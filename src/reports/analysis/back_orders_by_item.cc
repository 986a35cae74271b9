// Back orders by item: every invoice line still back-ordered, under its item, with the item's total.
#include "framework/report_factory.h"
#include "framework/standard_layout.h"
#include "reports/analysis/back_order_report.h"

namespace vob::reports {

class rptBackOrder1 final : public BackOrderReport {
 public:
  rptBackOrder1()
      : BackOrderReport(
            "WHERE (((ARInvoiceDetail.Backordered)>0)) Order by ItemCode, CustomerID, InvoiceDate;",
            kSections, kLayout) {}

 private:
  static constexpr int32_t kCustomerLeft = 0, kCustomerWidth = 1250;
  static constexpr int32_t kNameLeft = 1300, kNameWidth = kNumberLeft - kNameLeft - 100;
  static constexpr int32_t kItemTop = 80;
  static constexpr int32_t kItemCaptionTop = kItemTop + kLineHeight + 60;
  static constexpr int32_t kItemRuleTop = kItemCaptionTop + kLineHeight + 20;

  // The item's heading carries the column captions, so it repeats on every page its lines go on.
  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0},     {kGroupHeader1, kItemRuleTop + 60, "ItemCode", kRepeat | kKeepTogether},
      {kDetail, kLineHeight}, {kGroupFooter1, kTotalTop + kLineHeight + 120},
      {kBannerFooter, 0},     {kReportFooter, 0},
  };
  // clang-format off
  //  section         control           kind        left              top              width           height       caption / field        format      align          font
  static constexpr ControlRow kLayout[] = {
      {kGroupHeader1, "Label3",         kLabel,     kCustomerLeft,    kItemCaptionTop, kCustomerWidth, kLineHeight, "Customer ID",         {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label14",        kLabel,     kNameLeft,        kItemCaptionTop, kNameWidth,     kLineHeight, "Name",                {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label7",         kLabel,     kNumberLeft,      kItemCaptionTop, kNumberWidth,   kLineHeight, "Invoice Number",      {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label15",        kLabel,     kDateLeft,        kItemCaptionTop, kDateWidth,     kLineHeight, "Invoice Date",        {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label13",        kLabel,     kBackorderedLeft, kItemCaptionTop, kQuantityWidth, kLineHeight, "Back ordered",        {},         Align::kRight, kCaptionFont},
      {kGroupHeader1, "Label16",        kLabel,     kOrderedLeft,     kItemCaptionTop, kQuantityWidth, kLineHeight, "Ordered",             {},         Align::kRight, kCaptionFont},
      {kGroupHeader1, "Label17",        kLabel,     kShippedLeft,     kItemCaptionTop, kQuantityWidth, kLineHeight, "Shipped",             {},         Align::kRight, kCaptionFont},
      {kGroupHeader1, "Line2",          kLine,      0,                kItemRuleTop,    kPrintWidth,    0},
      {kGroupHeader1, "txtItemCode",    kText,      kCustomerLeft,    kItemTop,        kCustomerWidth, kLineHeight, "ItemCode",            {},         Align::kLeft,  kGroupFont},
      {kGroupHeader1, "txtDescription", kText,      kNameLeft,        kItemTop,        kPrintWidth - kNameLeft, kLineHeight, "Description", {},      Align::kLeft,  kGroupFont},

      {kDetail,       "txtCustomerID",  kText,      kCustomerLeft,    0,               kCustomerWidth, kLineHeight, "CustomerID",          {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtName",        kText,      kNameLeft,        0,               kNameWidth,     kLineHeight, "Name",                {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtInvoiceNumber", kText,    kNumberLeft,      0,               kNumberWidth,   kLineHeight, "InvoiceNumber",       {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtInvoiceDate", kText,      kDateLeft,        0,               kDateWidth,     kLineHeight, "InvoiceDate",         kShortDate, Align::kLeft,  kBodyFont},
      {kDetail,       "txtBackordered", kText,      kBackorderedLeft, 0,               kQuantityWidth, kLineHeight, "Backordered",         "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtOrdered",     kText,      kOrderedLeft,     0,               kQuantityWidth, kLineHeight, "Ordered",             "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtShipped",     kText,      kShippedLeft,     0,               kQuantityWidth, kLineHeight, "Shipped",             "0.00",     Align::kRight, kBodyFont},

      {kGroupFooter1, "Field1",         kGroupSum,  kBackorderedLeft, kTotalTop,       kQuantityWidth, kLineHeight, "Backordered",         "0.00",     Align::kRight, kCaptionFont},
      {kGroupFooter1, "Label18",        kLabel,     kNameLeft,        kTotalTop,       1700,           kLineHeight, "Total Back Order for", {},        Align::kLeft,  kCaptionFont},
      {kGroupFooter1, "Field2",         kText,      kNameLeft + 1750, kTotalTop,       kNumberLeft + kNumberWidth - kNameLeft - 1750, kLineHeight, "ItemCode", {}, Align::kLeft, kCaptionFont},
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptBackOrder1)
