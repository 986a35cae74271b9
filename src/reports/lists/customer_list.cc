// Customer list: every customer with address, phones, sales person and balance (the shared design is in
// contact_list.h). Only this table of names sets it apart from the vendor list.
#include "framework/report_factory.h"
#include "reports/lists/contact_list.h"

namespace vob::reports {

class rptCustList final : public ContactList {
 public:
  rptCustList() : ContactList(kDesign) {}

 private:
  static constexpr Design kDesign{
      .sql_by_id = "Select * from Customers order by CustomerID",
      .sql_by_name = "Select * from Customers order by Name",
      .sql_by_group = "Select * from Customers order by billgroup, name",
      .caption_by_id = "Customer ID",
      .caption_by_name = "Customer Name",
      .caption_by_group = "Customer Group",
      .id_control = "txtCustomerID",
      .id_field = "CustomerID",
      .has_sales_person = true,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptCustList)
