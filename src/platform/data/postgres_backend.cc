// PostgreSQL sessions: read-only by default_transaction_read_only, rows streamed in single-row mode from
// prepared statements that are kept per session, time-outs through statement_timeout and connect_timeout.
// Storage conventions (the schema creates them so):
//   - tables and columns are created unquoted, so their names are lower case; queries quote them in lower
//   case;
//   - currency columns are numeric(19,4), dates timestamp (or date), yes/no boolean, text text (or varchar),
//     whole numbers integer, floating numbers double precision;
//   - text compares and sorts through lower(), which needs no special collation; Nulls sort first.
#include "platform/data/postgres_backend.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "platform/data/sql_error.h"
#include "platform/data/value_text.h"
#include "platform/vb/names.h"

namespace vob::data {
namespace {

// Type OIDs of pg_type.
constexpr Oid kBoolOid = 16, kInt8Oid = 20, kInt2Oid = 21, kInt4Oid = 23, kOidOid = 26, kFloat4Oid = 700,
              kFloat8Oid = 701, kMoneyOid = 790, kDateOid = 1082, kTimestampOid = 1114,
              kTimestampTzOid = 1184, kNumericOid = 1700;

constexpr const char* kQueryCanceled = "57014";

using ResultPtr = std::unique_ptr<PGresult, decltype(&PQclear)>;

// An abandoned cursor reads and drops up to this many pending results, each arriving within the wait.
constexpr int kMaxResultsToDiscard = 1000;
constexpr int kDiscardWaitMilliseconds = 5;

std::string TrimMessage(const char* message) {
  std::string text = message != nullptr ? message : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// The kind of a result column from its type; numeric without a declared scale takes the translator's kind.
ValueKind KindFromType(Oid type, int modifier, ValueKind computed_kind) {
  switch (type) {
    case kBoolOid:
      return ValueKind::kBoolean;
    case kInt2Oid:
    case kInt4Oid:
    case kInt8Oid:
    case kOidOid:
      return ValueKind::kLong;
    case kFloat4Oid:
    case kFloat8Oid:
      return ValueKind::kDouble;
    case kMoneyOid:
      return ValueKind::kCurrency;
    case kDateOid:
    case kTimestampOid:
    case kTimestampTzOid:
      return ValueKind::kDate;
    case kNumericOid: {
      if (modifier < 4)
        return computed_kind == ValueKind::kCurrency ? ValueKind::kCurrency : ValueKind::kDouble;
      const int scale = (modifier - 4) & 0xFFFF;
      if (scale == 0) return ValueKind::kLong;
      return scale <= 4 ? ValueKind::kCurrency : ValueKind::kDouble;
    }
    default:
      return ValueKind::kText;
  }
}

class PostgresBackend;

class PostgresCursor final : public RowCursor {
 public:
  // `first`, when given, is the statement's first result, already read to learn its columns.
  PostgresCursor(PostgresBackend& backend, std::vector<ColumnInfo> columns, std::vector<ValueKind> kinds,
                 std::string jet_sql, int timeout_seconds, ResultPtr first = {nullptr, &PQclear})
      : backend_(backend),
        columns_(std::move(columns)),
        kinds_(std::move(kinds)),
        jet_sql_(std::move(jet_sql)),
        timeout_seconds_(timeout_seconds),
        first_result_(std::move(first)) {}
  ~PostgresCursor() override;

  const std::vector<ColumnInfo>& columns() const override { return columns_; }
  bool Next(std::vector<vb::Variant>& row) override;
  // Reads the rest of the rows into memory so that the session can run another statement.
  void Detach();

 private:
  // Reads one result; false at the end of the rows. An error is kept to be thrown by Next.
  bool Receive(std::vector<vb::Variant>& row);
  void Abandon();
  void Drain();
  vb::Variant ReadValue(const PGresult* result, int index) const;

  PostgresBackend& backend_;
  std::vector<ColumnInfo> columns_;
  std::vector<ValueKind> kinds_;
  std::string jet_sql_;
  int timeout_seconds_;
  bool is_streaming_ = true;
  std::deque<std::vector<vb::Variant>> buffered_rows_;
  std::string pending_error_;
  ResultPtr first_result_;
};

class PostgresBackend final : public Backend, public Catalog {
 public:
  ~PostgresBackend() override {
    if (connection_ != nullptr) PQfinish(connection_);
  }

  void Connect(const ConnectionParams& params, std::string_view user, std::string_view password,
               int connection_timeout_seconds) {
    std::vector<std::pair<std::string, std::string>> keywords = params.postgres_keywords;
    if (connection_timeout_seconds > 0) {
      // libpq waits at least two seconds whatever it is told.
      keywords.emplace_back("connect_timeout", std::to_string(std::max(connection_timeout_seconds, 2)));
    }
    if (!user.empty()) keywords.emplace_back("user", std::string(user));
    if (!password.empty()) keywords.emplace_back("password", std::string(password));
    keywords.emplace_back("application_name", "vobreports");
    keywords.emplace_back("client_encoding", "UTF8");
    std::vector<const char*> names, values;
    for (const auto& [name, value] : keywords) {
      names.push_back(name.c_str());
      values.push_back(value.c_str());
    }
    names.push_back(nullptr);
    values.push_back(nullptr);
    connection_ = PQconnectdbParams(names.data(), values.data(), 1);
    if (connection_ == nullptr || PQstatus(connection_) != CONNECTION_OK) {
      throw OpenError("cannot connect to PostgreSQL: " + TrimMessage(PQerrorMessage(connection_)));
    }
    PQsetNoticeProcessor(
        connection_, [](void*, const char*) {}, nullptr);
    // Every transaction of the session is read-only: nothing a statement does can write. Dates print as ISO
    // text and backslashes in literals (the Like patterns' regular expressions) stay literal.
    ExecCommand(
        "SET default_transaction_read_only = on; SET DateStyle = 'ISO, MDY'; SET statement_timeout = 0; "
        "SET standard_conforming_strings = on");
  }

  void RunUntranslated(const std::string& sql) override {
    DetachActiveCursor();
    SetStatementTimeout(0);
    ExecCommand(sql);
  }
  SqlDialect dialect() const override { return SqlDialect::kPostgres; }
  bool IsReusable() override {
    return active_cursor_ == nullptr && PQstatus(connection_) == CONNECTION_OK &&
           PQtransactionStatus(connection_) == PQTRANS_IDLE;
  }

  std::optional<ValueKind> ColumnKind(std::string_view table, std::string_view column) override {
    LoadCatalog();
    auto found_table = tables_.find(vb::LowerAscii(table));
    if (found_table == tables_.end()) return std::nullopt;
    auto found_column = found_table->second.find(vb::LowerAscii(column));
    if (found_column == found_table->second.end()) return std::nullopt;
    return found_column->second;
  }

  std::optional<std::string> KeyColumn(std::string_view table) override {
    LoadCatalog();
    auto found = keys_.find(vb::LowerAscii(table));
    if (found == keys_.end()) return std::nullopt;
    return found->second;
  }

  PGconn* connection() const { return connection_; }
  void ForgetCursor(PostgresCursor* cursor) {
    if (active_cursor_ == cursor) active_cursor_ = nullptr;
  }

 protected:
  Catalog& catalog() override { return *this; }

  std::unique_ptr<RowCursor> Execute(const TranslatedStatement& translated, std::string_view jet_sql,
                                     int command_timeout_seconds) override {
    DetachActiveCursor();
    SetStatementTimeout(command_timeout_seconds);
    std::unique_ptr<PostgresCursor> cursor;
    std::vector<const char*> values;
    values.reserve(translated.parameters.size());
    for (const std::string& value : translated.parameters) values.push_back(value.c_str());
    const int value_count = static_cast<int>(values.size());
    if (IsOnSearchPath(translated.tables) && seen_once_.insert(translated.sql).second) {
      // First sight (a lookup by a new key usually is the last too): parse, run and describe in one round
      // trip, the columns read from the first result. A text that comes again is prepared then.
      if (seen_once_.size() > kMaxPreparedStatements) seen_once_ = {translated.sql};
      if (!PQsendQueryParams(connection_, translated.sql.c_str(), value_count, nullptr, values.data(),
                             nullptr, nullptr, 0) ||
          !PQsetSingleRowMode(connection_)) {
        throw SqlError(TrimMessage(PQerrorMessage(connection_)), std::string(jet_sql));
      }
      ResultPtr first(PQgetResult(connection_), &PQclear);
      if (first == nullptr) throw SqlError(TrimMessage(PQerrorMessage(connection_)), std::string(jet_sql));
      Prepared described;
      Describe(first.get(), translated, described);
      cursor =
          std::make_unique<PostgresCursor>(*this, std::move(described.columns), std::move(described.kinds),
                                           std::string(jet_sql), command_timeout_seconds, std::move(first));
    } else {
      const Prepared& prepared = Prepare(translated, jet_sql);
      if (!PQsendQueryPrepared(connection_, prepared.name.c_str(), value_count, values.data(), nullptr,
                               nullptr, 0) ||
          !PQsetSingleRowMode(connection_)) {
        throw SqlError(TrimMessage(PQerrorMessage(connection_)), std::string(jet_sql));
      }
      cursor = std::make_unique<PostgresCursor>(*this, prepared.columns, prepared.kinds, std::string(jet_sql),
                                                command_timeout_seconds);
    }
    active_cursor_ = cursor.get();
    return cursor;
  }

 private:
  struct Prepared {
    std::string name;
    std::vector<ColumnInfo> columns;
    std::vector<ValueKind> kinds;
  };
  static constexpr size_t kMaxPreparedStatements = 256;

  void DetachActiveCursor() {
    if (active_cursor_ == nullptr) return;
    PostgresCursor* cursor = active_cursor_;
    active_cursor_ = nullptr;
    cursor->Detach();
  }

  void ExecCommand(const std::string& sql) {
    PGresult* result = PQexec(connection_, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    const std::string message = TrimMessage(PQresultErrorMessage(result));
    PQclear(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      throw SqlError(message.empty() ? TrimMessage(PQerrorMessage(connection_)) : message, sql);
    }
  }

  void SetStatementTimeout(int seconds) {
    if (seconds == statement_timeout_seconds_) return;
    ExecCommand("SET statement_timeout = " + std::to_string(static_cast<long long>(seconds) * 1000));
    statement_timeout_seconds_ = seconds;
  }

  // Tables and columns of the schemas on the search path, the first schema winning as in name lookup.
  void LoadCatalog() {
    if (is_catalog_loaded_) return;
    DetachActiveCursor();
    PGresult* result =
        PQexec(connection_,
               "SELECT c.oid, c.relname, a.attname, format_type(a.atttypid, a.atttypmod) "
               "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
               "JOIN pg_attribute a ON a.attrelid = c.oid "
               "WHERE n.nspname = ANY (current_schemas(false)) AND c.relkind IN ('r', 'v', 'm', 'p', 'f') "
               "AND a.attnum > 0 AND NOT a.attisdropped "
               "ORDER BY array_position(current_schemas(false), n.nspname), c.oid");
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
      const std::string message = TrimMessage(PQresultErrorMessage(result));
      PQclear(result);
      throw SqlError("cannot read the PostgreSQL catalog: " + message);
    }
    std::unordered_map<std::string, Oid> first_oid;
    for (int row = 0; row < PQntuples(result); ++row) {
      const Oid oid = static_cast<Oid>(std::strtoul(PQgetvalue(result, row, 0), nullptr, 10));
      const std::string table = PQgetvalue(result, row, 1);
      table_names_[oid] = table;
      auto [entry, is_new] = first_oid.emplace(table, oid);
      if (entry->second != oid) continue;  // a table of a later schema on the path is hidden
      tables_[table][PQgetvalue(result, row, 2)] = KindFromDeclaredType(PQgetvalue(result, row, 3));
    }
    PQclear(result);
    // Single-column primary keys, of the same tables.
    result =
        PQexec(connection_,
               "SELECT c.oid, c.relname, a.attname FROM pg_index i JOIN pg_class c ON c.oid = i.indrelid "
               "JOIN pg_namespace n ON n.oid = c.relnamespace "
               "JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum = i.indkey[0] "
               "WHERE i.indisprimary AND i.indnkeyatts = 1 AND n.nspname = ANY (current_schemas(false))");
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
      const std::string message = TrimMessage(PQresultErrorMessage(result));
      PQclear(result);
      throw SqlError("cannot read the PostgreSQL catalog: " + message);
    }
    for (int row = 0; row < PQntuples(result); ++row) {
      const Oid oid = static_cast<Oid>(std::strtoul(PQgetvalue(result, row, 0), nullptr, 10));
      const std::string table = PQgetvalue(result, row, 1);
      auto first = first_oid.find(table);
      if (first != first_oid.end() && first->second == oid) keys_[table] = PQgetvalue(result, row, 2);
    }
    PQclear(result);
    is_catalog_loaded_ = true;
  }

  std::string TableName(Oid oid) {
    if (oid == InvalidOid) return "";
    LoadCatalog();
    auto found = table_names_.find(oid);
    if (found != table_names_.end()) return found->second;
    const std::string sql = "SELECT relname FROM pg_class WHERE oid = " + std::to_string(oid);
    PGresult* result = PQexec(connection_, sql.c_str());
    std::string name;
    if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1) name = PQgetvalue(result, 0, 0);
    PQclear(result);
    table_names_[oid] = name;
    return name;
  }

