// Packing list: the quantities of one invoice, with both address blocks and the terms, and no prices or
// totals. Terms are joined in the query, so an invoice without a Terms row has no lines at all
// (document_report.h).
#include "framework/document_layout.h"
#include "framework/document_report.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptPackList final : public DocumentReport {
 public:
  rptPackList() : DocumentReport(kDesign, {kLayout}) {}

 private:
  // clang-format off
  //  index  kind            label                                   example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId, "Invoice (ARInvoiceHeader.InvoiceNo)",  "10203"},
  };
  static constexpr OutputFormat kFormats[] = {
      {"txtInvoiceDate", FormatSetting::kDate},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT ARInvoiceDetail.*, ARInvoiceHeader.* ",
      .from_text =
          "FROM (ARInvoiceDetail INNER JOIN ARInvoiceHeader ON ARInvoiceDetail.InvoiceNo = "
          "ARInvoiceHeader.InvoiceNo) INNER JOIN Terms ON ARInvoiceHeader.TermCode = Terms.TermCode ",
      .where_text = "WHERE (((ARInvoiceheader.InvoiceNo)= ",
      .break_field = "ARInvoiceHeader.InvoiceNo",
      .formats = kFormats,
      .sold_to_control = "txtSoldTo",
      .ship_to_control = "txtShipTo",
      .looks_up_terms = true,
      .params = kParams,
  };

  static constexpr int32_t kDescriptionLeft = document::DescriptionLeft(3);
  static constexpr int32_t kDescriptionWidth = kPrintWidth - kDescriptionLeft;

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
      document::InfoCaption(2,     "Label5",              "Customer ID:"),
      document::InfoText(2,        "txtCustomerID",       "CustomerID"),
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
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptPackList)
