#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;

// The twins read different tables and print their prices in different settings: the service list in the
// currency format, the price list in the price format.
TEST(SalePriceList, ListsItsOwnTableInItsOwnPriceFormat) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO Services (Code, Description, Taxable, SalesMeasure, SalesPrice) VALUES
      ('S-2', 'Install', 1, 'HR', 1234.5), ('S-1', 'Survey', 0, 'EA', 40);
    INSERT INTO Products (Code, Description, Taxable, SalesMeasure, SalesPrice) VALUES
      ('P-1', 'Anvil', 1, 'EA', 12.5);
  )sql");
  HostSettings host;
  host.currency_format = "$#,##0.00";
  host.price_format = "0.000";
  struct Case {
    std::string_view key;
    std::vector<std::vector<std::string>> lines;
  };
  const Case kCases[] = {
      {"servicelist",
       {{"S-1", "Survey", "No", "EA", "$40.00"}, {"S-2", "Install", "Yes", "HR", "$1,234.50"}}},
      {"pricelist", {{"P-1", "Anvil", "Yes", "EA", "12.500"}}},
  };
  const std::vector<std::string_view> columns = {"txtCode", "txtDescription", "txtTaxable", "txtSalesMeasure",
                                                 "txtSalesPrice"};
  for (const Case& c : kCases) {
    const engine::PageModel model = database.Run(c.key, host);
    const auto lines = LinesOf(model, "Detail");
    ASSERT_EQ(lines.size(), c.lines.size()) << c.key;
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(TextsIn(lines[i], columns), c.lines[i]) << c.key;
    EXPECT_EQ(testing::ShadedRows(model, "txtCode").front(), true) << c.key;
  }
}

}  // namespace
}  // namespace vob
