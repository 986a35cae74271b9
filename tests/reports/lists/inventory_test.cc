#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

// Only normally tracked stock is valued; the method is compared exactly, anything else being the last
// purchase price. A product without the chosen cost prints no costs and adds nothing to the total.
TEST(Inventory, ValuesNormalStockByTheChosenCostMethod) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO Products (Code, Description, OnHandFractions, AverageCost, StandardCost, LastPurchasePrice,
                          InventoryTracking) VALUES
      ('A', 'Anvil', 2.5,  4,    5,    6,    'Normal'),
      ('B', 'Bolt',  100,  0.25, 0.5,  NULL, 'Normal'),
      ('C', 'Cable', 3,    7,    8,    9,    'None'),
      ('D', 'Drill', 1,    10,   20,   30,   'Serial');
  )sql");
  struct Case {
    std::string method;
    std::vector<std::string> unit_costs, inventory_costs, total;
  };
  const Case kCases[] = {
      {"Standard", {"$5.00", "$0.50"}, {"$12.50", "$50.00"}, {"$62.50"}},
      {"standard", {"$6.00"}, {"$15.00"}, {"$15.00"}},
  };
  for (const Case& c : kCases) {
    HostSettings host;
    host.params[1] = c.method;
    host.currency_format = "$#,##0.00";
    const engine::PageModel model = database.Run("inventory", host);
    EXPECT_EQ(TextsOf(model, "txtCode"), (std::vector<std::string>{"A", "B"})) << c.method;
    EXPECT_EQ(TextsOf(model, "txtUcost"), c.unit_costs) << c.method;
    EXPECT_EQ(TextsOf(model, "txtICost"), c.inventory_costs) << c.method;
    EXPECT_EQ(TextsOf(model, "Field1"), c.total) << c.method;
  }
}

}  // namespace
}  // namespace vob
