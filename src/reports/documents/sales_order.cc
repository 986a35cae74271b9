// Sales order: one customer order with sold-to and ship-to blocks, its ordered lines with prices, and its
// totals at the foot of every page. Every line shows its discount, 0.00 included (the shared design is
// document_report.h).
#include "framework/document_layout.h"
#include "framework/document_report.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptSalesOrder final : public DocumentReport {
 public:
  rptSalesOrder() : DocumentReport(kDesign, {kLayout}) {}

 private:
  // clang-format off
  //  index  kind            label                                 example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId, "Order (SalesOrderHeader.OrderNo)",   "31"},
  };
  static constexpr OutputFormat kFormats[] = {
      {"txtTotal",       FormatSetting::kCurrency},
      {"txtInvoiceDate", FormatSetting::kDate},
      {"txtSalesPrice",  FormatSetting::kPrice},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT SalesOrderHeader.*, SalesOrderDetail.* ",
      .from_text =
          "FROM (SalesOrderHeader INNER JOIN SalesOrderDetail ON SalesOrderHeader.OrderNo "
          "=SalesOrderDetail.OrderNo) ",
      .where_text = "WHERE (((SalesOrderHeader.OrderNo)= ",
      .break_field = "SalesOrderHeader.OrderNo",
      .formats = kFormats,
      .sold_to_control = "txtSoldTo",
      .ship_to_control = "txtShipTo",
      .has_notes = true,
      .total_rows = 3,
      .params = kParams,
  };

  static constexpr int32_t kOrderedWidth = 900;
  static constexpr int32_t kDescriptionLeft = kOrderedWidth + 150;
  static constexpr int32_t kDescriptionWidth = document::kDescriptionRight - kDescriptionLeft;

  // clang-format off
  static constexpr ControlRow kLayout[] = {
      document::BlockCaption(0,  "Label6",         "Sold To:"),
      document::BlockText(0,     "txtSoldTo"),
      document::BlockCaption(1,  "Label7",         "Ship To:"),
      document::BlockText(1,     "txtShipTo"),
      document::InfoCaption(0,   "Label2",         "Order No:"),
      document::InfoText(0,      "Field3",         "SalesOrderHeader.OrderNo"),
      document::InfoCaption(1,   "Label3",         "Date:"),
      document::InfoText(1,      "txtInvoiceDate", "OrderDate",        kShortDate),
      document::InfoCaption(2,   "Label5",         "Customer ID:"),
      document::InfoText(2,      "txtCustomerID",  "CustomerID"),
      document::Rule(kBannerHeader, "Line2",       document::kTermsRuleTop),
      document::TermsCaption(1,  "Label9",         "FOB"),
      document::TermsText(1,     "txtFOB",         "FOB"),
      document::TermsCaption(2,  "Label10",        "Via"),
      document::TermsText(2,     "txtVia",         "Via"),
      document::TermsCaption(4,  "Label12",        "Our Ref"),
      document::TermsText(4,     "txtOurRef",      "OurRef"),
      document::Rule(kBannerHeader, "Line3",       document::kTermsBottomRuleTop),
      document::ColumnCaption(   "Label13",        0,                       kOrderedWidth,            "Ordered",     Align::kRight),
      document::ColumnCaption(   "Label16",        kDescriptionLeft,        kDescriptionWidth,        "Description", Align::kLeft),
      document::ColumnCaption(   "Label17",        document::kPriceLeft,    document::kPriceWidth,    "Unit Price",  Align::kRight),
      document::ColumnCaption(   "Label24",        document::kDiscountLeft, document::kDiscountWidth, "Discount",    Align::kRight),
      document::ColumnCaption(   "Label18",        document::kAmountLeft,   document::kAmountWidth,   "Extended",    Align::kRight),
      document::Rule(kBannerHeader, "Line4",       document::kColumnRuleTop),
      {kBannerHeader, "lblBlank", kLabel, 0, document::kColumnRuleTop + 20, 100, 100},

      document::LineText(        "txtOrdered",     0,                       kOrderedWidth,            "Ordered",     "0.0",      Align::kRight),
      document::LineText(        "Field4",         kDescriptionLeft,        kDescriptionWidth,        "Description", {},         Align::kLeft),
      document::LineText(        "txtSalesPrice",  document::kPriceLeft,    document::kPriceWidth,    "SalesPrice",  "#,##0.00", Align::kRight),
      document::LineText(        "txtDiscount",    document::kDiscountLeft, document::kDiscountWidth, "Discount",    "0.00",     Align::kRight),
      document::LineText(        "txtSplitAmount", document::kAmountLeft,   document::kAmountWidth,   "SplitAmount", "#,##0.00", Align::kRight),

      document::Rule(kPageFooter, "Line5",         0),
      document::TotalCaption(0,  "Label19",        "Sale Amount:"),
      document::TotalText(0,     "txtSubTotal",    "SubTotal",         "#,##0.00"),
      document::TotalCaption(1,  "Label20",        "Tax:"),
      document::TotalText(1,     "txtTax",         "Tax",              "#,##0.00"),
      document::TotalRule(2,     "Line6"),
      document::TotalCaption(2,  "Label21",        "Total:"),
      document::TotalText(2,     "txtTotal",       "Total",            "#,##0.00"),
      document::TotalRule(3,     "Line8"),
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptSalesOrder)
