// Connection strings: the ADO key=value form, PostgreSQL URIs, bare paths, and the strings refused.
#include "platform/data/connection_string.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/data/sql_error.h"

namespace vob::data {
namespace {

std::string Describe(const ConnectionParams& params) {
  std::string text =
      params.provider == ConnectionParams::Provider::kSqlite ? "sqlite " + params.sqlite_path : "pg";
  for (const auto& [keyword, value] : params.postgres_keywords) text += " " + keyword + "=" + value;
  return text;
}

TEST(ConnectionString, ReadsProvidersKeysAndPaths) {
  const std::string existing = (std::filesystem::temp_directory_path() /
                                ("vob_connection_string_test_" + std::to_string(::getpid()) + ".db"))
                                   .string();
  std::fclose(std::fopen(existing.c_str(), "w"));
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {"Provider=SQLite;Data Source=/data/acme.sqlite;", "sqlite /data/acme.sqlite"},
      {"provider=sqlite; DATA SOURCE = /data/acme.sqlite ;Persist Security Info=False;",
       "sqlite /data/acme.sqlite"},
      {"Data Source=\"/data/a;b.db\";Provider=SQLite", "sqlite /data/a;b.db"},
      {"Data Source=/data/acme.sqlite3", "sqlite /data/acme.sqlite3"},
      {existing, "sqlite " + existing},
      {existing + ";", "sqlite " + existing},
      {existing + ";Persist Security Info=False;", "sqlite " + existing},
      {"Provider=PostgreSQL;Host=db.local;Port=5433;Database=acme;User ID=clerk;Password='p;w''d';",
       "pg host=db.local port=5433 dbname=acme user=clerk password=p;w'd"},
      {"Provider=Postgres;Server=db;Initial Catalog=acme;UID=u;PWD=p;Search Path=books;Timeout=5",
       "pg host=db dbname=acme user=u password=p options=-c search_path=books"},
      {"postgresql://clerk@db.local:5433/acme?sslmode=disable",
       "pg dbname=postgresql://clerk@db.local:5433/acme?sslmode=disable"},
      {"postgres://db/acme;Persist Security Info=False;", "pg dbname=postgres://db/acme"},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(ParseConnectionString(c.text)), c.expected) << c.text;
  std::filesystem::remove(existing);
}

TEST(ConnectionString, RefusesEmptyMalformedAndJetStrings) {
  const std::string kJet =
      "Jet/Access database files (.mdb, .accdb) are not supported; convert the database to SQLite or "
      "PostgreSQL "
      "and name it with Provider=SQLite or Provider=PostgreSQL";
  struct Case {
    const char* text;
    std::string message;
  };
  const Case cases[] = {
      {"", "the connection string is empty"},
      {"   ", "the connection string is empty"},
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\books\\acme.mdb;", kJet},
      {"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=acme.accdb", kJet},
      {"C:\\books\\acme.mdb", kJet},
      {"/no/such/file.sqlite",
       "malformed connection string: \"/no/such/file.sqlite\" is neither key=value pairs nor "
       "an existing .sqlite or .db file"},
      {"Provider=SQLite;", "the connection string names no Data Source for SQLite"},
      {"Provider=SQLite;Data Source=", "the connection string names no Data Source for SQLite"},
      {"Provider=SQLite;acme.sqlite;", "malformed connection string: \"acme.sqlite\" is not key=value"},
      {"=x;Provider=SQLite", "malformed connection string: a value without a key"},
      {"Provider=SQLite;Data Source=\"acme.sqlite",
       "malformed connection string: unclosed quote in the value of "
       "\"data source\""},
      {"Provider=Oracle;Data Source=x", "unknown provider \"Oracle\"; use SQLite or PostgreSQL"},
      {"Host=db;Database=acme", "the connection string names no Provider (SQLite or PostgreSQL)"},
      {"postgresql://db/acme;Persist Security Info",
       "malformed connection string: \"Persist Security Info\" is not "
       "key=value"},
  };
  for (const Case& c : cases) {
    try {
      ParseConnectionString(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const SqlError& error) {
      EXPECT_EQ(error.what(), c.message) << c.text;
    }
  }
}

}  // namespace
}  // namespace vob::data
