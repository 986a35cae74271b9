// Sales return: one returned invoice with the customer's block only, each line's quantity negated as
// returned, and the totals at the foot of every page. Every line shows its discount (document_report.h).
#include "framework/document_layout.h"
#include "framework/document_report.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptSalesRet final : public DocumentReport {
 public:
  rptSalesRet() : DocumentReport(kDesign, {kLayout, document::kPriceColumns, document::kPaymentTotals}) {}

 private:
  // clang-format off
  //  index  kind            label                                              example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId, "Return (ARInvoiceHeader.InvoiceNo of a RET)",     "10067"},
  };
  static constexpr OutputFormat kFormats[] = {
      {"txtNetAmount",   FormatSetting::kCurrency},
      {"txtInvoiceDate", FormatSetting::kDate},
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
      .sets_blocks_per_page = true,
      .returned_field = "fldRetQty",
      .returned_column = "ordered",
      .has_notes = true,
      .total_rows = document::kPaymentTotalRows,
      .params = kParams,
  };

  static constexpr int32_t kReturnedWidth = 1400;
  static constexpr int32_t kDescriptionLeft = kReturnedWidth + 150;
  static constexpr int32_t kDescriptionWidth = document::kDescriptionRight - kDescriptionLeft;

  // clang-format off
  static constexpr ControlRow kLayout[] = {
      document::BlockCaption(0,  "Label6",              "Sold To:"),
      document::BlockText(0,     "txtSoldTo"),
      document::InfoCaption(0,   "Label2",              "Invoice No:"),
      document::InfoText(0,      "txtInvoiceNumber",    "InvoiceNumber"),
      document::InfoCaption(1,   "Label3",              "Date:"),
      document::InfoText(1,      "txtInvoiceDate",      "InvoiceDate",     kShortDate),
      document::InfoCaption(2,   "Label5",              "Customer ID:"),
      document::InfoText(2,      "txtCustomerID",       "CustomerID"),
      document::Rule(kBannerHeader, "Line2",            document::kTermsRuleTop),
      document::TermsCaption(0,  "Label8",              "Your PO Number"),
      document::TermsText(0,     "txtCustomerPONumber", "CustomerPONumber"),
      document::TermsCaption(1,  "Label9",              "FOB"),
      document::TermsText(1,     "txtFOB",              "FOB"),
      document::TermsCaption(2,  "Label10",             "Via"),
      document::TermsText(2,     "txtVia",              "Via"),
      document::TermsCaption(4,  "Label12",             "Our Ref"),
      document::TermsText(4,     "txtOurRef",           "OurRef"),
      document::Rule(kBannerHeader, "Line3",            document::kTermsBottomRuleTop),
      document::ColumnCaption(   "Label13",             0,                 kReturnedWidth,    "Return Quantity", Align::kRight),
      document::ColumnCaption(   "Label16",             kDescriptionLeft,  kDescriptionWidth, "Description",     Align::kLeft),
      document::Rule(kBannerHeader, "Line4",            document::kColumnRuleTop),
      {kBannerHeader, "lblBlank", kLabel, 0, document::kColumnRuleTop + 20, 100, 100},

      document::LineText(        "Field3",              0,                 kReturnedWidth,    "flDRetQty",       "0.00", Align::kRight),
      document::LineText(        "Field2",              kDescriptionLeft,  kDescriptionWidth, "Description",     {},     Align::kLeft),

      document::TotalCaption(0,  "Label19",             "Sale Amount:"),
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptSalesRet)
