#include <gtest/gtest.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

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
  // The pinned clock; that it gives the same bytes each time shows where the C interface's and the viewer's
  // tests compare their outputs with this command's.
  EXPECT_NE(text.output.find("6/30/2024 5:00:00 PM"), std::string::npos);
}

TEST_F(RunCommandTest, FailuresExplainThemselvesAndLeaveNoFile) {
  struct Case {
    std::string arguments;
    std::string output;
    int exit_code;
    std::string message;
  };
  const Case kCases[] = {
      {"chaccts", "failed.doc", 2, "unknown output type for " + (directory_ / "failed.doc").string()},
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

// A PostgreSQL URI as --db: reports that append keys to the connection string still reach the database, and
// the pages are those of the same company in SQLite.
TEST_F(RunCommandTest, RunsFromAPostgresUriAsFromSqlite) {
  const char* server = std::getenv("VOB_TEST_PG");
  if (server == nullptr || *server == '\0') GTEST_SKIP() << "VOB_TEST_PG is not set";
  ASSERT_EQ(
      RunCommand(Vobreports() + "demo-db --postgres '" + server + "' --date 2024-06-30 >/dev/null").exit_code,
      0);
  const std::string arguments = "venpayments --param 1=04/01/2024 --param 2=06/30/2024";
  const std::filesystem::path from_postgres = directory_ / "venpayments-postgres.json";
  const auto result = RunCommand(Vobreports() + "run " + arguments + " --now '2024-06-30 17:00:00' --db '" +
                                 server + "' -o " + from_postgres.string() + " 2>&1");
  ASSERT_EQ(result.exit_code, 0) << result.output;
  const std::filesystem::path from_sqlite = directory_ / "venpayments-sqlite.json";
  ASSERT_EQ(RunCommand(Run(arguments + " -o " + from_sqlite.string())).exit_code, 0);
  EXPECT_EQ(ReadFile(from_postgres), ReadFile(from_sqlite));
}

// The font cache (in XDG_CACHE_HOME) answers the next run with the same font files: the same bytes with it,
// without it, and with a file that is garbage, which the run then writes anew.
TEST_F(RunCommandTest, FontCacheKeepsTheSameBytes) {
  const std::filesystem::path cache = directory_ / "xdg-cache";
  const std::filesystem::path file = cache / "vobreports" / "font-locations";
  const auto run = [&](const std::string& name, const std::string& option = "") {
    const std::filesystem::path pdf = directory_ / name;
    const std::string command = "XDG_CACHE_HOME=" + cache.string() + " " + Vobreports() + option +
                                " run chaccts" + " --db " + (directory_ / "demo.sqlite").string() +
                                " --now '2024-06-30 17:00:00' -o " + pdf.string();
    EXPECT_EQ(RunCommand(command).exit_code, 0) << command;
    return ReadFile(pdf);
  };
  const std::string without = run("without.pdf", "--no-font-cache");
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(run("first.pdf"), without);
  const std::string written = ReadFile(file);
  EXPECT_NE(written.find("LiberationSans-Regular.ttf"), std::string::npos) << written;
  EXPECT_EQ(run("second.pdf"), without);
  EXPECT_EQ(ReadFile(file), written);
  std::ofstream(file, std::ios::trunc) << "vobreports font locations 1\ncontext\tx\nfont\t";
  EXPECT_EQ(run("garbage.pdf"), without);
  EXPECT_EQ(ReadFile(file), written);

  // The answers do come from the file: one that names another font, its stamps still holding, is believed.
  std::istringstream lines(written);
  std::string doctored;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("font\t")) {
      for (const auto& [from, to] :
           {std::pair<std::string, std::string>{"liberation/LiberationSans-Regular", "dejavu/DejaVuSans"},
            {"liberation/LiberationSans-Bold", "dejavu/DejaVuSans-Bold"},
            {"\tLiberation Sans", "\tDejaVu Sans"}}) {
        if (size_t at = line.find(from); at != std::string::npos) line.replace(at, from.size(), to);
      }
    }
    doctored += line + "\n";
  }
  std::ofstream(file, std::ios::trunc) << doctored;
  run("doctored.pdf");
  const auto fonts = RunCommand("pdffonts " + (directory_ / "doctored.pdf").string());
  EXPECT_NE(fonts.output.find("DejaVuSans"), std::string::npos) << fonts.output;
}

