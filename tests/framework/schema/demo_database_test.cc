// The demo company as the reports will read it: written to SQLite, then checked with SQL through sqlite3.
// The generation date is pinned, so every figure here reproduces.
#include <sqlite3.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/schema/demo_generator.h"
#include "framework/schema/iso_date.h"
#include "framework/schema/schema_error.h"
#include "framework/schema/sqlite_loader.h"
#include "platform/data/recordset.h"

namespace vob::schema {
namespace {

constexpr const char* kGenerationDate = "2026-06-30";

std::filesystem::path TestDirectory() {
  std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("vob-schema-test-" + std::to_string(getpid()));
  std::filesystem::create_directories(directory);
  return directory;
}

// Runs a query and returns its rows, every value as text ("" for Null).
std::vector<std::vector<std::string>> Query(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* statement = nullptr;
  std::vector<std::vector<std::string>> rows;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sqlite3_errmsg(db) << " in: " << sql;
  } else {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::vector<std::string>& row = rows.emplace_back();
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const unsigned char* text = sqlite3_column_text(statement, i);
        row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
      }
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

std::string QueryValue(const std::filesystem::path& path, const std::string& sql) {
  const auto rows = Query(path, sql);
  return rows.empty() || rows[0].empty() ? "<no row>" : rows[0][0];
}

class DemoDatabase : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    path_ = new std::filesystem::path(TestDirectory() / "demo.sqlite");
    WriteDemoSqlite(*path_, {1, *ParseIsoDate(kGenerationDate)}, false);
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(path_->parent_path());
    delete path_;
  }
  static const std::filesystem::path& path() { return *path_; }

 private:
  static inline std::filesystem::path* path_ = nullptr;
};

// The roll-forward, the balance and the customers' balances are among the books' invariants
// (demo_books_test.cc), checked there at several scales and dates.
TEST_F(DemoDatabase, EachPeriodMovementIsItsJournalLines) {
  // Each posting account's movement is the sum of its journal lines in the period.
  const auto moved =
      Query(path(),
            "SELECT d.AccountNo, d.AccountingPeriod FROM GLAccountsDetail d JOIN GLAccountsHeader h "
            "ON h.AccountNo = d.AccountNo WHERE h.Type = 'Detail' AND round(d.DebitAmount, 4) <> "
            "round(coalesce((SELECT sum(j.DebitAmount) FROM GLJournalDetail j WHERE j.AccountNo = "
            "d.AccountNo AND strftime('%Y%m', j.TransDate) = d.AccountingPeriod), 0), 4)");
  EXPECT_TRUE(moved.empty()) << moved.size() << " rows, first " << moved[0][0] << " " << moved[0][1];
  EXPECT_EQ(QueryValue(path(),
                       "SELECT count(DISTINCT AccountingPeriod) || ' ' || min(AccountingPeriod) || ' ' || "
                       "max(AccountingPeriod) FROM GLAccountsDetail"),
            "24 202501 202612");
}

TEST_F(DemoDatabase, JournalEntriesBalance) {
  EXPECT_EQ(QueryValue(path(),
                       "SELECT count(*) FROM (SELECT JournalEntryNo FROM GLJournalDetail GROUP BY "
                       "JournalEntryNo HAVING round(sum(DebitAmount), 4) <> 0 OR count(*) < 2)"),
            "0");
  EXPECT_EQ(QueryValue(path(),
                       "SELECT count(*) FROM GLJournalDetail j LEFT JOIN GLJournalHeader h ON "
                       "h.JournalEntryNo = j.JournalEntryNo WHERE h.JournalEntryNo IS NULL"),
            "0");
  // Journal lines post to accounts of the chart only.
  EXPECT_EQ(QueryValue(path(),
                       "SELECT count(*) FROM GLJournalDetail j LEFT JOIN GLAccountsHeader h ON "
                       "h.AccountNo = j.AccountNo WHERE h.AccountNo IS NULL OR h.Type <> 'Detail'"),
            "0");
}

