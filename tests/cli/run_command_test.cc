#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/run_command.h"

namespace vob {
namespace {

using testing::RunCommand;
using testing::Vobreports;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RunCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = std::filesystem::temp_directory_path() / ("vob-run-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
    const auto created = RunCommand(Vobreports() + "demo-db " + (directory_ / "demo.sqlite").string() +
                                    " --date 2024-06-30 >/dev/null 2>&1");
    ASSERT_EQ(created.exit_code, 0);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(directory_); }

  static std::string Run(const std::string& arguments) {
    return Vobreports() + "run " + arguments + " --db " + (directory_ / "demo.sqlite").string() +
           " --now '2024-06-30 17:00:00'";
  }
  static std::filesystem::path directory_;
};

std::filesystem::path RunCommandTest::directory_;

TEST_F(RunCommandTest, WritesAPdfThatPdfToolsRead) {
  const std::filesystem::path pdf = directory_ / "chaccts.pdf";
  ASSERT_EQ(RunCommand(Run("chaccts -o " + pdf.string())).exit_code, 0);
  const auto pages = RunCommand("pdfinfo " + pdf.string() + " | grep '^Pages:'");
  const auto model = RunCommand(Run("CHACCTS -o " + (directory_ / "chaccts.json").string()));
  ASSERT_EQ(model.exit_code, 0);
  const nlohmann::json dump = nlohmann::json::parse(ReadFile(directory_ / "chaccts.json"));
  EXPECT_EQ(dump["report"], "chaccts");
  EXPECT_EQ(pages.output, "Pages:           " + std::to_string(dump["pages"].size()) + "\n");
  const auto text = RunCommand("pdftotext -layout " + pdf.string() + " -");
  EXPECT_NE(text.output.find("Chart of Accounts"), std::string::npos);
  EXPECT_NE(text.output.find("Account Name"), std::string::npos);
  EXPECT_NE(text.output.find("6/30/2024 5:00:00 PM"), std::string::npos);
  EXPECT_EQ(RunCommand("qpdf --check " + pdf.string() + " >/dev/null 2>&1").exit_code, 0);

  // With the clock pinned, the same run gives the same bytes.
  const std::filesystem::path again = directory_ / "again.pdf";
  ASSERT_EQ(RunCommand(Run("chaccts -o " + again.string())).exit_code, 0);
  EXPECT_EQ(ReadFile(pdf), ReadFile(again));
}

TEST_F(RunCommandTest, FailuresExplainThemselvesAndLeaveNoFile) {
  struct Case {
    std::string arguments;
    std::string output;
    int exit_code;
    std::string message;
  };
  const Case kCases[] = {
      {"nosuchkey", "failed.pdf", 2, "unknown report key \"nosuchkey\"; the keys are: activity, apaging"},
      {"chaccts", "failed.xyz", 1, ".xyz"},
      {"chaccts --param 9=x", "failed.pdf", 2, "--param \"9=x\" is not I=TEXT with I from 0 to 6"},
      {"chaccts --today 2024-02-30", "failed.pdf", 2, "--today \"2024-02-30\" is not YYYY-MM-DD"},
  };
  for (const Case& c : kCases) {
    const std::filesystem::path out = directory_ / c.output;
    const auto result = RunCommand(Run(c.arguments + " -o " + out.string()) + " 2>&1");
    EXPECT_EQ(result.exit_code, c.exit_code) << c.arguments << ": " << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << c.arguments << ": " << result.output;
    EXPECT_FALSE(std::filesystem::exists(out)) << out;
  }

  // A database without the accounting tables: the run fails naming the report, the handler and the SQL.
  const std::filesystem::path empty = directory_ / "empty.sqlite";
  RunCommand("sqlite3 " + empty.string() + " 'create table x(a)'");
  const std::filesystem::path pdf = directory_ / "broken.pdf";
  const auto result =
      RunCommand(Vobreports() + "run chaccts --db " + empty.string() + " -o " + pdf.string() + " 2>&1");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.output.find("rptChaccts"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("GLAccountsHeader"), std::string::npos) << result.output;
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
}  // namespace vob
