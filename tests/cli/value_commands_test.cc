#include <gtest/gtest.h>

#include "support/run_command.h"

namespace vob {
namespace {

using testing::RunCommand;
using testing::Vobreports;

TEST(CliValueCommands, PrintTheirResultsAndExitCodes) {
  struct Case {
    std::string arguments;
    int exit_code;
    std::string output;
  };
  const Case kCases[] = {
      {"format 1234.5 '#,##0.00 ;(#,##0.00)'", 0, "1,234.50 \n"},
      {"format -- -1234.5 '$#,##0.00;($#,##0.00)'", 0, "($1,234.50)\n"},
      {"format 2024-01-05 'mmmm dd, yyyy'", 0, "January 05, 2024\n"},
      {"format --type string 5551234 '@@@-@@@@'", 0, "555-1234\n"},
      {"format --type bool 0 yes/no", 0, "No\n"},
      {"format --type currency 12.345678 ''", 0, "12.3457\n"},
      {"words 1234.56", 0, "One Thousand Two Hundred Thirty Four and 56/100 only\n"},
      {"words 1000 0", 0, "One Thousand  only\n"},
      {"words -- -42", 0, "Negative  Forty Two and 00/100 only\n"},
      {"words abc 2>&1", 1, "vobreports: words: \"abc\" is not a number\n"},
      {"words 2147483648 2>&1", 1, "vobreports: Overflow: AmountInWords\n"},
      {"format --type date notadate mm/dd/yy 2>&1", 1, "vobreports: Type mismatch: CDate(\"notadate\")\n"},
      {"format --type weird 1 0 >/dev/null 2>&1", 2, ""},
      {"nosuchcommand >/dev/null 2>&1", 2, ""},
      {">/dev/null 2>&1", 2, ""},
  };
  for (const Case& c : kCases) {
    const testing::CommandResult result = RunCommand(Vobreports() + c.arguments);
    EXPECT_EQ(result.exit_code, c.exit_code) << c.arguments;
    EXPECT_EQ(result.output, c.output) << c.arguments;
  }
}

TEST(CliValueCommands, KeysListsTheTableInOrderWithTabs) {
  const testing::CommandResult result = RunCommand(Vobreports() + "keys");
  ASSERT_EQ(result.exit_code, 0);
  EXPECT_TRUE(result.output.starts_with("activity\trptActivity\napaging\trptAPAging\n")) << result.output;
  EXPECT_TRUE(result.output.ends_with("vendlist\trptVendList\nvenpayments\trptVenPmnts\n")) << result.output;
  EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 38);
}

}  // namespace
}  // namespace vob
