// Vendor list: every vendor with address, phones and balance (the shared design is in contact_list.h). Only
// this table of names sets it apart from the customer list; vendors have no sales person column.
#include "framework/report_factory.h"
#include "reports/lists/contact_list.h"

namespace vob::reports {

class rptVendList final : public ContactList {
 public:
  rptVendList() : ContactList(kDesign) {}

 private:
  static constexpr Design kDesign{
      .sql_by_id = "Select * from Vendors order by VendorID",
      .sql_by_name = "Select * from Vendors order by Name",
      .sql_by_group = "Select * from Vendors order by billgroup, name",
      .caption_by_id = "Vendor ID",
      .caption_by_name = "Vendor Name",
      .caption_by_group = "Vendor Group",
      .id_control = "txtVendorID",
      .id_field = "VendorID",
      .has_sales_person = false,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptVendList)
