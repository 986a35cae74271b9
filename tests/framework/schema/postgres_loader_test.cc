// Loading the demo company into PostgreSQL gives as many rows as the SQLite file, and indexes that serve the
// reports' lookups. Runs when VOB_TEST_PG names a server (scripts/with-postgres sets it); the load goes into
// a schema of its own, dropped afterwards.
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "framework/schema/iso_date.h"
#include "framework/schema/postgres_loader.h"
#include "framework/schema/schema_error.h"
#include "framework/schema/schema_sql.h"
#include "framework/schema/sqlite_loader.h"
#include "platform/data/jet_translator.h"
#include "platform/vb/names.h"

namespace vob::schema {
namespace {

std::string PostgresValue(PGconn* connection, const std::string& sql) {
  PGresult* result = PQexec(connection, sql.c_str());
  std::string value = "<error: " + std::string(PQerrorMessage(connection)) + ">";
  if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1) value = PQgetvalue(result, 0, 0);
  PQclear(result);
  return value;
}

std::string SqliteValue(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  std::string value = "<error>";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  }
  sqlite3_finalize(statement);
  return value;
}

TEST(PostgresLoader, LoadsTheSameRowsAsSqlite) {
  const char* server = std::getenv("VOB_TEST_PG");
  if (server == nullptr || *server == '\0') GTEST_SKIP() << "VOB_TEST_PG is not set";
  const DemoOptions options{1, *ParseIsoDate("2026-03-31")};
  const std::string schema = "vob_schema_test_" + std::to_string(getpid());
  const LoadSummary loaded = LoadDemoPostgres(server, options, false, schema);

  const std::filesystem::path file = std::filesystem::temp_directory_path() / (schema + ".sqlite");
  const LoadSummary written = WriteDemoSqlite(file, options, false);
  EXPECT_EQ(loaded.rows, written.rows);

  PGconn* connection = PQconnectdb(server);
  ASSERT_EQ(PQstatus(connection), CONNECTION_OK) << PQerrorMessage(connection);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  for (const TableDef& table : AccountingTables()) {
    EXPECT_EQ(PostgresValue(connection, "SELECT count(*) FROM " + schema + "." +
                                            QuoteName(table.name, SqlDialect::kPostgres)),
              SqliteValue(db, "SELECT count(*) FROM " + QuoteName(table.name, SqlDialect::kSqlite)))
        << table.name;
  }
  // The values themselves are compared where they show: the demo runs print the same pages from both.

  // A row added without RowNo takes the next number after the generator's.
  EXPECT_EQ(PostgresValue(connection, "INSERT INTO " + schema + ".customersalt (customerid) VALUES ('NEW') " +
                                          "RETURNING rowno >= (SELECT max(rowno) FROM " + schema +
                                          ".customersalt)"),
            "t");
  sqlite3_close(db);
  PostgresValue(connection, "SET client_min_messages TO warning");
  PostgresValue(connection, "DROP SCHEMA " + schema + " CASCADE");
  PQfinish(connection);
  std::filesystem::remove(file);
}

// The column kinds of the accounting tables, so that the translator knows which comparisons are of text.
class SchemaCatalog final : public data::Catalog {
 public:
  std::optional<data::ValueKind> ColumnKind(std::string_view table, std::string_view column) override {
    for (const TableDef& candidate : AccountingTables()) {
      if (!vb::SameName(candidate.name, table)) continue;
      for (const ColumnDef& definition : candidate.columns) {
        if (vb::SameName(definition.name, column))
          return definition.type == ColumnType::kText ? data::ValueKind::kText : data::ValueKind::kLong;
      }
    }
    return std::nullopt;
  }
};

// A per-row lookup by a text key compares lower() of both sides on PostgreSQL; an index must serve exactly
// that expression, or each lookup scans its table.
TEST(PostgresLoader, IndexesServeCaseInsensitiveKeyLookups) {
  const char* server = std::getenv("VOB_TEST_PG");
  if (server == nullptr || *server == '\0') GTEST_SKIP() << "VOB_TEST_PG is not set";
  const std::string schema = "vob_index_test_" + std::to_string(getpid());
  LoadDemoPostgres(server, {1, *ParseIsoDate("2026-03-31")}, true, schema);
  PGconn* connection = PQconnectdb(server);
  ASSERT_EQ(PQstatus(connection), CONNECTION_OK) << PQerrorMessage(connection);
  // The tables are empty: without this the planner would rightly prefer a scan.
  PQclear(PQexec(connection, ("SET search_path TO " + schema + "; SET enable_seqscan = off").c_str()));

  struct Case {
    const char* jet;
    const char* index;
  };
  const Case kCases[] = {
      {"SELECT * FROM Customers WHERE CustomerID = 'ACME0021'", "ix_customers_customerid_lower"},
      {"Select Name, TaxID from Vendors  WHERE VendorID = 'v100'", "ix_vendors_vendorid_lower"},
      {"SELECT * FROM GLAccountsHeader WHERE AccountNo = '1010'", "ix_glaccountsheader_accountno_lower"},
      {"SELECT ARInvoiceHeader.*, Customers.* FROM ARInvoiceHeader INNER JOIN Customers ON "
       "ARInvoiceHeader.CustomerID = Customers.CustomerId Where ARInvoiceHeader.CustomerID = 'ACME0021'",
       "ix_arinvoiceheader_customerid_lower"},
      {"SELECT * FROM APInvoiceHeader WHERE VendorID = 'V100'", "ix_apinvoiceheader_vendorid_lower"},
  };
  SchemaCatalog catalog;
  for (const Case& c : kCases) {
    const data::TranslatedStatement translated =
        data::TranslateJet(c.jet, data::SqlDialect::kPostgres, catalog);
    const std::string& sql = translated.sql;
    std::vector<const char*> values;
    for (const std::string& value : translated.parameters) values.push_back(value.c_str());
    PGresult* result = PQexecParams(connection, ("EXPLAIN " + sql).c_str(), static_cast<int>(values.size()),
                                    nullptr, values.data(), nullptr, nullptr, 0);
    std::string plan = PQresultErrorMessage(result);
    for (int row = 0; row < PQntuples(result); ++row) plan += std::string(PQgetvalue(result, row, 0)) + "\n";
    PQclear(result);
    EXPECT_NE(plan.find(c.index), std::string::npos) << sql << "\n" << plan;
    EXPECT_EQ(plan.find("Seq Scan"), std::string::npos) << sql << "\n" << plan;
  }
  PQclear(
      PQexec(connection, ("SET client_min_messages TO warning; DROP SCHEMA " + schema + " CASCADE").c_str()));
  PQfinish(connection);
}

TEST(PostgresLoader, NamesTheServerThatRefuses) {
  try {
    LoadDemoPostgres("host=127.0.0.1 port=1 connect_timeout=2", {1, *ParseIsoDate("2026-03-31")}, true);
    ADD_FAILURE() << "no error";
  } catch (const SchemaError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("cannot connect to PostgreSQL: ", 0), 0u) << error.what();
  }
}

}  // namespace
}  // namespace vob::schema