TEST_F(DemoDatabase, EveryAgingBucketHoldsOpenAmounts) {
  // Days past due on the generation date, bucketed as the aging reports do; a bucket is populated when the
  // documents in it do not cancel out.
  const std::string bucket =
      "CASE WHEN DueDate IS NULL THEN 'no due date' WHEN d < 0 THEN 'current' WHEN d <= 30 THEN '0-30' "
      "WHEN d <= 60 THEN '31-60' WHEN d <= 90 THEN '61-90' ELSE 'over 90' END";
  for (const char* table : {"ARInvoiceHeader", "APInvoiceHeader"}) {
    const auto rows =
        Query(path(), "SELECT " + bucket + ", round(sum(NetAmount), 2) FROM (SELECT *, julianday('" +
                          kGenerationDate + "') - julianday(DueDate) AS d FROM " + table +
                          ") GROUP BY 1 HAVING round(sum(NetAmount), 2) > 0 ORDER BY 1");
    std::vector<std::string> buckets;
    for (const auto& row : rows) buckets.push_back(row[0]);
    EXPECT_EQ(buckets,
              (std::vector<std::string>{"0-30", "31-60", "61-90", "current", "no due date", "over 90"}))
        << table;
  }
}

TEST_F(DemoDatabase, HoldsEveryKindOfRecordTheReportsTest) {
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
  for (const Case& c : kCases) EXPECT_NE(QueryValue(path(), c.sql), "0") << c.what;
  EXPECT_EQ(QueryValue(path(), "SELECT count(*) FROM libChecks WHERE [Default] = 1"), "1");
}

TEST_F(DemoDatabase, RegisterBalancesRunWithTheEntries) {
  // Each entry's balance is the one before it plus its deposit less its payment; void entries move nothing.
  const auto rows =
      Query(path(), "SELECT AccountNo, Payment, Deposit, Balance, Void FROM CheckRegister ORDER BY rowid");
  std::map<std::string, double> balance;
  int mismatches = 0;
  for (const auto& row : rows) {
    double& running = balance[row[0]];
    if (row[4] != "1") running += std::stod(row[2]) - std::stod(row[1]);
    if (std::abs(running - std::stod(row[3])) > 0.005) ++mismatches;
  }
  EXPECT_EQ(mismatches, 0);
  // Register and ledger agree on the operating account.
  EXPECT_EQ(
      QueryValue(path(),
                 "SELECT round((SELECT Balance FROM CheckRegister WHERE AccountNo = '1010' ORDER BY rowid "
                 "DESC LIMIT 1) - (SELECT Todate FROM GLAccountsDetail WHERE AccountNo = '1010' AND "
                 "AccountingPeriod = '202612'), 2)"),
      "0.0");
}

