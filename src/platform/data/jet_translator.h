// Translates one Jet-dialect SELECT into the SQL of a backend, keeping the dialect's meaning: text compares
// and sorts without regard to case, Nulls sort first, #dates# are date-times, Like takes Jet wildcards.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/value_kind.h"

namespace vob::data {

enum class SqlDialect { kSqlite, kPostgres };

// What the translator needs to know of the database's tables: the kind of each column. Backends implement it
// over their own catalogs.
class Catalog {
 public:
  virtual ~Catalog() = default;
  // Called with a statement's tables before any question about them, so that a catalog read from the
  // database reads them together at the first question.
  virtual void LookUp(const std::vector<std::string>& /*tables*/) {}
  // Nothing when the table or the column does not exist; names match regardless of case.
  virtual std::optional<ValueKind> ColumnKind(std::string_view table, std::string_view column) = 0;
  // The table's primary key when it is one column, as the catalog spells it; nothing for a table without one.
  virtual std::optional<std::string> KeyColumn(std::string_view /*table*/) { return std::nullopt; }
};

// A name the query's FROM clause gives a table (its alias, or the table name as written) and the base table.
struct TableName {
  std::string written;
  std::string table;
};

struct TranslatedStatement {
  std::string sql;
  // The kinds of the select list's computed items (anything but plain columns and stars), in order; a
  // backend gives them to the result columns that have no base table, in the same order.
  std::vector<ValueKind> computed_kinds;
  std::vector<TableName> tables;
  // PostgreSQL only: the texts compared without regard to case, sent as parameters $1, $2, ... so that
  // lookups that differ only by their key share one prepared statement.
  std::vector<std::string> parameters;
};

// Rows that tie on a statement's ORDER BY come in one order on every backend: the translation sorts them
// further by the key of each table of the FROM clause that has a one-column key, in the clause's order (a
// table without one adds nothing: SQLite's rowid is out of reach inside nested joins and PostgreSQL has no
// stable equivalent), unless the rows are grouped, aggregated or DISTINCT.
// Throws SqlError quoting `jet_sql` for text that is not one SELECT of the dialect or uses a construct or
// function the translator does not know.
TranslatedStatement TranslateJet(std::string_view jet_sql, SqlDialect dialect, Catalog& catalog);

}  // namespace vob::data
