// The query, date format and shading both back-order reports share.
#include "reports/analysis/back_order_report.h"

#include <string>

#include "framework/standard_layout.h"

namespace vob::reports {

BackOrderReport::BackOrderReport(std::string_view where_text, std::span<const SectionRow> sections,
                                 std::span<const ControlRow> controls)
    : where_text_(where_text) {
  const SectionRow banner[] = {{kBannerHeader, kCompanyHeaderHeight + 120}};
  const ControlRow blank[] = {{kBannerHeader, "lblBlank", kLabel, 0, kCompanyHeaderHeight + 20, 100, 60}};
  Declare(banner, blank);
  Declare(sections, controls);
}

void BackOrderReport::ActiveReport_DataInitialize() {
  std::string sql =
      "SELECT ARInvoiceHeader.InvoiceNumber, ARInvoiceHeader.InvoiceDate, ARInvoiceHeader.CustomerID, "
      "ARInvoiceHeader.Name, ARInvoiceDetail.ItemCode, ARInvoiceDetail.Description, "
      "ARInvoiceDetail.Backordered, ARInvoiceDetail.Shipped, ARInvoiceDetail.Ordered ";
  sql +=
      "FROM ARInvoiceDetail INNER JOIN ARInvoiceHeader ON ARInvoiceDetail.InvoiceNo = "
      "ARInvoiceHeader.InvoiceNo ";
  sql += where_text_;
  SetMainSql(std::move(sql));
}

void BackOrderReport::ActiveReport_ReportStart() {
  ListingReport::ActiveReport_ReportStart();
  Controls<TextBox>("txtInvoiceDate").set_output_format(Settings().DateFormat);
}

void BackOrderReport::Detail_Format() {
  ShadeAlternateRows(Sections("Detail"), mRowCount);
}

}  // namespace vob::reports
