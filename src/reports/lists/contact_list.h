// The list design shared by the customer and vendor lists: one row per record with address, phones and
// balance, in the order the sort key asks for. The twins differ only in their Design table.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/contact_fields.h"
#include "framework/listing_report.h"

namespace vob::reports {

class ContactList : public ListingReport {
 public:
  // What one twin names differently; every other row, handler and step is common.
  struct Design {
    std::string_view sql_by_id;         // "Select * from Customers order by CustomerID"
    std::string_view sql_by_name;       // "Select * from Customers order by Name"
    std::string_view sql_by_group;      // "Select * from Customers order by billgroup, name"
    std::string_view caption_by_id;     // txtSortby, and Label3 over the first column: "Customer ID"
    std::string_view caption_by_name;   // "Customer Name"
    std::string_view caption_by_group;  // "Customer Group"
    std::string_view id_control;        // the first column: "txtCustomerID"
    std::string_view id_field;          // "CustomerID"
    bool has_sales_person;              // Label7 and txtSalesPerson: customers only
  };

  void ActiveReport_DataInitialize() override;
  void ActiveReport_ReportStart() override;
  void ActiveReport_FetchData(bool& eof) override;

 protected:
  explicit ContactList(const Design& design);

 private:
  const Design& design_;
  ContactFields contact_fields_;
};

}  // namespace vob::reports
