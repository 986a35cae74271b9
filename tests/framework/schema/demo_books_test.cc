// The demo company's books as an auditor checks them, with SQL of our own over the written file: each check
// counts what breaks an invariant, at several scales and book dates; the records the reports are written for;
// and the generator's values and options. The reports' own statements run on the books in DemoRuns.
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
#include "framework/schema/schema_error.h"
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
  // How many aging buckets (no due date, current, 0-30, 31-60, 61-90, over 90) hold no open amount.
  auto open_buckets = [&](const std::string& table) {
    const std::string days = "julianday('" + date + "') - julianday(DueDate)";
    return "SELECT 6 - count(*) FROM (SELECT CASE WHEN DueDate IS NULL THEN -1 WHEN d < 0 THEN 0 "
           "WHEN d <= 30 THEN 1 WHEN d <= 60 THEN 2 WHEN d <= 90 THEN 3 ELSE 4 END FROM (SELECT DueDate, "
           "NetAmount, " +
           days + " AS d FROM " + table + ") GROUP BY 1 HAVING round(sum(NetAmount), 2) > 0)";
  };

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
      {"each posting account's movement in a period is its journal lines in that period",
       "SELECT count(*) FROM " + posting +
           " d WHERE round(d.DebitAmount - coalesce((SELECT sum(j.DebitAmount) FROM GLJournalDetail j WHERE "
           "j.AccountNo = d.AccountNo AND strftime('%Y%m', j.TransDate) = d.AccountingPeriod), 0), 4) <> 0"},
      {"journal entries balance, with two lines or more, each under its header",
       "SELECT (SELECT count(*) FROM (SELECT JournalEntryNo FROM GLJournalDetail GROUP BY JournalEntryNo "
       "HAVING round(sum(DebitAmount), 4) <> 0 OR count(*) < 2)) + (SELECT count(*) FROM GLJournalDetail j "
       "WHERE j.JournalEntryNo NOT IN (SELECT JournalEntryNo FROM GLJournalHeader))"},
      {"journal lines post to posting accounts of the chart",
       "SELECT count(*) FROM GLJournalDetail j LEFT JOIN GLAccountsHeader h ON h.AccountNo = j.AccountNo "
       "WHERE h.AccountNo IS NULL OR h.Type <> 'Detail'"},
      {"each register balance is the one before plus the deposit less the payment; void entries move nothing",
       "SELECT count(*) FROM (SELECT Balance, sum(CASE WHEN Void = 1 THEN 0 ELSE Deposit - Payment END) "
       "OVER (PARTITION BY AccountNo ORDER BY rowid) AS running FROM CheckRegister) "
       "WHERE abs(running - Balance) > 0.005"},
      {"register and ledger end at the same balance of the operating account",
       "SELECT count(*) FROM (SELECT (SELECT Balance FROM CheckRegister WHERE AccountNo = '1010' "
       "ORDER BY rowid DESC LIMIT 1) - (SELECT Todate FROM GLAccountsDetail WHERE AccountNo = '1010' "
       "ORDER BY AccountingPeriod DESC LIMIT 1) AS difference) WHERE round(difference, 2) <> 0"},
      {"every aging bucket holds open receivables on the book date", open_buckets("ARInvoiceHeader")},
      {"every aging bucket holds open payables on the book date", open_buckets("APInvoiceHeader")},
      {"the reorder alert has products to list",
       "SELECT count(*) < 3 FROM Products WHERE MinimumQuantity > OnHandFractions"},
  };
  for (const Check& check : kChecks) {
    EXPECT_EQ(QueryValue(path_, check.violations), "0") << check.invariant;
  }
}

