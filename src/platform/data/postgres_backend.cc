// PostgreSQL sessions: read-only by default_transaction_read_only, rows streamed in single-row mode from
// prepared statements that are kept per connection, time-outs through statement_timeout and connect_timeout.
// A session is one connection until a statement must run while another streams a long result.
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
#include <chrono>
#include <climits>
#include <cstdlib>
#include <deque>
#include <optional>
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

class PostgresCursor;

// One connection of a session, with the statements prepared on it. A session opens a second one only when a
// statement must run while another still streams a long result on the first.
struct Channel {
  struct Prepared {
    std::string name;
    std::vector<ColumnInfo> columns;
    std::vector<ValueKind> kinds;
  };

  Channel() = default;
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;
  ~Channel() {
    if (connection != nullptr) PQfinish(connection);
  }

  PGconn* connection = nullptr;
  PostgresCursor* active_cursor = nullptr;
  int statement_timeout_seconds = 0;
  std::unordered_map<std::string, Prepared> prepared;
  std::unordered_set<std::string> seen_once;
  uint64_t statement_count = 0;
};

class PostgresCursor final : public RowCursor {
 public:
  // `first`, when given, is the statement's first result, already read to learn its columns.
  PostgresCursor(Channel& channel, std::vector<ColumnInfo> columns, std::vector<ValueKind> kinds,
                 std::string jet_sql, int timeout_seconds, ResultPtr first = {nullptr, &PQclear})
      : channel_(channel),
        columns_(std::move(columns)),
        kinds_(std::move(kinds)),
        jet_sql_(std::move(jet_sql)),
        timeout_seconds_(timeout_seconds),
        first_result_(std::move(first)) {}
  ~PostgresCursor() override;

  const std::vector<ColumnInfo>& columns() const override { return columns_; }
  bool Next(std::vector<vb::Variant>& row) override;
  // Reads the rest of the rows into memory so that the connection can run another statement.
  void Detach();
  // The same for a result that is on its way and fits in `max_bytes`: reads rows while each arrives within
  // `max_wait` and tells whether the result ended. A result found longer is not tried again: the rows read
  // stay ahead of the rest, which keeps streaming.
  bool TryDetach(size_t max_bytes, std::chrono::milliseconds max_wait);

 private:
  // Reads one result; false at the end of the rows. An error is kept to be thrown by Next.
  bool Receive(std::vector<vb::Variant>& row);
  // Whether a result can be read without waiting past `deadline`.
  bool WaitForResult(std::chrono::steady_clock::time_point deadline);
  void Abandon();
  void Drain();
  void Forget() {
    if (channel_.active_cursor == this) channel_.active_cursor = nullptr;
  }
  vb::Variant ReadValue(const PGresult* result, int index) const;

  Channel& channel_;
  std::vector<ColumnInfo> columns_;
  std::vector<ValueKind> kinds_;
  std::string jet_sql_;
  int timeout_seconds_;
  bool is_streaming_ = true;
  bool is_long_ = false;
  std::deque<std::vector<vb::Variant>> buffered_rows_;
  std::string pending_error_;
  ResultPtr first_result_;
};

class PostgresBackend final : public Backend, public Catalog {
 public:
  void Connect(const ConnectionParams& params, std::string_view user, std::string_view password,
               int connection_timeout_seconds, int command_timeout_seconds) {
    keywords_ = params.postgres_keywords;
    if (connection_timeout_seconds > 0) {
      // libpq waits at least two seconds whatever it is told.
      keywords_.emplace_back("connect_timeout", std::to_string(std::max(connection_timeout_seconds, 2)));
    }
    if (!user.empty()) keywords_.emplace_back("user", std::string(user));
    if (!password.empty()) keywords_.emplace_back("password", std::string(password));
    keywords_.emplace_back("application_name", "vobreports");
    keywords_.emplace_back("client_encoding", "UTF8");
    session_timeout_seconds_ = command_timeout_seconds;
    OpenChannel();
  }

