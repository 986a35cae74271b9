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

// Three periods of a quarter. Cash has every period; the payable starts with a credit balance; 1020 never
// moves; 1030 moves only in the middle period; 1040 has no row for the first period. The summary account, the
// account without a type and the row before the range must not show.
constexpr const char* kQuarter = R"sql(
  INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type) VALUES
    ('1000', 'Current Assets', 'Asset', 'General'), ('1010', 'Cash', 'Asset', 'Detail'),
    ('1020', 'Petty Cash', 'Asset', 'Detail'), ('1030', 'Deposits', 'Asset', 'Detail'),
    ('1040', 'Prepaid', 'Asset', 'Detail'), ('1050', 'Untyped', 'Asset', NULL),
    ('2010', 'Accounts Payable', 'Liability', 'Detail');
  INSERT INTO GLAccountsDetail (AccountNo, AccountingPeriod, DebitAmount, Todate) VALUES
    ('1000', '202401', 900, 9000), ('1000', '202403', 900, 9900),
    ('1010', '202312', 7, 1000), ('1010', '202401', 100, 1100), ('1010', '202402', -50, 1050),
    ('1010', '202403', 0, 1050),
    ('1020', '202401', 0, 0), ('1020', '202403', 0, 0),
    ('1030', '202402', 75, 75),
    ('1040', '202403', 30, 500),
    ('1050', '202401', 40, 40),
    ('2010', '202401', -200, -350), ('2010', '202403', 100, -250);
)sql";

const std::vector<std::string_view> kLineColumns = {"Field1",  "Field8",  "Field9", "Field10",
                                                    "Field11", "Field12", "Field18"};
const std::vector<std::string_view> kTotalColumns = {"Field13", "Field14", "Field15",
                                                     "Field16", "Field17", "Field19"};

TEST(TrialBalance, SplitsBeginningActivityAndEndingPerAccount) {
  struct Case {
    const char* first_period;
    const char* last_period;
    std::vector<std::vector<std::string>> lines;  // number, beginning, activity and ending debit and credit
    std::vector<std::string> totals;
    size_t toc_entries;  // one per fetched row
  };
  const Case kCases[] = {
      {"202401",
       "202403",
       {
           {"1010", "1,000.00", "0.00", "50.00", "", "1,050.00", "0.00"},
           {"1020", "0.00", "0.00", "0.00", "", "0.00", "0.00"},
           {"1030", "0.00", "0.00", "75.00", "", "0.00", "0.00"},    // neither bound: no balances
           {"1040", "0.00", "0.00", "30.00", "", "500.00", "0.00"},  // no first period: no beginning
           {"2010", "0.00", "150.00", "", "100.00", "0.00", "250.00"},
       },
       {"1,000.00", "150.00", "155.00", "100.00", "1,550.00", "250.00"},
       9},
      // One period for both bounds: the beginning balance is the ending balance less the period's movement.
      {"202402",
       "202402",
       {
           {"1010", "1,100.00", "0.00", "", "50.00", "1,050.00", "0.00"},
           {"1030", "0.00", "0.00", "75.00", "", "75.00", "0.00"},
       },
       {"1,100.00", "0.00", "75.00", "50.00", "1,125.00", "0.00"},
       2},
      {"209901", "209912", {}, {"0.00", "0.00", "0.00", "0.00", "0.00", "0.00"}, 0},
  };
  ReportDatabase database;
  database.Exec(kQuarter);
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.first_period) + " to " + c.last_period);
    HostSettings host;
    host.params = {{1, "1/1/2024"}, {2, "not a date"}, {3, c.first_period}, {4, c.last_period}};
    const engine::PageModel model = database.Run("trbalance", host);

    std::vector<std::vector<std::string>> lines;
    for (const auto& line : LinesOf(model, "GroupFooter1")) lines.push_back(TextsIn(line, kLineColumns));
    EXPECT_EQ(lines, c.lines);
    const auto totals = LinesOf(model, "ReportFooter");
    ASSERT_EQ(totals.size(), 1u);
    EXPECT_EQ(TextsIn(totals[0], kTotalColumns), c.totals);
    EXPECT_EQ(model.toc().size(), c.toc_entries);
    // The heading's dates in the medium form; text that is no date prints as it stands.
    EXPECT_EQ(TextsOf(model, "txtBegDate"), std::vector<std::string>{"01-Jan-24"});
    EXPECT_EQ(TextsOf(model, "txtEndDate"), std::vector<std::string>{"not a date"});
  }
}

TEST(TrialBalance, NullAmountFailsTheRun) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type) VALUES ('1010', 'Cash', 'Asset', 'Detail');
    INSERT INTO GLAccountsDetail (AccountNo, AccountingPeriod, DebitAmount, Todate) VALUES ('1010', '202401', NULL, 5);
  )sql");
  HostSettings host;
  host.params = {{3, "202401"}, {4, "202401"}};
  try {
    database.Run("trbalance", host);
    ADD_FAILURE() << "the run did not fail";
  } catch (const engine::RunError& error) {
    EXPECT_EQ(error.number(), 94);
    EXPECT_THAT(error.what(), ::testing::StartsWith("rptTrBalance, ActiveReport_FetchData: error 94: "));
  }
}

}  // namespace
}  // namespace vob
