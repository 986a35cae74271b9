#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;

// Jobs from the start date on, each with its actuals summed by sign and its status (a Null Closed flag is
// closed). The links to job information and the contents are pinned by the demo run's page dump.
TEST(JobList, ListsJobsFromTheDateWithActualsStatusAndLink) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO JobCostHeader (JobID, JobName, StartDate, Closed, EstimatedRevenue, EstimatedCost) VALUES
      ('J1', 'Roof',  '2024-01-01', 0,    1000, 800),
      ('J2', 'Floor', '2024-03-15', 1,    2000, 1500),
      ('J3', 'Door',  '2024-05-01', NULL, 300,  200),
      ('J0', 'Old',   '2023-12-31', 0,    100,  50);
    INSERT INTO JobCostDetail (JobID, JobCharges) VALUES
      ('J1', 500), ('J1', -200), ('J1', -50), ('J1', 0), ('J1', NULL);
  )sql");
  HostSettings host;
  host.params[1] = "01/01/2024";
  host.currency_format = "$#,##0.00";
  const engine::PageModel model = database.Run("joblist", host);

  const std::vector<std::string_view> columns = {"txtJobID", "txtFldStatus", "txtEstRevenue", "txtFldActRev",
                                                 "txtFldActCost"};
  const std::vector<std::vector<std::string>> expected = {
      {"J1", "Active", "$1,000.00", "$500.00", "$250.00"},
      {"J2", "Closed", "$2,000.00", "$0.00", "$0.00"},
      {"J3", "Closed", "$300.00", "$0.00", "$0.00"},
  };
  const auto lines = LinesOf(model, "Detail");
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(TextsIn(lines[i], columns), expected[i]) << "row " << i;
}

}  // namespace
}  // namespace vob
