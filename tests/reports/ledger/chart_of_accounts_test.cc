#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::ReportDatabase;

// Groups, pages, contents and page numbers are pinned by the demo run's page dump, whose groups all have an
// even number of accounts; this one shows that the shading does not restart with a group.
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

}  // namespace
}  // namespace vob
