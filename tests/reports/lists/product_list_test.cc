#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;
using testing::TextsOf;

HostSettings ProductListOf(std::string sort, std::string cost_method) {
  HostSettings host;
  host.params[1] = std::move(sort);
  host.params[2] = std::move(cost_method);
  host.price_format = "0.000";
  return host;
}

constexpr std::string_view kProducts = R"sql(
  INSERT INTO Products (Code, Description, DepartmentNo, Taxable, SalesMeasure, SalesPrice, AverageCost,
                        StandardCost, LastPurchasePrice, OnHandFractions) VALUES
    ('B-2', 'Anvil',  'HW', 1,    'EA', 12.5, 1.25, 2.5, 3.75, 4.5),
    ('A-1', 'Chisel', NULL, NULL, 'EA', 3,    1000, 2000, 3000, 0),
    ('C-3', 'Bolt',   'HW', 0,    'BX', 0.1,  NULL, NULL, NULL, -1.25);
)sql";

// The method is compared exactly: anything but "Average" and "Standard" (whose costs the demo runs' page
// dumps show) takes the last purchase price.
TEST(ProductList, CostsEachLineByTheChosenMethod) {
  ReportDatabase database;
  database.Exec(kProducts);
  struct Case {
    std::string method;
    std::vector<std::string> costs;
  };
  const Case kCases[] = {
      {"average", {"3,000.00", "3.75"}},
      {"", {"3,000.00", "3.75"}},
  };
  for (const Case& c : kCases)  // the Null cost of C-3 prints nothing
    EXPECT_EQ(TextsOf(database.Run("prodlist", ProductListOf("Code", c.method)), "txtCost"), c.costs)
        << c.method;
}

// The sort value is compared exactly; a value in another case has no query, while the banner, which only
// tests for "Code", says "Product Name".
TEST(ProductList, SortsByCodeOrDescriptionAndNamesTheOrder) {
  ReportDatabase database;
  database.Exec(kProducts);
  struct Case {
    std::string sort, caption;
    std::vector<std::string> codes;
  };
  const Case kCases[] = {
      {"Code", "Product Code", {"A-1", "B-2", "C-3"}},
      {"Name", "Product Name", {"B-2", "C-3", "A-1"}},
      {"code", "Product Name", {}},
  };
  for (const Case& c : kCases) {
    const engine::PageModel model = database.Run("prodlist", ProductListOf(c.sort, "Average"));
    EXPECT_EQ(TextsOf(model, "txtCode"), c.codes) << c.sort;
    EXPECT_EQ(TextsOf(model, "txtSortBy"), (std::vector<std::string>{c.caption})) << c.sort;
  }
}

}  // namespace
}  // namespace vob
