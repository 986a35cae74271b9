// Invoice: one customer invoice with sold-to and ship-to blocks, terms, its lines with shipped and
// back-ordered quantities, and the message and totals at the foot of every page (the shared design is
// document_report.h).
#include "framework/document_layout.h"
#include "framework/document_report.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptInvoice final : public DocumentReport {
 public:
  rptInvoice() : DocumentReport(kDesign, {kLayout, document::kPriceColumns, document::kPaymentTotals}) {}

 private:
  // clang-format off
  //  index  kind            label                                   example  second example: terms Null
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId, "Invoice (ARInvoiceHeader.InvoiceNo)",  "10203", "12216"},
  };
  static constexpr OutputFormat kFormats[] = {
      {"txtNetAmount",   FormatSetting::kCurrency},
      {"txtInvoiceDate", FormatSetting::kDate},
      {"txtDueDate",     FormatSetting::kDate},
      {"txtSalesPrice",  FormatSetting::kPrice},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT ARInvoiceHeader.*, ARInvoiceDetail.* ",
      .from_text =
          "FROM (ARInvoiceHeader INNER JOIN ARInvoiceDetail ON ARInvoiceHeader.InvoiceNo = "
          "ARInvoiceDetail.InvoiceNo) ",
      .where_text = "WHERE (((ARInvoiceHeader.InvoiceNo)= ",
      .break_field = "ARInvoiceHeader.InvoiceNo",
      .formats = kFormats,
      .sold_to_control = "txtSoldTo",
      .ship_to_control = "txtShipTo",
      .looks_up_terms = true,
      .looks_up_message = true,
      .hides_zero_discount = true,
      .has_notes = true,
      .total_rows = document::kPaymentTotalRows,
      .params = kParams,
  };

  static constexpr int32_t kDescriptionLeft = document::DescriptionLeft(3);
  static constexpr int32_t kDescriptionWidth = document::kDescriptionRight - kDescriptionLeft;

  // clang-format off
  static constexpr ControlRow kLayout[] = {
      document::BlockCaption(0,    "Label6",              "Sold To:"),
      document::BlockText(0,       "txtSoldTo"),
      document::BlockCaption(1,    "Label7",              "Ship To:"),
      document::BlockText(1,       "txtShipTo"),
      document::InfoCaption(0,     "Label2",              "Invoice No:"),
      document::InfoText(0,        "txtInvoiceNumber",    "InvoiceNumber"),
      document::InfoCaption(1,     "Label3",              "Date:"),
      document::InfoText(1,        "txtInvoiceDate",      "InvoiceDate",       kShortDate),
      document::InfoCaption(2,     "Label4",              "Due Date:"),
      document::InfoText(2,        "txtDueDate",          "DueDate",           kShortDate),
      document::InfoCaption(3,     "Label5",              "Customer ID:"),
      document::InfoText(3,        "txtCustomerID",       "CustomerID"),
      document::Rule(kBannerHeader, "Line2",              document::kTermsRuleTop),
      document::TermsCaption(0,    "Label8",              "Your PO Number"),
      document::TermsText(0,       "txtCustomerPONumber", "CustomerPONumber"),
      document::TermsCaption(1,    "Label9",              "FOB"),
      document::TermsText(1,       "txtFOB",              "FOB"),
      document::TermsCaption(2,    "Label10",             "Via"),
      document::TermsText(2,       "txtVia",              "Via"),
      document::TermsCaption(3,    "Label11",             "Terms"),
      document::TermsText(3,       "Field1",              "TermsDescription"),
      document::TermsCaption(4,    "Label12",             "Our Ref"),
      document::TermsText(4,       "txtOurRef",           "OurRef"),
      document::Rule(kBannerHeader, "Line3",              document::kTermsBottomRuleTop),
      document::QuantityCaption(0, "Label13",             "Order"),
      document::QuantityCaption(1, "Label14",             "Ship"),
      document::QuantityCaption(2, "Label15",             "B / O"),
      document::ColumnCaption(     "Label16",             kDescriptionLeft,    kDescriptionWidth, "Description", Align::kLeft),
      document::Rule(kBannerHeader, "Line4",              document::kColumnRuleTop),
      {kBannerHeader, "lblBlank", kLabel, 0, document::kColumnRuleTop + 20, 100, 100},

      document::QuantityText(0,    "txtOrdered",          "Ordered",           "0.0"),
      document::QuantityText(1,    "txtShipped",          "Shipped",           "0.0"),
      document::QuantityText(2,    "txtBackordered",      "Backordered",       "0.0"),
      document::LineText(          "Field2",              kDescriptionLeft,    kDescriptionWidth, "Description", {}, Align::kLeft),

      {kPageFooter, "txtMessageText", kText, 0, document::TotalRowTop(0), document::kMessageWidth, 2 * kLineHeight, "MessageText", {}, Align::kLeft, kBodyFont},
      document::TotalCaption(0,    "Label19",             "Sale Amount:"),
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptInvoice)
