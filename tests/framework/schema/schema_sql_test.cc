// The accounting schema: every table and column the reports read, spelled as they spell them, in both
// dialects; and the SQLite writer's all-or-nothing file handling.
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "framework/schema/iso_date.h"
#include "framework/schema/schema_error.h"
#include "framework/schema/schema_sql.h"
#include "framework/schema/sqlite_loader.h"

namespace vob::schema {
namespace {

std::filesystem::path ScratchDirectory(const std::string& name) {
  std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("vob-schema-" + name + "-" + std::to_string(getpid()));
  std::filesystem::create_directories(directory);
  return directory;
}

// The columns of each table as the reports name them, written out apart from the table list in the code.
struct ExpectedTable {
  const char* table;
  const char* columns;  // blank-separated
};
constexpr ExpectedTable kExpectedTables[] = {
    {"GLAccountsHeader", "AccountNo AccountName Group Type Parent Reconciliable"},
    {"GLAccountsDetail", "AccountNo AccountingPeriod DebitAmount Todate"},
    {"GLJournalHeader",
     "JournalEntryNo Description Reference JournalRef LedgerType TransDate Modified ModifiedBy"},
    {"GLJournalDetail", "JournalEntryNo LineNo AccountNo AccountName TransDate DebitAmount"},
    {"Customers",
     "CustomerID Name Contact Address1 Address2 City State ZipCode Phone1 Phone2 Fax BillGroup "
     "AccountType TaxID TaxNo SalesPerson CreditLimit CurrentBalance CurrentCredit LastSalesAmount "
     "LastPaymentAmount LastSaleDate LastPaymentDate Notes"},
    {"CustomersAlt",
     "CustomerID Location Name Address1 Address2 City State zipcode Phone1 Phone2 Fax Contact"},
    {"ARInvoiceHeader",
     "InvoiceNo InvoiceNumber InvoiceType CustomerID InvoiceDate DueDate OriginalInvoiceNo "
     "originalinvoicetype SubTotal Tax Total PaidAmount NetAmount CustomerPONumber FOB Via OurRef "
     "PaidRef Notes TermCode MessageNo Name Contact Address1 Address2 city State zipcode ShiptoName "
     "ShiptoAddress1 ShiptoAddress2 Shiptocity ShiptoState Shiptozipcode"},
    {"ARInvoiceDetail",
     "InvoiceNo ItemCode Description ItemType DepartmentNo Ordered Shipped Backordered SalesPrice "
     "SplitAmount Discount"},
    {"SalesOrderHeader",
     "OrderNo OrderDate CustomerID CustomerPONumber FOB Via OurRef PaidRef Notes SubTotal Tax Total Name Contact Address1 "
     "Address2 city State zipcode ShiptoName ShiptoAddress1 ShiptoAddress2 Shiptocity ShiptoState "
     "Shiptozipcode"},
    {"SalesOrderDetail", "OrderNo Ordered Description SalesPrice SplitAmount Discount"},
    {"Terms", "TermCode Description"},
    {"libMessages", "MessageNo MessageText"},
    {"Vendors",
     "VendorID Name Contact Address1 Address2 City State ZipCode Phone1 Phone2 Fax BillGroup AccountType "
     "TaxID TaxNo Territory Notes CreditLimit CurrentBalance CurrentCredit LastPurchaseAmount "
     "LastPaymentAmount LastPurchaseDate LastPaymentDate"},
    {"VendorsAlt", "VendorID Location Name Address1 Address2 City State zipcode Phone1 Phone2 Fax Contact"},
    {"APInvoiceHeader",
     "InvoiceNo InvoiceNumber VendInvNo InvoiceType VendorID InvoiceDate DueDate OriginalInvoiceNo "
     "originalinvoicetype SubTotal Tax Total PaidAmount NetAmount PayablesAccount TermCode FOB Via "
     "OurRef PaidRef Notes Name Contact Address1 Address2 city State zipcode ShiptoName "
     "ShiptoAddress1 ShiptoAddress2 Shiptocity ShiptoState Shiptozipcode"},
    {"APInvoiceDetail",
     "InvoiceNo ItemCode Description ItemType DepartmentNo Ordered Received Backordered SalesPrice "
     "SplitAmount Discount"},
    {"POHeader",
     "PONo PONumber OrderDate VendorID CorrespondTo FOB Via OurRef SubTotal Tax Total NottoExceed Name "
     "Contact Address1 Address2 city State zipcode"},
    {"PODetail", "PONo ItemCode Description Ordered Cost Discount SplitAmount"},
    {"CheckRegister",
     "AccountNo CheckNo CheckDate Type Name CustomerID CashHeaderNo Payment Deposit Balance Cleared "
     "Void"},
    {"CashHeader",
     "TransNo CustomerId TransType CheckNo AccountNo Amount ReceiptDate Address city state Zipcode"},
    {"CashDetail", "TransNo VendInvno InvoiceDate InvoiceAmount DiscountTaken Applied"},
    {"Products",
     "Code Description SalesMeasure Bin DepartmentNo VendorID SalesPrice Taxable AverageCost StandardCost "
     "LastPurchasePrice OnHandFractions OnOrderFractions MinimumQuantity ReorderQuantity InventoryTracking"},
    {"Services", "Code Description SalesMeasure Taxable SalesPrice"},
    {"JobCostHeader",
     "JobID JobName CustomerID Contact ContactPhn ContactEMail Notes StartDate EndDate Closed "
     "EstimatedRevenue EstimatedCost"},
    {"JobCostDetail",
     "JobID JobCharges LedgerType LedgerReference JournalRefNo ItemDescription LineDescription "
     "TransDate TransLineNo"},
    {"CompanyProfile", "MastHead"},
    {"libChecks",
     "StyleID Default Units DateTop dateleft amountTop amountLeft vAmountTop vAmountleft AddressTop "
     "AddressLeft stubTop stubLeft"},
    {"libLabels",
     "LabelID unit TopMargin SideMargin LabelWidth LabelHeight VerticalPitch HorizontalPitch PageHeight "
     "PageWidth numberAcross NumberDown pageSize"},
};

TEST(AccountingSchema, HasEveryColumnTheReportsRead) {
  const std::filesystem::path directory = ScratchDirectory("columns");
  const std::filesystem::path file = directory / "empty.sqlite";
  EXPECT_EQ(WriteDemoSqlite(file, {}, true).rows, 0);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  for (const ExpectedTable& expected : kExpectedTables) {
    std::set<std::string> actual;
    sqlite3_stmt* statement = nullptr;
    const std::string sql = std::string("SELECT name FROM pragma_table_info('") + expected.table + "')";
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
    while (sqlite3_step(statement) == SQLITE_ROW)
      actual.insert(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    EXPECT_FALSE(actual.empty()) << "no table " << expected.table;
    std::istringstream names(expected.columns);
    for (std::string name; names >> name;) EXPECT_TRUE(actual.count(name)) << expected.table << "." << name;
  }
  // Names resolve in any letter case, and the reserved ones in brackets, as in the reports' SQL.
  for (const char* sql :
       {"SELECT duedate, DueDate FROM ARInvoiceHeader", "SELECT ToDate, todate FROM GLAccountsDetail",
        "SELECT Zipcode, zipcode FROM Customers", "SELECT CustomerId FROM ARInvoiceHeader",
        "SELECT GLAccountsHeader.[Group], CheckRegister.[Type] FROM GLAccountsHeader, CheckRegister",
        "SELECT * FROM libChecks WHERE Default = 1"}) {
    sqlite3_stmt* statement = nullptr;
    const bool prepared = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK;
    sqlite3_finalize(statement);
    // "Default" unbracketed is a key word in SQLite; the data layer's translator brackets it.
    EXPECT_EQ(prepared, std::string(sql).find("WHERE Default") == std::string::npos)
        << sql << ": " << sqlite3_errmsg(db);
  }
  sqlite3_close(db);
  std::filesystem::remove_all(directory);
}

TEST(AccountingSchema, RendersEachDialect) {
  const TableDef& accounts = Table(TableId::kGLAccountsHeader);
  EXPECT_EQ(
      CreateTableSql(accounts, SqlDialect::kSqlite),
      "CREATE TABLE \"GLAccountsHeader\" (\"AccountNo\" TEXT COLLATE NOCASE PRIMARY KEY, \"AccountName\" "
      "TEXT "
      "COLLATE NOCASE, \"Group\" TEXT COLLATE NOCASE, \"Type\" TEXT COLLATE NOCASE, \"Parent\" TEXT COLLATE "
      "NOCASE, \"Reconciliable\" YESNO)");
  EXPECT_EQ(CreateTableSql(accounts, SqlDialect::kPostgres),
            "CREATE TABLE glaccountsheader (accountno text PRIMARY KEY, accountname text, \"group\" text, "
            "type text, "
            "parent text, reconciliable boolean)");
  EXPECT_EQ(
      CreateTableSql(Table(TableId::kCashDetail), SqlDialect::kSqlite),
      "CREATE TABLE \"CashDetail\" (\"TransNo\" LONG, \"VendInvno\" TEXT COLLATE NOCASE, \"InvoiceDate\" "
      "DATETIME, \"InvoiceAmount\" CURRENCY, \"DiscountTaken\" CURRENCY, \"Applied\" CURRENCY, \"RowNo\" "
      "INTEGER PRIMARY KEY)");
  EXPECT_EQ(CreateTableSql(Table(TableId::kLibMessages), SqlDialect::kPostgres),
            "CREATE TABLE libmessages (messageno integer PRIMARY KEY, messagetext text)");
  EXPECT_EQ(
      CreateTableSql(Table(TableId::kTerms), SqlDialect::kSqlite),
      "CREATE TABLE \"Terms\" (\"TermCode\" TEXT COLLATE NOCASE PRIMARY KEY, \"Description\" TEXT COLLATE "
      "NOCASE, \"NetDays\" LONG)");
  EXPECT_EQ(DropTableSql(accounts, SqlDialect::kPostgres), "DROP TABLE IF EXISTS glaccountsheader CASCADE");
  EXPECT_EQ(InsertSql(Table(TableId::kLibMessages)), "INSERT INTO \"libMessages\" VALUES (?, ?)");

  struct Case {
    const char* name;
    const char* postgres;
  };
  static constexpr Case kCases[] = {
      {"Group", "\"group\""}, {"Default", "\"default\""}, {"Type", "type"},     {"LineNo", "lineno"},
      {"ToDate", "todate"},   {"Order", "\"order\""},     {"User", "\"user\""}, {"CustomerId", "customerid"},
  };
  for (const Case& c : kCases) EXPECT_EQ(QuoteName(c.name, SqlDialect::kPostgres), c.postgres) << c.name;
  EXPECT_EQ(QuoteName("LineNo", SqlDialect::kSqlite), "\"LineNo\"");
}

TEST(SqliteLoader, ReplacesAFileOnlyWithACompleteOne) {
  const std::filesystem::path directory = ScratchDirectory("loader");
  const std::filesystem::path file = directory / "demo.sqlite";
  std::ofstream(file) << "not a database";
  WriteDemoSqlite(file, {}, true);
  std::ifstream written(file);
  std::string magic(15, '\0');
  written.read(magic.data(), 15);
  EXPECT_EQ(magic, "SQLite format 3");

  // A failed generation leaves the old file and no temporary beside it.
  EXPECT_THROW(WriteDemoSqlite(file, {0, *ParseIsoDate("2026-01-01")}, false), SchemaError);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(
      std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator()),
      1);

  const std::filesystem::path missing = directory / "no such folder" / "demo.sqlite";
  try {
    WriteDemoSqlite(missing, {}, true);
    ADD_FAILURE() << "no error";
  } catch (const SchemaError& error) {
    EXPECT_EQ(std::string(error.what()),
              "cannot create " + missing.string() + ": unable to open database file");
  }
  std::filesystem::remove_all(directory);
}

TEST(IsoDate, ReadsOnlyRealCalendarDays) {
  struct Case {
    const char* text;
    const char* formatted;  // nullptr: rejected
  };
  static constexpr Case kCases[] = {
      {"2026-06-30", "2026-06-30"}, {"2024-02-29", "2024-02-29"},
      {"1901-01-01", "1901-01-01"}, {"2025-02-29", nullptr},
      {"2026-13-01", nullptr},      {"2026-6-30", nullptr},
      {"2026/06/30", nullptr},      {"", nullptr},
      {"2026-06-30 ", nullptr},
  };
  for (const Case& c : kCases) {
    const std::optional<double> serial = ParseIsoDate(c.text);
    if (c.formatted == nullptr) {
      EXPECT_FALSE(serial) << c.text;
    } else {
      ASSERT_TRUE(serial) << c.text;
      EXPECT_EQ(FormatIsoDate(*serial), c.formatted);
    }
  }
  EXPECT_EQ(FormatIsoDate(*ParseIsoDate("2024-01-31") + (14 * 60 + 5) / 1440.0), "2024-01-31 14:05:00");
  EXPECT_EQ(FormatIsoDate(*ParseIsoDate("2024-01-31") + 0.5, 'T'), "2024-01-31T12:00:00");
}

}  // namespace
}  // namespace vob::schema