  const Prepared& Prepare(const TranslatedStatement& translated, std::string_view jet_sql) {
    auto found = prepared_.find(translated.sql);
    if (found != prepared_.end()) return found->second;
    if (prepared_.size() >= kMaxPreparedStatements) {
      ExecCommand("DEALLOCATE ALL");
      prepared_.clear();
    }
    Prepared prepared;
    prepared.name = "vob_" + std::to_string(++statement_count_);
    auto [prepare_result, result] = PrepareAndDescribe(prepared.name, translated.sql);
    if (PQresultStatus(prepare_result) != PGRES_COMMAND_OK) PQclear(result);  // only the first error counts
    CheckResult(prepare_result, PGRES_COMMAND_OK, jet_sql);
    CheckResult(result, PGRES_COMMAND_OK, jet_sql, /*keep=*/true);
    Describe(result, translated, prepared);
    PQclear(result);
    return prepared_.emplace(translated.sql, std::move(prepared)).first->second;
  }

  // Whether every table is known from the catalog, so that describing a result needs no query of its own.
  bool IsOnSearchPath(const std::vector<data::TableName>& tables) {
    LoadCatalog();
    return std::all_of(tables.begin(), tables.end(), [&](const data::TableName& name) {
      return tables_.contains(vb::LowerAscii(name.table));
    });
  }