  void RunUntranslated(const std::string& sql) override {
    Channel& channel = FreeChannel(nullptr);
    SetStatementTimeout(channel, 0);
    ExecCommand(channel, sql);
  }
  SqlDialect dialect() const override { return SqlDialect::kPostgres; }
  bool IsReusable() override {
    return std::all_of(channels_.begin(), channels_.end(), [](const std::unique_ptr<Channel>& channel) {
      return channel->active_cursor == nullptr && PQstatus(channel->connection) == CONNECTION_OK &&
             PQtransactionStatus(channel->connection) == PQTRANS_IDLE;
    });
  }

  // The catalog is read at the first question that needs it, for all the statement's tables at once: a
  // statement that asks nothing (a plain "Select * from" one table) reads none.
  void LookUp(const std::vector<std::string>& tables) override {
    pending_.clear();
    for (const std::string& table : tables) {
      std::string name = vb::LowerAscii(table);
      if (!looked_up_.contains(name) && std::find(pending_.begin(), pending_.end(), name) == pending_.end()) {
        pending_.push_back(std::move(name));
      }
    }
  }

  std::optional<ValueKind> ColumnKind(std::string_view table, std::string_view column) override {
    const std::string name = vb::LowerAscii(table);
    ReadCatalogFor(name);
    auto found_table = tables_.find(name);
    if (found_table == tables_.end()) return std::nullopt;
    auto found_column = found_table->second.find(vb::LowerAscii(column));
    if (found_column == found_table->second.end()) return std::nullopt;
    return found_column->second;
  }

  std::optional<std::string> KeyColumn(std::string_view table) override {
    const std::string name = vb::LowerAscii(table);
    ReadCatalogFor(name);
    auto found = keys_.find(name);
    if (found == keys_.end()) return std::nullopt;
    return found->second;
  }

 protected:
  Catalog& catalog() override { return *this; }

  std::unique_ptr<RowCursor> Execute(const TranslatedStatement& translated, std::string_view jet_sql,
                                     int command_timeout_seconds) override {
    // A result's columns are named by their tables. One table the catalog was not asked about names them
    // all; several need the catalog.
    std::string sole_table;
    if (translated.tables.size() == 1) sole_table = vb::LowerAscii(translated.tables.front().table);
    if (sole_table.empty() || looked_up_.contains(sole_table)) {
      sole_table.clear();
      for (const data::TableName& table : translated.tables) ReadCatalogFor(vb::LowerAscii(table.table));
    }
    const bool is_on_search_path = !sole_table.empty() || IsOnSearchPath(translated.tables);
    Channel& channel = FreeChannel(&translated.sql);
    SetStatementTimeout(channel, command_timeout_seconds);
    PGconn* connection = channel.connection;
    std::unique_ptr<PostgresCursor> cursor;
    std::vector<const char*> values;
    values.reserve(translated.parameters.size());
    for (const std::string& value : translated.parameters) values.push_back(value.c_str());
    const int value_count = static_cast<int>(values.size());
    if (is_on_search_path && !channel.prepared.contains(translated.sql) &&
        channel.seen_once.insert(translated.sql).second) {
      // First sight (a lookup by a new key usually is the last too): parse, run and describe in one round
      // trip, the columns read from the first result. A text that comes again is prepared then.
      if (channel.seen_once.size() > kMaxPreparedStatements) channel.seen_once = {translated.sql};
      if (!PQsendQueryParams(connection, translated.sql.c_str(), value_count, nullptr, values.data(), nullptr,
                             nullptr, 0) ||
          !PQsetSingleRowMode(connection)) {
        throw SqlError(TrimMessage(PQerrorMessage(connection)), std::string(jet_sql));
      }
      ResultPtr first(PQgetResult(connection), &PQclear);
      if (first == nullptr) throw SqlError(TrimMessage(PQerrorMessage(connection)), std::string(jet_sql));
      Channel::Prepared described;
      Describe(first.get(), translated, described, sole_table, /*may_query=*/false);
      cursor =
          std::make_unique<PostgresCursor>(channel, std::move(described.columns), std::move(described.kinds),
                                           std::string(jet_sql), command_timeout_seconds, std::move(first));
    } else {
      const Channel::Prepared& prepared = Prepare(channel, translated, jet_sql, sole_table);
      if (!PQsendQueryPrepared(connection, prepared.name.c_str(), value_count, values.data(), nullptr,
                               nullptr, 0) ||
          !PQsetSingleRowMode(connection)) {
        throw SqlError(TrimMessage(PQerrorMessage(connection)), std::string(jet_sql));
      }
      cursor = std::make_unique<PostgresCursor>(channel, prepared.columns, prepared.kinds,
                                                std::string(jet_sql), command_timeout_seconds);
    }
    channel.active_cursor = cursor.get();
    return cursor;
  }

