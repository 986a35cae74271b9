#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;
using testing::TextsOf;

constexpr std::string_view kProducts = R"sql(
  INSERT INTO Products (Code, VendorID, MinimumQuantity, OnHandFractions, ReorderQuantity, LastPurchasePrice)
  VALUES
    ('A', 'V2', 10, 4,    5,    2.5),
    ('B', 'V1', 10, 8,    12,   1),
    ('C', 'V1', 10, 10,   5,    1),
    ('D', 'V3', 10, 10.5, 5,    1),
    ('E', 'V1', 3,  0.5,  NULL, 4),
    ('F', 'V2', 7,  6,    1,    NULL);
)sql";

// Stock below its minimum is listed, at or above it is not; the reorder is the larger of the shortfall and
// the reorder quantity, and a Null reorder quantity leaves it 0.
TEST(ProductAlert, ReordersTheLargerOfShortfallAndReorderQuantity) {
  ReportDatabase database;
  database.Exec(kProducts);
  HostSettings host;
  host.params[1] = "Code";
  host.currency_format = "$#,##0.00";
  const engine::PageModel model = database.Run("prodalert", host);
  const std::vector<std::string_view> columns = {"txtCode", "txtUcost", "txtReorderQuantity", "txtCost"};
  const std::vector<std::vector<std::string>> expected = {
      {"A", "6.00", "6.00", "$15.00"},
      {"B", "2.00", "12.00", "$12.00"},
      {"E", "2.50", "0.00", "$0.00"},
      {"F", "1.00", "1.00", ""},  // no last purchase price, no cost
  };
  const auto lines = LinesOf(model, "Detail");
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(TextsIn(lines[i], columns), expected[i]) << "row " << i;
}

TEST(ProductAlert, OrdersByCodeInAnyCaseElseByVendorThenCode) {
  ReportDatabase database;
  database.Exec(kProducts);
  struct Case {
    std::string order;
    std::vector<std::string> codes;
  };
  const Case kCases[] = {
      {"CODE", {"A", "B", "E", "F"}},
      {"vendor", {"B", "E", "A", "F"}},
      {"", {"B", "E", "A", "F"}},
  };
  for (const Case& c : kCases) {
    HostSettings host;
    host.params[1] = c.order;
    EXPECT_EQ(TextsOf(database.Run("prodalert", host), "txtCode"), c.codes) << c.order;
  }
}

}  // namespace
}  // namespace vob
