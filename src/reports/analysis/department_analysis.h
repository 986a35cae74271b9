// The design shared by sales and purchases by department: the document lines of a date range by department,
// item type and item, each line's amount signed by its document's type, quantities summed as stored. The
// twins differ only in their Design table.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "framework/listing_report.h"

namespace vob::reports {

class DepartmentAnalysis : public ListingReport {
 public:
  // What one twin names differently; every other row, handler and step is common.
  struct Design {
    std::string_view select_text;       // "SELECT ARInvoiceHeader.Invoicedate, ... ARInvoiceDetail.* "
    std::string_view from_text;         // "FROM ARInvoiceHeader INNER JOIN ARInvoiceDetail ON ... "
    std::string_view where_text;        // "WHERE (((ARInvoiceHeader.InvoiceDate) Between #"
    std::string_view filter_text;       // "#) AND ((ARInvoiceHeader.InvoiceType) In ('INV','RET')) AND ... "
    std::string_view order_text;        // "Order by ARInvoiceDetail.DepartmentNo, ...;"
    std::string_view positive_type;     // counted +1: "INV"
    std::string_view negative_type;     // counted -1: "RET"
    std::string_view quantity_field;    // "Shipped"
    std::string_view quantity_control;  // the detail's quantity: "txtShipped"
    // Quantity sums per item, item type, department and report: "Field13", "Field15", "Field14", "Field16".
    std::string_view item_quantity, type_quantity, department_quantity, grand_quantity;
    std::string_view amount_caption;  // Label8: "Total"
    // Purchases store the quantity ahead of the unit price; only the stored order changes.
    bool quantity_stored_first;
    std::span<const ParamRow> params;
  };

  void ActiveReport_DataInitialize() override;
  void ActiveReport_ReportStart() override;
  void ActiveReport_FetchData(bool& eof) override;
  void ActiveReport_PageStart() override;
  void Detail_BeforePrint() override;
  void GroupHeader1_Format() override;
  void GroupHeader2_Format() override;
  void GroupHeader3_Format() override;

 protected:
  explicit DepartmentAnalysis(const Design& design);

 private:
  const Design& design_;
  // The item whose code printed last; its further lines leave department and code out.
  std::string mPrintedItemCode;
};

}  // namespace vob::reports
