// `vobreports sql` end to end: every kind of value as csv and json print it, quoting included.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/run_command.h"

namespace vob {
namespace {

using testing::RunCommand;
using testing::Vobreports;

TEST(SqlCommand, PrintsEveryKindOfValue) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vob-sql-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string database = (folder / "values.sqlite").string();
  // Amounts stored as REAL (with a sum's binary noise), INTEGER and decimal TEXT; texts that need quoting.
  ASSERT_EQ(
      RunCommand("sqlite3 " + database +
                 " \"CREATE TABLE t (Id LONG, Name TEXT COLLATE NOCASE, Amount CURRENCY, Posted DATETIME,"
                 " Rate DOUBLE, Paid YESNO);"
                 " INSERT INTO t VALUES (1, 'Plain', 0.1 + 0.2, '2024-06-30', 0.5, -1);"
                 " INSERT INTO t VALUES (2, 'Comma, \\\"quoted\\\"', 12, '2024-06-30 14:05:09', NULL, 0);"
                 " INSERT INTO t VALUES (3, 'two' || char(10) || 'lines', '-1234.5678', NULL, 1e-7, NULL);\"")
          .exit_code,
      0);
  const std::string select = " \"SELECT Id, Name, Amount, Posted, Rate, Paid FROM t ORDER BY Id\"";
  struct Case {
    const char* format;
    const char* expected;
  };
  const Case kCases[] = {
      {"csv",
       "Id,Name,Amount,Posted,Rate,Paid\n"
       "1,Plain,0.3,2024-06-30,0.5,true\n"
       "2,\"Comma, \"\"quoted\"\"\",12,2024-06-30 14:05:09,,false\n"
       "3,\"two\nlines\",-1234.5678,,1e-07,\n"},
      {"json",
       "[\n"
       "{\"Id\":1,\"Name\":\"Plain\",\"Amount\":0.3,\"Posted\":\"2024-06-30\",\"Rate\":0.5,\"Paid\":true},\n"
       "{\"Id\":2,\"Name\":\"Comma, \\\"quoted\\\"\",\"Amount\":12,\"Posted\":\"2024-06-30T14:05:09\","
       "\"Rate\":null,\"Paid\":false},\n"
       "{\"Id\":3,\"Name\":\"two\\nlines\",\"Amount\":-1234.5678,\"Posted\":null,\"Rate\":1e-07,\"Paid\":"
       "null}\n"
       "]\n"},
  };
  for (const Case& c : kCases) {
    const auto result =
        RunCommand(Vobreports() + "sql --db " + database + " --format " + c.format + select + " 2>&1");
    EXPECT_EQ(result.exit_code, 0) << c.format;
    EXPECT_EQ(result.output, c.expected) << c.format;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vob
