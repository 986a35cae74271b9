// Purchase return: one returned vendor invoice with the received-from block only, each line's received
// quantity negated as returned, and the totals at the foot of every page. Every line shows its discount
// (document_report.h).
#include "framework/document_layout.h"
#include "framework/document_report.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptPurRet final : public DocumentReport {
 public:
  rptPurRet() : DocumentReport(kDesign, {kLayout, document::kPriceColumns, document::kPaymentTotals}) {}

 private:
  // clang-format off
  //  index  kind            label                                               example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId, "Return (APInvoiceHeader.InvoiceNo of a PRET)",     "50302"},
  };
  static constexpr OutputFormat kFormats[] = {
      {"txtInvoiceDate", FormatSetting::kDate},
      {"txtNetAmount",   FormatSetting::kCurrency},
      {"txtSalesPrice",  FormatSetting::kPrice},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT APInvoiceHeader.*, APInvoiceDetail.* ",
      .from_text =
          "FROM (APInvoiceHeader INNER JOIN APInvoiceDetail ON APInvoiceHeader.InvoiceNo = "
          "APInvoiceDetail.InvoiceNo) ",
      .where_text = "WHERE (((APInvoiceHeader.InvoiceNo)= ",
      .break_field = "APInvoiceHeader.InvoiceNo",
      .formats = kFormats,
      .sold_to_control = "txtRecdFrom",
      .returned_field = "fldReturn",
      .returned_column = "received",
      .has_notes = true,
      .total_rows = document::kPaymentTotalRows,
      .params = kParams,
  };

  static constexpr int32_t kReturnedWidth = 1400;
  static constexpr int32_t kDescriptionLeft = kReturnedWidth + 150;
  static constexpr int32_t kDescriptionWidth = document::kDescriptionRight - kDescriptionLeft;

  // clang-format off
  static constexpr ControlRow kLayout[] = {
      document::BlockCaption(0,  "Label6",           "Received From:"),
      document::BlockText(0,     "txtRecdFrom"),
      document::InfoCaption(0,   "Label2",           "Return No:"),
      document::InfoText(0,      "txtInvoiceNumber", "InvoiceNumber"),
      document::InfoCaption(1,   "Label3",           "Date:"),
      document::InfoText(1,      "txtInvoiceDate",   "InvoiceDate",     kShortDate),
      document::InfoCaption(2,   "Label5",           "Vendor ID:"),
      document::InfoText(2,      "txtVendorID",      "VendorID"),
      document::Rule(kBannerHeader, "Line2",         document::kTermsRuleTop),
      document::TermsCaption(0,  "Label8",           "Your PO Number"),
      document::TermsText(0,     "txtVendInvNo",     "VendInvNo"),
      document::TermsCaption(1,  "Label9",           "FOB"),
      document::TermsText(1,     "txtFOB",           "FOB"),
      document::TermsCaption(2,  "Label10",          "Via"),
      document::TermsText(2,     "txtVia",           "Via"),
      document::TermsCaption(4,  "Label12",          "Our Ref"),
      document::TermsText(4,     "txtOurRef",        "OurRef"),
      document::Rule(kBannerHeader, "Line3",         document::kTermsBottomRuleTop),
      document::ColumnCaption(   "Label13",          0,                 kReturnedWidth,    "Return Quantity", Align::kRight),
      document::ColumnCaption(   "Label16",          kDescriptionLeft,  kDescriptionWidth, "Description",     Align::kLeft),
      document::Rule(kBannerHeader, "Line4",         document::kColumnRuleTop),
      {kBannerHeader, "lblBlank", kLabel, 0, document::kColumnRuleTop + 20, 100, 100},

      document::LineText(        "Field2",           kDescriptionLeft,  kDescriptionWidth, "Description",     {},     Align::kLeft),
      document::LineText(        "Field3",           0,                 kReturnedWidth,    "fldReturn",       "0.00", Align::kRight),

      document::TotalCaption(0,  "Label19",          "Purchase Amount:"),
  };
  // clang-format on
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptPurRet)
