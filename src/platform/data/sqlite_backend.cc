// SQLite sessions: read-only, one statement per command, time-outs through a progress handler.
// Storage conventions (the schema writes them so):
//   - CURRENCY columns hold decimal numbers (INTEGER, REAL or decimal TEXT), read exactly to four decimals
//     through their text form, never through a binary fraction;
//   - DATETIME columns hold ISO-8601 text, "2024-01-31" at midnight and "2024-01-31 14:05:00" otherwise, so
//     that text comparison with translated #date# literals orders date-times correctly;
//   - YESNO (or BOOLEAN) columns hold 0 for No and any other integer (-1 or 1) for Yes;
//   - TEXT columns are declared COLLATE NOCASE; queries add NOCASE to comparisons and sorts anyway;
//   - LONG/INTEGER are whole numbers, DOUBLE floating numbers.
#include "platform/data/sqlite_backend.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <climits>
#include <cstring>

#include "platform/data/jet_like.h"
#include "platform/data/sql_error.h"
#include "platform/data/value_text.h"

namespace vob::data {
namespace {

using Clock = std::chrono::steady_clock;

// jet_like(value, pattern): the dialect's Like; the compiled pattern is kept with the statement.
void JetLikeFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
  if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  auto* pattern = static_cast<JetLikePattern*>(sqlite3_get_auxdata(context, 1));
  if (pattern == nullptr) {
    const char* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[1]));
    try {
      pattern = new JetLikePattern(text != nullptr ? text : "");
    } catch (const SqlError& error) {
      sqlite3_result_error(context, error.what(), -1);
      return;
    }
    sqlite3_set_auxdata(context, 1, pattern, [](void* p) { delete static_cast<JetLikePattern*>(p); });
    pattern = static_cast<JetLikePattern*>(sqlite3_get_auxdata(context, 1));
    if (pattern == nullptr) {
      sqlite3_result_error_nomem(context);
      return;
    }
  }
  const char* value = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
  const int length = sqlite3_value_bytes(arguments[0]);
  sqlite3_result_int(context,
                     pattern->Matches(std::string_view(value != nullptr ? value : "", length)) ? 1 : 0);
}

std::string_view ColumnText(sqlite3_stmt* statement, int index) {
  const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
  return std::string_view(text != nullptr ? text : "",
                          static_cast<size_t>(sqlite3_column_bytes(statement, index)));
}

// "Name:1" for the column "Name".
bool IsRenamedDuplicate(std::string_view name, std::string_view origin) {
  if (name.size() <= origin.size() + 1 || name.substr(0, origin.size()) != origin ||
      name[origin.size()] != ':') {
    return false;
  }
  return name.find_first_not_of("0123456789", origin.size() + 1) == std::string_view::npos;
}

vb::Variant WholeNumber(sqlite3_int64 value) {
  if (value >= INT32_MIN && value <= INT32_MAX) return vb::Variant(static_cast<int>(value));
  return vb::Variant(static_cast<double>(value));
}

class SqliteBackend;

class SqliteCursor final : public RowCursor {
 public:
  SqliteCursor(SqliteBackend& backend, sqlite3_stmt* statement, bool is_cached,
               std::vector<ColumnInfo> columns, std::vector<ValueKind> kinds, std::string jet_sql,
               int timeout_seconds)
      : backend_(backend),
        statement_(statement),
        is_cached_(is_cached),
        columns_(std::move(columns)),
        kinds_(std::move(kinds)),
        jet_sql_(std::move(jet_sql)),
        timeout_seconds_(timeout_seconds) {}
  ~SqliteCursor() override;

  const std::vector<ColumnInfo>& columns() const override { return columns_; }
  bool Next(std::vector<vb::Variant>& row) override;

 private:
  vb::Variant ReadValue(int index) const;
  [[noreturn]] void FailValue(int index, std::string_view what) const {
    throw SqlError("column " + columns_[static_cast<size_t>(index)].name + " holds \"" +
                       std::string(ColumnText(statement_, index)) + "\", which is not " + std::string(what),
                   jet_sql_);
  }

  SqliteBackend& backend_;
  sqlite3_stmt* statement_;
  bool is_cached_;
  bool is_done_ = false;
  std::vector<ColumnInfo> columns_;
  std::vector<ValueKind> kinds_;
  std::string jet_sql_;
  int timeout_seconds_;
};

