// Streaming and per-row lookups through recordsets, on SQLite and (with VOB_TEST_PG set) PostgreSQL.
// Each benchmark checks its result; the streaming one also checks that memory does not grow with the rows.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/data/recordset.h"

namespace {

using vob::data::Connection;
using vob::data::Recordset;

constexpr int kRows = 1000000;
// Every amount is (row % 100000) / 100; over a million rows the total is exact in Currency.
constexpr int64_t kExpectedTotalRaw = 10LL * (99999LL * 100000 / 2) * 100;

const char* kLinesSql =
    "CREATE TABLE Lines (LineNo LONG, ItemCode TEXT COLLATE NOCASE, Amount CURRENCY, TransDate DATETIME);"
    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999999) "
    "INSERT INTO Lines SELECT i, 'ITEM' || (i % 1000), (i % 100000) / 100.0, '2024-01-31' FROM n;"
    "CREATE INDEX LinesLineNo ON Lines (LineNo);";

const char* kPostgresLinesSql =
    "DROP SCHEMA IF EXISTS vob_bench CASCADE; CREATE SCHEMA vob_bench; SET search_path = vob_bench;"
    "CREATE TABLE lines (lineno integer, itemcode text, amount numeric(19,4), transdate timestamp);"
    "INSERT INTO lines SELECT i, 'ITEM' || (i % 1000), (i % 100000) / 100.0, '2024-01-31' "
    "FROM generate_series(0, 999999) AS i;"
    "CREATE INDEX lines_lineno ON lines (lineno); ANALYZE lines;";

// The connection string of a million-row database, built once per process.
std::string SqliteDatabase() {
  static const std::string path = [] {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("vob_data_bench_" + std::to_string(::getpid()) + ".sqlite"))
                                 .string();
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + file);
    if (sqlite3_exec(db, kLinesSql, nullptr, nullptr, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(db));
    }
    sqlite3_close(db);
    std::atexit([] { std::filesystem::remove(path); });
    return file;
  }();
  return "Provider=SQLite;Data Source=" + path + ";";
}

std::string PostgresDatabase() {
  const char* uri = std::getenv("VOB_TEST_PG");
  if (uri == nullptr) return "";
  static const bool is_loaded = [uri] {
    PGconn* connection = PQconnectdb(uri);
    PGresult* result = PQexec(connection, kPostgresLinesSql);
    const bool is_ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!is_ok) throw std::runtime_error(PQresultErrorMessage(result));
    PQclear(result);
    PQfinish(connection);
    return is_ok;
  }();
  return is_loaded ? std::string(uri) + "?options=-csearch_path%3Dvob_bench;" : "";
}

std::string Database(int backend) {
  return backend == 0 ? SqliteDatabase() : PostgresDatabase();
}

// The resident set now, from /proc/self/statm (its second field, in pages).
long ResidentKilobytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  long size_pages = 0, resident_pages = 0;
  if (statm != nullptr) {
    if (std::fscanf(statm, "%ld %ld", &size_pages, &resident_pages) != 2) resident_pages = 0;
    std::fclose(statm);
  }
  return resident_pages * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_StreamMillionRows(benchmark::State& state) {
  const std::string database = Database(static_cast<int>(state.range(0)));
  if (database.empty()) return state.SkipWithError("VOB_TEST_PG is not set");
  Connection connection;
  connection.set_connection_string(database);
  connection.Open();
  long rss_growth_kb = 0;
  for (auto _ : state) {
    const long rss_before = ResidentKilobytes();
    Recordset recordset;
    recordset.Open("SELECT * FROM Lines", connection);
    const int item = recordset.FieldIndex("ItemCode"), amount = recordset.FieldIndex("Amount");
    const int date = recordset.FieldIndex("TransDate");
    int64_t rows = 0, total = 0;
    size_t text_bytes = 0;
    for (; !recordset.eof(); recordset.MoveNext()) {
      if (++rows % 65536 == 0) rss_growth_kb = std::max(rss_growth_kb, ResidentKilobytes() - rss_before);
      text_bytes += recordset.Value(item).str().size();
      total += recordset.Value(amount).currency().raw();
      benchmark::DoNotOptimize(recordset.Value(date).date_serial());
    }
    recordset.Close();
    if (rows != kRows || total != kExpectedTotalRaw || text_bytes == 0) {
      return state.SkipWithError("wrong rows or total");
    }
  }
  // A million rows held at once would take hundreds of megabytes; streaming keeps one.
  if (rss_growth_kb > 64 * 1024) return state.SkipWithError("memory grew with the number of rows");
  state.counters["rows_per_second"] =
      benchmark::Counter(static_cast<double>(kRows), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["max_rss_growth_kb"] = static_cast<double>(rss_growth_kb);
}
BENCHMARK(BM_StreamMillionRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

// A lookup per report row on a private connection, as the job and terms lookups do: the session comes from
// the pool and the statement is prepared once per distinct text.
void BM_PerRowLookup(benchmark::State& state) {
  const std::string database = Database(static_cast<int>(state.range(0)));
  if (database.empty()) return state.SkipWithError("VOB_TEST_PG is not set");
  const int distinct_keys = static_cast<int>(state.range(1));
  int key = 0;
  for (auto _ : state) {
    key = (key + 7919) % distinct_keys;
    Recordset recordset;
    recordset.Open("Select ItemCode, Amount From Lines Where LineNo = " + std::to_string(key), database);
    if (recordset.eof() || recordset.Fields("ItemCode").str() != "ITEM" + std::to_string(key % 1000)) {
      return state.SkipWithError("wrong lookup result");
    }
    recordset.Close();
  }
}
BENCHMARK(BM_PerRowLookup)->ArgsProduct({{0, 1}, {1, 100, 100000}})->Unit(benchmark::kMicrosecond);

}  // namespace
