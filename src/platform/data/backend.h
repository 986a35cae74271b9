// The internal seam between connections/recordsets and a database: translate a Jet statement once per
// session, run it, stream its rows. SQLite and PostgreSQL implement it; only this folder includes this file.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/data/jet_translator.h"
#include "platform/vb/variant.h"

namespace vob::data {

// A result column: its name as the database reports it and the base table it comes from ("" when computed).
struct ColumnInfo {
  std::string name;
  std::string table;
};

// The rows of one running statement. Holds one row at a time; the database steps as rows are read.
class RowCursor {
 public:
  virtual ~RowCursor() = default;
  virtual const std::vector<ColumnInfo>& columns() const = 0;
  // Replaces `row` with the next row's values; false (and `row` untouched) at the end. References into `row`
  // do not outlive the next call.
  // Throws SqlError quoting the statement, "Query timeout expired" when the command time-out passes.
  virtual bool Next(std::vector<vb::Variant>& row) = 0;
};

// One open database session. Shared by a connection and the cursors running on it, so that a cursor keeps the
// session alive however the connection is closed; kept for reuse in the session pool (backend_pool.h).
// A cursor that has read many rows reads ahead on a thread of its own; the session's lock keeps that thread's
// database work and the caller's (other statements, other cursors) from running at once.
class Backend : public std::enable_shared_from_this<Backend> {
 public:
  virtual ~Backend() = default;

  // Translates the Jet text (once per distinct text) and runs it. The time-out applies to each step of the
  // database's work (0 means none). `tables` receives the names the FROM clause gives its tables.
  // Throws SqlError quoting `jet_sql`.
  std::unique_ptr<RowCursor> Open(std::string_view jet_sql, int command_timeout_seconds,
                                  std::vector<TableName>* tables = nullptr);

  // Runs SQL text as the database reads it, untranslated, and discards any rows. Exists to prove the
  // database-level guard: every write must fail here too.
  virtual void RunUntranslated(const std::string& sql) = 0;

  virtual SqlDialect dialect() const = 0;
  // True when the session is healthy and idle, so that the pool may hand it out again.
  virtual bool IsReusable() = 0;

  const std::string& pool_key() const { return pool_key_; }
  void set_pool_key(std::string key) { pool_key_ = std::move(key); }

 protected:
  virtual Catalog& catalog() = 0;
  virtual std::unique_ptr<RowCursor> Execute(const TranslatedStatement& statement, std::string_view jet_sql,
                                             int command_timeout_seconds) = 0;

 private:
  friend class SessionCursor;

  std::mutex session_mutex_;
  std::unordered_map<std::string, TranslatedStatement> translations_;
  std::string pool_key_;
};

}  // namespace vob::data
