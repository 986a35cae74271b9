// The profile design shared by the customer and vendor profiles: one record's master data on a page, with
// its other locations in a subreport on request. The twins, and their location subreports, differ only in
// their Design tables.
#pragma once

#include <span>
#include <string_view>

#include "framework/contact_fields.h"
#include "framework/listing_report.h"

namespace vob::reports {

// The other locations of one record, one row each, ordered by location; shown inside a profile.
class ProfileLocations : public ReportBase {
 public:
  struct Design {
    std::string_view sql;    // "SELECT * From CustomersAlt"
    std::string_view where;  // " WHERE ( CustomerID = '"
  };

  void ActiveReport_DataInitialize() override;
  void ActiveReport_FetchData(bool& eof) override;

 protected:
  explicit ProfileLocations(const Design& design);

 private:
  const Design& design_;
  ContactFields contact_fields_;
};

class Profile : public ListingReport {
 public:
  // What one twin names differently; every other row, handler and step is common.
  struct Design {
    std::string_view sql;                // "SELECT * From Customers"
    std::string_view where;              // " WHERE ( CustomerID = '"
    std::string_view id_caption;         // Label2: "Customer ID:"
    std::string_view id_field;           // txtCustomerID: "CustomerID"
    std::string_view sales_caption;      // Label11: "Sales Person:"
    std::string_view sales_field;        // txtSalesPerson: "SalesPerson"
    std::string_view last_amount_field;  // txtLastSalesAmount: "LastSalesAmount"
    std::string_view last_date_field;    // txtLastSaleDate: "LastSaleDate"
    std::string_view group_break;        // GroupHeader1's break field; empty for one group
    ReportHandle (*make_locations)();    // a new location subreport of the twin
    std::span<const ParamRow> params;    // the identifier's label and examples name the twin's records
  };

  void ActiveReport_DataInitialize() override;
  void ActiveReport_ReportStart() override;
  void ActiveReport_FetchData(bool& eof) override;
  void ActiveReport_ReportEnd() override;

 protected:
  explicit Profile(const Design& design);

 private:
  const Design& design_;
  ContactFields contact_fields_;
};

}  // namespace vob::reports
