// Sales by customer: the sales documents of a date range by billing group and customer (the shared design is
// in partner_analysis.h). Only this table of names sets it apart from purchases by vendor.
#include "framework/report_factory.h"
#include "reports/analysis/partner_analysis.h"

namespace vob::reports {

class rptSales1 final : public PartnerAnalysis {
 public:
  rptSales1() : PartnerAnalysis(kDesign) {}

 private:
  // clang-format off
  //  index  kind                label             example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate,   "Beginning date", "06/01/2024"},
      {2,      ParamKind::kDate,   "Ending date",    "06/30/2024"},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT ARInvoiceHeader.*, Customers.* ",
      .from_text =
          "FROM ARInvoiceHeader INNER JOIN Customers ON ARInvoiceHeader.CustomerID = Customers.CustomerId ",
      .where_text =
          "WHERE (((ARInvoiceHeader.InvoiceType) In ('INV','RET', 'SLS', 'SLC')) AND "
          "((ARInvoiceHeader.InvoiceDate) Between #",
      .order_text = "Order by Customers.billgroup, ARInvoiceheader.CustomerID; ",
      .positive_types = {"INV", "SLS"},
      .negative_types = {"RET", "SLC"},
      .title = "By Customer Groups",
      .group_caption = "Customer Group:",
      .partner_break = "ARInvoiceHeader.CustomerID",
      .name_field = "customers.Name",
      .detail_name_control = "Field21",
      .footer_name_control = "Field20",
      .names_stored_first = false,
      .forgets_name_each_page = true,
      .params = kParams,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptSales1)