  // The columns and kinds of a statement from a result that describes it (a description or any result).
  void Describe(const PGresult* result, const TranslatedStatement& translated, Prepared& prepared) {
    size_t computed = 0;
    for (int i = 0; i < PQnfields(result); ++i) {
      ColumnInfo column;
      column.name = PQfname(result, i);
      column.table = TableName(PQftable(result, i));
      ValueKind computed_kind = ValueKind::kUnknown;
      if (PQftable(result, i) == InvalidOid && computed < translated.computed_kinds.size()) {
        computed_kind = translated.computed_kinds[computed++];
      }
      prepared.kinds.push_back(KindFromType(PQftype(result, i), PQfmod(result, i), computed_kind));
      prepared.columns.push_back(std::move(column));
    }
  }

  // Sends both in one round trip: a lookup by each new key is a new statement text, and on a report that
  // looks up a row per group the round trips are most of PostgreSQL's cost. Returns the two results (or
  // nulls).
  std::pair<PGresult*, PGresult*> PrepareAndDescribe(const std::string& name, const std::string& sql) {
    if (!PQenterPipelineMode(connection_)) return {nullptr, nullptr};
    PGresult* results[2] = {nullptr, nullptr};
    if (PQsendPrepare(connection_, name.c_str(), sql.c_str(), 0, nullptr) &&
        PQsendDescribePrepared(connection_, name.c_str()) && PQpipelineSync(connection_)) {
      // Each command's result is followed by a null; the sync's own result ends the pipeline.
      for (PGresult*& result : results) {
        result = PQgetResult(connection_);
        while (PGresult* extra = PQgetResult(connection_)) PQclear(extra);
      }
      PQclear(PQgetResult(connection_));
    }
    PQexitPipelineMode(connection_);
    return {results[0], results[1]};
  }