TEST_F(DemoDatabase, GivesEveryReportRowsThroughTheDataLayer) {
  // The reports' own statements, with parameters as a host would pass them for the first half of 2026.
  const std::string customer =
      QueryValue(path(), "SELECT CustomerID FROM ARInvoiceHeader GROUP BY 1 ORDER BY count(*) DESC");
  const std::string vendor =
      QueryValue(path(), "SELECT VendorID FROM APInvoiceHeader GROUP BY 1 ORDER BY count(*) DESC");
  const std::string invoice =
      QueryValue(path(),
                 "SELECT InvoiceNo FROM ARInvoiceHeader WHERE InvoiceType = 'INV' AND "
                 "TermCode IS NOT NULL AND MessageNo IS NOT NULL");
  const std::string receipt =
      QueryValue(path(), "SELECT InvoiceNo FROM APInvoiceHeader WHERE InvoiceType = 'MERRC'");
  const std::string job =
      QueryValue(path(), "SELECT JobID FROM JobCostDetail GROUP BY 1 ORDER BY count(*) DESC");
  struct Case {
    const char* report;
    std::string sql;
    int minimum_rows;
  };
  const Case kCases[] = {
      {"chaccts", "SELECT *  from GLAccountsHeader order by AccountNo; ", 40},
      {"trbalance",
       "SELECT GLAccountsHeader.*, GLAccountsDetail.* FROM GLAccountsHeader INNER JOIN GLAccountsDetail ON "
       "GLAccountsHeader.AccountNo = GLAccountsDetail.AccountNo WHERE ((GLAccountsHeader.Type)<> 'General' "
       ") AND ((GLAccountsDetail.AccountingPeriod) Between '202601' And '202606')  Order by "
       "GlaccountsHeader.AccountNo;",
       200},
      {"incstmt",
       " SELECT GLAccountsDetail.AccountNo, GLAccountsHeader.AccountName, GLAccountsDetail.DebitAmount, "
       "GLAccountsHeader.[Group], GLAccountsHeader.Type, GLAccountsDetail.AccountingPeriod FROM "
       "GLAccountsHeader INNER JOIN GLAccountsDetail ON GLAccountsHeader.AccountNo = "
       "GLAccountsDetail.AccountNo WHERE (((GLAccountsHeader.[Group])='Revenue' Or "
       "(GLAccountsHeader.[Group])='Expense') AND ((GLAccountsHeader.Type)='Detail') AND "
       "((GLAccountsDetail.AccountingPeriod) Between '202601' And '202606'))  ORDER BY "
       "GLAccountsDetail.AccountNo;",
       100},
      {"activity",
       "SELECT GLJournalDetail.*, GLJournalHeader.*, GLAccountsHeader.AccountName FROM GLAccountsHeader "
       "INNER JOIN (GLJournalHeader INNER JOIN GLJournalDetail ON GLJournalHeader.JournalEntryNo = "
       "GLJournalDetail.JournalEntryNo) ON GLAccountsHeader.AccountNo = GLJournalDetail.AccountNo  WHERE "
       "(((GLJournalDetail.AccountNo) = '1010') AND ((GLJournalHeader.TransDate) Between #01/01/2026# And "
       "#06/30/2026#)) ORDER BY GLJournalDetail.AccountNo, GLJournalHeader.JournalEntryNo;",
       200},
      {"araging",
       "SELECT ARInvoiceHeader.*, Customers.*  FROM ARInvoiceHeader INNER JOIN Customers ON "
       "ARInvoiceHeader.CustomerID = Customers.CustomerId  Where ARInvoiceHeader.CustomerID = '" +
           customer +
           "'  order by ARInvoiceheader.Customerid, originalinvoiceno, originalinvoicetype, invoicedate;",
       40},
      {"apaging",
       "SELECT APInvoiceHeader.*, Vendors.*  FROM APInvoiceHeader INNER JOIN Vendors ON "
       "APInvoiceHeader.VendorID = Vendors.VendorId  order by Apinvoiceheader.vendorid, originalinvoiceno, "
       "originalinvoicetype, invoicedate;",
       500},
      {"cusstmt",
       "SELECT ARInvoiceHeader.CustomerID, ARInvoiceHeader.InvoiceDate, ARInvoiceHeader.duedate, "
       "ARInvoiceHeader.NetAmount, Customers.ZipCode FROM ARInvoiceHeader INNER JOIN Customers ON "
       "ARInvoiceHeader.CustomerID = Customers.CustomerID Where (((ARInvoiceHeader.CustomerID) = '" +
           customer +
           "') And ((ARInvoiceHeader.InvoiceDate) <= #06/30/2026#)) ORDER BY ARInvoiceHeader.CustomerID, "
           "ARInvoiceHeader.InvoiceDate;",
       40},
      {"check",
       "SELECT *  FROM CheckRegister  WHERE (((CheckRegister.AccountNo)='1010') AND ((CheckRegister.CheckNo) "
       "between '00001001' And '00001030' ) AND (CheckRegister.[Type] = 'W'));",
       30},
      {"check stub",
       "SELECT CashHeader.*, CashDetail.*  FROM CashHeader INNER JOIN CashDetail ON (CashHeader.TransNo "
       "= CashDetail.TransNo)  WHERE CashHeader.TransType = 'Pay'",
       200},
      {"chreg",
       "SELECT CheckRegister.*, GLAccountsHeader.AccountName, CheckRegister.AccountNo FROM CheckRegister "
       "INNER "
       "JOIN GLAccountsHeader ON CheckRegister.AccountNo = GLAccountsHeader.AccountNo  WHERE "
       "(((CheckRegister.CheckDate) Between #04/01/2026# And #06/30/2026#) AND ((CheckRegister.AccountNo)= "
       "'1010'));",
       100},
      {"venpayments",
       "SELECT APInvoiceHeader.VendorId, APInvoiceHeader.InvoiceType, GLAccountsHeader.AccountName, "
       "APInvoiceHeader.PaidAmount FROM (APInvoiceHeader INNER JOIN GLAccountsHeader ON "
       "APInvoiceHeader.PayablesAccount = GLAccountsHeader.AccountNo)  WHERE "
       "APInvoiceHeader.InvoiceDate Between #01/01/2025# AND #06/30/2026#  AND PaidAmount <> 0 ",
       10},
      {"invoice",
       "SELECT ARInvoiceHeader.*, ARInvoiceDetail.* FROM (ARInvoiceHeader INNER JOIN ARInvoiceDetail ON "
       "ARInvoiceHeader.InvoiceNo = ARInvoiceDetail.InvoiceNo) WHERE (((ARInvoiceHeader.InvoiceNo)= " +
           invoice + "));",
       1},
      {"packlist",
       "SELECT ARInvoiceDetail.*, ARInvoiceHeader.* FROM (ARInvoiceDetail INNER JOIN ARInvoiceHeader ON "
       "ARInvoiceDetail.InvoiceNo = ARInvoiceHeader.InvoiceNo) INNER JOIN Terms ON ARInvoiceHeader.TermCode "
       "= Terms.TermCode WHERE (((ARInvoiceheader.InvoiceNo)= " +
           invoice + "));",
       1},
      {"merch",
       "SELECT APInvoiceHeader.*, APInvoiceDetail.*  FROM (APInvoiceHeader INNER JOIN APInvoiceDetail ON "
       "APInvoiceHeader.InvoiceNo = APInvoiceDetail.InvoiceNo)  WHERE (((APInvoiceHeader.InvoiceNo)= " +
           receipt + "));",
       1},
      {"salesrept1",
       "SELECT ARInvoiceHeader.*, Customers.* FROM ARInvoiceHeader INNER JOIN Customers ON "
       "ARInvoiceHeader.CustomerID = Customers.CustomerId WHERE (((ARInvoiceHeader.InvoiceType) In "
       "('INV','RET', 'SLS', 'SLC')) AND ((ARInvoiceHeader.InvoiceDate) Between #04/01/2026# And "
       "#06/30/2026#)) Order by Customers.billgroup, ARInvoiceheader.CustomerID; ",
       200},
      {"purrept2",
       "SELECT APInvoiceHeader.Invoicedate, APinvoiceheader.Invoicetype, APInvoiceDetail.* FROM "
       "APInvoiceHeader INNER JOIN APInvoiceDetail ON APInvoiceHeader.InvoiceNo = APInvoiceDetail.InvoiceNo "
       "WHERE (((APInvoiceHeader.InvoiceDate) Between #01/01/2026# And #06/30/2026#) AND "
       "((APInvoiceHeader.InvoiceType) In ('MERRC','RET')) AND ((APInvoiceDetail.DepartmentNo)<> '' )) Order "
       "by APInvoiceDetail.DepartmentNo, ApinvoiceDetail.ItemType, ApinvoiceDetail.itemCode;",
       100},
      {"backordcust",
       "SELECT ARInvoiceHeader.InvoiceNumber, ARInvoiceDetail.Backordered FROM ARInvoiceDetail INNER "
       "JOIN ARInvoiceHeader ON ARInvoiceDetail.InvoiceNo = ARInvoiceHeader.InvoiceNo WHERE "
       "(((ARInvoiceDetail.Backordered)>0)) Order by CustomerID, ItemCode,  InvoiceDate;",
       20},
      {"vendor", "SELECT * From VendorsAlt WHERE ( VendorID = '" + vendor + "') order by location;", 0},
      {"labels",
       "Select [Name], Contact, Address1, Address2, City, State, ZipCode from Customers Where [BillGroup] = "
       "'Retail' Order by [Name]",
       3},
      {"inventory", "SELECT * from products where [InventoryTracking] = 'Normal' order by Code;", 30},
      {"prodalert",
       "SELECT * from products where [MinimumQuantity] > [OnHandFractions] order by VendorID, Code;", 3},
      {"jobinfo",
       "SELECT * From JobCostHeader Inner Join JobCostDetail On JobCostHeader.JobID = JobCostDetail.JobID "
       "WHERE JobCostHeader.JobID = '" +
           job + "'",
       3},
      {"default check", "Select * from libChecks where Default = true", 1},
  };
  for (const Case& c : kCases) {
    data::Recordset recordset;
    recordset.Open(c.sql, path().string());
    int rows = 0;
    for (; !recordset.eof(); recordset.MoveNext()) ++rows;
    EXPECT_GE(rows, c.minimum_rows) << c.report;
    recordset.Close();
  }
}

