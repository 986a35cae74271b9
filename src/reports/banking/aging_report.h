// The aging design shared by receivable and payable aging: each document ages on its own due date into one of
// four columns, grouped by customer or vendor. The twins differ only in their Design table, nothing else.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/listing_report.h"

namespace vob::reports {

class AgingReport : public ListingReport {
 public:
  // What one twin names differently; every other row, handler and step is common.
  struct Design {
    std::string_view filter_text;         // " Where ARInvoiceHeader.CustomerID = '"
    std::string_view select_text;         // "SELECT ARInvoiceHeader.*, Customers.* "
    std::string_view from_text;           // " FROM ARInvoiceHeader INNER JOIN Customers ON ... "
    std::string_view order_text;          // " order by ARInvoiceheader.Customerid, ...;"
    std::string_view break_field;         // GroupHeader1's break, also Field1's bound field
    std::string_view group_caption;       // Label2: "Customer:"
    std::string_view name_field;          // Field2 and the total line's name: "customers.Name"
    std::string_view total_name_control;  // the total line's name control: "Field16"
    std::span<const ParamRow> params;     // the customer's or vendor's id, as parameter 1 and drill-down
  };

  void ActiveReport_DataInitialize() override;
  void ActiveReport_ReportStart() override;
  void ActiveReport_FetchData(bool& eof) override;
  void GroupHeader1_Format() override;
  void Detail_Format() override;
  void GroupFooter1_Format() override;

 protected:
  explicit AgingReport(const Design& design);

 private:
  const Design& design_;
  // Detail sections formatted by this object, never reset: a second run continues the alternation.
  int16_t mRowCount = 0;
};

}  // namespace vob::reports