 private:
  static constexpr size_t kMaxPreparedStatements = 256;
  // A statement that finds every connection busy reads the rest of a result that is on its way into memory
  // rather than open another connection (a few milliseconds on the server, more on a busy machine): up to
  // this many bytes of values, each row arriving within the wait. A longer result, or one the server is still
  // working on, keeps streaming and the statement gets a connection of its own.
  static constexpr size_t kMaxBytesToDetach = size_t{8} << 20;
  static constexpr std::chrono::milliseconds kMaxDetachWait{10};
  // Beyond this many connections, a busy one's rows are read into memory whatever their number.
  static constexpr size_t kMaxChannels = 8;

  // Every transaction of the session is read-only: nothing a statement does can write. Dates print as ISO
  // text and backslashes in literals (the Like patterns' regular expressions) stay literal. Sent in the
  // start-up packet, so that they cost no round trip; `SessionSettingsCommand` is the same for servers that
  // do not take them there.
  static std::string SessionOptions(int timeout_seconds) {
    return "-c default_transaction_read_only=on -c DateStyle=ISO,MDY -c standard_conforming_strings=on -c "
           "statement_timeout=" +
           std::to_string(static_cast<long long>(timeout_seconds) * 1000);
  }
  static std::string SessionSettingsCommand(int timeout_seconds) {
    return "SET default_transaction_read_only = on; SET DateStyle = 'ISO, MDY'; SET "
           "standard_conforming_strings = on; SET statement_timeout = " +
           std::to_string(static_cast<long long>(timeout_seconds) * 1000);
  }

  // The options the connection string or the environment gives, which the session's own are added to: a
  // "Search Path", or options=... in a URI or a key=value string passed as the database name. Nothing when a
  // service file may hold them, as libpq reads that only for what the keywords leave unset.
  std::optional<std::string> CallerOptions() const {
    std::optional<std::string> options;
    bool names_service = std::getenv("PGSERVICE") != nullptr;
    for (const auto& [name, value] : keywords_) {
      if (name == "options") options = value;
      const bool is_conninfo = value.find('=') != std::string::npos || value.starts_with("postgresql://") ||
                               value.starts_with("postgres://");
      if (name != "dbname" || !is_conninfo) continue;
      char* error = nullptr;
      PQconninfoOption* parsed = PQconninfoParse(value.c_str(), &error);
      if (error != nullptr) PQfreemem(error);
      if (parsed == nullptr) continue;  // libpq reports the malformed string when it connects
      for (const PQconninfoOption* option = parsed; option->keyword != nullptr; ++option) {
        if (option->val == nullptr) continue;
        const std::string_view keyword = option->keyword;
        if (keyword == "options") options = option->val;
        if (keyword == "service") names_service = true;
      }
      PQconninfoFree(parsed);
    }
    if (names_service) return std::nullopt;
    if (!options) {
      const char* environment = std::getenv("PGOPTIONS");
      options = environment != nullptr ? environment : "";
    }
    return options;
  }

  static PGconn* ConnectWith(const std::vector<std::pair<std::string, std::string>>& keywords) {
    std::vector<const char*> names, values;
    for (const auto& [name, value] : keywords) {
      names.push_back(name.c_str());
      values.push_back(value.c_str());
    }
    names.push_back(nullptr);
    values.push_back(nullptr);
    return PQconnectdbParams(names.data(), values.data(), 1);
  }

  // Whether the server applied the start-up packet's settings; it reports those three to every client (the
  // read-only default since version 14).
  static bool HasSessionSettings(const PGconn* connection) {
    auto is = [&](const char* name, std::string_view value) {
      const char* reported = PQparameterStatus(connection, name);
      return reported != nullptr && value == reported;
    };
    return is("default_transaction_read_only", "on") && is("DateStyle", "ISO, MDY") &&
           is("standard_conforming_strings", "on");
  }

