#include <gtest/gtest.h>

#include "reports/report_test_support.h"
#include "support/page_readers.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;
using testing::TextsOf;

using Texts = std::vector<std::string>;

// The first quarter of 2024. 4020's movements cancel out; 6010 moves only before and after the quarter and
// not in it; 6020 has a credit (a refund) on an expense. The summary account, the untyped account and the
// asset must not show.
constexpr const char* kQuarter = R"sql(
  INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type) VALUES
    ('1010', 'Cash', 'Asset', 'Detail'),
    ('4000', 'Sales Revenue', 'Revenue', 'General'), ('4010', 'Product Sales', 'Revenue', 'Detail'),
    ('4020', 'Service Revenue', 'Revenue', 'Detail'), ('4030', 'Untyped', 'Revenue', NULL),
    ('5010', 'Cost of Goods Sold', 'Expense', 'Detail'), ('6010', 'Wages', 'Expense', 'Detail'),
    ('6020', 'Rent', 'Expense', 'Detail');
  INSERT INTO GLAccountsDetail (AccountNo, AccountingPeriod, DebitAmount, Todate) VALUES
    ('1010', '202403', 5000, 5000), ('4000', '202403', -800, -800), ('4030', '202403', -60, -60),
    ('4010', '202401', -300, -300), ('4010', '202403', -500, -800),
    ('4020', '202401', -100, -100), ('4020', '202402', 100, 0),
    ('5010', '202402', 200, 200), ('5010', '202403', 150, 350),
    ('6010', '202312', 999, 999), ('6010', '202403', 0, 999), ('6010', '202404', 77, 1076),
    ('6020', '202403', -25, -25);
)sql";

TEST(IncomeStatement, CurrentPeriodYearToDateGroupTotalsAndNetIncome) {
  struct Case {
    const char* period;
    std::vector<Texts> lines;  // account, current, year to date
    std::vector<Texts> group_totals;
    Texts net_income;
  };
  const Case kCases[] = {
      {"202403",
       {
           {"4010", "$500.00", "$800.00"},  // revenue credits print positive
           {"5010", "$150.00", "$350.00"},
           {"6020", "($25.00)", "($25.00)"},  // 4020 and 6010 have no movement: no line
       },
       {{"Revenue", "$500.00", "$800.00"}, {"Expense", "$125.00", "$325.00"}},
       {"$375.00", "$475.00"}},
      {"202402",
       {
           {"4010", "$0.00", "$300.00"},
           {"4020", "($100.00)", "$0.00"},
           {"5010", "$200.00", "$200.00"},
       },
       {{"Revenue", "($100.00)", "$300.00"}, {"Expense", "$200.00", "$200.00"}},
       {"($300.00)", "$100.00"}},  // expenses above revenue: a loss
      {"202401",
       {{"4010", "$300.00", "$300.00"}, {"4020", "$100.00", "$100.00"}},
       {{"Revenue", "$400.00", "$400.00"}},
       {"$400.00", "$400.00"}},
      {"199912", {}, {}, {"$0.00", "$0.00"}},
  };
  ReportDatabase database;
  database.Exec(kQuarter);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.period);
    HostSettings host;
    host.params = {{1, c.period}, {2, "3/31/2024"}};
    const engine::PageModel model = database.Run("incstmt", host);

    std::vector<Texts> lines;
    for (const auto& line : LinesOf(model, "GroupFooter2"))
      lines.push_back(TextsIn(line, {"txtAccountNo", "Field1", "Field2"}));
    EXPECT_EQ(lines, c.lines);
    std::vector<Texts> group_totals;
    for (const auto& line : LinesOf(model, "GroupFooter1"))
      group_totals.push_back(TextsIn(line, {"Field3", "Field4", "Field5"}));
    EXPECT_EQ(group_totals, c.group_totals);
    const auto net = LinesOf(model, "ReportFooter");
    ASSERT_EQ(net.size(), 1u);
    EXPECT_EQ(TextsIn(net[0], {"txtNetCurrent", "txtNetYTD"}), c.net_income);
  }
}

}  // namespace
}  // namespace vob
