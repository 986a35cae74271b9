// The SQLite side of the demo database: one transaction, one prepared INSERT per table, indexes after the
// rows. Values follow the storage conventions: dates as ISO-8601 text, money as decimal numbers, yes/no as 0
// and 1.
#include "framework/schema/sqlite_loader.h"

#include <sqlite3.h>
#include <unistd.h>

#include <system_error>
#include <vector>

#include <fmt/format.h>

#include "framework/schema/iso_date.h"
#include "framework/schema/schema_error.h"
#include "framework/schema/schema_sql.h"

namespace vob::schema {
namespace {

class SqliteFile : public RowSink {
 public:
  // Writes to temporary; messages name path, the file the caller asked for.
  SqliteFile(const std::filesystem::path& temporary, const std::filesystem::path& path) : path_(path) {
    if (sqlite3_open_v2(temporary.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      db_ = nullptr;
      throw SchemaError(fmt::format("cannot create {}: {}", path.string(), message));
    }
  }
  ~SqliteFile() override {
    for (sqlite3_stmt* statement : inserts_) sqlite3_finalize(statement);
    sqlite3_close(db_);
  }

  void Execute(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
      const std::string text = message ? message : sqlite3_errmsg(db_);
      sqlite3_free(message);
      throw SchemaError(fmt::format("{}: {} in: {}", path_.string(), text, sql));
    }
  }

  void PrepareInserts() {
    for (const TableDef& table : AccountingTables()) {
      sqlite3_stmt* statement = nullptr;
      const std::string sql = InsertSql(table);
      if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        throw SchemaError(fmt::format("{}: {} in: {}", path_.string(), sqlite3_errmsg(db_), sql));
      }
      inserts_.push_back(statement);
    }
  }

  void AddRow(const TableDef& table, std::span<const vb::Variant> values) override {
    sqlite3_stmt* statement = inserts_[static_cast<size_t>(table.id)];
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
      Bind(statement, i + 1, values[static_cast<size_t>(i)]);
    if (sqlite3_step(statement) != SQLITE_DONE) {
      throw SchemaError(
          fmt::format("{}: {} while inserting into {}", path_.string(), sqlite3_errmsg(db_), table.name));
    }
    sqlite3_reset(statement);
    ++rows_;
  }

  int64_t rows() const { return rows_; }

  void Close() {
    for (sqlite3_stmt* statement : inserts_) sqlite3_finalize(statement);
    inserts_.clear();
    if (sqlite3_close(db_) != SQLITE_OK)
      throw SchemaError(fmt::format("{}: {}", path_.string(), sqlite3_errmsg(db_)));
    db_ = nullptr;
  }

 private:
  void Bind(sqlite3_stmt* statement, int index, const vb::Variant& value) {
    switch (value.type()) {
      case vb::VarType::kString:
        // The row outlives the step, and every parameter is bound again before the next one.
        sqlite3_bind_text(statement, index, value.str().data(), static_cast<int>(value.str().size()),
                          SQLITE_STATIC);
        return;
      case vb::VarType::kLong:
        sqlite3_bind_int64(statement, index, value.long_value());
        return;
      case vb::VarType::kInteger:
        sqlite3_bind_int64(statement, index, value.integer());
        return;
      case vb::VarType::kDouble:
        sqlite3_bind_double(statement, index, value.dbl());
        return;
      case vb::VarType::kCurrency: {
        // Whole amounts as integers, others as the double nearest the decimal: both read back exactly.
        const int64_t raw = value.currency().raw();
        if (raw % vb::Currency::kScale == 0) {
          sqlite3_bind_int64(statement, index, raw / vb::Currency::kScale);
        } else {
          sqlite3_bind_double(statement, index, value.currency().ToDouble());
        }
        return;
      }
      case vb::VarType::kDate: {
        const std::string text = FormatIsoDate(value.date_serial());
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return;
      }
      case vb::VarType::kBoolean:
        sqlite3_bind_int(statement, index, value.boolean() ? 1 : 0);
        return;
      default:
        sqlite3_bind_null(statement, index);
        return;
    }
  }

  std::filesystem::path path_;
  sqlite3* db_ = nullptr;
  std::vector<sqlite3_stmt*> inserts_;
  int64_t rows_ = 0;
};

void RemoveQuietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace

LoadSummary WriteDemoSqlite(const std::filesystem::path& path, const DemoOptions& options, bool schema_only) {
  std::filesystem::path temporary = path;
  temporary += fmt::format(".partial-{}", getpid());
  RemoveQuietly(temporary);
  LoadSummary summary;
  try {
    SqliteFile file(temporary, path);
    // The file is private until the rename, so it needs neither a journal nor syncs.
    file.Execute("PRAGMA journal_mode = OFF");
    file.Execute("PRAGMA synchronous = OFF");
    file.Execute("BEGIN");
    for (const std::string& sql : CreateSchemaSql(SqlDialect::kSqlite)) file.Execute(sql);
    if (!schema_only) {
      file.PrepareInserts();
      GenerateDemoCompany(options, file);
      file.Execute(fmt::format("PRAGMA user_version = {}", kDemoGeneratorVersion));
    }
    for (const std::string& sql : CreateIndexesSql(SqlDialect::kSqlite)) file.Execute(sql);
    file.Execute("COMMIT");
    if (!schema_only) file.Execute("ANALYZE");
    summary = {kTableCount, file.rows()};
    file.Close();
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error)
      throw SchemaError(
          fmt::format("cannot rename {} to {}: {}", temporary.string(), path.string(), error.message()));
  } catch (...) {
    RemoveQuietly(temporary);
    throw;
  }
  return summary;
}

int StoredDemoVersion(const std::filesystem::path& path) {
  sqlite3* db = nullptr;
  int version = -1;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      version = sqlite3_column_int(statement, 0);
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return version;
}

}  // namespace vob::schema
