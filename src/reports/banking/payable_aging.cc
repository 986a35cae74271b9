// Payable aging: the vendors' documents aged by due date (the shared design is in aging_report.h).
// Only this table of names sets it apart from receivable aging.
#include "framework/report_factory.h"
#include "reports/banking/aging_report.h"

namespace vob::reports {

class rptAPAging final : public AgingReport {
 public:
  rptAPAging() : AgingReport(kDesign) {}

 private:
  // clang-format off
  //  index        kind             label                                    example
  static constexpr ParamRow kParams[] = {
      {1,          ParamKind::kId,  "Vendor ID, or blank for all",           "", {}, {}, true},
      {kDrillDown, ParamKind::kId,  "Vendor ID (replaces parameter 1)",      "GOLDEN0016"},
  };
  // clang-format on
  static constexpr Design kDesign{
      .filter_text = " Where APInvoiceHeader.VendorID = '",
      .select_text = "SELECT APInvoiceHeader.*, Vendors.* ",
      .from_text = " FROM APInvoiceHeader INNER JOIN Vendors ON APInvoiceHeader.VendorID = Vendors.VendorId ",
      .order_text =
          " order by Apinvoiceheader.vendorid, originalinvoiceno, originalinvoicetype, invoicedate;",
      .break_field = "APInvoiceHeader.VendorId",
      .group_caption = "Vendor:",
      .name_field = "Vendors.Name",
      .total_name_control = "Field5",
      .params = kParams,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptAPAging)