  void CheckResult(PGresult* result, ExecStatusType expected, std::string_view jet_sql, bool keep = false) {
    if (PQresultStatus(result) != expected) {
      const char* message = result != nullptr ? PQresultErrorMessage(result) : PQerrorMessage(connection_);
      const std::string text = TrimMessage(message);
      PQclear(result);
      throw SqlError(text, std::string(jet_sql));
    }
    if (!keep) PQclear(result);
  }

  PGconn* connection_ = nullptr;
  PostgresCursor* active_cursor_ = nullptr;
  int statement_timeout_seconds_ = 0;
  bool is_catalog_loaded_ = false;
  std::unordered_map<std::string, std::unordered_map<std::string, ValueKind>> tables_;
  std::unordered_map<std::string, std::string> keys_;  // single-column primary keys by table
  std::unordered_map<Oid, std::string> table_names_;
  std::unordered_map<std::string, Prepared> prepared_;
  std::unordered_set<std::string> seen_once_;
  uint64_t statement_count_ = 0;
};

PostgresCursor::~PostgresCursor() {
  if (is_streaming_) Abandon();
  backend_.ForgetCursor(this);
}

void PostgresCursor::Abandon() {
  first_result_.reset();
  // A lookup closed after its first row has the rest of its short result on the way: reading it is far
  // quicker than a cancel request, which opens a connection of its own. Longer or slower results are
  // cancelled.
  PGconn* connection = backend_.connection();
  for (int step = 0; step < kMaxResultsToDiscard; ++step) {
    if (PQconsumeInput(connection) == 0) break;
    if (PQisBusy(connection)) {
      pollfd socket{PQsocket(connection), POLLIN, 0};
      if (poll(&socket, 1, kDiscardWaitMilliseconds) <= 0) break;
      continue;
    }
    PGresult* result = PQgetResult(connection);
    if (result == nullptr) {
      is_streaming_ = false;
      return;
    }
    PQclear(result);
  }
  if (PGcancel* cancel = PQgetCancel(connection)) {
    char message[256];
    PQcancel(cancel, message, sizeof message);
    PQfreeCancel(cancel);
  }
  Drain();
}

void PostgresCursor::Drain() {
  while (PGresult* result = PQgetResult(backend_.connection())) PQclear(result);
  is_streaming_ = false;
}

bool PostgresCursor::Receive(std::vector<vb::Variant>& row) {
  const ResultPtr result(
      first_result_ != nullptr ? first_result_.release() : PQgetResult(backend_.connection()), &PQclear);
  if (result == nullptr) {
    is_streaming_ = false;
    return false;
  }
  const ExecStatusType status = PQresultStatus(result.get());
  if (status == PGRES_SINGLE_TUPLE) {
    row.resize(columns_.size());
    try {
      for (size_t i = 0; i < columns_.size(); ++i) row[i] = ReadValue(result.get(), static_cast<int>(i));
      return true;
    } catch (const SqlError& error) {
      // A value that cannot be read ends the rows; the error surfaces from Next.
      pending_error_ = error.what();
    }
  } else if (status != PGRES_TUPLES_OK) {
    const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
    if (state != nullptr && std::string_view(state) == kQueryCanceled) {
      pending_error_ = "Query timeout expired after " + std::to_string(timeout_seconds_) + " seconds";
    } else {
      pending_error_ = TrimMessage(PQresultErrorMessage(result.get()));
    }
  }
  Drain();
  return false;
}

bool PostgresCursor::Next(std::vector<vb::Variant>& row) {
  if (!buffered_rows_.empty()) {
    row = std::move(buffered_rows_.front());
    buffered_rows_.pop_front();
    return true;
  }
  const bool has_row = is_streaming_ && Receive(row);
  if (!pending_error_.empty()) {
    std::string message = std::move(pending_error_);
    pending_error_.clear();
    backend_.ForgetCursor(this);
    throw SqlError(message, jet_sql_);
  }
  if (!has_row) backend_.ForgetCursor(this);
  return has_row;
}

void PostgresCursor::Detach() {
  std::vector<vb::Variant> row;
  while (is_streaming_ && Receive(row)) buffered_rows_.push_back(std::move(row));
}

vb::Variant PostgresCursor::ReadValue(const PGresult* result, int index) const {
  if (PQgetisnull(result, 0, index)) return vb::Variant::Null();
  const std::string_view text(PQgetvalue(result, 0, index),
                              static_cast<size_t>(PQgetlength(result, 0, index)));
  auto fail = [&](std::string_view what) {
    throw SqlError("column " + columns_[static_cast<size_t>(index)].name + " holds \"" + std::string(text) +
                   "\", which is not " + std::string(what));
  };
  switch (kinds_[static_cast<size_t>(index)]) {
    case ValueKind::kBoolean:
      return vb::Variant(text == "t");
    case ValueKind::kLong: {
      const long long value = std::strtoll(std::string(text).c_str(), nullptr, 10);
      if (value >= INT32_MIN && value <= INT32_MAX) return vb::Variant(static_cast<int>(value));
      return vb::Variant(static_cast<double>(value));
    }
    case ValueKind::kDouble:
      return vb::Variant(std::strtod(std::string(text).c_str(), nullptr));
    case ValueKind::kCurrency: {
      // money prints with a currency sign and separators; numeric prints plain digits.
      std::string digits;
      for (char c : text) {
        if ((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E' || c == '+') digits += c;
      }
      std::optional<vb::Currency> amount = ParseDecimalCurrency(digits);
      if (!amount) fail("a currency amount");
      return vb::Variant(*amount);
    }
    case ValueKind::kDate: {
      std::optional<double> serial = ParseIsoDateTime(text);
      if (!serial) fail("a date between the years 100 and 9999");
      return vb::Variant::Date(*serial);
    }
    default:
      return vb::Variant(text);
  }
}

}  // namespace

std::shared_ptr<Backend> OpenPostgresBackend(const ConnectionParams& params, std::string_view user,
                                             std::string_view password, int connection_timeout_seconds) {
  auto backend = std::make_shared<PostgresBackend>();
  backend->Connect(params, user, password, connection_timeout_seconds);
  return backend;
}

}  // namespace vob::data
