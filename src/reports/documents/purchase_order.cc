// Purchase order: one order with the vendor's block and who ordered, its lines with item codes and costs, and
// the totals with the spending limit at the foot of every page. Every line shows its discount
// (document_report.h).
#include "framework/document_layout.h"
#include "framework/document_report.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptPO final : public DocumentReport {
 public:
  rptPO() : DocumentReport(kDesign, {kLayout}) {}

 private:
  // clang-format off
  //  index  kind            label                       example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId, "Order (POHeader.PONo)",    "17"},
  };
  static constexpr OutputFormat kFormats[] = {
      {"txtOrderDate",   FormatSetting::kDate},
      {"txtNottoExceed", FormatSetting::kCurrency},
      {"txtCost",        FormatSetting::kPrice},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT POHeader.*, PODetail.* ",
      .from_text = "FROM POHeader INNER JOIN PODetail ON POHeader.PONo = PODetail.PONo ",
      .where_text = "WHERE (((POHeader.PONo)= ",
      .break_field = "POHeader.PONo",
      .formats = kFormats,
      .sold_to_control = "txtRecdFrom",
      .total_rows = 4,
      .params = kParams,
  };

  static constexpr int32_t kItemCodeWidth = 1500;
  static constexpr int32_t kOrderedLeft = kItemCodeWidth + 100, kOrderedWidth = 800;
  static constexpr int32_t kDescriptionLeft = kOrderedLeft + kOrderedWidth + 150;
  static constexpr int32_t kDescriptionWidth = document::kDescriptionRight - kDescriptionLeft;

  // clang-format off
  static constexpr ControlRow kLayout[] = {
      document::BlockCaption(0,  "Label6",          "Order placed with:"),
      document::BlockText(0,     "txtRecdFrom"),
      document::BlockCaption(1,  "Label7",          "Ordered by:"),
      document::BlockLine(1,     "txtCorrespondTo", "CorrespondTo"),
      document::InfoCaption(0,   "Label2",          "P O No:"),
      document::InfoText(0,      "txtPONumber",     "PONumber"),
      document::InfoCaption(1,   "Label3",          "Order Date:"),
      document::InfoText(1,      "txtOrderDate",    "OrderDate",       kShortDate),
      document::InfoCaption(2,   "Label5",          "Vendor ID:"),
      document::InfoText(2,      "txtVendorID",     "VendorID"),
      document::Rule(kBannerHeader, "Line3",        document::kTermsRuleTop),
      document::TermsCaption(1,  "Label9",          "FOB"),
      document::TermsText(1,     "txtFOB",          "FOB"),
      document::TermsCaption(2,  "Label10",         "Via"),
      document::TermsText(2,     "txtVia",          "Via"),
      document::TermsCaption(4,  "Label12",         "Our Ref"),
      document::TermsText(4,     "txtOurRef",       "OurRef"),
      document::Rule(kBannerHeader, "Line9",        document::kTermsBottomRuleTop),
      document::ColumnCaption(   "Label13",         0,                      kItemCodeWidth,    "Item Code",   Align::kLeft),
      document::ColumnCaption(   "Label14",         kOrderedLeft,           kOrderedWidth,     "Ordered",     Align::kRight),
      document::ColumnCaption(   "Label16",         kDescriptionLeft,       kDescriptionWidth, "Description", Align::kLeft),
      document::ColumnCaption(   "Label17",         document::kPriceLeft,   document::kDiscountLeft + document::kDiscountWidth - document::kPriceLeft,
                                                                                               "Unit Price Discount", Align::kRight),
      document::ColumnCaption(   "Label18",         document::kAmountLeft,  document::kAmountWidth, "Total Price", Align::kRight),
      document::Rule(kBannerHeader, "Line4",        document::kColumnRuleTop),
      {kBannerHeader, "lblBlank", kLabel, 0, document::kColumnRuleTop + 20, 100, 100},

      document::LineText(        "txtItemCode",     0,                       kItemCodeWidth,           "ItemCode",    {},         Align::kLeft),
      document::LineText(        "txtOrdered",      kOrderedLeft,            kOrderedWidth,            "Ordered",     "0.0",      Align::kRight),
      document::LineText(        "txtDescription",  kDescriptionLeft,        kDescriptionWidth,        "Description", {},         Align::kLeft),
      document::LineText(        "txtCost",         document::kPriceLeft,    document::kPriceWidth,    "Cost",        "#,##0.00", Align::kRight),
      document::LineText(        "txtDiscount",     document::kDiscountLeft, document::kDiscountWidth, "Discount",    "0.00",     Align::kRight),
      document::LineText(        "txtSplitAmount",  document::kAmountLeft,   document::kAmountWidth,   "SplitAmount", "#,##0.00", Align::kRight),

      document::Rule(kPageFooter, "Line5",          0),
      document::TotalCaption(0,  "Label19",         "Purchase Amount:"),
      document::TotalText(0,     "txtSubTotal",     "SubTotal",        "#,##0.00"),
      document::TotalCaption(1,  "Label20",         "Tax:"),
      document::TotalText(1,     "txtTax",          "Tax",             "#,##0.00"),
      document::TotalRule(2,     "Line6"),
      document::TotalCaption(2,  "Label21",         "Purchase Order Total:"),
      document::TotalText(2,     "txtTotal",        "Total",           "#,##0.00"),
      document::TotalRule(3,     "Line8"),
      document::TotalCaption(3,  "Label22",         "Not to exceed:"),
      document::TotalText(3,     "txtNottoExceed",  "NottoExceed",     "$#,##0.00"),
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptPO)
