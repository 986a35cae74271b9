// Purchases by department: the receipt and return lines of a date range by department, item type and item
// (the shared design is in department_analysis.h). Only this table of names sets it apart from sales.
#include "framework/report_factory.h"
#include "reports/analysis/department_analysis.h"

namespace vob::reports {

class rptPurchase2 final : public DepartmentAnalysis {
 public:
  rptPurchase2() : DepartmentAnalysis(kDesign) {}

 private:
  // clang-format off
  //  index  kind                label             example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate,   "Beginning date", "04/01/2024"},
      {2,      ParamKind::kDate,   "Ending date",    "06/30/2024"},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT APInvoiceHeader.Invoicedate, APinvoiceheader.Invoicetype, APInvoiceDetail.* ",
      .from_text =
          "FROM APInvoiceHeader INNER JOIN APInvoiceDetail ON APInvoiceHeader.InvoiceNo = "
          "APInvoiceDetail.InvoiceNo ",
      .where_text = "WHERE (((APInvoiceHeader.InvoiceDate) Between #",
      .filter_text =
          "#) AND ((APInvoiceHeader.InvoiceType) In ('MERRC','RET')) AND "
          "((APInvoiceDetail.DepartmentNo)<> '' )) ",
      .order_text =
          "Order by APInvoiceDetail.DepartmentNo, ApinvoiceDetail.ItemType, ApinvoiceDetail.itemCode;",
      .positive_type = "MERRC",
      .negative_type = "RET",
      .quantity_field = "Received",
      .quantity_control = "txtReceived",
      .item_quantity = "Field3",
      .type_quantity = "Field5",
      .department_quantity = "Field7",
      .grand_quantity = "Field9",
      .amount_caption = "Total Price",
      .quantity_stored_first = true,
      .params = kParams,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptPurchase2)