class SqliteBackend final : public Backend, public Catalog {
 public:
  explicit SqliteBackend(const std::string& path) : path_(path) {}
  ~SqliteBackend() override {
    for (auto& [text, cached] : statements_) sqlite3_finalize(cached.statement);
    sqlite3_close_v2(db_);
  }

  void Open(int connection_timeout_seconds) {
    // A session serves one thread at a time (backend_pool.h), so SQLite need not lock it on every call.
    const int rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) throw OpenError("cannot open the database file " + path_ + ": " + ErrorText());
    sqlite3_extended_result_codes(db_, 1);
    // Double-quoted names never fall back to text literals: a misspelt column fails instead of matching text.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    SetBusyTimeout(connection_timeout_seconds);
    Exec("PRAGMA query_only = 1");
    // Reading the schema proves the file is a database now rather than at the first report.
    Exec("SELECT count(*) FROM sqlite_schema");
    sqlite3_create_function_v2(db_, "jet_like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                               nullptr, JetLikeFunction, nullptr, nullptr, nullptr);
    sqlite3_progress_handler(db_, 1000, &SqliteBackend::OnProgress, this);
    struct stat status {};
    if (::stat(path_.c_str(), &status) == 0) file_id_ = {status.st_dev, status.st_ino};
  }

  void RunUntranslated(const std::string& sql) override {
    SetDeadline(0);
    Exec(sql);
  }
  SqlDialect dialect() const override { return SqlDialect::kSqlite; }
  bool IsReusable() override {
    // A database file replaced at the same path must be opened afresh.
    struct stat status {};
    if (::stat(path_.c_str(), &status) != 0) return false;
    return FileId{status.st_dev, status.st_ino} == file_id_ && sqlite3_get_autocommit(db_) != 0;
  }

  std::optional<ValueKind> ColumnKind(std::string_view table, std::string_view column) override {
    const char* declared_type = nullptr;
    const std::string table_name(table), column_name(column);
    if (sqlite3_table_column_metadata(db_, nullptr, table_name.c_str(), column_name.c_str(), &declared_type,
                                      nullptr, nullptr, nullptr, nullptr) != SQLITE_OK) {
      return std::nullopt;
    }
    return KindFromDeclaredType(declared_type != nullptr ? declared_type : "");
  }

