// The design shared by the service list and the price list: code, description, taxable flag, measure and sale
// price of every item, alternate lines shaded. The twins differ only in their Design table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/listing_report.h"

namespace vob::reports {

class SalePriceList : public ListingReport {
 public:
  // What one twin names differently; every other row, handler and step is common.
  struct Design {
    std::string_view sql;                       // "Select * from Services order by Code;"
    std::string ReportSettings::*price_format;  // the setting txtSalesPrice prints in
  };

  void ActiveReport_DataInitialize() override;
  void ActiveReport_ReportStart() override;
  void Detail_Format() override;

 protected:
  explicit SalePriceList(const Design& design);

 private:
  const Design& design_;
  // Detail sections formatted by this object, never reset: a second run continues the alternation.
  int16_t mRowCount = 0;
};

}  // namespace vob::reports
