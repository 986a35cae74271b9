// Renders the accounting tables as SQL for SQLite and PostgreSQL: CREATE, DROP, CREATE INDEX and INSERT text.
// SQLite keeps every name's spelling (quoted); PostgreSQL gets lower-case names, quoted only where reserved.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/schema/accounting_tables.h"

namespace vob::schema {

enum class SqlDialect { kSqlite, kPostgres };

// A table or column name as the dialect needs it in a statement.
std::string QuoteName(std::string_view name, SqlDialect dialect);
// The declared type of a column: TEXT COLLATE NOCASE, LONG, DOUBLE, CURRENCY, DATETIME, YESNO in SQLite;
// text, integer, double precision, numeric(19,4), timestamp, boolean in PostgreSQL.
std::string DeclaredType(const ColumnDef& column, SqlDialect dialect);

std::string CreateTableSql(const TableDef& table, SqlDialect dialect);
std::string DropTableSql(const TableDef& table, SqlDialect dialect);
std::string CreateIndexSql(const IndexDef& index, SqlDialect dialect);
// INSERT with one "?" parameter per column, in column order (SQLite).
std::string InsertSql(const TableDef& table);

// Every CREATE TABLE, in table order; indexes come separately so that a loader can build them after the rows.
std::vector<std::string> CreateSchemaSql(SqlDialect dialect);
// PostgreSQL also gets an index on lower(column) for every indexed text column and text key, the expression
// its case-insensitive comparisons use.
std::vector<std::string> CreateIndexesSql(SqlDialect dialect);

}  // namespace vob::schema
