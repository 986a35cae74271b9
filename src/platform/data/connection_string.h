// Reads ADO-style connection strings ("Provider=SQLite;Data Source=PATH;"), PostgreSQL URIs and bare paths
// into the parameters a backend opens with. Keys match regardless of case; unknown keys are ignored.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vob::data {

struct ConnectionParams {
  enum class Provider { kSqlite, kPostgres };
  Provider provider = Provider::kSqlite;
  std::string sqlite_path;
  // libpq keywords and values in order; a URI is passed as the value of "dbname", which libpq expands.
  std::vector<std::pair<std::string, std::string>> postgres_keywords;

  // Identifies the database and the credentials: two strings naming the same session share pooled sessions.
  std::string Key() const;
};

// Throws SqlError for an empty or malformed string, a missing Data Source, an unknown provider, and a Jet
// (.mdb/.accdb) database, which is not supported. Messages never repeat a password.
ConnectionParams ParseConnectionString(std::string_view text);

}  // namespace vob::data