  std::optional<std::string> KeyColumn(std::string_view table) override {
    const std::string name(table);
    auto found = keys_.find(name);
    if (found != keys_.end()) return found->second;
    std::optional<std::string> key;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT name, pk FROM pragma_table_info(?1) WHERE pk > 0", -1, &statement,
                           nullptr) == SQLITE_OK) {
      sqlite3_bind_text(statement, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
      int key_columns = 0;
      while (sqlite3_step(statement) == SQLITE_ROW) {
        ++key_columns;
        key = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
      }
      if (key_columns != 1) key.reset();
    }
    sqlite3_finalize(statement);
    keys_.emplace(name, key);
    return key;
  }

  // Deadline of the current step; checked by the progress handler.
  void SetDeadline(int timeout_seconds) {
    has_deadline_ = timeout_seconds > 0;
    if (has_deadline_) deadline_ = Clock::now() + std::chrono::seconds(timeout_seconds);
    timed_out_ = false;
    // Waiting on a writer's lock counts against the same time-out.
    SetBusyTimeout(timeout_seconds);
  }
  void SetBusyTimeout(int timeout_seconds) {
    const int busy_milliseconds = timeout_seconds > 0 ? timeout_seconds * 1000 : INT_MAX;
    if (busy_milliseconds != busy_milliseconds_) {
      sqlite3_busy_timeout(db_, busy_milliseconds);
      busy_milliseconds_ = busy_milliseconds;
    }
  }
  bool timed_out() const { return timed_out_; }
  sqlite3* db() const { return db_; }

  void ReleaseStatement(sqlite3_stmt* statement, bool is_cached) {
    sqlite3_reset(statement);
    if (!is_cached) {
      sqlite3_finalize(statement);
      return;
    }
    for (auto& [text, cached] : statements_) {
      if (cached.statement == statement) cached.is_in_use = false;
    }
  }

 protected:
  Catalog& catalog() override { return *this; }

  std::unique_ptr<RowCursor> Execute(const TranslatedStatement& translated, std::string_view jet_sql,
                                     int command_timeout_seconds) override {
    SetDeadline(command_timeout_seconds);
    sqlite3_stmt* statement = nullptr;
    bool is_cached = false;
    auto found = statements_.find(translated.sql);
    if (found != statements_.end() && !found->second.is_in_use) {
      statement = found->second.statement;
      found->second.is_in_use = is_cached = true;
    } else {
      const char* tail = nullptr;
      if (sqlite3_prepare_v3(db_, translated.sql.c_str(), static_cast<int>(translated.sql.size()),
                             SQLITE_PREPARE_PERSISTENT, &statement, &tail) != SQLITE_OK) {
        throw SqlError(ErrorText(), std::string(jet_sql));
      }
      if (found == statements_.end()) {
        if (statements_.size() >= kMaxCachedStatements) DropIdleStatements();
        statements_.emplace(translated.sql, CachedStatement{statement, true});
        is_cached = true;
      }
    }
    if (!sqlite3_stmt_readonly(statement)) {
      ReleaseStatement(statement, is_cached);
      throw SqlError("the statement would write to the database", std::string(jet_sql));
    }

    const int count = sqlite3_column_count(statement);
    std::vector<ColumnInfo> columns;
    std::vector<ValueKind> kinds;
    size_t computed = 0;
    for (int i = 0; i < count; ++i) {
      ColumnInfo column;
      const char* name = sqlite3_column_name(statement, i);
      const char* table = sqlite3_column_table_name(statement, i);
      const char* declared_type = sqlite3_column_decltype(statement, i);
      column.name = name != nullptr ? name : "";
      column.table = table != nullptr ? table : "";
      // A join in parentheses runs as a subquery, which renames a repeated column "Name:1"; the field keeps
      // the column's own name, so that the table qualifies it as in any other join.
      const char* origin = sqlite3_column_origin_name(statement, i);
      if (origin != nullptr && IsRenamedDuplicate(column.name, origin)) column.name = origin;
      ValueKind kind = ValueKind::kUnknown;
      if (declared_type != nullptr) {
        kind = KindFromDeclaredType(declared_type);
      } else if (computed < translated.computed_kinds.size()) {
        kind = translated.computed_kinds[computed++];
      }
      columns.push_back(std::move(column));
      kinds.push_back(kind);
    }
    return std::make_unique<SqliteCursor>(*this, statement, is_cached, std::move(columns), std::move(kinds),
                                          std::string(jet_sql), command_timeout_seconds);
  }

 private:
  struct CachedStatement {
    sqlite3_stmt* statement;
    bool is_in_use;
  };
  struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
  };
  static constexpr size_t kMaxCachedStatements = 128;

  static int OnProgress(void* context) {
    auto* backend = static_cast<SqliteBackend*>(context);
    if (backend->has_deadline_ && Clock::now() > backend->deadline_) {
      backend->timed_out_ = true;
      return 1;
    }
    return 0;
  }

  void DropIdleStatements() {
    for (auto it = statements_.begin(); it != statements_.end();) {
      if (it->second.is_in_use) {
        ++it;
      } else {
        sqlite3_finalize(it->second.statement);
        it = statements_.erase(it);
      }
    }
  }

  std::string ErrorText() const { return db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory"; }
  [[noreturn]] void Fail(const std::string& what) const { throw SqlError(what + ": " + ErrorText()); }
  void Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
      std::string text = message != nullptr ? message : ErrorText();
      sqlite3_free(message);
      throw SqlError(path_ + ": " + text, sql);
    }
  }

  std::string path_;
  sqlite3* db_ = nullptr;
  FileId file_id_;
  std::unordered_map<std::string, CachedStatement> statements_;
  std::unordered_map<std::string, std::optional<std::string>> keys_;  // KeyColumn's answers by table
  bool has_deadline_ = false;
  bool timed_out_ = false;
  Clock::time_point deadline_;
  int busy_milliseconds_ = -1;
};

SqliteCursor::~SqliteCursor() {
  backend_.ReleaseStatement(statement_, is_cached_);
}