  Channel& OpenChannel() {
    auto channel = std::make_unique<Channel>();
    if (std::optional<std::string> options = CallerOptions()) {
      std::vector<std::pair<std::string, std::string>> keywords = keywords_;
      // Later keywords override those of a URI passed as the database name.
      keywords.emplace_back(
          "options", *options + (options->empty() ? "" : " ") + SessionOptions(session_timeout_seconds_));
      channel->connection = ConnectWith(keywords);
      const bool is_refused =
          PQstatus(channel->connection) != CONNECTION_OK &&
          std::string_view(PQerrorMessage(channel->connection)).find("unsupported startup parameter") !=
              std::string_view::npos;
      if (is_refused) {
        // A connection pooler that passes no options: the settings go as commands instead.
        PQfinish(channel->connection);
        channel->connection = nullptr;
      }
    }
    if (channel->connection == nullptr) channel->connection = ConnectWith(keywords_);
    if (channel->connection == nullptr || PQstatus(channel->connection) != CONNECTION_OK) {
      throw OpenError("cannot connect to PostgreSQL: " + TrimMessage(PQerrorMessage(channel->connection)));
    }
    PQsetNoticeProcessor(
        channel->connection, [](void*, const char*) {}, nullptr);
    if (!HasSessionSettings(channel->connection)) {
      ExecCommand(*channel, SessionSettingsCommand(session_timeout_seconds_));
    }
    channel->statement_timeout_seconds = session_timeout_seconds_;
    channels_.push_back(std::move(channel));
    return *channels_.back();
  }

  // A connection that can run a statement now: an idle one (the one that has `sql` prepared, if any), else
  // one whose short result is read into memory, else a new one.
  Channel& FreeChannel(const std::string* sql) {
    Channel* idle = nullptr;
    for (const std::unique_ptr<Channel>& channel : channels_) {
      if (channel->active_cursor != nullptr) continue;
      if (sql == nullptr || channel->prepared.contains(*sql) || channel->seen_once.contains(*sql)) {
        return *channel;
      }
      if (idle == nullptr) idle = channel.get();
    }
    if (idle != nullptr) return *idle;
    for (const std::unique_ptr<Channel>& channel : channels_) {
      if (channel->active_cursor->TryDetach(kMaxBytesToDetach, kMaxDetachWait)) {
        channel->active_cursor = nullptr;
        return *channel;
      }
    }
    if (channels_.size() >= kMaxChannels) {
      Channel& channel = *channels_.back();
      PostgresCursor* cursor = channel.active_cursor;
      channel.active_cursor = nullptr;
      cursor->Detach();
      return channel;
    }
    return OpenChannel();
  }

  void ExecCommand(Channel& channel, const std::string& sql) {
    PGresult* result = PQexec(channel.connection, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    const std::string message = TrimMessage(PQresultErrorMessage(result));
    PQclear(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      throw SqlError(message.empty() ? TrimMessage(PQerrorMessage(channel.connection)) : message, sql);
    }
  }

  void SetStatementTimeout(Channel& channel, int seconds) {
    if (seconds == channel.statement_timeout_seconds) return;
    ExecCommand(channel, "SET statement_timeout = " + std::to_string(static_cast<long long>(seconds) * 1000));
    channel.statement_timeout_seconds = seconds;
  }

  // Reads the catalog for `name` and the statement's other tables not yet read, unless it was read.
  void ReadCatalogFor(const std::string& name) {
    if (looked_up_.contains(name)) return;
    std::vector<std::string> names = std::move(pending_);
    pending_.clear();
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    std::erase_if(names, [&](const std::string& pending) { return looked_up_.contains(pending); });
    ReadCatalog(names);
  }

  // The columns of the tables these names find on the search path (as the server's own name lookup finds
  // them), and which column is a table's whole primary key: one query for the tables of a statement, so that
  // a session reads only what its statements use.
  void ReadCatalog(const std::vector<std::string>& names) {
    std::string tables;
    for (const std::string& name : names) {
      tables += tables.empty() ? "ARRAY[" : ", ";
      tables += "to_regclass(quote_ident('";
      for (char c : name) tables += c == '\'' ? std::string("''") : std::string(1, c);
      tables += "'))";
    }
    tables += "]::oid[]";
    const std::string sql =
        "SELECT array_position(" + tables +
        ", a.attrelid), a.attrelid, a.attname, "
        "format_type(a.atttypid, a.atttypmod), EXISTS (SELECT FROM pg_index i WHERE i.indrelid = a.attrelid "
        "AND i.indisprimary AND i.indnkeyatts = 1 AND i.indkey[0] = a.attnum) "
        "FROM pg_attribute a WHERE a.attrelid = ANY (" +
        tables + ") AND a.attnum > 0 AND NOT a.attisdropped";
    PGresult* result = PQexec(FreeChannel(nullptr).connection, sql.c_str());
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
      const std::string message = TrimMessage(PQresultErrorMessage(result));
      PQclear(result);
      throw SqlError("cannot read the PostgreSQL catalog: " + message);
    }
    for (int row = 0; row < PQntuples(result); ++row) {
      const size_t index = std::strtoul(PQgetvalue(result, row, 0), nullptr, 10) - 1;
      if (index >= names.size()) continue;
      const std::string& table = names[index];
      table_names_[static_cast<Oid>(std::strtoul(PQgetvalue(result, row, 1), nullptr, 10))] = table;
      const char* column = PQgetvalue(result, row, 2);
      tables_[table][column] = KindFromDeclaredType(PQgetvalue(result, row, 3));
      if (*PQgetvalue(result, row, 4) == 't') keys_[table] = column;
    }
    PQclear(result);
    looked_up_.insert(names.begin(), names.end());
  }

