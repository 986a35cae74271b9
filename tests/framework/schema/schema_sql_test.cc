// The accounting schema's names in both dialects, and the SQLite writer's all-or-nothing file handling. That
// every column a report reads is there, spelled as it spells it, shows in the reports' tests and demo runs.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "framework/schema/iso_date.h"
#include "framework/schema/schema_error.h"
#include "framework/schema/schema_sql.h"
#include "framework/schema/sqlite_loader.h"

namespace vob::schema {
namespace {

std::filesystem::path ScratchDirectory(const std::string& name) {
  std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("vob-schema-" + name + "-" + std::to_string(getpid()));
  std::filesystem::create_directories(directory);
  return directory;
}

// The statements each dialect's loader writes run in every test that loads the books; quoting is the rule
// they share: PostgreSQL folds names to lower case, and quotes its key words.
TEST(AccountingSchema, QuotesNamesForEachDialect) {
  struct Case {
    const char* name;
    const char* postgres;
  };
  static constexpr Case kCases[] = {
      {"Group", "\"group\""}, {"Default", "\"default\""}, {"Type", "type"},     {"LineNo", "lineno"},
      {"ToDate", "todate"},   {"Order", "\"order\""},     {"User", "\"user\""}, {"CustomerId", "customerid"},
  };
  for (const Case& c : kCases) EXPECT_EQ(QuoteName(c.name, SqlDialect::kPostgres), c.postgres) << c.name;
  EXPECT_EQ(QuoteName("LineNo", SqlDialect::kSqlite), "\"LineNo\"");
}

TEST(SqliteLoader, ReplacesAFileOnlyWithACompleteOne) {
  const std::filesystem::path directory = ScratchDirectory("loader");
  const std::filesystem::path file = directory / "demo.sqlite";
  std::ofstream(file) << "not a database";
  WriteDemoSqlite(file, {}, true);
  std::ifstream written(file);
  std::string magic(15, '\0');
  written.read(magic.data(), 15);
  EXPECT_EQ(magic, "SQLite format 3");

  // A failed generation leaves the old file and no temporary beside it.
  EXPECT_THROW(WriteDemoSqlite(file, {0, *ParseIsoDate("2026-01-01")}, false), SchemaError);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(
      std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator()),
      1);

  const std::filesystem::path missing = directory / "no such folder" / "demo.sqlite";
  try {
    WriteDemoSqlite(missing, {}, true);
    ADD_FAILURE() << "no error";
  } catch (const SchemaError& error) {
    EXPECT_EQ(std::string(error.what()),
              "cannot create " + missing.string() + ": unable to open database file");
  }
  std::filesystem::remove_all(directory);
}

TEST(IsoDate, ReadsOnlyRealCalendarDays) {
  struct Case {
    const char* text;
    const char* formatted;  // nullptr: rejected
  };
  static constexpr Case kCases[] = {
      {"2026-06-30", "2026-06-30"}, {"2024-02-29", "2024-02-29"},
      {"1901-01-01", "1901-01-01"}, {"2025-02-29", nullptr},
      {"2026-13-01", nullptr},      {"2026-6-30", nullptr},
      {"2026/06/30", nullptr},      {"", nullptr},
      {"2026-06-30 ", nullptr},
  };
  for (const Case& c : kCases) {
    const std::optional<double> serial = ParseIsoDate(c.text);
    if (c.formatted == nullptr) {
      EXPECT_FALSE(serial) << c.text;
    } else {
      ASSERT_TRUE(serial) << c.text;
      EXPECT_EQ(FormatIsoDate(*serial), c.formatted);
    }
  }
  EXPECT_EQ(FormatIsoDate(*ParseIsoDate("2024-01-31") + (14 * 60 + 5) / 1440.0), "2024-01-31 14:05:00");
  EXPECT_EQ(FormatIsoDate(*ParseIsoDate("2024-01-31") + 0.5, 'T'), "2024-01-31T12:00:00");
}

}  // namespace
}  // namespace vob::schema
