#include <gmock/gmock.h>
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

// June's balances. The summary account shows in the first column but is not summed; an asset with a credit
// balance and a liability with a debit balance print in parentheses; the zero balance prints an empty line;
// an account without a type counts as a posting account; revenue and May's rows are not selected.
constexpr const char* kBooks = R"sql(
  INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type) VALUES
    ('1000', 'Current Assets', 'Asset', 'General'), ('1010', 'Cash', 'Asset', 'Detail'),
    ('1200', 'Receivables', 'Asset', 'Detail'), ('1300', 'Inventory', 'Asset', 'Detail'),
    ('1400', 'Untyped', 'Asset', NULL),
    ('2010', 'Payables', 'Liability', 'Detail'), ('2100', 'Card', 'Liability', 'Detail'),
    ('3010', 'Common Stock', 'Equity', 'Detail'),
    ('4010', 'Sales', 'Revenue', 'Detail');
  INSERT INTO GLAccountsDetail (AccountNo, AccountingPeriod, DebitAmount, Todate) VALUES
    ('1000', '202406', 0, 5000), ('1010', '202405', 0, 777), ('1010', '202406', 0, 3000),
    ('1200', '202406', 0, -20), ('1300', '202406', 0, 0), ('1400', '202406', 0, 100),
    ('2010', '202406', 0, -1200), ('2100', '202406', 0, 20), ('3010', '202406', 0, -2000),
    ('4010', '202406', 0, -9999);
)sql";

HostSettings June(std::string earnings) {
  HostSettings host;
  host.params = {{1, "202406"}, {2, "6/30/2024"}, {3, std::move(earnings)}};
  return host;
}

TEST(BalanceSheet, SignsSplitsAndTotalsFromTheLiabilityGroupOn) {
  ReportDatabase database;
  database.Exec(kBooks);
  const engine::PageModel model = database.Run("balsht", June("1500"));

  std::vector<Texts> lines;
  for (const auto& line : LinesOf(model, "Detail"))
    lines.push_back(TextsIn(line, {"txtAccountNo", "txtGeneral", "txtDetail"}));
  EXPECT_EQ(lines, (std::vector<Texts>{
                       {"1000", "5,000.00 ", ""},
                       {"1010", "", "3,000.00 "},
                       {"1200", "", "(20.00)"},
                       {"1400", "", "100.00 "},  // 1300, a zero balance, printed nothing
                       {"2010", "", "1,200.00 "},
                       {"2100", "", "(20.00)"},
                       {"3010", "", "2,000.00 "},
                   }));
  EXPECT_EQ(TextsOf(model, "txtGroup"), (Texts{"Asset", "Liability", "Equity"}));
  EXPECT_EQ(TextsOf(model, "txtGroupHead"), Texts{"Liabilities and Shareholders Equity"});
  EXPECT_EQ(TextsOf(model, "txtGroupNet"), (Texts{"3,080.00 ", "1,180.00 ", "3,500.00 "}));
  EXPECT_EQ(TextsOf(model, "txtCurYear"), Texts{"1,500.00 "});
  EXPECT_EQ(TextsOf(model, "txtLiabEquity"), Texts{"4,680.00 "});
  EXPECT_TRUE(TextsOf(model, "txtGroupTotal").empty());

  // The liabilities start the second page, under the repeated banner.
  ASSERT_EQ(model.page_count(), 2);
  std::vector<int> group_pages;
  for (const engine::Page& page : model.pages()) {
    for (const engine::PageItem& item : page.items)
      if (model.name(item.control) == "txtGroup") group_pages.push_back(page.number);
  }
  EXPECT_EQ(group_pages, (std::vector<int>{1, 2, 2}));
}

TEST(BalanceSheet, FinalLineAndEarningsByGroupsPresent) {
  struct Case {
    const char* name;
    const char* accounts;  // the AccountNo list kept from the books
    const char* earnings;
    Texts group_nets;
    const char* final_line;
  };
  const Case kCases[] = {
      // Never reset: the assets count too.
      {"no liabilities", "'1010', '3010'", "1500", {"3,000.00 ", "3,500.00 "}, "6,500.00 "},
      // The last group, here the liabilities, carries the earnings.
      {"no equity", "'1010', '2010'", "-250.5", {"3,000.00 ", "949.50 "}, "949.50 "},
      {"losses", "'1010', '2010', '3010'", "(3,500)", {"3,000.00 ", "1,200.00 ", "(1,500.00)"}, "(300.00)"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ReportDatabase database;
    database.Exec(kBooks);
    database.Exec(std::string("DELETE FROM GLAccountsDetail WHERE AccountNo NOT IN (") + c.accounts + ");");
    const engine::PageModel model = database.Run("balsht", June(c.earnings));
    EXPECT_EQ(TextsOf(model, "txtGroupNet"), c.group_nets);
    EXPECT_EQ(TextsOf(model, "txtLiabEquity"), Texts{c.final_line});
  }
}

TEST(BalanceSheet, EarningsThatAreNotANumberFailTheLastGroupFooter) {
  for (const char* earnings : {"", "n/a"}) {
    ReportDatabase database;
    database.Exec(kBooks);
    try {
      database.Run("balsht", June(earnings));
      ADD_FAILURE() << "the run did not fail for earnings \"" << earnings << '"';
    } catch (const engine::RunError& error) {
      EXPECT_EQ(error.number(), 13) << earnings;
      EXPECT_THAT(error.what(), ::testing::StartsWith("rptbalsheet, GroupFooter1_Format: error 13: "));
    }
  }
}

}  // namespace
}  // namespace vob
