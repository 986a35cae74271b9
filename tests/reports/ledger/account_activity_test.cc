#include <gtest/gtest.h>

#include <utility>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

// Three accounts with June lines, one more with a May line only, and the account that stays without lines.
void InsertActivity(ReportDatabase& database) {
  database.Exec(R"sql(
    INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type) VALUES
      ('1000', 'Cash', 'Asset', 'Detail'), ('1100', 'Receivables', 'Asset', 'Detail'),
      ('1500', 'Equipment', 'Asset', 'Detail'), ('4000', 'Sales', 'Revenue', 'Detail'),
      ('5000', 'Purchases', 'Expense', 'Detail');
    INSERT INTO GLJournalHeader (JournalEntryNo, Description, JournalRef, LedgerType, TransDate, Modified,
                                 ModifiedBy) VALUES
      (1, 'Invoice 500', 500, 'SLS', '2024-06-10', '2024-06-10 09:15:00', 'anna'),
      (2, 'Receipt 77', 77, 'CR', '2024-06-20', '2024-06-21 16:40:00', 'ben'),
      (3, 'Invoice 501', 501, 'SLS', '2024-06-25', '2024-06-25 11:00:00', 'anna'),
      (4, 'Old bill', 9, 'PUR', '2024-05-02', '2024-05-02 08:00:00', 'ben');
    INSERT INTO GLJournalDetail (JournalEntryNo, "LineNo", AccountNo, AccountName, TransDate, DebitAmount) VALUES
      (1, 1, '1100', 'Receivables', '2024-06-10', 100), (1, 2, '4000', 'Sales', '2024-06-10', -100),
      (2, 1, '1000', 'Cash', '2024-06-20', 60), (2, 2, '1100', 'Receivables', '2024-06-20', -60),
      (3, 1, '1100', 'Receivables', '2024-06-25', 0), (3, 2, '4000', 'Sales', '2024-06-25', 0),
      (4, 1, '5000', 'Purchases', '2024-05-02', 30), (4, 2, '1000', 'Cash', '2024-05-02', -30);
  )sql");
}

HostSettings ActivityHost(std::string drilldown, std::string first_account = "",
                          std::string last_account = "") {
  HostSettings host;
  host.params = {{1, "06/01/2024"}, {2, "06/30/2024"}, {3, first_account}, {4, last_account}};
  host.drilldown = std::move(drilldown);
  return host;
}

TEST(AccountActivity, DrillDownShowsLinesAndRangeShowsOnlyAccountTotals) {
  struct Case {
    const char* name;
    HostSettings host;
    std::vector<std::string> accounts, entries, debit_totals, credit_totals;
  };
  const Case cases[] = {
      {"drill-down", ActivityHost("1100"), {"1100"}, {"1", "2", "3"}, {"$100.00"}, {"$60.00"}},
      {"range",
       ActivityHost("", "1000", "4000"),
       {"1000", "1100", "4000"},
       {},
       {"$60.00", "$100.00", "$0.00"},
       {"$0.00", "$60.00", "$100.00"}},
      {"blank drill-down is a range",
       ActivityHost("   ", "1100", "1500"),
       {"1100"},
       {},
       {"$100.00"},
       {"$60.00"}},
      // Blanks pass the blank test but stay in the comparison, so no account matches.
      {"drill-down with blanks", ActivityHost(" 1100 ", "1000", "4000"), {}, {}, {}, {}},
  };
  for (const Case& c : cases) {
    ReportDatabase database;
    InsertActivity(database);
    const engine::PageModel model = database.Run("activity", c.host);
    EXPECT_EQ(TextsOf(model, "Field1"), c.accounts) << c.name;
    EXPECT_EQ(TextsOf(model, "txtAccountNo"), c.accounts) << c.name;
    EXPECT_EQ(TextsOf(model, "Field14"), c.entries) << c.name;
    EXPECT_EQ(TextsOf(model, "Field16"), c.debit_totals) << c.name;
    EXPECT_EQ(TextsOf(model, "Field17"), c.credit_totals) << c.name;
  }
}

TEST(AccountActivity, LinesShowOneSideAndShadingRunsAcrossAccounts) {
  ReportDatabase database;
  InsertActivity(database);
  // The drill-down text is spliced unescaped, so it can name two accounts; the second must not restart the
  // shading.
  const engine::PageModel model =
      database.Run("activity", ActivityHost("1000' Or GLJournalDetail.AccountNo = '1100"));

  EXPECT_EQ(TextsOf(model, "Field1"), (std::vector<std::string>{"1000", "1100"}));
  EXPECT_EQ(TextsOf(model, "Field14"), (std::vector<std::string>{"2", "1", "2", "3"}));
  EXPECT_EQ(testing::ShadedRows(model, "Field14"), (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(TextsOf(model, "txtDebit"), (std::vector<std::string>{"60.00 ", "100.00 "}));  // entry 3 is 0.00
  EXPECT_EQ(TextsOf(model, "txtCredit"), (std::vector<std::string>{"60.00 "}));
}

}  // namespace
}  // namespace vob
