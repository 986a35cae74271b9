// SQL text for the accounting tables in both dialects, built from the one table list.
// PostgreSQL folds unquoted names to lower case, which is what lets the reports' mixed spellings resolve
// there.
#include "framework/schema/schema_sql.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace vob::schema {
namespace {

// PostgreSQL's reserved key words (those that cannot name a column unquoted), lower case and sorted.
constexpr std::string_view kPostgresReserved[] = {
    "all",
    "analyse",
    "analyze",
    "and",
    "any",
    "array",
    "as",
    "asc",
    "asymmetric",
    "authorization",
    "binary",
    "both",
    "case",
    "cast",
    "check",
    "collate",
    "collation",
    "column",
    "concurrently",
    "constraint",
    "create",
    "cross",
    "current_catalog",
    "current_date",
    "current_role",
    "current_schema",
    "current_time",
    "current_timestamp",
    "current_user",
    "default",
    "deferrable",
    "desc",
    "distinct",
    "do",
    "else",
    "end",
    "except",
    "false",
    "fetch",
    "for",
    "foreign",
    "freeze",
    "from",
    "full",
    "grant",
    "group",
    "having",
    "ilike",
    "in",
    "initially",
    "inner",
    "intersect",
    "into",
    "is",
    "isnull",
    "join",
    "lateral",
    "leading",
    "left",
    "like",
    "limit",
    "localtime",
    "localtimestamp",
    "natural",
    "not",
    "notnull",
    "null",
    "offset",
    "on",
    "only",
    "or",
    "order",
    "outer",
    "overlaps",
    "placing",
    "primary",
    "references",
    "returning",
    "right",
    "select",
    "session_user",
    "similar",
    "some",
    "symmetric",
    "system_user",
    "table",
    "tablesample",
    "then",
    "to",
    "trailing",
    "true",
    "union",
    "unique",
    "user",
    "using",
    "variadic",
    "verbose",
    "when",
    "where",
    "window",
    "with",
};
static_assert(std::is_sorted(std::begin(kPostgresReserved), std::end(kPostgresReserved)));

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool IsPostgresReserved(const std::string& lower_name) {
  return std::binary_search(std::begin(kPostgresReserved), std::end(kPostgresReserved), lower_name);
}

std::string IndexName(const IndexDef& index) {
  return "ix_" + std::string(Table(index.table).name) + "_" + std::string(index.column);
}

bool IsTextColumn(const IndexDef& index) {
  for (const ColumnDef& column : Table(index.table).columns) {
    if (Lower(column.name) == Lower(index.column)) return column.type == ColumnType::kText;
  }
  return false;
}

// PostgreSQL compares text as lower(column) = lower(value), as the data layer translates the dialect's
// case-insensitive "=", and only an index on that very expression serves such a lookup.
std::string CreateCaselessIndexSql(const IndexDef& index) {
  return "CREATE INDEX " + QuoteName(IndexName(index) + "_lower", SqlDialect::kPostgres) + " ON " +
         QuoteName(Table(index.table).name, SqlDialect::kPostgres) + " (lower(" +
         QuoteName(index.column, SqlDialect::kPostgres) + "))";
}

}  // namespace

std::string QuoteName(std::string_view name, SqlDialect dialect) {
  if (dialect == SqlDialect::kSqlite) return "\"" + std::string(name) + "\"";
  std::string lower = Lower(name);
  return IsPostgresReserved(lower) ? "\"" + lower + "\"" : lower;
}

std::string DeclaredType(const ColumnDef& column, SqlDialect dialect) {
  const bool sqlite = dialect == SqlDialect::kSqlite;
  switch (column.type) {
    case ColumnType::kText:
      return sqlite ? "TEXT COLLATE NOCASE" : "text";
    case ColumnType::kLong:
      // A whole-number key is SQLite's rowid alias: the fastest key it has.
      if (sqlite) return column.is_key ? "INTEGER" : "LONG";
      return "integer";
    case ColumnType::kDouble:
      return sqlite ? "DOUBLE" : "double precision";
    case ColumnType::kCurrency:
      return sqlite ? "CURRENCY" : "numeric(19,4)";
    case ColumnType::kDateTime:
      return sqlite ? "DATETIME" : "timestamp";
    case ColumnType::kYesNo:
      return sqlite ? "YESNO" : "boolean";
  }
  return {};
}

std::string CreateTableSql(const TableDef& table, SqlDialect dialect) {
  std::string sql = "CREATE TABLE " + QuoteName(table.name, dialect) + " (";
  for (size_t i = 0; i < table.columns.size(); ++i) {
    const ColumnDef& column = table.columns[i];
    if (i > 0) sql += ", ";
    sql += QuoteName(column.name, dialect) + " " + DeclaredType(column, dialect);
    if (column.is_key) sql += " PRIMARY KEY";
  }
  return sql + ")";
}

std::string DropTableSql(const TableDef& table, SqlDialect dialect) {
  std::string sql = "DROP TABLE IF EXISTS " + QuoteName(table.name, dialect);
  return dialect == SqlDialect::kPostgres ? sql + " CASCADE" : sql;
}

std::string CreateIndexSql(const IndexDef& index, SqlDialect dialect) {
  return "CREATE INDEX " + QuoteName(IndexName(index), dialect) + " ON " +
         QuoteName(Table(index.table).name, dialect) + " (" + QuoteName(index.column, dialect) + ")";
}

std::string InsertSql(const TableDef& table) {
  std::string sql = "INSERT INTO " + QuoteName(table.name, SqlDialect::kSqlite) + " VALUES (";
  for (size_t i = 0; i < table.columns.size(); ++i) sql += i == 0 ? "?" : ", ?";
  return sql + ")";
}

std::vector<std::string> CreateSchemaSql(SqlDialect dialect) {
  std::vector<std::string> statements;
  for (const TableDef& table : AccountingTables()) statements.push_back(CreateTableSql(table, dialect));
  return statements;
}

std::vector<std::string> CreateIndexesSql(SqlDialect dialect) {
  std::vector<std::string> statements;
  for (const IndexDef& index : AccountingIndexes()) {
    statements.push_back(CreateIndexSql(index, dialect));
    if (dialect == SqlDialect::kPostgres && IsTextColumn(index))
      statements.push_back(CreateCaselessIndexSql(index));
  }
  if (dialect == SqlDialect::kPostgres) {
    // Text keys are looked up the same way; their primary key index serves only exact-case comparisons.
    for (const TableDef& table : AccountingTables()) {
      for (const ColumnDef& column : table.columns) {
        if (column.is_key && column.type == ColumnType::kText)
          statements.push_back(CreateCaselessIndexSql({table.id, column.name}));
      }
    }
  }
  return statements;
}

}  // namespace vob::schema