bool SqliteCursor::Next(std::vector<vb::Variant>& row) {
  if (is_done_) return false;
  backend_.SetDeadline(timeout_seconds_);
  const int rc = sqlite3_step(statement_);
  if (rc == SQLITE_DONE) {
    is_done_ = true;
    sqlite3_reset(statement_);
    return false;
  }
  if (rc != SQLITE_ROW) {
    is_done_ = true;
    if (backend_.timed_out()) {
      throw SqlError("Query timeout expired after " + std::to_string(timeout_seconds_) + " seconds",
                     jet_sql_);
    }
    const std::string message = sqlite3_errmsg(backend_.db());
    sqlite3_reset(statement_);
    throw SqlError(message, jet_sql_);
  }
  row.resize(columns_.size());
  for (size_t i = 0; i < columns_.size(); ++i) {
    const int index = static_cast<int>(i);
    if (kinds_[i] == ValueKind::kText ||
        (kinds_[i] == ValueKind::kUnknown && sqlite3_column_type(statement_, index) == SQLITE_TEXT)) {
      // Texts, most of a row, go into the text the row already holds; a null has no text.
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
      if (text != nullptr) {
        row[i].AssignText(
            std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(statement_, index))));
        continue;
      }
    }
    row[i] = ReadValue(index);
  }
  return true;
}

vb::Variant SqliteCursor::ReadValue(int index) const {
  const int storage = sqlite3_column_type(statement_, index);
  if (storage == SQLITE_NULL) return vb::Variant::Null();
  switch (kinds_[static_cast<size_t>(index)]) {
    case ValueKind::kText:
      return vb::Variant(ColumnText(statement_, index));
    case ValueKind::kCurrency: {
      if (storage == SQLITE_INTEGER) {
        const sqlite3_int64 whole = sqlite3_column_int64(statement_, index);
        if (whole > INT64_MAX / vb::Currency::kScale || whole < INT64_MIN / vb::Currency::kScale) {
          FailValue(index, "a currency amount");
        }
        return vb::Variant(vb::Currency::FromRaw(whole * vb::Currency::kScale));
      }
      // A REAL reads as its text of 15 significant digits, which drops binary noise of sums.
      std::optional<vb::Currency> amount;
      if (storage == SQLITE_FLOAT) amount = CurrencyFromReal(sqlite3_column_double(statement_, index));
      if (!amount) amount = ParseDecimalCurrency(ColumnText(statement_, index));
      if (!amount) FailValue(index, "a currency amount");
      return vb::Variant(*amount);
    }
    case ValueKind::kDate: {
      std::optional<double> serial = ParseIsoDateTime(ColumnText(statement_, index));
      if (!serial) FailValue(index, "an ISO date");
      return vb::Variant::Date(*serial);
    }
    case ValueKind::kBoolean:
      if (storage == SQLITE_TEXT) {
        const std::string_view text = ColumnText(statement_, index);
        if (text == "true" || text == "True" || text == "TRUE") return vb::Variant(true);
        if (text == "false" || text == "False" || text == "FALSE") return vb::Variant(false);
      }
      return vb::Variant(sqlite3_column_double(statement_, index) != 0);
    case ValueKind::kLong:
      if (storage == SQLITE_INTEGER) return WholeNumber(sqlite3_column_int64(statement_, index));
      if (storage == SQLITE_FLOAT) return vb::Variant(sqlite3_column_double(statement_, index));
      return vb::Variant(ColumnText(statement_, index));
    case ValueKind::kDouble:
      if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
        return vb::Variant(sqlite3_column_double(statement_, index));
      }
      return vb::Variant(ColumnText(statement_, index));
    case ValueKind::kUnknown:
      break;
  }
  switch (storage) {
    case SQLITE_INTEGER:
      return WholeNumber(sqlite3_column_int64(statement_, index));
    case SQLITE_FLOAT:
      return vb::Variant(sqlite3_column_double(statement_, index));
    default:
      return vb::Variant(ColumnText(statement_, index));
  }
}

}  // namespace

std::shared_ptr<Backend> OpenSqliteBackend(const std::string& path, int connection_timeout_seconds) {
  auto backend = std::make_shared<SqliteBackend>(path);
  backend->Open(connection_timeout_seconds);
  return backend;
}

}  // namespace vob::data
