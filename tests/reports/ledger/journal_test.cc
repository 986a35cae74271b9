#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

// Entry 1 is sales document 500 in June, entry 2 a general journal entry in June, entry 3 a purchase that
// also carries reference 500, in May.
void InsertJournal(ReportDatabase& database) {
  database.Exec(R"sql(
    INSERT INTO GLJournalHeader (JournalEntryNo, Description, Reference, JournalRef, LedgerType, TransDate) VALUES
      (1, 'Invoice 500', 'INV500', 500, 'SLS', '2024-06-10'),
      (2, 'Accrual', 'GJ-7', 501, 'GJ', '2024-06-15'),
      (3, 'Bill 500', 'B500', 500, 'PUR', '2024-05-01');
    INSERT INTO GLJournalDetail (JournalEntryNo, "LineNo", AccountNo, AccountName, TransDate, DebitAmount) VALUES
      (1, 2, '4000', 'Sales', '2024-06-11', -75),
      (1, 1, '1100', 'Receivables', '2024-06-11', 100),
      (1, 3, '2100', 'Sales tax', '2024-06-11', -25),
      (1, 4, '1200', 'Rounding', '2024-06-11', 0),
      (2, 1, '6000', 'Rent', '2024-06-15', 40),
      (2, 2, '2000', 'Accrued', '2024-06-15', -40),
      (3, 1, '5000', 'Purchases', '2024-05-01', 60),
      (3, 2, '2000', 'Payables', '2024-05-01', -60);
  )sql");
}

HostSettings JournalHost(std::string mode, std::string first, std::string second, std::string pattern) {
  HostSettings host;
  host.params = {{1, first}, {2, second}, {3, pattern}, {4, "Ref No:"}, {5, mode}};
  return host;
}

TEST(Journal, ModesSelectEntriesAndShowRangeAndLedgerTotalOnlyForDates) {
  struct Case {
    const char* name;
    HostSettings host;
    std::vector<std::string> entries, begin_dates, ledger_totals;
  };
  const Case cases[] = {
      {"one document", JournalHost("0", "500", "", "SLS"), {"1"}, {}, {}},
      {"one document, any ledger", JournalHost("0", "500", "", "*"), {"1", "3"}, {}, {}},
      {"date range",
       JournalHost("1", "06/01/2024", "06/30/2024", "*"),
       {"1", "2"},
       {"01-Jun-24"},
       {"$140.00", "$140.00"}},
      {"date range, one ledger",
       JournalHost("1", "06/01/2024", "06/30/2024", "GJ"),
       {"2"},
       {"01-Jun-24"},
       {"$40.00", "$40.00"}},
  };
  for (const Case& c : cases) {
    ReportDatabase database;
    InsertJournal(database);
    const engine::PageModel model = database.Run("journal", c.host);
    EXPECT_EQ(TextsOf(model, "Field18"), c.entries) << c.name;
    EXPECT_EQ(TextsOf(model, "txtBegDate"), c.begin_dates) << c.name;
    std::vector<std::string> ledger_totals = TextsOf(model, "Field21");
    for (const std::string& text : TextsOf(model, "Field22")) ledger_totals.push_back(text);
    EXPECT_EQ(ledger_totals, c.ledger_totals) << c.name;
  }
}

TEST(Journal, LinesShowOnlyTheirNonZeroSideAndEntriesTotalBothSides) {
  ReportDatabase database;
  InsertJournal(database);
  const engine::PageModel model = database.Run("journal", JournalHost("0", "500", "", "SLS"));
  EXPECT_EQ(TextsOf(model, "txtLineNo"), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(TextsOf(model, "txtDebit"),
            (std::vector<std::string>{"100.00 "}));  // line 4 (0.00) shows neither
  EXPECT_EQ(TextsOf(model, "txtCredit"), (std::vector<std::string>{"75.00 ", "25.00 "}));
  EXPECT_EQ(TextsOf(model, "Field16"), (std::vector<std::string>{"$100.00"}));
  EXPECT_EQ(TextsOf(model, "Field17"), (std::vector<std::string>{"$100.00"}));
}

TEST(Journal, FailuresNameReportHandlerAndCause) {
  struct Case {
    const char* name;
    HostSettings host;
    std::string null_line;  // SQL run before the report, or ""
    std::string message;
  };
  const Case cases[] = {
      {"unknown mode", JournalHost("2", "500", "", "*"), "",
       "rptJournal, ActiveReport_DataInitialize: error 5: Invalid procedure call or argument: "
       "ReportParams(5) "
       "is \"2\"; the journal prints one document (\"0\") or a date range (\"1\")"},
      {"Null amount", JournalHost("0", "500", "", "SLS"),
       "UPDATE GLJournalDetail SET DebitAmount = NULL WHERE JournalEntryNo = 1 AND \"LineNo\" = 2",
       "rptJournal, ActiveReport_FetchData: error 94: Invalid use of Null: DebitAmount of a line of journal "
       "entry 1"},
  };
  for (const Case& c : cases) {
    ReportDatabase database;
    InsertJournal(database);
    if (!c.null_line.empty()) database.Exec(c.null_line);
    try {
      database.Run("journal", c.host);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const engine::RunError& error) {
      EXPECT_EQ(std::string(error.what()), c.message) << c.name;
    }
  }
}

}  // namespace
}  // namespace vob
