#include <gtest/gtest.h>

#include "reports/report_test_support.h"
#include "support/golden_pages.h"

namespace vob {
namespace {

using testing::ReportDatabase;
using testing::TextsOf;

TEST(ChartOfAccounts, EmptyTableGivesOnePageWithoutGroups) {
  ReportDatabase database;
  const engine::PageModel model = database.Run("chaccts");
  EXPECT_EQ(model.page_count(), 1);
  EXPECT_TRUE(TextsOf(model, "txtGroup").empty());
  EXPECT_TRUE(TextsOf(model, "txtAccountNo").empty());
  EXPECT_TRUE(model.toc().empty());
}

TEST(ChartOfAccounts, SplitGroupPrintsThreeGroupsEachOnItsOwnPage) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type, Parent, Reconciliable) VALUES
      ('1000', 'Cash', 'Asset', 'Detail', NULL, 1),
      ('1500', 'Loan to owner', 'Liability', 'Detail', '1000', 0),
      ('1900', 'Deposits', 'Asset', 'Detail', NULL, 0);
  )sql");
  const engine::PageModel model = database.Run("chaccts");

  EXPECT_EQ(model.page_count(), 3);
  EXPECT_EQ(TextsOf(model, "txtGroup"), (std::vector<std::string>{"Asset", "Liability", "Asset"}));
  EXPECT_EQ(TextsOf(model, "txtReconciliable"), (std::vector<std::string>{"Yes", "No", "No"}));
  EXPECT_EQ(TextsOf(model, "txtParent"), (std::vector<std::string>{"1000"}));  // Null prints nothing
  ASSERT_EQ(model.toc().size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(model.toc()[i].page, i + 1);
    EXPECT_EQ(model.toc()[i].text, TextsOf(model, "txtGroup")[i]);
    // Each group starts its own page: the page holding the group header holds its one account.
    const engine::Page& page = model.pages()[i];
    int accounts = 0;
    for (const engine::PageItem& item : page.items) accounts += model.name(item.control) == "txtAccountNo";
    EXPECT_EQ(accounts, 1) << "page " << i + 1;
  }
  EXPECT_EQ(TextsOf(model, "txtPagenumber"), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(TextsOf(model, "txtPageCount"), (std::vector<std::string>{"3", "3", "3"}));
  EXPECT_EQ(TextsOf(model, "txtDate")[0], "6/30/2024 5:00:00 PM");
}

TEST(ChartOfAccounts, ShadesEveryOtherRowAcrossGroups) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type) VALUES
      ('1000', 'A', 'Asset', 'Detail'), ('1100', 'B', 'Asset', 'Detail'), ('1200', 'C', 'Asset', 'Detail'),
      ('2000', 'D', 'Liability', 'Detail');
  )sql");
  const engine::PageModel model = database.Run("chaccts");
  EXPECT_EQ(testing::ShadedRows(model, "txtAccountNo"), (std::vector<bool>{true, false, true, false}));
}

// The whole page dump against tests/reports/golden/chaccts.json, so that a diff shows what moved on the page.
// VOB_UPDATE_GOLDEN=1 rewrites the file after a deliberate change.
TEST(ChartOfAccounts, MatchesItsGoldenPageDump) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type, Parent, Reconciliable) VALUES
      ('1000', 'Current Assets', 'Asset', 'General', NULL, 0),
      ('1010', 'Cash - Operating', 'Asset', 'Detail', '1000', 1),
      ('2010', 'Accounts Payable', 'Liability', 'Detail', '2000', 0);
  )sql");
  testing::ExpectMatchesGolden(database.Run("chaccts"), "chaccts");
}

}  // namespace
}  // namespace vob