  // The name of a result column's table: the statement's sole table, else one the catalog holds, else one
  // looked up when `may_query` (the connection is free), else none.
  std::string TableName(Oid oid, const std::string& sole_table, bool may_query) {
    if (oid == InvalidOid) return "";
    auto found = table_names_.find(oid);
    if (found != table_names_.end()) return found->second;
    if (!sole_table.empty()) return sole_table;
    if (!may_query) return "";
    const std::string sql = "SELECT relname FROM pg_class WHERE oid = " + std::to_string(oid);
    PGresult* result = PQexec(FreeChannel(nullptr).connection, sql.c_str());
    std::string name;
    if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1) name = PQgetvalue(result, 0, 0);
    PQclear(result);
    table_names_[oid] = name;
    return name;
  }

  const Channel::Prepared& Prepare(Channel& channel, const TranslatedStatement& translated,
                                   std::string_view jet_sql, const std::string& sole_table) {
    auto found = channel.prepared.find(translated.sql);
    if (found != channel.prepared.end()) return found->second;
    if (channel.prepared.size() >= kMaxPreparedStatements) {
      ExecCommand(channel, "DEALLOCATE ALL");
      channel.prepared.clear();
    }
    Channel::Prepared prepared;
    prepared.name = "vob_" + std::to_string(++channel.statement_count);
    auto [prepare_result, result] = PrepareAndDescribe(channel.connection, prepared.name, translated.sql);
    if (PQresultStatus(prepare_result) != PGRES_COMMAND_OK) PQclear(result);  // only the first error counts
    CheckResult(channel.connection, prepare_result, PGRES_COMMAND_OK, jet_sql);
    CheckResult(channel.connection, result, PGRES_COMMAND_OK, jet_sql, /*keep=*/true);
    Describe(result, translated, prepared, sole_table, /*may_query=*/true);
    PQclear(result);
    return channel.prepared.emplace(translated.sql, std::move(prepared)).first->second;
  }

  // Whether every table was found in the catalog, so that describing a result needs no query of its own.
  bool IsOnSearchPath(const std::vector<data::TableName>& tables) {
    return std::all_of(tables.begin(), tables.end(), [&](const data::TableName& name) {
      return tables_.contains(vb::LowerAscii(name.table));
    });
  }

  // The columns and kinds of a statement from a result that describes it (a description or any result).
  void Describe(const PGresult* result, const TranslatedStatement& translated, Channel::Prepared& prepared,
                const std::string& sole_table, bool may_query) {
    size_t computed = 0;
    for (int i = 0; i < PQnfields(result); ++i) {
      ColumnInfo column;
      column.name = PQfname(result, i);
      column.table = TableName(PQftable(result, i), sole_table, may_query);
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
  static std::pair<PGresult*, PGresult*> PrepareAndDescribe(PGconn* connection, const std::string& name,
                                                            const std::string& sql) {
    if (!PQenterPipelineMode(connection)) return {nullptr, nullptr};
    PGresult* results[2] = {nullptr, nullptr};
    if (PQsendPrepare(connection, name.c_str(), sql.c_str(), 0, nullptr) &&
        PQsendDescribePrepared(connection, name.c_str()) && PQpipelineSync(connection)) {
      // Each command's result is followed by a null; the sync's own result ends the pipeline.
      for (PGresult*& result : results) {
        result = PQgetResult(connection);
        while (PGresult* extra = PQgetResult(connection)) PQclear(extra);
      }
      PQclear(PQgetResult(connection));
    }
    PQexitPipelineMode(connection);
    return {results[0], results[1]};
  }

  static void CheckResult(PGconn* connection, PGresult* result, ExecStatusType expected,
                          std::string_view jet_sql, bool keep = false) {
    if (PQresultStatus(result) != expected) {
      const char* message = result != nullptr ? PQresultErrorMessage(result) : PQerrorMessage(connection);
      const std::string text = TrimMessage(message);
      PQclear(result);
      throw SqlError(text, std::string(jet_sql));
    }
    if (!keep) PQclear(result);
  }

  std::vector<std::pair<std::string, std::string>> keywords_;  // libpq's, for each connection opened
  int session_timeout_seconds_ = 0;  // the statement time-out a new connection starts with
  std::vector<std::unique_ptr<Channel>> channels_;
  std::unordered_set<std::string> looked_up_;  // table names the catalog was asked for, found or not
  std::vector<std::string> pending_;           // the tables of the statement being translated
  std::unordered_map<std::string, std::unordered_map<std::string, ValueKind>> tables_;
  std::unordered_map<std::string, std::string> keys_;  // single-column primary keys by table
  std::unordered_map<Oid, std::string> table_names_;
};

PostgresCursor::~PostgresCursor() {
  if (is_streaming_) Abandon();
  Forget();
}

void PostgresCursor::Abandon() {
  first_result_.reset();
  // A lookup closed after its first row has the rest of its short result on the way: reading it is far
  // quicker than a cancel request, which opens a connection of its own. Longer or slower results are
  // cancelled.
  PGconn* connection = channel_.connection;
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
  while (PGresult* result = PQgetResult(channel_.connection)) PQclear(result);
  is_streaming_ = false;
}

bool PostgresCursor::Receive(std::vector<vb::Variant>& row) {
  const ResultPtr result(
      first_result_ != nullptr ? first_result_.release() : PQgetResult(channel_.connection), &PQclear);
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
    Forget();
    throw SqlError(message, jet_sql_);
  }
  if (!has_row) Forget();
  return has_row;
}

