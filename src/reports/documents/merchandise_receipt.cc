// Merchandise receipt: one vendor invoice with the received-from and shipped-from blocks, terms, its lines
// with received and back-ordered quantities, and the totals at the foot of every page (document_report.h).
#include "framework/document_layout.h"
#include "framework/document_report.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptMerch final : public DocumentReport {
 public:
  rptMerch() : DocumentReport(kDesign, {kLayout, document::kPriceColumns, document::kPaymentTotals}) {}

 private:
  // clang-format off
  //  index  kind            label                                   example  second example: terms Null
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId, "Receipt (APInvoiceHeader.InvoiceNo)",  "50836", "50192"},
  };
  static constexpr OutputFormat kFormats[] = {
      {"txtInvoiceDate", FormatSetting::kDate},
      {"txtDueDate",     FormatSetting::kDate},
      {"txtNetAmount",   FormatSetting::kCurrency},
      {"txtSalesPrice",  FormatSetting::kPrice},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT APInvoiceHeader.*, APInvoiceDetail.*  ",
      .from_text =
          "FROM (APInvoiceHeader INNER JOIN APInvoiceDetail ON APInvoiceHeader.InvoiceNo = "
          "APInvoiceDetail.InvoiceNo)  ",
      .where_text = "WHERE (((APInvoiceHeader.InvoiceNo)= ",
      .break_field = "APInvoiceHeader.InvoiceNo",
      .formats = kFormats,
      .sold_to_control = "txtRecdFrom",
      .ship_to_control = "txtShippedFrom",
      .looks_up_terms = true,
      .hides_zero_discount = true,
      .has_notes = true,
      .total_rows = document::kPaymentTotalRows,
      .params = kParams,
  };

  static constexpr int32_t kDescriptionLeft = document::DescriptionLeft(3);
  static constexpr int32_t kDescriptionWidth = document::kDescriptionRight - kDescriptionLeft;

  // clang-format off
  static constexpr ControlRow kLayout[] = {
      document::BlockCaption(0,    "Label6",           "Received From:"),
      document::BlockText(0,       "txtRecdFrom"),
      document::BlockCaption(1,    "Label7",           "Shipped From:"),
      document::BlockText(1,       "txtShippedFrom"),
      document::InfoCaption(0,     "Label2",           "Invoice No:"),
      document::InfoText(0,        "txtInvoiceNumber", "InvoiceNumber"),
      document::InfoCaption(1,     "Label3",           "Date:"),
      document::InfoText(1,        "txtInvoiceDate",   "InvoiceDate",      kShortDate),
      document::InfoCaption(2,     "Label4",           "Due Date:"),
      document::InfoText(2,        "txtDueDate",       "DueDate",          kShortDate),
      document::InfoCaption(3,     "Label5",           "Vendor ID:"),
      document::InfoText(3,        "txtVendorID",      "VendorID"),
      document::Rule(kBannerHeader, "Line2",           document::kTermsRuleTop),
      document::TermsCaption(0,    "Label8",           "Your PO Number"),
      document::TermsText(0,       "txtVendInvNo",     "VendInvNo"),
      document::TermsCaption(1,    "Label9",           "FOB"),
      document::TermsText(1,       "txtFOB",           "FOB"),
      document::TermsCaption(2,    "Label10",          "Via"),
      document::TermsText(2,       "txtVia",           "Via"),
      document::TermsCaption(3,    "Label11",          "Terms"),
      document::TermsText(3,       "Field1",           "TermsDescription"),
      document::TermsCaption(4,    "Label12",          "Our Ref"),
      document::TermsText(4,       "txtOurRef",        "OurRef"),
      document::Rule(kBannerHeader, "Line3",           document::kTermsBottomRuleTop),
      document::QuantityCaption(0, "Label13",          "Order"),
      document::QuantityCaption(1, "Label14",          "Recd"),
      document::QuantityCaption(2, "Label15",          "B / O"),
      document::ColumnCaption(     "Label16",          kDescriptionLeft,   kDescriptionWidth, "Description", Align::kLeft),
      document::Rule(kBannerHeader, "Line4",           document::kColumnRuleTop),
      {kBannerHeader, "lblBlank", kLabel, 0, document::kColumnRuleTop + 20, 100, 100},

      document::QuantityText(0,    "txtOrdered",       "Ordered",          "0.0"),
      document::QuantityText(1,    "txtReceived",      "Received",         "0.0"),
      document::QuantityText(2,    "txtBackordered",   "Backordered",      "0.0"),
      document::LineText(          "Field2",           kDescriptionLeft,   kDescriptionWidth, "Description", {}, Align::kLeft),

      document::TotalCaption(0,    "Label19",          "Purchase Amount:"),
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptMerch)
