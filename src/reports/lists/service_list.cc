// Service list: every service with its sale price (the shared design is in sale_price_list.h). Only this
// table sets it apart from the price list: services, priced in the currency format.
#include "framework/report_factory.h"
#include "reports/lists/sale_price_list.h"

namespace vob::reports {

class rptServList final : public SalePriceList {
 public:
  rptServList() : SalePriceList(kDesign) {}

 private:
  static constexpr Design kDesign{
      .sql = "Select * from Services order by Code;",
      .price_format = &ReportSettings::CurrencyFormat,
  };
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptServList)
