// The PostgreSQL side of the demo database: rows are COPY'd in text format from a buffer per table, which is
// sent whenever it grows past a megabyte, so generating and loading interleave in bounded memory.
#include "framework/schema/postgres_loader.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include <fmt/format.h>

#include "framework/schema/iso_date.h"
#include "framework/schema/schema_error.h"
#include "framework/schema/schema_sql.h"
#include "platform/data/connection_string.h"

namespace vob::schema {
namespace {

constexpr size_t kFlushBytes = size_t{1} << 20;

std::string TrimmedMessage(const char* message) {
  std::string text = message ? message : "";
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  return text;
}

bool IsAdoStyle(std::string_view connection) {
  std::string lower(connection);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower.find("provider=") != std::string::npos;
}

PGconn* Connect(std::string_view connection) {
  if (!IsAdoStyle(connection)) return PQconnectdb(std::string(connection).c_str());
  const data::ConnectionParams params = data::ParseConnectionString(connection);
  if (params.provider != data::ConnectionParams::Provider::kPostgres) {
    throw SchemaError("demo-db --postgres: the connection string names another provider than PostgreSQL");
  }
  std::vector<const char*> keywords, values;
  for (const auto& [keyword, value] : params.postgres_keywords) {
    keywords.push_back(keyword.c_str());
    values.push_back(value.c_str());
  }
  keywords.push_back(nullptr);
  values.push_back(nullptr);
  return PQconnectdbParams(keywords.data(), values.data(), 1);
}

class PostgresDatabase : public RowSink {
 public:
  explicit PostgresDatabase(std::string_view connection)
      : connection_(Connect(connection), &PQfinish), buffers_(kTableCount) {
    if (PQstatus(connection_.get()) != CONNECTION_OK) {
      throw SchemaError("cannot connect to PostgreSQL: " + TrimmedMessage(PQerrorMessage(connection_.get())));
    }
  }

  void Execute(const std::string& sql) {
    std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(connection_.get(), sql.c_str()), &PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      throw SchemaError("PostgreSQL: " + TrimmedMessage(PQerrorMessage(connection_.get())) + " in: " + sql);
    }
  }

  void AddRow(const TableDef& table, std::span<const vb::Variant> values) override {
    std::string& buffer = buffers_[static_cast<size_t>(table.id)];
    for (size_t i = 0; i < values.size(); ++i) {
      if (i > 0) buffer += '\t';
      AppendCopyText(buffer, values[i]);
    }
    buffer += '\n';
    ++rows_;
    if (buffer.size() >= kFlushBytes) Flush(table);
  }

  void FlushAll() {
    for (const TableDef& table : AccountingTables()) Flush(table);
  }

  int64_t rows() const { return rows_; }

 private:
  void Flush(const TableDef& table) {
    std::string& buffer = buffers_[static_cast<size_t>(table.id)];
    if (buffer.empty()) return;
    const std::string sql = "COPY " + QuoteName(table.name, SqlDialect::kPostgres) + " FROM STDIN";
    std::unique_ptr<PGresult, decltype(&PQclear)> start(PQexec(connection_.get(), sql.c_str()), &PQclear);
    if (PQresultStatus(start.get()) != PGRES_COPY_IN) {
      throw SchemaError("PostgreSQL: " + TrimmedMessage(PQerrorMessage(connection_.get())) + " in: " + sql);
    }
    if (PQputCopyData(connection_.get(), buffer.data(), static_cast<int>(buffer.size())) != 1 ||
        PQputCopyEnd(connection_.get(), nullptr) != 1) {
      throw SchemaError("PostgreSQL: " + TrimmedMessage(PQerrorMessage(connection_.get())) + " in: " + sql);
    }
    for (PGresult* result = PQgetResult(connection_.get()); result != nullptr;
         result = PQgetResult(connection_.get())) {
      const bool failed = PQresultStatus(result) != PGRES_COMMAND_OK;
      PQclear(result);
      if (failed)
        throw SchemaError("PostgreSQL: " + TrimmedMessage(PQerrorMessage(connection_.get())) + " in: " + sql);
    }
    buffer.clear();
  }

  // COPY's text format: tab-separated, \N for Null, backslash escapes for the separators.
  static void AppendCopyText(std::string& buffer, const vb::Variant& value) {
    switch (value.type()) {
      case vb::VarType::kString:
        for (char c : value.str()) {
          switch (c) {
            case '\\':
              buffer += "\\\\";
              break;
            case '\t':
              buffer += "\\t";
              break;
            case '\n':
              buffer += "\\n";
              break;
            case '\r':
              buffer += "\\r";
              break;
            default:
              buffer += c;
          }
        }
        return;
      case vb::VarType::kLong:
        buffer += std::to_string(value.long_value());
        return;
      case vb::VarType::kInteger:
        buffer += std::to_string(value.integer());
        return;
      case vb::VarType::kDouble:
        buffer += fmt::format("{}", value.dbl());
        return;
      case vb::VarType::kCurrency:
        buffer += value.currency().ToString();
        return;
      case vb::VarType::kDate:
        buffer += FormatIsoDate(value.date_serial());
        return;
      case vb::VarType::kBoolean:
        buffer += value.boolean() ? 't' : 'f';
        return;
      default:
        buffer += "\\N";
        return;
    }
  }

  std::unique_ptr<PGconn, decltype(&PQfinish)> connection_{nullptr, &PQfinish};
  std::vector<std::string> buffers_;
  int64_t rows_ = 0;
};

}  // namespace

LoadSummary LoadDemoPostgres(std::string_view connection, const DemoOptions& options, bool schema_only,
                             std::string_view schema) {
  PostgresDatabase database(connection);
  database.Execute("BEGIN");
  database.Execute("SET LOCAL client_min_messages TO warning");
  if (!schema.empty()) {
    const std::string name = QuoteName(schema, SqlDialect::kPostgres);
    database.Execute("CREATE SCHEMA IF NOT EXISTS " + name);
    database.Execute("SET LOCAL search_path TO " + name);
  }
  for (const TableDef& table : AccountingTables())
    database.Execute(DropTableSql(table, SqlDialect::kPostgres));
  for (const std::string& sql : CreateSchemaSql(SqlDialect::kPostgres)) database.Execute(sql);
  if (!schema_only) {
    GenerateDemoCompany(options, database);
    database.FlushAll();
    // The generator numbered RowNo itself; rows a user adds later go on from there.
    for (const TableDef& table : AccountingTables()) {
      if (table.columns.empty() || table.columns.back().name != columns::kRowNo) continue;
      const std::string name = QuoteName(table.name, SqlDialect::kPostgres);
      database.Execute("SELECT setval(pg_get_serial_sequence('" + name +
                       "', 'rowno'), coalesce(max(rowno), 0) + 1, " + "false) FROM " + name);
    }
  }
  for (const std::string& sql : CreateIndexesSql(SqlDialect::kPostgres)) database.Execute(sql);
  if (!schema_only) {
    // Only our tables (a bare ANALYZE visits the whole database), inside the transaction so the schema holds.
    std::string analyze = "ANALYZE ";
    for (const TableDef& table : AccountingTables()) {
      analyze += (table.id == TableId{} ? "" : ", ") + QuoteName(table.name, SqlDialect::kPostgres);
    }
    database.Execute(analyze);
  }
  database.Execute("COMMIT");
  return {kTableCount, database.rows()};
}

}  // namespace vob::schema
