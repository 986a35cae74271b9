// The demo company's books as an auditor checks them, with SQL of our own over the written file: each check
// counts what breaks an invariant, at several scales and book dates.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "framework/schema/demo_database.h"
#include "framework/schema/demo_generator.h"
#include "framework/schema/iso_date.h"
#include "framework/schema/sqlite_loader.h"

namespace vob::schema {
namespace {

struct Books {
  int scale;
  const char* date;  // the day the books run up to
};

std::string QueryValue(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string value = "<no row>";
  EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sqlite3_errmsg(db) << " in: " << sql;
  } else if (sqlite3_step(statement) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(statement, 0);
    value = text ? reinterpret_cast<const char*>(text) : "";
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

class DemoBooks : public testing::TestWithParam<Books> {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() / fmt::format("vob-books-test-{}", getpid());
    std::filesystem::create_directories(directory_);
    path_ = directory_ / "books.sqlite";
    WriteDemoSqlite(path_, {GetParam().scale, *ParseIsoDate(GetParam().date)}, false);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::filesystem::path directory_, path_;
};

// Posting accounts with their group, one row per account and period.
constexpr const char* kPostingPeriods =
    "(SELECT d.*, h.[Group] AS grp FROM GLAccountsDetail d JOIN GLAccountsHeader h ON h.AccountNo = "
    "d.AccountNo "
    "WHERE h.Type = 'Detail')";

TEST_P(DemoBooks, HoldEveryInvariantAnAuditorChecks) {
  const std::string date = GetParam().date;
  const std::string book_period = date.substr(0, 4) + date.substr(5, 2);
  const std::string first_year = std::to_string(std::stoi(date.substr(0, 4)) - 1);
  const std::string posting = kPostingPeriods;
  struct Check {
    const char* invariant;
    std::string violations;  // SQL counting what breaks it
  };
  const Check kChecks[] = {
      {"every period's trial balance balances, so every range of periods does",
       "SELECT count(*) FROM (SELECT AccountingPeriod FROM " + posting +
           " GROUP BY AccountingPeriod HAVING round(sum(Todate), 2) <> 0 OR round(sum(DebitAmount), 2) <> "
           "0)"},
      {"each account rolls forward from the period before",
       "SELECT count(*) FROM GLAccountsDetail d WHERE round(d.Todate - d.DebitAmount - coalesce((SELECT "
       "p.Todate FROM GLAccountsDetail p WHERE p.AccountNo = d.AccountNo AND p.AccountingPeriod < "
       "d.AccountingPeriod ORDER BY p.AccountingPeriod DESC LIMIT 1), 0), 2) <> 0"},
      {"the balance sheet balances with the year-to-date net income in every period",
       "SELECT count(*) FROM (SELECT DISTINCT AccountingPeriod AS period FROM GLAccountsDetail) p WHERE "
       "round((SELECT sum(Todate) FROM " +
           posting +
           " b WHERE b.AccountingPeriod = p.period AND b.AccountNo < '4') + (SELECT sum(DebitAmount) FROM " +
           posting +
           " i WHERE i.grp IN ('Revenue', 'Expense') AND i.AccountingPeriod BETWEEN substr(p.period, 1, 4) "
           "|| "
           "'01' AND p.period), 2) <> 0"},
      {"the year is closed: revenue and expense accounts end it at zero",
       "SELECT count(*) FROM " + posting + " WHERE grp IN ('Revenue', 'Expense') AND AccountingPeriod = '" +
           first_year + "12' AND round(Todate, 2) <> 0"},
      {"the year's result, as the journal has it, went to retained earnings in its last period",
       "SELECT count(*) FROM GLAccountsDetail WHERE AccountNo = '3100' AND AccountingPeriod = '" +
           first_year +
           "12' AND round(DebitAmount - (SELECT sum(j.DebitAmount) FROM GLJournalDetail j JOIN "
           "GLAccountsHeader "
           "h ON h.AccountNo = j.AccountNo WHERE h.[Group] IN ('Revenue', 'Expense') AND strftime('%Y', "
           "j.TransDate) = '" +
           first_year +
           "' AND j.JournalEntryNo NOT IN (SELECT JournalEntryNo FROM GLJournalDetail WHERE "
           "AccountNo = '3100')), 2) <> 0"},
      {"stock at cost equals the inventory account at the book date",
       "SELECT count(*) FROM GLAccountsDetail WHERE AccountNo = '1300' AND AccountingPeriod = '" +
           book_period +
           "' AND round(Todate - (SELECT sum(OnHandFractions * AverageCost) FROM Products WHERE "
           "InventoryTracking = 'Normal'), 2) <> 0"},
      {"no product has less than nothing on hand, and only stocked ones have any",
       "SELECT count(*) FROM Products WHERE OnHandFractions < 0 OR (InventoryTracking <> 'Normal' AND "
       "OnHandFractions <> 0)"},
      {"the receivable documents left open equal the receivables account",
       "SELECT count(*) FROM GLAccountsDetail WHERE AccountNo = '1200' AND AccountingPeriod = '" +
           book_period + "' AND round(Todate - (SELECT sum(NetAmount) FROM ARInvoiceHeader), 2) <> 0"},
      {"the payable documents left open equal the payables account",
       "SELECT count(*) FROM GLAccountsDetail WHERE AccountNo = '2010' AND AccountingPeriod = '" +
           book_period +
           "' AND round(Todate + (SELECT sum(NetAmount) FROM APInvoiceHeader WHERE PayablesAccount = "
           "'2010'), "
           "2) <> 0"},
      {"each customer's statement balance is what its documents leave open",
       "SELECT count(*) FROM Customers c WHERE round(c.CurrentBalance - coalesce((SELECT sum(NetAmount) FROM "
       "ARInvoiceHeader a WHERE a.CustomerID = c.CustomerID), 0), 2) <> 0"},
      {"the customers' balances add up to the receivables account",
       "SELECT count(*) FROM GLAccountsDetail WHERE AccountNo = '1200' AND AccountingPeriod = '" +
           book_period + "' AND round(Todate - (SELECT sum(CurrentBalance) FROM Customers), 2) <> 0"},
      {"invoices foot line by line and match their stored totals",
       "SELECT count(*) FROM ARInvoiceHeader h WHERE InvoiceType <> 'PMT' AND (round(SubTotal - coalesce(("
       "SELECT sum(SplitAmount) FROM ARInvoiceDetail d WHERE d.InvoiceNo = h.InvoiceNo), 0), 2) <> 0 OR "
       "round(SubTotal + Tax - Total, 2) <> 0)"},
      {"bills foot line by line and match their stored totals",
       "SELECT count(*) FROM APInvoiceHeader h WHERE InvoiceType <> 'PMT' AND (round(SubTotal - coalesce(("
       "SELECT sum(SplitAmount) FROM APInvoiceDetail d WHERE d.InvoiceNo = h.InvoiceNo), 0), 2) <> 0 OR "
       "round(SubTotal + Tax - Total, 2) <> 0)"},
      {"sales orders foot and match their stored totals",
       "SELECT count(*) FROM SalesOrderHeader h WHERE round(SubTotal - (SELECT sum(SplitAmount) FROM "
       "SalesOrderDetail d WHERE d.OrderNo = h.OrderNo), 2) <> 0 OR round(SubTotal + Tax - Total, 2) <> 0"},
      {"a sale's back order is what was ordered and not shipped",
       "SELECT count(*) FROM ARInvoiceDetail WHERE Backordered <> Ordered - Shipped OR Shipped < 0"},
      {"back orders by item and by customer give the same total",
       "SELECT count(*) FROM (SELECT (SELECT sum(Backordered) FROM ARInvoiceDetail WHERE Backordered > 0) AS "
       "by_item, (SELECT sum(d.Backordered) FROM ARInvoiceDetail d JOIN ARInvoiceHeader h ON h.InvoiceNo = "
       "d.InvoiceNo JOIN Customers c ON c.CustomerID = h.CustomerID WHERE d.Backordered > 0) AS by_customer) "
       "WHERE by_item IS NULL OR by_item <> by_customer"},
      {"the reorder alert has products to list",
       "SELECT count(*) < 3 FROM Products WHERE MinimumQuantity > OnHandFractions"},
  };
  for (const Check& check : kChecks) {
    EXPECT_EQ(QueryValue(path_, check.violations), "0") << check.invariant;
  }
}

INSTANTIATE_TEST_SUITE_P(ScalesAndDates, DemoBooks,
                         testing::Values(Books{1, "2024-06-30"}, Books{1, "2025-01-31"},
                                         Books{3, "2024-12-31"}),
                         [](const testing::TestParamInfo<Books>& info) {
                           return fmt::format("Scale{}_{}", info.param.scale,
                                              std::string(info.param.date).substr(0, 4) +
                                                  std::string(info.param.date).substr(5, 2));
                         });

TEST(DemoCache, IsWrittenAgainWhenAnotherGeneratorMadeIt) {
  const std::filesystem::path cache =
      std::filesystem::temp_directory_path() / fmt::format("vob-cache-test-{}", getpid());
  const char* saved = std::getenv("XDG_CACHE_HOME");
  const std::string saved_value = saved ? saved : "";
  setenv("XDG_CACHE_HOME", cache.c_str(), 1);
  const std::filesystem::path path = DefaultDemoDatabasePath();
  std::filesystem::create_directories(path.parent_path());
  // Tables without rows and without a version, as an earlier generator's file looks to this one.
  WriteDemoSqlite(path, {1, *ParseIsoDate(kDemoBookDate)}, true);
  EXPECT_EQ(StoredDemoVersion(path), 0);
  EXPECT_EQ(EnsureDemoDatabase(), path);
  EXPECT_EQ(StoredDemoVersion(path), kDemoGeneratorVersion);
  EXPECT_NE(QueryValue(path, "SELECT count(*) FROM Products"), "0");
  // A current one is kept as it is.
  const auto written = std::filesystem::last_write_time(path);
  EnsureDemoDatabase();
  EXPECT_EQ(std::filesystem::last_write_time(path), written);
  EXPECT_EQ(StoredDemoVersion(cache / "missing.sqlite"), -1);
  std::filesystem::remove_all(cache);
  if (saved) {
    setenv("XDG_CACHE_HOME", saved_value.c_str(), 1);
  } else {
    unsetenv("XDG_CACHE_HOME");
  }
}

}  // namespace
}  // namespace vob::schema
