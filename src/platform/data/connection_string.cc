// Connection strings as the host writes them: "key=value;" pairs, values optionally quoted ("a;b" or 'a;b').
// SQLite wants a Data Source; PostgreSQL keys map onto libpq's keywords.
#include "platform/data/connection_string.h"

#include <sys/stat.h>

#include <array>
#include <cctype>

#include "platform/data/jet_tokenizer.h"
#include "platform/data/sql_error.h"
#include "platform/vb/names.h"

namespace vob::data {
namespace {

struct KeyMapping {
  std::string_view key;
  std::string_view libpq_keyword;
};

// ADO and Npgsql spellings of the PostgreSQL keys; "Search Path" becomes a session option.
constexpr std::array<KeyMapping, 15> kPostgresKeys = {{
    {"host", "host"},
    {"server", "host"},
    {"data source", "host"},
    {"port", "port"},
    {"database", "dbname"},
    {"initial catalog", "dbname"},
    {"user id", "user"},
    {"uid", "user"},
    {"user", "user"},
    {"username", "user"},
    {"password", "password"},
    {"pwd", "password"},
    {"ssl mode", "sslmode"},
    {"sslmode", "sslmode"},
    {"search path", "options"},
}};

std::string Trim(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return std::string(text.substr(first, last - first));
}

bool IsJetFile(std::string_view path) {
  return vb::EndsWithIgnoringCase(path, ".mdb") || vb::EndsWithIgnoringCase(path, ".accdb");
}

bool IsSqliteFileName(std::string_view path) {
  return vb::EndsWithIgnoringCase(path, ".sqlite") || vb::EndsWithIgnoringCase(path, ".sqlite3") ||
         vb::EndsWithIgnoringCase(path, ".db");
}

bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

[[noreturn]] void JetNotSupported() {
  throw OpenError(
      "Jet/Access database files (.mdb, .accdb) are not supported; convert the database to SQLite or "
      "PostgreSQL and name it with Provider=SQLite or Provider=PostgreSQL");
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs SplitPairs(std::string_view text) {
  Pairs pairs;
  size_t position = 0;
  while (position < text.size()) {
    const size_t equals = text.find('=', position);
    const size_t semicolon = text.find(';', position);
    if (equals == std::string_view::npos || (semicolon != std::string_view::npos && semicolon < equals)) {
      const std::string part = Trim(text.substr(
          position, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - position));
      if (!part.empty()) throw OpenError("malformed connection string: \"" + part + "\" is not key=value");
      position = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
      continue;
    }
    const std::string key = vb::LowerAscii(Trim(text.substr(position, equals - position)));
    if (key.empty()) throw OpenError("malformed connection string: a value without a key");
    position = equals + 1;
    while (position < text.size() && text[position] == ' ') ++position;
    std::string value;
    if (position < text.size() && (text[position] == '"' || text[position] == '\'')) {
      const char quote = text[position++];
      bool is_closed = false;
      while (position < text.size()) {
        if (text[position] == quote) {
          if (position + 1 < text.size() && text[position + 1] == quote) {
            value += quote;
            position += 2;
            continue;
          }
          ++position;
          is_closed = true;
          break;
        }
        value += text[position++];
      }
      if (!is_closed)
        throw OpenError("malformed connection string: unclosed quote in the value of \"" + key + "\"");
      while (position < text.size() && text[position] == ' ') ++position;
      if (position < text.size() && text[position] != ';') {
        throw OpenError("malformed connection string: text after the quoted value of \"" + key + "\"");
      }
    } else {
      const size_t end = text.find(';', position);
      value = Trim(
          text.substr(position, end == std::string_view::npos ? std::string_view::npos : end - position));
      position = end == std::string_view::npos ? text.size() : end;
    }
    if (position < text.size()) ++position;  // the ";"
    pairs.emplace_back(key, std::move(value));
  }
  return pairs;
}

const std::string* Find(const Pairs& pairs, std::string_view key) {
  const std::string* found = nullptr;
  for (const auto& [name, value] : pairs) {
    if (name == key) found = &value;  // the last one wins, as in ADO
  }
  return found;
}

ConnectionParams SqliteParams(std::string path) {
  ConnectionParams params;
  params.provider = ConnectionParams::Provider::kSqlite;
  params.sqlite_path = std::move(path);
  return params;
}

ConnectionParams PostgresParams(const Pairs& pairs) {
  ConnectionParams params;
  params.provider = ConnectionParams::Provider::kPostgres;
  for (const auto& [key, value] : pairs) {
    for (const KeyMapping& mapping : kPostgresKeys) {
      if (key != mapping.key) continue;
      if (mapping.libpq_keyword == "options") {
        params.postgres_keywords.emplace_back("options", "-c search_path=" + value);
      } else {
        params.postgres_keywords.emplace_back(mapping.libpq_keyword, value);
      }
    }
  }
  return params;
}

bool IsPostgresUri(std::string_view text) {
  return text.starts_with("postgresql://") || text.starts_with("postgres://");
}

}  // namespace

std::string ConnectionParams::Key() const {
  std::string key = provider == Provider::kSqlite ? "sqlite\n" + sqlite_path : "postgres";
  for (const auto& [keyword, value] : postgres_keywords) key += "\n" + keyword + "=" + value;
  return key;
}

ConnectionParams ParseConnectionString(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) throw OpenError("the connection string is empty");
  if (IsPostgresUri(trimmed)) {
    // A URI ends at the first ";": hosts append "key=value;" pairs to their connection string, as the shared
    // connection appends "Persist Security Info=False;". Those pairs have no meaning for a URI.
    const size_t end = trimmed.find(';');
    SplitPairs(end == std::string::npos ? "" : std::string_view(trimmed).substr(end + 1));
    ConnectionParams params;
    params.provider = ConnectionParams::Provider::kPostgres;
    params.postgres_keywords.emplace_back("dbname", Trim(trimmed.substr(0, end)));
    return params;
  }
  const size_t first_end = trimmed.find(';');
  const std::string first = Trim(std::string_view(trimmed).substr(0, first_end));
  if (first.find('=') == std::string::npos) {
    // A bare path to an existing SQLite file, perhaps followed by pairs a caller appended (the shared
    // connection appends "Persist Security Info=False;"); those have no meaning for a file.
    SplitPairs(first_end == std::string::npos ? "" : std::string_view(trimmed).substr(first_end + 1));
    const std::string& path = first;
    if (IsJetFile(path)) JetNotSupported();
    if (IsSqliteFileName(path) && IsRegularFile(path)) return SqliteParams(path);
    throw OpenError("malformed connection string: \"" + path +
                    "\" is neither key=value pairs nor an existing .sqlite or .db file");
  }

  const Pairs pairs = SplitPairs(trimmed);
  const std::string* provider = Find(pairs, "provider");
  const std::string* data_source = Find(pairs, "data source");
  const std::string lower_provider = provider != nullptr ? vb::LowerAscii(*provider) : "";
  if (lower_provider.starts_with("microsoft.jet") || lower_provider.starts_with("microsoft.ace") ||
      (data_source != nullptr && IsJetFile(*data_source))) {
    JetNotSupported();
  }
  if (lower_provider == "sqlite" || lower_provider == "sqlite3" ||
      (provider == nullptr && data_source != nullptr && IsSqliteFileName(*data_source))) {
    if (data_source == nullptr || data_source->empty()) {
      throw OpenError("the connection string names no Data Source for SQLite");
    }
    return SqliteParams(*data_source);
  }
  if (lower_provider == "postgresql" || lower_provider == "postgres" || lower_provider == "pgsql" ||
      lower_provider == "npgsql") {
    return PostgresParams(pairs);
  }
  if (provider == nullptr) throw OpenError("the connection string names no Provider (SQLite or PostgreSQL)");
  throw OpenError("unknown provider \"" + *provider + "\"; use SQLite or PostgreSQL");
}

}  // namespace vob::data
