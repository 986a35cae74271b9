// Customer profile: one customer's master record, with its other locations on request (the shared design is
// in profile.h). Only these tables of names set it apart from the vendor profile.
#include "framework/report_factory.h"
#include "reports/lists/profile.h"

namespace vob::reports {

class rptSubCustomer final : public ProfileLocations {
 public:
  rptSubCustomer() : ProfileLocations(kDesign) {}

 private:
  static constexpr Design kDesign{
      .sql = "SELECT * From CustomersAlt",
      .where = " WHERE ( CustomerID = '",
  };
};

class rptCustomer final : public Profile {
 public:
  rptCustomer() : Profile(kDesign) {}

 private:
  // clang-format off
  //  index  kind                label                                             example       second example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId,     "Customer ID",                                    "ASHLEY0012", "ACME0021"},
      {2,      ParamKind::kNumber, "Other locations: a number above 0 prints them",  "1",          "0"},
  };
  // clang-format on

  static constexpr Design kDesign{
      .sql = "SELECT * From Customers",
      .where = " WHERE ( CustomerID = '",
      .id_caption = "Customer ID:",
      .id_field = "CustomerID",
      .sales_caption = "Sales Person:",
      .sales_field = "SalesPerson",
      .last_amount_field = "LastSalesAmount",
      .last_date_field = "LastSaleDate",
      .group_break = "CustomerID",
      .make_locations = [] { return engine::MakeReport<rptSubCustomer>(); },
      .params = kParams,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptCustomer)
