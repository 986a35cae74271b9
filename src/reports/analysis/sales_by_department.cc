// Sales by department: the invoice and return lines of a date range by department, item type and item (the
// shared design is in department_analysis.h). Only this table of names sets it apart from purchases.
#include "framework/report_factory.h"
#include "reports/analysis/department_analysis.h"

namespace vob::reports {

class rptSales2 final : public DepartmentAnalysis {
 public:
  rptSales2() : DepartmentAnalysis(kDesign) {}

 private:
  // clang-format off
  //  index  kind                label             example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate,   "Beginning date", "06/01/2024"},
      {2,      ParamKind::kDate,   "Ending date",    "06/30/2024"},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT ARInvoiceHeader.Invoicedate, ARInvoiceheader.Invoicetype, ARInvoiceDetail.* ",
      .from_text =
          "FROM ARInvoiceHeader INNER JOIN ARInvoiceDetail ON ARInvoiceHeader.InvoiceNo = "
          "ARInvoiceDetail.InvoiceNo ",
      .where_text = "WHERE (((ARInvoiceHeader.InvoiceDate) Between #",
      .filter_text =
          "#) AND ((ARInvoiceHeader.InvoiceType) In ('INV','RET')) AND "
          "((ARInvoiceDetail.DepartmentNo)<> '' )) ",
      .order_text =
          "Order by ARInvoiceDetail.DepartmentNo, ARInvoiceDetail.ItemType, ARInvoiceDetail.itemCode;",
      .positive_type = "INV",
      .negative_type = "RET",
      .quantity_field = "Shipped",
      .quantity_control = "txtShipped",
      .item_quantity = "Field13",
      .type_quantity = "Field15",
      .department_quantity = "Field14",
      .grand_quantity = "Field16",
      .amount_caption = "Total",
      .quantity_stored_first = false,
      .params = kParams,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptSales2)
