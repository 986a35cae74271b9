// `vobreports view` as a user starts it: the address with its token goes only where no other user can read
// it, else the launch file's path; a stop signal leaves nothing in the temporary folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "support/run_command.h"

namespace vob::testing {
namespace {

TEST(ViewCommand, PrintsTheTokenOnlyWhereOtherUsersCannotReadIt) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vob-view-command-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "tmp");
  const std::string books = (folder / "demo.sqlite").string();
  ASSERT_EQ(RunCommand(Vobreports() + "demo-db '" + books + "'").exit_code, 0);
  const std::string view = "TMPDIR='" + (folder / "tmp").string() + "' timeout -s TERM 2 " + Vobreports() +
                           "view --no-browser --today 2024-06-30 --db '" + books + "'";
  const std::string out = (folder / "out.txt").string();
  struct Case {
    std::string command;  // what prints the server's standard output
    bool shows_token;
  };
  const Case kCases[] = {
      {"umask 022; " + view + " > '" + out + "'; cat '" + out + "'", false},  // a file others may read
      {"umask 077; " + view + " > '" + out + "'; cat '" + out + "'", true},
      {view + " | cat", true},
  };
  const std::regex tokened(R"(serving at http://127\.0\.0\.1:\d+/\?token=[0-9a-f]{32}\n)");
  const std::regex launch(
      R"(serving at http://127\.0\.0\.1:\d+/\n\(sign in by opening .*/tmp/vobreports-launch-\w+/open\.html, )");
  for (const Case& c : kCases) {
    std::filesystem::remove(out);
    const std::string printed = RunCommand("sh -c \"" + c.command + "\"").output;
    EXPECT_EQ(std::regex_search(printed, tokened), c.shows_token) << c.command << "\n" << printed;
    EXPECT_EQ(std::regex_search(printed, launch), !c.shows_token) << c.command << "\n" << printed;
    EXPECT_EQ(printed.find("token="), c.shows_token ? printed.find("?token=") + 1 : std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(folder / "tmp")) << c.command;  // the launch file went with it
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vob::testing
