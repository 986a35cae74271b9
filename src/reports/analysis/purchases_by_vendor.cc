// Purchases by vendor: the purchase documents of a date range by billing group and vendor (the shared design
// is in partner_analysis.h). Only this table of names sets it apart from sales by customer.
#include "framework/report_factory.h"
#include "reports/analysis/partner_analysis.h"

namespace vob::reports {

class rptPurchase1 final : public PartnerAnalysis {
 public:
  rptPurchase1() : PartnerAnalysis(kDesign) {}

 private:
  // clang-format off
  //  index  kind                label             example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate,   "Beginning date", "04/01/2024"},
      {2,      ParamKind::kDate,   "Ending date",    "06/30/2024"},
  };
  // clang-format on
  static constexpr Design kDesign{
      .select_text = "SELECT APInvoiceHeader.*, Vendors.* ",
      .from_text = "FROM APInvoiceHeader INNER JOIN Vendors ON APInvoiceHeader.VendorID = Vendors.VendorId ",
      .where_text =
          "WHERE (((APInvoiceHeader.InvoiceType) In ('MERRC','RET', 'PUR', 'PURCR')) AND "
          "((APInvoiceHeader.InvoiceDate) Between #",
      .order_text = "Order by Vendors.billgroup, APInvoiceheader.VendorID; ",
      .positive_types = {"MERRC", "PUR"},
      .negative_types = {"RET", "PURCR"},
      .title = "By Vendor Groups",
      .group_caption = "Vendor Group:",
      .partner_break = "APInvoiceHeader.VendorId",
      .name_field = "Vendors.Name",
      .detail_name_control = "Field1",
      .footer_name_control = "Field2",
      .names_stored_first = true,
      .forgets_name_each_page = false,
      .params = kParams,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptPurchase1)