void PostgresCursor::Detach() {
  std::vector<vb::Variant> row;
  while (is_streaming_ && Receive(row)) buffered_rows_.push_back(std::move(row));
}

bool PostgresCursor::TryDetach(size_t max_bytes, std::chrono::milliseconds max_wait) {
  if (is_long_) return false;
  size_t bytes = 0;
  std::vector<vb::Variant> row;
  while (is_streaming_) {
    if (bytes > max_bytes || !WaitForResult(std::chrono::steady_clock::now() + max_wait)) {
      is_long_ = true;
      return false;
    }
    if (!Receive(row)) break;
    for (const vb::Variant& value : row) bytes += sizeof value + (value.is_string() ? value.str().size() : 0);
    buffered_rows_.push_back(std::move(row));
  }
  return true;
}

bool PostgresCursor::WaitForResult(std::chrono::steady_clock::time_point deadline) {
  if (first_result_ != nullptr) return true;
  PGconn* connection = channel_.connection;
  while (PQisBusy(connection)) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd socket{PQsocket(connection), POLLIN, 0};
    if (poll(&socket, 1, static_cast<int>(left.count())) <= 0) return false;
    if (PQconsumeInput(connection) == 0) return true;  // a broken connection: Receive reads its error
  }
  return true;
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
                                             std::string_view password, int connection_timeout_seconds,
                                             int command_timeout_seconds) {
  auto backend = std::make_shared<PostgresBackend>();
  backend->Connect(params, user, password, connection_timeout_seconds, command_timeout_seconds);
  return backend;
}

}  // namespace vob::data
