#include "manager/report_output.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "manager/rpt_manager.h"
#include "platform/vb/date.h"
#include "support/run_command.h"

namespace vob {
namespace {

class ReportOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() / ("vob-report-output-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
    const std::string database = (directory_ / "demo.sqlite").string();
    ASSERT_EQ(
        testing::RunCommand(testing::Vobreports() + "demo-db " + database + " --date 2024-06-30 >/dev/null")
            .exit_code,
        0);
    manager_.SetDataSource("Provider=SQLite;Data Source=" + database + ";");
    manager_.SetDateFormat("mm/dd/yy");
    manager_.reset();
    vb::PinClock(vb::DateSerial(2024, 6, 30) + vb::TimeSerial(17, 0, 0));
  }
  void TearDown() override {
    vb::UnpinClock();
    std::filesystem::remove_all(directory_);
  }

  std::filesystem::path directory_;
  rptManager manager_;
};

TEST_F(ReportOutputTest, PdfBytesAreTheBytesOfThePdfFile) {
  ReportOutputOptions options;
  options.report_key = "chaccts";
  options.title = "Chart of Accounts";
  options.stamps_creation_time = true;
  int observed_pages = 0;
  options.progress = [&](int pages_done, bool is_final) {
    if (is_final) observed_pages = pages_done;
  };

  const std::filesystem::path path = directory_ / "chaccts.pdf";
  EXPECT_EQ(RunReportToPath(*manager_.GetReport("chaccts"), path.string(), options), 5);
  EXPECT_EQ(observed_pages, 5);
  const PdfDocument document = RunReportToPdf(*manager_.GetReport("chaccts"), options);
  EXPECT_EQ(document.page_count, 5);
  std::ifstream file(path, std::ios::binary);
  std::ostringstream written;
  written << file.rdbuf();
  EXPECT_EQ(document.bytes, written.str());
  EXPECT_NE(document.bytes.find("/CreationDate(D:20240630"), std::string::npos);
}

// A thread keeps the faces it opened for its next run; what a run writes must not depend on the runs before
// it (which fonts they opened first, what they shaped).
TEST_F(ReportOutputTest, LaterRunsOfAThreadWriteWhatAFreshThreadWrites) {
  const std::string database = (directory_ / "demo.sqlite").string();
  const auto runs_in_fresh_thread = [&](const std::vector<std::string>& keys) {
    std::string last;
    std::string error;
    std::thread([&] {
      try {
        rptManager manager;
        manager.SetDataSource("Provider=SQLite;Data Source=" + database + ";");
        manager.SetDateFormat("mm/dd/yy");
        vb::PinClock(vb::DateSerial(2024, 6, 30) + vb::TimeSerial(17, 0, 0));
        for (const std::string& key : keys) {
          manager.reset();
          if (key == "checklayout") manager.SetReptParam(1, "1");  // the check style
          ReportOutputOptions options;
          options.report_key = key;
          options.stamps_creation_time = true;
          last = RunReportToPdf(*manager.GetReport(key), options).bytes;
        }
      } catch (const std::exception& failure) {
        error = failure.what();
      }
    }).join();
    EXPECT_EQ(error, "");
    return last;
  };
  const std::string alone = runs_in_fresh_thread({"chaccts"});
  ASSERT_FALSE(alone.empty());
  EXPECT_EQ(runs_in_fresh_thread({"checklayout", "prodlist", "chaccts"}), alone);
  EXPECT_EQ(runs_in_fresh_thread({"chaccts", "chaccts"}), alone);
}

}  // namespace
}  // namespace vob
