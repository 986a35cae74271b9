#include "framework/job_actuals.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "framework/schema/demo_generator.h"
#include "framework/schema/sqlite_loader.h"
#include "settings/report_settings.h"

namespace vob::reports {
namespace {

class JobActualsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("vob-job-actuals-" + std::to_string(::getpid()) + ".sqlite");
    std::filesystem::remove(path_);
    schema::WriteDemoSqlite(path_, schema::DemoOptions{}, /*schema_only=*/true);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, R"sql(
        INSERT INTO JobCostDetail (JobID, JobCharges) VALUES
          ('J1', 500), ('J1', -200), ('J1', -50), ('J1', 0), ('J1', NULL), ('J2', 75.25);
      )sql",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    Settings().ConnString = "Provider=SQLite;Data Source=" + path_.string() + ";";
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::filesystem::path path_;
};

// Revenue sums the charges above zero, cost negates the rest; a Null charge is neither.
TEST_F(JobActualsTest, SumsChargesBySignSkippingNull) {
  struct Case {
    std::string_view job_id;
    double cost, revenue;
  };
  static constexpr Case kCases[] = {
      {"J1", 250, 500}, {"J2", 0, 75.25}, {"J9", 0, 0},  // no charges at all
  };
  for (const Case& c : kCases) {
    const JobActuals actuals = GetJobActuals(c.job_id);
    EXPECT_EQ(actuals.cost, vb::Currency::FromDouble(c.cost)) << c.job_id;
    EXPECT_EQ(actuals.revenue, vb::Currency::FromDouble(c.revenue)) << c.job_id;
  }
}

}  // namespace
}  // namespace vob::reports
