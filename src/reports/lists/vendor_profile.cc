// Vendor profile: one vendor's master record, with its other locations on request (the shared design is
// in profile.h). Only these tables of names set it apart from the customer profile.
#include "framework/report_factory.h"
#include "reports/lists/profile.h"

namespace vob::reports {

class rptSubVendor final : public ProfileLocations {
 public:
  rptSubVendor() : ProfileLocations(kDesign) {}

 private:
  static constexpr Design kDesign{
      .sql = "SELECT * From VendorsAlt",
      .where = " WHERE ( VendorID = '",
  };
};

class rptVendor final : public Profile {
 public:
  rptVendor() : Profile(kDesign) {}

 private:
  // clang-format off
  //  index  kind                label                                             example       second example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId,     "Vendor ID",                                      "OAKMON0019", "BLUE0024"},
      {2,      ParamKind::kNumber, "Other locations: a number above 0 prints them",  "1",          "0"},
  };
  // clang-format on

  static constexpr Design kDesign{
      .sql = "SELECT * From Vendors",
      .where = " WHERE ( VendorID = '",
      .id_caption = "Vendor ID:",
      .id_field = "VendorID",
      .sales_caption = "Territory",
      .sales_field = "Territory",
      .last_amount_field = "LastPurchaseAmount",
      .last_date_field = "LastPurchaseDate",
      .group_break = {},  // one group: the vendor the host named
      .make_locations = [] { return engine::MakeReport<rptSubVendor>(); },
      .params = kParams,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptVendor)
