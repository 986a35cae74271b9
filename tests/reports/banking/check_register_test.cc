#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

TEST(CheckRegister, ShowsAmountsOnlyWhereNonZeroAndTotals) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type) VALUES
      ('1010', 'Cash - Operating', 'Asset', 'Detail'), ('1020', 'Cash - Payroll', 'Asset', 'Detail');
    INSERT INTO CheckRegister (AccountNo, CheckNo, CheckDate, Type, Name, Payment, Deposit, Balance, Cleared, Void)
    VALUES
      ('1010', '00000101', '2024-06-03', 'W', 'Acme Supply', 120, 0, 880, 1, 0),
      ('1010', 'D0000001', '2024-06-04', 'D', 'Customer One', 0, 50, 930, 0, 0),
      ('1010', '00000102', '2024-06-05', 'W', 'Voided Payee', 30, 0, 900, 0, 1),
      ('1010', '00000103', '2024-06-06', 'W', 'Refund', -5, NULL, 905, 0, 0),
      ('1010', '00000099', '2024-05-31', 'W', 'Before range', 70, 0, 1000, 1, 0),
      ('1020', '00000201', '2024-06-04', 'W', 'Other account', 40, 0, 10, 1, 0);
  )sql");
  HostSettings host;
  host.params = {{1, "06/01/2024"}, {2, "06/30/2024"}, {3, "1010"}};
  const engine::PageModel model = database.Run("chreg", host);

  EXPECT_EQ(TextsOf(model, "txtCheckNo"),
            (std::vector<std::string>{"00000101", "D0000001", "00000102", "00000103"}));
  EXPECT_EQ(TextsOf(model, "txtPayment"), (std::vector<std::string>{"120.00 ", "30.00 ", "(5.00)"}));
  EXPECT_EQ(TextsOf(model, "txtDeposit"), (std::vector<std::string>{"50.00 "}));
  EXPECT_EQ(TextsOf(model, "txtBalance"),
            (std::vector<std::string>{"880.00 ", "930.00 ", "900.00 ", "905.00 "}));
  EXPECT_EQ(TextsOf(model, "txtVoid"), (std::vector<std::string>{"No", "No", "Yes", "No"}));
  // The voided check still counts.
  EXPECT_EQ(TextsOf(model, "Field16"), (std::vector<std::string>{"145.00 "}));
  EXPECT_EQ(TextsOf(model, "Field17"), (std::vector<std::string>{"50.00 "}));
}

}  // namespace
}  // namespace vob