// A hash of every value the generator sends, in order.
class HashSink : public RowSink {
 public:
  void AddRow(const TableDef& table, std::span<const vb::Variant> values) override {
    Mix(static_cast<uint64_t>(table.id));
    for (const vb::Variant& value : values) {
      Mix(static_cast<uint64_t>(value.type()));
      if (value.is_string()) {
        for (char c : value.str()) Mix(static_cast<unsigned char>(c));
      } else if (value.type() == vb::VarType::kCurrency) {
        Mix(static_cast<uint64_t>(value.currency().raw()));
      } else if (value.type() == vb::VarType::kDouble || value.type() == vb::VarType::kDate) {
        const double number = value.type() == vb::VarType::kDouble ? value.dbl() : value.date_serial();
        Mix(static_cast<uint64_t>(number * 1e6));
      } else if (value.type() == vb::VarType::kLong) {
        Mix(static_cast<uint64_t>(value.long_value()));
      } else if (value.type() == vb::VarType::kBoolean) {
        Mix(value.boolean());
      }
    }
    ++rows;
  }
  void Mix(uint64_t value) { hash = (hash ^ value) * 1099511628211u; }

  uint64_t hash = 14695981039346656037u;
  int64_t rows = 0;
};

TEST(DemoGenerator, SameOptionsGiveTheSameRows) {
  const double date = *ParseIsoDate(kGenerationDate);
  HashSink first, second, other_date, other_scale;
  GenerateDemoCompany({1, date}, first);
  GenerateDemoCompany({1, date}, second);
  GenerateDemoCompany({1, date + 1}, other_date);
  GenerateDemoCompany({2, date}, other_scale);
  EXPECT_EQ(first.hash, second.hash);
  EXPECT_EQ(first.rows, second.rows);
  // Pinned, so that a compiler that orders the draws of one expression differently shows up here. Update both
  // figures when the generator changes on purpose.
  EXPECT_EQ(first.rows, 39572) << "rows";
  EXPECT_EQ(first.hash, 2940906884742173045u) << "hash";
  EXPECT_NE(first.hash, other_date.hash);
  EXPECT_GT(other_scale.rows, first.rows * 3 / 2);
}

// Checks that every value has the type its column declares, or is Null.
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
      vb::VarType expected = vb::VarType::kString;
      switch (column.type) {
        case ColumnType::kText:
          expected = vb::VarType::kString;
          break;
        case ColumnType::kLong:
          expected = vb::VarType::kLong;
          break;
        case ColumnType::kDouble:
          expected = vb::VarType::kDouble;
          break;
        case ColumnType::kCurrency:
          expected = vb::VarType::kCurrency;
          break;
        case ColumnType::kDateTime:
          expected = vb::VarType::kDate;
          break;
        case ColumnType::kYesNo:
          expected = vb::VarType::kBoolean;
          break;
      }
      if (values[i].type() != expected && ++mismatches <= 5) {
        ADD_FAILURE() << table.name << "." << column.name << " holds VarType "
                      << static_cast<int>(values[i].type());
      }
    }
  }
  int mismatches = 0;
};

TEST(DemoGenerator, ValuesHaveTheirColumnsTypes) {
  TypeCheckSink sink;
  GenerateDemoCompany({1, *ParseIsoDate("2025-01-02")}, sink);
  EXPECT_EQ(sink.mismatches, 0);
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
    HashSink sink;
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