// The database is held locked, so the run waits in its first query with its PDF's temporary already made;
// a stop signal then ends it, and neither the PDF nor the temporary remains.
TEST_F(RunCommandTest, StoppedRunLeavesNoTemporaryFile) {
  const std::string database = (directory_ / "demo.sqlite").string();
  sqlite3* lock = nullptr;
  ASSERT_EQ(sqlite3_open(database.c_str(), &lock), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(lock, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  for (int signal_number : {SIGINT, SIGTERM}) {
    const std::filesystem::path folder = directory_ / ("stopped-" + std::to_string(signal_number));
    std::filesystem::create_directories(folder);
    const std::string program = std::string(VOB_BINARY_DIR) + "/vobreports";
    std::vector<std::string> arguments = {
        program, "run", "chaccts", "--db", database, "-o", (folder / "chaccts.pdf").string()};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    // A test runner started in the background may have its children ignore SIGINT; this one must not.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, signal_number);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, &attributes, argv.data(), environ), 0);
    posix_spawnattr_destroy(&attributes);

    bool has_temporary = false;
    for (int wait = 0; wait < 2000 && !has_temporary; ++wait) {
      has_temporary = !std::filesystem::is_empty(folder);
      if (!has_temporary) usleep(10'000);
    }
    EXPECT_TRUE(has_temporary) << "no temporary after 20 s";
    kill(child, signal_number);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << "status " << status;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      ADD_FAILURE() << entry.path() << " left";
  }
  sqlite3_close(lock);
}

// A run's statement log replays as the bare read of the run: the main statement, then the company header's
// statement once per page, as the run reads them; `sql --statements` prints what each would print alone.
TEST_F(RunCommandTest, LogsTheStatementsOfARunForSqlToReplay) {
  const std::filesystem::path log = directory_ / "araging.log";
  ASSERT_EQ(
      RunCommand(Run("araging -o " + (directory_ / "araging.pdf").string() + " --log-sql " + log.string()))
          .exit_code,
      0);
  std::vector<std::string> statements;
  std::istringstream lines(ReadFile(log));
  for (std::string line; std::getline(lines, line);) statements.push_back(nlohmann::json::parse(line));
  const auto pages =
      RunCommand("pdfinfo " + (directory_ / "araging.pdf").string() + " | grep -c '^Pages: *3$'");
  ASSERT_EQ(pages.output, "1\n");
  // The company header prints alike on every page: its statement runs once a run, not once a page.
  ASSERT_EQ(statements.size(), 2u);
  EXPECT_NE(statements[0].find("FROM ARInvoiceHeader"), std::string::npos) << statements[0];
  EXPECT_EQ(statements[1], "Select * from CompanyProfile");

  const std::string sql = Vobreports() + "sql --db " + (directory_ / "demo.sqlite").string();
  std::string one_by_one;
  for (const std::string& statement : statements) {
    one_by_one += RunCommand(sql + " " + nlohmann::json(statement).dump()).output;
  }
  const auto replayed = RunCommand(sql + " --statements " + log.string());
  EXPECT_EQ(replayed.exit_code, 0);
  EXPECT_EQ(replayed.output, one_by_one);

  std::ofstream(directory_ / "bad.log") << "\"SELECT 1\"\nSELECT 2\n";
  struct Case {
    std::string arguments;
    int exit_code;
    std::string message;
  };
  const Case kCases[] = {
      {"", 2, "give either SQL or --statements FILE"},
      {"'SELECT 1' --statements " + log.string(), 2, "give either SQL or --statements FILE"},
      {"--statements " + (directory_ / "bad.log").string(), 1, "bad.log line 2 is not a JSON string"},
      {"--statements " + (directory_ / "missing.log").string(), 1, "cannot read"},
  };
  for (const Case& c : kCases) {
    const auto result = RunCommand(sql + " " + c.arguments + " 2>&1");
    EXPECT_EQ(result.exit_code, c.exit_code) << c.arguments;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << c.arguments << ": " << result.output;
  }
}

}  // namespace
}  // namespace vob
