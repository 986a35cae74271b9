// A throwaway database per test, written through the raw SQLite and libpq APIs (the library only reads).
// SQLite gets a file in a temporary directory; PostgreSQL a schema of VOB_TEST_PG, dropped afterwards.
#pragma once

#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace vob::data::testing {

enum class BackendKind { kSqlite, kPostgres };

inline std::string BackendName(BackendKind kind) {
  return kind == BackendKind::kSqlite ? "SQLite" : "PostgreSQL";
}

// The PostgreSQL test cluster's URI, or "" when the tests run without one.
inline std::string PostgresUri() {
  const char* uri = std::getenv("VOB_TEST_PG");
  return uri != nullptr ? uri : "";
}

class TestDatabase {
 public:
  explicit TestDatabase(BackendKind kind) : kind_(kind) {
    static std::atomic<int> count{0};
    name_ = "vob_" + std::to_string(::getpid()) + "_" + std::to_string(++count);
    if (kind_ == BackendKind::kSqlite) {
      directory_ = std::filesystem::temp_directory_path() / name_;
      std::filesystem::create_directories(directory_);
      path_ = (directory_ / "accounting.sqlite").string();
      if (sqlite3_open(path_.c_str(), &sqlite_) != SQLITE_OK)
        throw std::runtime_error("cannot create " + path_);
      Exec("PRAGMA synchronous = OFF");
    } else {
      postgres_ = PQconnectdb(PostgresUri().c_str());
      if (PQstatus(postgres_) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(postgres_));
      Exec("SET client_min_messages = warning; CREATE SCHEMA " + name_ + "; SET search_path = " + name_);
    }
  }
  ~TestDatabase() {
    if (sqlite_ != nullptr) sqlite3_close(sqlite_);
    if (postgres_ != nullptr) {
      PQclear(PQexec(postgres_, ("DROP SCHEMA " + name_ + " CASCADE").c_str()));
      PQfinish(postgres_);
    }
    if (!directory_.empty()) std::filesystem::remove_all(directory_);
  }

  // Runs SQL written in SQLite's words; on PostgreSQL the schema's type names are swapped for their
  // equivalents and {yes}/{no} become true/false (on SQLite -1 and 0, as the accounting files hold them).
  void Exec(std::string sql) {
    if (kind_ == BackendKind::kSqlite) {
      Replace(sql, "{yes}", "-1");
      Replace(sql, "{no}", "0");
      char* message = nullptr;
      if (sqlite3_exec(sqlite_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message;
        sqlite3_free(message);
        throw std::runtime_error(text + " in: " + sql);
      }
      return;
    }
    Replace(sql, "{yes}", "true");
    Replace(sql, "{no}", "false");
    Replace(sql, " COLLATE NOCASE", "");
    Replace(sql, " CURRENCY", " numeric(19,4)");
    Replace(sql, " DATETIME", " timestamp");
    Replace(sql, " YESNO", " boolean");
    Replace(sql, " LONG", " integer");
    Replace(sql, " DOUBLE", " double precision");
    PGresult* result = PQexec(postgres_, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    const std::string text = PQresultErrorMessage(result);
    PQclear(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
      throw std::runtime_error(text + " in: " + sql);
  }

  // "Provider=SQLite;Data Source=...;" or the cluster's URI with the test's schema on the search path, ended
  // with ";" as hosts end their connection strings.
  std::string connection_string() const {
    if (kind_ == BackendKind::kSqlite) return "Provider=SQLite;Data Source=" + path_ + ";";
    const std::string uri = PostgresUri();
    return uri + (uri.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + name_ + ";";
  }
  const std::string& schema() const { return name_; }
  const std::string& path() const { return path_; }
  BackendKind kind() const { return kind_; }

 private:
  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
  }

  BackendKind kind_;
  std::string name_;
  std::filesystem::path directory_;
  std::string path_;
  sqlite3* sqlite_ = nullptr;
  PGconn* postgres_ = nullptr;
};

}  // namespace vob::data::testing