// The demo company shows every kind of record the reports are written for.
TEST_P(DemoBooks, HoldEveryKindOfRecordTheReportsShow) {
  struct Case {
    const char* what;
    const char* sql;  // counts the records of the kind
  };
  static constexpr Case kCases[] = {
      {"invoice", "SELECT count(*) FROM ARInvoiceHeader WHERE InvoiceType = 'INV'"},
      {"cash sale", "SELECT count(*) FROM ARInvoiceHeader WHERE InvoiceType = 'SLS'"},
      {"sales return", "SELECT count(*) FROM ARInvoiceHeader WHERE InvoiceType = 'RET'"},
      {"sales credit", "SELECT count(*) FROM ARInvoiceHeader WHERE InvoiceType = 'SLC'"},
      {"customer payment", "SELECT count(*) FROM ARInvoiceHeader WHERE InvoiceType = 'PMT'"},
      {"merchandise receipt", "SELECT count(*) FROM APInvoiceHeader WHERE InvoiceType = 'MERRC'"},
      {"purchase", "SELECT count(*) FROM APInvoiceHeader WHERE InvoiceType = 'PUR'"},
      {"purchase return", "SELECT count(*) FROM APInvoiceHeader WHERE InvoiceType = 'RET'"},
      {"purchase credit", "SELECT count(*) FROM APInvoiceHeader WHERE InvoiceType = 'PURCR'"},
      {"refunded return",
       "SELECT count(*) FROM APInvoiceHeader WHERE InvoiceType = 'PRET' AND PaidAmount <> 0"},
      {"purchase paid at entry",
       "SELECT count(*) FROM APInvoiceHeader WHERE InvoiceType = 'PUR' AND PaidAmount <> 0"},
      {"multi-page invoice",
       "SELECT count(*) FROM (SELECT InvoiceNo FROM ARInvoiceDetail GROUP BY 1 HAVING count(*) > 24)"},
      {"back-ordered line", "SELECT count(*) FROM ARInvoiceDetail WHERE Backordered > 0"},
      {"discounted line", "SELECT count(*) FROM ARInvoiceDetail WHERE Discount <> 0"},
      {"line without department",
       "SELECT count(*) FROM ARInvoiceDetail WHERE DepartmentNo IS NULL OR DepartmentNo = ''"},
      {"service line", "SELECT count(*) FROM ARInvoiceDetail WHERE ItemType = 'S'"},
      {"payment of several bills",
       "SELECT count(*) FROM (SELECT h.TransNo FROM CashHeader h JOIN CashDetail d ON "
       "d.TransNo = h.TransNo WHERE TransType = 'Pay' GROUP BY 1 HAVING count(*) > 2)"},
      {"discount taken", "SELECT count(*) FROM CashDetail WHERE DiscountTaken > 0"},
      {"vendor refund", "SELECT count(*) FROM CashHeader WHERE TransType = 'VREF'"},
      {"lpay without lines",
       "SELECT count(*) FROM CashHeader h WHERE lower(TransType) = 'lpay' AND NOT EXISTS "
       "(SELECT 1 FROM CashDetail d WHERE d.TransNo = h.TransNo)"},
      {"lpay with a line",
       "SELECT count(*) FROM CashHeader h JOIN CashDetail d ON d.TransNo = h.TransNo WHERE "
       "lower(TransType) = 'lpay'"},
      {"written check", "SELECT count(*) FROM CheckRegister WHERE Type = 'W' AND length(CheckNo) = 8"},
      {"void check", "SELECT count(*) FROM CheckRegister WHERE Void = 1"},
      {"cleared entry", "SELECT count(*) FROM CheckRegister WHERE Cleared = 1"},
      {"uncleared entry", "SELECT count(*) FROM CheckRegister WHERE Cleared = 0"},
      {"nine-digit zip", "SELECT count(*) FROM Customers WHERE length(ZipCode) = 9"},
      {"five-digit zip", "SELECT count(*) FROM Vendors WHERE length(ZipCode) = 5"},
      {"seven-digit phone", "SELECT count(*) FROM Customers WHERE length(Phone1) = 7"},
      {"ten-digit phone", "SELECT count(*) FROM Customers WHERE length(Phone1) = 10"},
      {"Null phone", "SELECT count(*) FROM Customers WHERE Phone2 IS NULL"},
      {"blank fax", "SELECT count(*) FROM Customers WHERE Fax = ''"},
      {"other location", "SELECT count(*) FROM CustomersAlt"},
      {"vendor location", "SELECT count(*) FROM VendorsAlt"},
      {"product below minimum", "SELECT count(*) FROM Products WHERE MinimumQuantity > OnHandFractions"},
      {"product at minimum", "SELECT count(*) FROM Products WHERE MinimumQuantity = OnHandFractions"},
      {"normally tracked", "SELECT count(*) FROM Products WHERE InventoryTracking = 'Normal'"},
      {"otherwise tracked", "SELECT count(*) FROM Products WHERE InventoryTracking <> 'Normal'"},
      {"taxable unknown", "SELECT count(*) FROM Products WHERE Taxable IS NULL"},
      {"service", "SELECT count(*) FROM Services"},
      {"job revenue", "SELECT count(*) FROM JobCostDetail WHERE JobCharges > 0"},
      {"job cost", "SELECT count(*) FROM JobCostDetail WHERE JobCharges < 0"},
      {"closed job", "SELECT count(*) FROM JobCostHeader WHERE Closed = 1"},
      {"active job", "SELECT count(*) FROM JobCostHeader WHERE Closed = 0"},
      {"job without charges",
       "SELECT count(*) FROM JobCostHeader h WHERE NOT EXISTS (SELECT 1 FROM JobCostDetail d "
       "WHERE d.JobID = h.JobID)"},
      {"sales order",
       "SELECT count(*) FROM SalesOrderHeader h JOIN SalesOrderDetail d ON d.OrderNo = h.OrderNo"},
      {"purchase order", "SELECT count(*) FROM POHeader h JOIN PODetail d ON d.PONo = h.PONo"},
      {"masthead of several lines",
       "SELECT count(*) FROM CompanyProfile WHERE MastHead LIKE '%' || char(10) || '%'"},
      {"check style in inches", "SELECT count(*) FROM libChecks WHERE Units = 'IN'"},
      {"check style in centimetres", "SELECT count(*) FROM libChecks WHERE Units <> 'IN'"},
      {"label stock in inches", "SELECT count(*) FROM libLabels WHERE lower(unit) = 'in'"},
      {"label stock in tenths of a millimetre", "SELECT count(*) FROM libLabels WHERE lower(unit) <> 'in'"},
      {"Letter labels", "SELECT count(*) FROM libLabels WHERE lower(substr(pageSize, 1, 3)) = 'let'"},
      {"A4 labels", "SELECT count(*) FROM libLabels WHERE lower(substr(pageSize, 1, 3)) <> 'let'"},
      {"terms", "SELECT count(*) FROM Terms"},
      {"messages", "SELECT count(*) FROM libMessages"},
  };
  for (const Case& c : kCases) EXPECT_NE(QueryValue(path_, c.sql), "0") << c.what;
  EXPECT_EQ(QueryValue(path_, "SELECT count(*) FROM libChecks WHERE [Default] = 1"), "1");
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

// Checks that every value has the type its column declares, or is Null, and counts the rows. That the same
// options give the same rows, on any compiler, shows in the demo runs' page dumps.
class TypeCheckSink : public RowSink {
 public:
  void AddRow(const TableDef& table, std::span<const vb::Variant> values) override {
    ASSERT_EQ(values.size(), table.columns.size()) << table.name;
    for (size_t i = 0; i < values.size(); ++i) {
      const ColumnDef& column = table.columns[i];
      if (values[i].is_null()) {
        if (column.is_key) ADD_FAILURE() << table.name << "." << column.name << " is Null";
        continue;
      }
      // By ColumnType: text, long, double, currency, date and time, yes/no.
      static constexpr vb::VarType kTypes[] = {vb::VarType::kString, vb::VarType::kLong,
                                               vb::VarType::kDouble, vb::VarType::kCurrency,
                                               vb::VarType::kDate,   vb::VarType::kBoolean};
      const vb::VarType expected = kTypes[static_cast<int>(column.type)];
      if (values[i].type() != expected && ++mismatches <= 5) {
        ADD_FAILURE() << table.name << "." << column.name << " holds VarType "
                      << static_cast<int>(values[i].type());
      }
    }
    ++rows;
  }
  int mismatches = 0;
  int64_t rows = 0;
};

TEST(DemoGenerator, ValuesHaveTheirColumnsTypesAndTheScaleMultipliesTheRows) {
  TypeCheckSink first, second;
  GenerateDemoCompany({1, *ParseIsoDate("2025-01-02")}, first);
  GenerateDemoCompany({2, *ParseIsoDate("2025-01-02")}, second);
  EXPECT_EQ(first.mismatches + second.mismatches, 0);
  EXPECT_GT(second.rows, first.rows * 3 / 2);
}

TEST(DemoGenerator, RejectsOptionsOutOfRange) {
  struct Case {
    int scale;
    const char* date;
    const char* message;
  };
  static constexpr Case kCases[] = {
      {0, "2026-01-01", "demo company: scale 0 is outside 1 to 10000"},
      {10001, "2026-01-01", "demo company: scale 10001 is outside 1 to 10000"},
      {1, "1900-06-01", "demo company: the generation date must lie between 1901 and 9998"},
  };
  for (const Case& c : kCases) {
    TypeCheckSink sink;
    try {
      GenerateDemoCompany({c.scale, *ParseIsoDate(c.date)}, sink);
      ADD_FAILURE() << "no error for scale " << c.scale << " and " << c.date;
    } catch (const SchemaError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace vob::schema
