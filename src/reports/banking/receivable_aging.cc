// Receivable aging: the customers' documents aged by due date (the shared design is in aging_report.h).
// Only this table of names sets it apart from payable aging.
#include "framework/report_factory.h"
#include "reports/banking/aging_report.h"

namespace vob::reports {

class rptARAging final : public AgingReport {
 public:
  rptARAging() : AgingReport(kDesign) {}

 private:
  // clang-format off
  //  index        kind             label                                    example
  static constexpr ParamRow kParams[] = {
      {1,          ParamKind::kId,  "Customer ID, or blank for all",         "", {}, {}, true},
      {kDrillDown, ParamKind::kId,  "Customer ID (replaces parameter 1)",    "ACME0021"},
  };
  // clang-format on
  static constexpr Design kDesign{
      .filter_text = " Where ARInvoiceHeader.CustomerID = '",
      .select_text = "SELECT ARInvoiceHeader.*, Customers.* ",
      .from_text =
          " FROM ARInvoiceHeader INNER JOIN Customers ON ARInvoiceHeader.CustomerID = Customers.CustomerId ",
      .order_text =
          " order by ARInvoiceheader.Customerid, originalinvoiceno, originalinvoicetype, invoicedate;",
      .break_field = "ARInvoiceHeader.CustomerID",
      .group_caption = "Customer:",
      .name_field = "customers.Name",
      .total_name_control = "Field16",
      .params = kParams,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptARAging)
