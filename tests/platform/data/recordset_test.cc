// Recordsets over SQL on both databases: value types, field names, the dialect's text, date and Like
// semantics, and the guards (read-only, one statement, time-outs). PostgreSQL runs when VOB_TEST_PG is set.
#include "platform/data/recordset.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "platform/data/backend.h"
#include "platform/data/sql_error.h"
#include "platform/data/test_database.h"
#include "platform/vb/date.h"
#include "platform/vb/names.h"

namespace vob::data {
namespace {

using testing::BackendKind;
using testing::TestDatabase;

constexpr const char* kSchema = R"sql(
CREATE TABLE Customers (CustomerID TEXT COLLATE NOCASE PRIMARY KEY, Name TEXT COLLATE NOCASE,
  ZipCode TEXT COLLATE NOCASE, BillGroup TEXT COLLATE NOCASE, CreditLimit CURRENCY, LastSaleDate DATETIME);
CREATE TABLE ARInvoiceHeader (InvoiceNo LONG PRIMARY KEY, InvoiceNumber TEXT COLLATE NOCASE,
  InvoiceType TEXT COLLATE NOCASE, CustomerID TEXT COLLATE NOCASE, InvoiceDate DATETIME, DueDate DATETIME,
  NetAmount CURRENCY, Name TEXT COLLATE NOCASE);
CREATE TABLE ARInvoiceDetail (InvoiceNo LONG, ItemCode TEXT COLLATE NOCASE, Shipped DOUBLE, SplitAmount CURRENCY);
CREATE TABLE GLAccountsHeader (AccountNo TEXT COLLATE NOCASE, AccountName TEXT COLLATE NOCASE,
  "group" TEXT COLLATE NOCASE, Type TEXT COLLATE NOCASE);
CREATE TABLE libChecks (StyleID LONG, "default" YESNO, Units TEXT COLLATE NOCASE);
INSERT INTO Customers VALUES ('C1', 'Acme', '123456789', 'Retail', 1000.5, '2024-01-15'),
  ('c2', 'beta Corp', NULL, 'retail', NULL, NULL), ('C3', 'Zed', '12345', 'Wholesale', 0.0001, '2023-12-31 14:05:00');
INSERT INTO ARInvoiceHeader VALUES (1, 'INV-1', 'INV', 'C1', '2024-01-31', '2024-02-29', 123.45, 'Acme'),
  (2, 'inv-2', 'inv', 'C2', '2024-01-31 14:05:00', NULL, -0.1, 'Beta'),
  (3, 'RET-1', 'RET', 'C1', '2024-02-01', '2024-03-01', 9999999999.9999, 'Acme');
INSERT INTO ARInvoiceDetail VALUES (1, 'P-100', 2.5, 100.45), (1, 'S-1', 1, 23), (3, 'P-100', -1, 0.3);
INSERT INTO GLAccountsHeader VALUES ('1000', 'Cash', 'Asset', 'Detail'), ('1', 'Assets', 'Asset', 'General'),
  ('2000', 'Payables', 'Liability', NULL);
INSERT INTO libChecks VALUES (1, {no}, 'IN'), (2, {yes}, 'cm');
)sql";

class RecordsetTest : public ::testing::TestWithParam<BackendKind> {
 protected:
  void SetUp() override {
    if (GetParam() == BackendKind::kPostgres && testing::PostgresUri().empty()) {
      GTEST_SKIP() << "VOB_TEST_PG is not set; run under scripts/with-postgres for the PostgreSQL cases";
    }
    database_ = std::make_unique<TestDatabase>(GetParam());
    database_->Exec(kSchema);
    connection_.set_connection_string(database_->connection_string());
    connection_.Open();
    SetReadAheadDelay(std::chrono::milliseconds(0));  // these results are short: read ahead on them too
  }
  void TearDown() override { SetReadAheadDelay(kReadAheadDelay); }

  // The values of one field over every row, joined by ",", Null as "null".
  std::string Column(const std::string& sql, const std::string& field) {
    Recordset recordset;
    recordset.Open(sql, connection_);
    std::string values;
    for (; !recordset.eof(); recordset.MoveNext()) {
      const vb::Variant& value = recordset.Fields(field);
      values += (values.empty() ? "" : ",") + (value.is_null() ? "null" : Text(value));
    }
    recordset.Close();
    return values;
  }
  static std::string Text(const vb::Variant& value) {
    switch (value.type()) {
      case vb::VarType::kString:
        return value.str();
      case vb::VarType::kLong:
        return std::to_string(value.long_value());
      case vb::VarType::kCurrency:
        return value.currency().ToString();
      default:
        return "?";
    }
  }
  std::string Count(const std::string& table) {
    return Column("SELECT Count(*) AS Rows FROM " + table, "Rows");
  }

