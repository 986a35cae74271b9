#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

constexpr std::string_view kJobs = R"sql(
  INSERT INTO Customers (CustomerID, Name, Address1, Address2, City, State, ZipCode) VALUES
    ('C1', 'Acme', '1 Main St', '  ', 'Springfield', 'IL', '62701');
  INSERT INTO JobCostHeader (JobID, JobName, CustomerID, Closed, Notes, EstimatedCost) VALUES
    ('J1', 'Roof', 'C1', 0, 'Two coats', 100),
    ('J2', 'Floor', NULL, NULL, 'No work yet', 200);
  INSERT INTO JobCostDetail (JobID, JobCharges, LineDescription, TransLineNo) VALUES
    ('J1', 500, 'Billing', 1), ('J1', -200, 'Labor', 2), ('J1', -50, 'Parts', 3), ('J1', 0, 'Note', 4),
    ('J1', NULL, 'Blank', 5);
)sql";

HostSettings JobInfoOf(std::string param, std::string drilldown) {
  HostSettings host;
  host.params[1] = std::move(param);
  host.drilldown = std::move(drilldown);
  host.currency_format = "$#,##0.00;($#,##0.00)";
  return host;
}

TEST(JobInfo, SumsChargesBySignAndShowsTheCustomerBlock) {
  ReportDatabase database;
  database.Exec(kJobs);
  const engine::PageModel model = database.Run("jobinfo", JobInfoOf("J1", ""));
  EXPECT_EQ(TextsOf(model, "txtActualRevenue"), (std::vector<std::string>{"$500.00"}));
  EXPECT_EQ(TextsOf(model, "txtActualCost"), (std::vector<std::string>{"$250.00"}));
  EXPECT_EQ(TextsOf(model, "txtNetRevenue"), (std::vector<std::string>{"$250.00"}));
  EXPECT_EQ(TextsOf(model, "txtLineDescription").size(), 5u);
  EXPECT_EQ(TextsOf(model, "txtClosed"), (std::vector<std::string>{"This job is active."}));
  // The blank second address line adds no line; one blank before the state, two before the ZIP code.
  EXPECT_EQ(TextsOf(model, "txtFldCustInfo"),
            (std::vector<std::string>{"Acme\n1 Main St\nSpringfield IL  62701"}));
}

// The drill-down argument, trimmed, wins over parameter 1. A job without charges prints its heading alone,
// with zero actuals; a Null Closed flag reads as closed, and without a customer the caption is hidden.
TEST(JobInfo, PrintsAJobWithoutTransactionsFromItsHeader) {
  ReportDatabase database;
  database.Exec(kJobs);
  const engine::PageModel model = database.Run("jobinfo", JobInfoOf("J1", "  J2 "));
  EXPECT_EQ(TextsOf(model, "txtJobID"), (std::vector<std::string>{"J2"}));
  EXPECT_TRUE(TextsOf(model, "txtLineDescription").empty());
  EXPECT_EQ(TextsOf(model, "txtActualRevenue"), (std::vector<std::string>{"$0.00"}));
  EXPECT_EQ(TextsOf(model, "txtActualCost"), (std::vector<std::string>{"$0.00"}));
  EXPECT_EQ(TextsOf(model, "txtClosed"), (std::vector<std::string>{"This job is closed."}));
  EXPECT_TRUE(TextsOf(model, "lblCustomer").empty());
  EXPECT_EQ(TextsOf(model, "txtNotes"), (std::vector<std::string>{"No work yet"}));
}

}  // namespace
}  // namespace vob
