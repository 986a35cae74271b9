// Back orders by customer: every invoice line still back-ordered, under its customer and item, with each
// item's total per customer.
#include "framework/report_factory.h"
#include "framework/standard_layout.h"
#include "reports/analysis/back_order_report.h"

namespace vob::reports {

class rptBackOrder2 final : public BackOrderReport {
 public:
  rptBackOrder2()
      : BackOrderReport(
            "WHERE (((ARInvoiceDetail.Backordered)>0)) Order by CustomerID, ItemCode,  InvoiceDate;",
            kSections, kLayout) {}

 private:
  static constexpr int32_t kCodeLeft = 0, kCodeWidth = 1250;
  static constexpr int32_t kDescriptionLeft = 1300, kDescriptionWidth = kNumberLeft - kDescriptionLeft - 100;

  // The customer, the outer group, is the stored layout's GroupHeader2 and the item group its GroupHeader1:
  // the engine nests groups by their id, so the ids follow the nesting and the names the stored layout. The
  // customer heading repeats on every page its lines go on; the item's does not, as a repeated inner heading
  // also prints atop a page whose item begins afresh, twice over.
  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0},
      {.section = kGroupHeader1,
       .height = kCaptionTop + kLineHeight + 40,
       .break_field = "CustomerID",
       .flags = kRepeat | kKeepTogether,
       .name = "GroupHeader2"},
      {.section = kGroupHeader2, .height = kRuleTop + 60, .break_field = "ItemCode", .name = "GroupHeader1"},
      {kDetail, kLineHeight},
      {.section = kGroupFooter2, .height = kTotalTop + kLineHeight + 120, .name = "GroupFooter1"},
      {.section = kGroupFooter1, .height = 0, .name = "GroupFooter2"},
      {kBannerFooter, 0},
      {kReportFooter, 0},
  };
  // clang-format off
  //  section         control           kind        left              top          width              height       caption / field        format      align          font
  static constexpr ControlRow kLayout[] = {
      {kGroupHeader1, "Label3",         kLabel,     0,                kCaptionTop, 1100,              kLineHeight, "Customer ID",         {},         Align::kLeft,  kGroupFont},
      {kGroupHeader1, "txtCustomerID",  kText,      1150,             kCaptionTop, 1500,              kLineHeight, "CustomerID",          {},         Align::kLeft,  kGroupFont},
      {kGroupHeader1, "Field3",         kText,      2700,             kCaptionTop, kPrintWidth - 2700, kLineHeight, "Name",               {},         Align::kLeft,  kGroupFont},

      {kGroupHeader2, "Line2",          kLine,      0,                kRuleTop,    kPrintWidth,       0},
      {kGroupHeader2, "Label14",        kLabel,     kCodeLeft,        kCaptionTop, kCodeWidth,        kLineHeight, "Code",                {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader2, "Label7",         kLabel,     kNumberLeft,      kCaptionTop, kNumberWidth,      kLineHeight, "Invoice Number",      {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader2, "Label15",        kLabel,     kDateLeft,        kCaptionTop, kDateWidth,        kLineHeight, "Invoice Date",        {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader2, "Label13",        kLabel,     kBackorderedLeft, kCaptionTop, kQuantityWidth,    kLineHeight, "Back ordered",        {},         Align::kRight, kCaptionFont},
      {kGroupHeader2, "Label16",        kLabel,     kOrderedLeft,     kCaptionTop, kQuantityWidth,    kLineHeight, "Ordered",             {},         Align::kRight, kCaptionFont},
      {kGroupHeader2, "Label17",        kLabel,     kShippedLeft,     kCaptionTop, kQuantityWidth,    kLineHeight, "Shipped",             {},         Align::kRight, kCaptionFont},
      {kGroupHeader2, "Label19",        kLabel,     kDescriptionLeft, kCaptionTop, kDescriptionWidth, kLineHeight, "Description",         {},         Align::kLeft,  kCaptionFont},

      {kDetail,       "txtInvoiceNumber", kText,    kNumberLeft,      0,           kNumberWidth,      kLineHeight, "InvoiceNumber",       {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtInvoiceDate", kText,      kDateLeft,        0,           kDateWidth,        kLineHeight, "InvoiceDate",         kShortDate, Align::kLeft,  kBodyFont},
      {kDetail,       "txtBackordered", kText,      kBackorderedLeft, 0,           kQuantityWidth,    kLineHeight, "Backordered",         "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtOrdered",     kText,      kOrderedLeft,     0,           kQuantityWidth,    kLineHeight, "Ordered",             "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtShipped",     kText,      kShippedLeft,     0,           kQuantityWidth,    kLineHeight, "Shipped",             "0.00",     Align::kRight, kBodyFont},
      {kDetail,       "txtItemCode",    kText,      kCodeLeft,        0,           kCodeWidth,        kLineHeight, "ItemCode",            {},         Align::kLeft,  kBodyFont},
      {kDetail,       "txtDescription", kText,      kDescriptionLeft, 0,           kDescriptionWidth, kLineHeight, "Description",         {},         Align::kLeft,  kBodyFont},

      {kGroupFooter2, "Field1",         kGroupSum,  kBackorderedLeft, kTotalTop,   kQuantityWidth,    kLineHeight, "Backordered",         "0.00",     Align::kRight, kCaptionFont},
      {kGroupFooter2, "Label18",        kLabel,     kDescriptionLeft, kTotalTop,   1700,              kLineHeight, "Total Back Order for", {},        Align::kLeft,  kCaptionFont},
      {kGroupFooter2, "Field2",         kText,      kDescriptionLeft + 1750, kTotalTop, kNumberLeft + kNumberWidth - kDescriptionLeft - 1750, kLineHeight, "ItemCode", {}, Align::kLeft, kCaptionFont},
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptBackOrder2)