  std::unique_ptr<TestDatabase> database_;
  Connection connection_;
};

TEST_P(RecordsetTest, ReadsValuesAsTheirColumnTypes) {
  struct Case {
    const char* sql;
    const char* field;
    vb::Variant expected;
  };
  const Case cases[] = {
      {"Select * from Customers where CustomerID = 'C1'", "Name", vb::Variant("Acme")},
      {"Select * from Customers where CustomerID = 'C1'", "CreditLimit",
       vb::Variant(vb::Currency::FromRaw(10005000))},
      {"Select * from Customers where CustomerID = 'C3'", "CreditLimit",
       vb::Variant(vb::Currency::FromRaw(1))},
      {"Select * from Customers where CustomerID = 'C1'", "LastSaleDate",
       vb::Variant::Date(vb::DateSerial(2024, 1, 15))},
      {"Select * from Customers where CustomerID = 'C3'", "LastSaleDate",
       vb::Variant::Date(vb::DateSerial(2023, 12, 31) + vb::TimeSerial(14, 5, 0))},
      {"Select * from Customers where CustomerID = 'c2'", "CreditLimit", vb::Variant::Null()},
      {"Select * from ARInvoiceHeader where InvoiceNo = 3", "NetAmount",
       vb::Variant(vb::Currency::FromRaw(99999999999999))},
      {"Select * from ARInvoiceHeader where InvoiceNo = 2", "NetAmount",
       vb::Variant(vb::Currency::FromRaw(-1000))},
      {"Select * from ARInvoiceHeader where InvoiceNo = 2", "InvoiceNo", vb::Variant(2)},
      {"Select * from ARInvoiceDetail where ItemCode = 'S-1'", "Shipped", vb::Variant(1.0)},
      {"Select * from libChecks where StyleID = 1", "Default", vb::Variant(false)},
      {"Select * from libChecks where Default = true", "StyleID", vb::Variant(2)},
      {"Select Sum(SplitAmount) from ARInvoiceDetail", "Expr1000",
       vb::Variant(vb::Currency::FromRaw(1237500))},
      {"Select Count(*) AS N from ARInvoiceDetail where InvoiceNo = 1", "N", vb::Variant(2)},
      {"Select UCase(Name) & '/' & ZipCode AS Label from Customers where CustomerID = 'c2'", "Label",
       vb::Variant("BETA CORP/")},
  };
  for (const Case& c : cases) {
    Recordset recordset;
    recordset.Open(c.sql, connection_);
    ASSERT_FALSE(recordset.eof()) << c.sql;
    EXPECT_EQ(recordset.Fields(c.field), c.expected) << c.sql << " field " << c.field;
    recordset.Close();
  }
}

TEST_P(RecordsetTest, FindsFieldsByAnyCaseAndDuplicatesOnlyQualified) {
  Recordset recordset;
  recordset.Open(
      "SELECT ARInvoiceHeader.*, Customers.*  FROM ARInvoiceHeader INNER JOIN Customers ON "
      "ARInvoiceHeader.CustomerID = Customers.CustomerId  order by ARInvoiceheader.Customerid, invoicedate;",
      connection_);
  struct Case {
    const char* name;
    const char* expected;  // nullptr: the name must be refused
  };
  const Case cases[] = {
      {"ARInvoiceHeader.CustomerID", "C1"},
      {"customers.customerid", "C1"},
      {"arinvoiceheader.NAME", "Acme"},
      {"InvoiceNumber", "INV-1"},
      {"INVOICENUMBER", "INV-1"},
      {"ZipCode", "123456789"},
      {"Customers.zipcode", "123456789"},
      {"[InvoiceNumber]", "INV-1"},
      {"Customers.[ZipCode]", "123456789"},
      {"CustomerID", nullptr},
      {"Name", nullptr},
      {"Customers.InvoiceNumber", nullptr},
      {"NoSuchColumn", nullptr},
  };
  // Twice: by the literals, whose answers are kept, and then each name in turn in one reused buffer, whose
  // address stays while the name changes.
  std::string reused;
  reused.reserve(64);
  for (bool is_reused : {false, true}) {
    for (const Case& c : cases) {
      reused = c.name;
      const std::string_view name = is_reused ? std::string_view(reused) : std::string_view(c.name);
      if (c.expected == nullptr) {
        EXPECT_EQ(recordset.FieldIndex(name), -1) << c.name;
        EXPECT_THROW(recordset.Fields(name), SqlError) << c.name;
      } else {
        EXPECT_EQ(Text(recordset.Fields(name)), c.expected) << c.name;
      }
    }
  }
  const int index = recordset.FieldIndex("ARInvoiceHeader.CustomerID");
  EXPECT_TRUE(vb::SameName(recordset.FieldName(index), "ARInvoiceHeader.CustomerID"));
  EXPECT_TRUE(vb::SameName(recordset.FieldName(recordset.FieldIndex("InvoiceNumber")), "InvoiceNumber"));
  try {
    recordset.Fields("customerid");
    FAIL() << "an ambiguous name must fail";
  } catch (const SqlError& error) {
    EXPECT_NE(std::string(error.what()).find("name it as Table.Column"), std::string::npos) << error.what();
  }
  recordset.Close();

  // Aliases written in the query qualify too, and a column selected twice from one table is one field.
  EXPECT_EQ(Column("SELECT c.Name, h.InvoiceNumber FROM Customers AS c INNER JOIN ARInvoiceHeader h ON "
                   "c.CustomerID = h.CustomerID WHERE h.InvoiceNo = 1",
                   "c.Name"),
            "Acme");
  // A join nested on the right runs as a subquery on SQLite; its repeated columns keep their names.
  const std::string nested =
      "SELECT ARInvoiceDetail.*, ARInvoiceHeader.*, Customers.Name FROM Customers INNER JOIN "
      "(ARInvoiceHeader "
      "INNER JOIN ARInvoiceDetail ON ARInvoiceHeader.InvoiceNo = ARInvoiceDetail.InvoiceNo) ON "
      "Customers.CustomerID = ARInvoiceHeader.CustomerID ORDER BY ARInvoiceDetail.ItemCode, "
      "ARInvoiceHeader.InvoiceNo";
  EXPECT_EQ(Column(nested, "ARInvoiceHeader.InvoiceNo"), "1,3,1");
  EXPECT_EQ(Column(nested, "ARInvoiceDetail.InvoiceNo"), "1,3,1");
  EXPECT_EQ(
      Column(
          "SELECT GLAccountsHeader.*, GLAccountsHeader.AccountNo FROM GLAccountsHeader WHERE Type = 'Detail'",
          "AccountNo"),
      "1000");
}

TEST_P(RecordsetTest, KeepsTheDialectsMeaning) {
  struct Case {
    const char* sql;
    const char* field;
    const char* expected;
  };
  const Case cases[] = {
      // Text compares and sorts without regard to case; Nulls sort first, or last when descending.
      {"Select CustomerID from Customers where CustomerID = 'c1'", "CustomerID", "C1"},
      {"Select * from Customers where BillGroup = 'RETAIL' order by CustomerID", "CustomerID", "C1,c2"},
      {"Select * from Customers order by Name", "Name", "Acme,beta Corp,Zed"},
      {"Select * from Customers order by Name DESC", "Name", "Zed,beta Corp,Acme"},
      {"Select * from Customers order by ZipCode, CustomerID", "CustomerID", "c2,C3,C1"},
      {"Select * from Customers order by ZipCode DESC", "CustomerID", "C1,C3,c2"},
      {"Select * from Customers where Name Between 'B' And 'ZZ' order by Name", "Name", "beta Corp,Zed"},
      {"Select * from ARInvoiceHeader where InvoiceType In ('INV','RET', 'SLS') order by InvoiceNo",
       "InvoiceNo", "1,2,3"},
      {"SELECT ARInvoiceHeader.*, Customers.* FROM ARInvoiceHeader INNER JOIN Customers ON "
       "ARInvoiceHeader.CustomerID = Customers.CustomerId order by ARInvoiceheader.invoiceno",
       "Customers.Name", "Acme,beta Corp,Acme"},
      // Like with the dialect's wildcards, without regard to case.
      {"Select * from ARInvoiceHeader where InvoiceNumber Like 'inv*' order by InvoiceNo", "InvoiceNo",
       "1,2"},
      {"Select * from ARInvoiceHeader where InvoiceNumber Like '??"
       "?-#' order by InvoiceNo",
       "InvoiceNo", "1,2,3"},
      {"Select * from ARInvoiceHeader where InvoiceNumber Like '[q-s]*'", "InvoiceNo", "3"},
      {"Select * from ARInvoiceHeader where InvoiceNumber Not Like '[!r]*'", "InvoiceNo", "3"},
      {"Select * from Customers where ZipCode Like '*' order by CustomerID", "CustomerID", "C1,C3"},
      // Date literals compare full date-times: the end date's midnight excludes that day's afternoon.
      {"Select * from ARInvoiceHeader where InvoiceDate Between #1/1/2024# And #1/31/2024#", "InvoiceNo",
       "1"},
      {"Select * from ARInvoiceHeader where InvoiceDate Between #2024-01-01# And #1/31/24 11:59:59 PM# "
       "order by InvoiceNo",
       "InvoiceNo", "1,2"},
      {"Select * from ARInvoiceHeader where InvoiceDate >= #2/1/2024#", "InvoiceNo", "3"},
      {"Select * from ARInvoiceHeader where DueDate Is Null", "InvoiceNo", "2"},
      // Reserved words, Null never equal to anything, the literal true, nested joins.
      {"Select * from GLAccountsHeader where [Group] = 'asset' and Type <> 'General'", "AccountNo", "1000"},
      {"Select * from GLAccountsHeader where ((GLAccountsHeader.Type)<> 'General' ) order by AccountNo",
       "AccountNo", "1000"},
      {"Select * from libChecks where Default = true", "Units", "cm"},
      {"Select * from libChecks where Default <> true", "Units", "IN"},
      {"SELECT ARInvoiceDetail.*, Customers.Name FROM (ARInvoiceDetail INNER JOIN ARInvoiceHeader ON "
       "ARInvoiceDetail.InvoiceNo = ARInvoiceHeader.InvoiceNo) INNER JOIN Customers ON "
       "ARInvoiceHeader.CustomerID = Customers.CustomerID WHERE (((ARInvoiceHeader.InvoiceNo)= 1)) "
       "order by ItemCode DESC;",
       "ItemCode", "S-1,P-100"},
      {"SELECT Customers.Name, Sum(NetAmount) AS Total FROM Customers INNER JOIN ARInvoiceHeader ON "
       "Customers.CustomerID = ARInvoiceHeader.CustomerID GROUP BY Customers.Name ORDER BY Customers.Name",
       "Total", "10000000123.4499,-0.1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Column(c.sql, c.field), c.expected) << c.sql;
}

TEST_P(RecordsetTest, RefusesWritesAndSecondStatementsLeavingTheDataUnchanged) {
  const std::string sql_prefix = "Select * from Customers where CustomerID = '";
  struct Case {
    std::string sql;
    std::string message;
  };
  const Case cases[] = {
      {"DELETE FROM Customers", "only SELECT statements can run, not \"DELETE\" at column 1 near \"DELETE\""},
      {"SELECT * FROM Customers; DELETE FROM Customers;",
       "text after the end of the statement at column 26: \"DELETE FROM Customers\""},
      {sql_prefix + "x'; DROP TABLE Customers; SELECT ''",
       "text after the end of the statement at column 49: \"DROP TABLE Customers; SELECT ''\""},
      {sql_prefix + "O'Brien'", "unterminated text literal starting at column 52"},
      {"SELECT * INTO Copy FROM Customers",
       "SELECT ... INTO writes a table and cannot run at column 10 near \"INTO\""},
      {"Select Format(InvoiceDate, 'yyyy') from ARInvoiceHeader",
       "unsupported function \"Format\" at column 8"},
      {"Select * from Customers where Name Like Name", "Like needs a quoted pattern at column 41"},
      {"Select * from ARInvoiceHeader where InvoiceDate > #13/45/2024#",
       "invalid date literal #13/45/2024# at column 51 near \"#13/45/2024#\""},
  };
  for (const Case& c : cases) {
    Recordset recordset;
    try {
      recordset.Open(c.sql, connection_);
      ADD_FAILURE() << "ran: " << c.sql;
    } catch (const SqlError& error) {
      EXPECT_EQ(error.what(), c.message + " in: " + c.sql);
    }
    EXPECT_EQ(recordset.State(), kStateClosed) << c.sql;
  }
  // The database itself refuses writes, whatever text reaches it.
  for (const char* write : {"DELETE FROM Customers", "UPDATE Customers SET Name = 'x'",
                            "DROP TABLE Customers", "CREATE TABLE Other (x integer)"}) {
    EXPECT_THROW(connection_.backend().RunUntranslated(write), SqlError) << write;
  }
  EXPECT_EQ(Count("Customers"), "3");
  EXPECT_EQ(Column("Select Name from Customers where CustomerID = 'C1'", "Name"), "Acme");
}

TEST_P(RecordsetTest, EndsAQueryThatRunsPastTheCommandTimeout) {
  database_->Exec("CREATE TABLE Numbers (N LONG);");
  std::string values = "INSERT INTO Numbers VALUES (0)";
  for (int i = 1; i < 300; ++i) values += ", (" + std::to_string(i) + ")";
  database_->Exec(values + ";");
  connection_.set_command_timeout(1);
  const std::string sql = "SELECT Count(*) FROM Numbers AS a, Numbers AS b, Numbers AS c, Numbers AS d";
  const auto start = std::chrono::steady_clock::now();
  Recordset recordset;
  try {
    recordset.Open(sql, connection_);
    FAIL() << "the query was not ended";
  } catch (const SqlError& error) {
    EXPECT_EQ(error.what(), "Query timeout expired after 1 seconds in: " + sql);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(Count("Numbers"), "300");  // the session still works
}

TEST_P(RecordsetTest, MovesAndRerunsLikeAnAdoRecordset) {
  Recordset recordset;
  EXPECT_THROW(recordset.Close(), SqlError);  // closing what is not open is an error
  recordset.Open("Select * from Customers where CustomerID = 'none'", connection_);
  EXPECT_TRUE(recordset.eof());
  EXPECT_TRUE(recordset.bof());
  EXPECT_THROW(recordset.Fields("Name"), SqlError);
  EXPECT_THROW(recordset.MoveNext(), SqlError);
  recordset.Close();

  recordset.Open("Select * from Customers order by CustomerID", database_->connection_string());
  EXPECT_EQ(recordset.State(), kStateOpen);
  EXPECT_FALSE(recordset.bof());
  recordset.MoveNext();
  recordset.MoveNext();
  EXPECT_EQ(recordset.Fields("CustomerID").str(), "C3");
  recordset.MoveNext();
  EXPECT_TRUE(recordset.eof());
  recordset.MoveFirst();
  EXPECT_EQ(recordset.Fields("CustomerID").str(), "C1");
  recordset.Close();

  recordset.Open("Select * from Customers order by CustomerID", connection_);

  // A second statement on the same session while the first still streams: both read every row.
  Recordset inner;
  std::string pairs;
  for (; !recordset.eof(); recordset.MoveNext()) {
    const std::string id = recordset.Fields("CustomerID").str();
    inner.Open("Select Count(*) AS N from ARInvoiceHeader where CustomerID = '" + id + "'", connection_);
    pairs += id + "=" + Text(inner.Fields("N")) + " ";
    inner.Close();
  }
  EXPECT_EQ(pairs, "C1=2 c2=1 C3=0 ");
  recordset.Close();
  EXPECT_EQ(recordset.State(), kStateClosed);
}

// A long result is read ahead on another thread: the rows still come in order and whole, statements run
// on the same session between them, a recordset closed half-way stops the reading, and a value that cannot
// be read fails at its own row, after every row before it.
TEST_P(RecordsetTest, ReadsLongResultsAheadAsIfRowByRow) {
  constexpr int kRows = 3000;
  database_->Exec("CREATE TABLE Numbers (N LONG, Label TEXT, Amount CURRENCY);");
  std::string values = "INSERT INTO Numbers VALUES ";
  for (int i = 0; i < kRows; ++i) {
    const std::string n = std::to_string(i);
    values += (i == 0 ? "(" : ", (") + n + ", 'label " + n + std::string(i % 7, 'x') + "', " + n + ".25)";
  }
  database_->Exec(values + ";");

  for (int close_at : {kRows, kRows / 2}) {
    Recordset recordset;
    recordset.Open("SELECT N, Label, Amount FROM Numbers ORDER BY N", connection_);
    int n = 0;
    for (; !recordset.eof() && n < close_at; recordset.MoveNext(), ++n) {
      ASSERT_EQ(recordset.Fields("N"), vb::Variant(n));
      ASSERT_EQ(recordset.Fields("Label").str(), "label " + std::to_string(n) + std::string(n % 7, 'x'));
      ASSERT_EQ(recordset.Fields("Amount"), vb::Variant(vb::Currency::FromRaw(n * 10000LL + 2500)));
      if (n % 500 == 499) {
        EXPECT_EQ(Column("SELECT Count(*) AS C FROM Numbers WHERE N <= " + std::to_string(n), "C"),
                  std::to_string(n + 1));
      }
    }
    EXPECT_EQ(n, close_at);
    recordset.Close();
  }
  EXPECT_EQ(Count("Numbers"), std::to_string(kRows));

  if (GetParam() == BackendKind::kSqlite) {
    database_->Exec("UPDATE Numbers SET Amount = 'none' WHERE N = 2000;");
    Recordset recordset;
    recordset.Open("SELECT N, Amount FROM Numbers ORDER BY N", connection_);
    int n = 0;
    try {
      for (; !recordset.eof(); recordset.MoveNext()) ++n;
      FAIL() << "the unreadable amount was read";
    } catch (const SqlError& error) {
      EXPECT_NE(std::string(error.what()).find("holds \"none\""), std::string::npos) << error.what();
    }
    EXPECT_EQ(n, 2000);
    EXPECT_EQ(Count("Numbers"), std::to_string(kRows));
  }
}

// Recordsets opened while another streams share the session: on PostgreSQL a long result (10 MB here) keeps
// streaming on its connection while the others run on a second one, and a short one is read ahead into
// memory.
TEST_P(RecordsetTest, RunsStatementsBesideALongResultThatStillStreams) {
  database_->Exec("CREATE TABLE Numbers (N LONG PRIMARY KEY, Pad TEXT);");
  database_->Exec(
      "WITH RECURSIVE s(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM s WHERE n < 4999) "
      "INSERT INTO Numbers SELECT n, '" +
      std::string(2000, 'x') + "' FROM s;");
  for (const char* outer_sql : {"Select * from Numbers order by N", "Select * from Numbers where N < 5"}) {
    Recordset outer;
    outer.Open(outer_sql, database_->connection_string());
    int expected = 0;
    std::string names;
    for (; !outer.eof(); outer.MoveNext(), ++expected) {
      ASSERT_EQ(outer.Fields("N").long_value(), expected) << outer_sql;
      ASSERT_EQ(outer.Fields("Pad").str().size(), 2000u);
      if (expected % 2000 != 2) continue;
      Recordset inner;
      inner.Open("Select Name from Customers where CustomerID = 'C3'", database_->connection_string());
      names += inner.Fields("Name").str();
      inner.Close();
      names += Column("Select Count(*) AS Rows from Numbers where N > 4990", "Rows");
    }
    outer.Close();
    EXPECT_EQ(expected, std::string_view(outer_sql).ends_with("order by N") ? 5000 : 5) << outer_sql;
    EXPECT_EQ(names.substr(0, 4), "Zed9") << outer_sql;
  }
}

TEST_P(RecordsetTest, ReportsATableThatDoesNotExist) {
  for (const std::string sql :
       {"Select * from NoSuchTable", "Select Name from NoSuchTable where Name = 'x'",
        "Select * from Customers INNER JOIN NoSuchTable ON Customers.CustomerID = NoSuchTable.CustomerID"}) {
    Recordset recordset;
    try {
      recordset.Open(sql, connection_);
      ADD_FAILURE() << "ran: " << sql;
    } catch (const SqlError& error) {
      const std::string message = error.what();
      EXPECT_NE(vb::LowerAscii(message).find("nosuchtable"), std::string::npos) << message;
      EXPECT_TRUE(message.ends_with(" in: " + sql)) << message;
    }
    EXPECT_EQ(recordset.State(), kStateClosed);
  }
  EXPECT_EQ(Count("Customers"), "3");
}

TEST_P(RecordsetTest, OpensAndClosesConnectionsAsAdoDoes) {
  Connection connection;
  EXPECT_EQ(connection.State(), kStateClosed);
  EXPECT_THROW(connection.Close(), SqlError);
  connection.set_connection_string(database_->connection_string() + "Persist Security Info=False;");
  connection.set_connection_timeout(30);
  connection.Open("", "");
  EXPECT_EQ(connection.State(), kStateOpen);
  EXPECT_THROW(connection.Open(), SqlError);
  connection.Close();
  EXPECT_EQ(connection.State(), kStateClosed);

  Recordset recordset;
  EXPECT_THROW(recordset.Open("Select * from Customers", connection), SqlError);
  // A session that went back to the pool serves the next connection with its statements still prepared.
  for (int i = 0; i < 3; ++i) {
    connection.Open();
    recordset.Open("Select Name from Customers where CustomerID = 'C3'", connection);
    EXPECT_EQ(recordset.Fields("Name").str(), "Zed");
    recordset.Close();
    connection.Close();
  }
}

// The session's own settings (read-only, ISO dates, the command time-out) go with the caller's options, which
// are kept (the search path), and win over them.
TEST(PostgresSession, KeepsTheCallersOptionsAndWinsOverThem) {
  if (testing::PostgresUri().empty()) GTEST_SKIP() << "VOB_TEST_PG is not set";
  TestDatabase database(BackendKind::kPostgres);
  database.Exec("CREATE TABLE Customers (CustomerID TEXT PRIMARY KEY, LastSaleDate DATETIME);");
  database.Exec("INSERT INTO Customers VALUES ('C1', '2024-01-15');");
  database.Exec("CREATE TABLE Numbers (N LONG);");
  database.Exec("INSERT INTO Numbers SELECT generate_series(0, 299);");
  const std::string uri = testing::PostgresUri();
  Connection connection;
  connection.set_connection_string(uri + (uri.find('?') == std::string::npos ? "?" : "&") +
                                   "options=-csearch_path%3D" + database.schema() +
                                   "%20-cDateStyle%3DGerman%20-cdefault_transaction_read_only%3Doff"
                                   "%20-cstatement_timeout%3D0;");
  connection.set_command_timeout(1);
  connection.Open();
  Recordset recordset;
  recordset.Open("Select LastSaleDate from Customers where CustomerID = 'c1'", connection);
  EXPECT_EQ(recordset.Fields("LastSaleDate").date_serial(), vb::DateSerial(2024, 1, 15));
  recordset.Close();
  EXPECT_THROW(connection.backend().RunUntranslated("DELETE FROM Customers"), SqlError);
  const std::string slow = "SELECT Count(*) FROM Numbers AS a, Numbers AS b, Numbers AS c, Numbers AS d";
  try {
    recordset.Open(slow, connection);
    ADD_FAILURE() << "the query was not ended";
  } catch (const SqlError& error) {
    EXPECT_EQ(error.what(), "Query timeout expired after 1 seconds in: " + slow);
  }
}

TEST(Connection, ReportsDatabasesThatCannotBeOpened) {
  const std::string not_a_database =
      (std::filesystem::temp_directory_path() / "vob_not_a_database.db").string();
  std::FILE* file = std::fopen(not_a_database.c_str(), "w");
  std::fputs("plain text, not a database file at all, long enough to have a header", file);
  std::fclose(file);
  struct Case {
    std::string connection_string, message;
  };
  const Case cases[] = {
      {"Provider=SQLite;Data Source=/no/such/dir/books.sqlite;",
       "cannot open the database file /no/such/dir/books.sqlite: unable to open database file"},
      {"Provider=SQLite;Data Source=" + not_a_database + ";",
       not_a_database + ": file is not a database in: SELECT count(*) FROM sqlite_schema"},
      {"Provider=PostgreSQL;Host=127.0.0.1;Port=1;Database=books;User ID=clerk;Password=s3cret;",
       "cannot connect to PostgreSQL: "},
  };
  for (const Case& c : cases) {
    Connection connection;
    connection.set_connection_string(c.connection_string);
    try {
      connection.Open();
      ADD_FAILURE() << "opened: " << c.connection_string;
    } catch (const SqlError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.substr(0, c.message.size()), c.message);
      EXPECT_EQ(message.find("s3cret"), std::string::npos) << message;
    }
    EXPECT_EQ(connection.State(), kStateClosed);
  }
  std::filesystem::remove(not_a_database);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecordsetTest,
                         ::testing::Values(BackendKind::kSqlite, BackendKind::kPostgres),
                         [](const auto& info) { return testing::BackendName(info.param); });

}  // namespace
}  // namespace vob::data
