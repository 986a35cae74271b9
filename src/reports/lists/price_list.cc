// Price list: every product with its sale price (the shared design is in sale_price_list.h). Only this table
// sets it apart from the service list: products, priced in the price format.
#include "framework/report_factory.h"
#include "reports/lists/sale_price_list.h"

namespace vob::reports {

class rptPrList final : public SalePriceList {
 public:
  rptPrList() : SalePriceList(kDesign) {}

 private:
  static constexpr Design kDesign{
      .sql = "Select * from Products order by Code;",
      .price_format = &ReportSettings::PriceFormat,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptPrList)
