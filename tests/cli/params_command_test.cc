#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/run_command.h"

namespace vob {
namespace {

using testing::RunCommand;
using testing::Vobreports;

TEST(ParamsCommand, PrintsOneTabSeparatedLinePerParameter) {
  struct Case {
    std::string arguments;
    std::string output;
  };
  const Case kCases[] = {
      {"trbalance",
       "1\tdate\tBeginning date\t04/01/2024\n"
       "2\tdate\tEnding date\t06/30/2024\n"
       "3\tperiod\tFirst accounting period (YYYYPP)\t202404\n"
       "4\tperiod\tLast accounting period (YYYYPP)\t202406\n"},
      // Keys in any case, as run takes them; the drill-down argument is "d", a blank example stays blank.
      {"ARAGING",
       "1\tid\tCustomer ID, or blank for all\t\n"
       "d\tid\tCustomer ID (replaces parameter 1)\tACME0021\n"},
      {"chaccts", ""},
      {"checklayout --second", "1\tid\tCheck style ID\t1\n"},  // no second run: the example stands
  };
  for (const Case& c : kCases) {
    const auto result = RunCommand(Vobreports() + "params " + c.arguments);
    EXPECT_EQ(result.exit_code, 0) << c.arguments;
    EXPECT_EQ(result.output, c.output) << c.arguments;
  }
}

TEST(ParamsCommand, JsonListsEachParameterWithItsChoicesAndSecondExample) {
  const auto result = RunCommand(Vobreports() + "params journal --json");
  ASSERT_EQ(result.exit_code, 0);
  const nlohmann::json params = nlohmann::json::parse(result.output);
  ASSERT_EQ(params.size(), 5u);
  const nlohmann::json ending_date = {{"index", "2"},
                                      {"kind", "date"},
                                      {"label", "Ending date (mode 1)"},
                                      {"example", "06/30/2024"},
                                      {"required", true}};
  EXPECT_EQ(params[1], ending_date);
  EXPECT_EQ(params[4]["index"], "5");
  EXPECT_EQ(params[4]["kind"], "choice");
  EXPECT_EQ(params[4]["example"], "1");
  EXPECT_EQ(params[4]["second_example"], "0");
  EXPECT_EQ(params[4]["values"], nlohmann::json::parse(R"(["0", "1"])"));

  // A parameter whose blank means "all", and the drill-down argument, are not required.
  const nlohmann::json aging =
      nlohmann::json::parse(RunCommand(Vobreports() + "params araging --json").output);
  EXPECT_FALSE(aging[0].contains("required"));
  EXPECT_FALSE(aging[1].contains("required"));

  const auto second = RunCommand(Vobreports() + "params journal --second --json");
  EXPECT_EQ(nlohmann::json::parse(second.output)[0]["example"], "13048");
}

// A key params cannot answer fails exactly as run fails for it.
TEST(ParamsCommand, FailsForAKeyAsRunDoes) {
  const auto params = RunCommand(Vobreports() + "params nosuchkey 2>&1");
  const auto run = RunCommand(Vobreports() + "run nosuchkey --db /nonexistent.sqlite 2>&1");
  EXPECT_EQ(params.exit_code, 2);
  EXPECT_TRUE(params.output.starts_with(
      "vobreports: unknown report key \"nosuchkey\"; the keys are: activity, apaging, "))
      << params.output;
  EXPECT_EQ(params.output, run.output);
  EXPECT_EQ(params.exit_code, run.exit_code);
}

}  // namespace
}  // namespace vob
