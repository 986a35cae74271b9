#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

HostSettings SortedBy(std::string key) {
  HostSettings host;
  host.params[1] = std::move(key);
  return host;
}

// The codes' forms are ContactFields' (framework/contact_fields_test.cc) and the demo runs' page dumps'.
constexpr std::string_view kCustomers = R"sql(
  INSERT INTO Customers (CustomerID, Name, BillGroup) VALUES
    ('C3', 'Alder', 'Retail'), ('C1', 'Cedar', 'Wholesale'), ('C2', 'Birch', 'Retail');
)sql";
TEST(CustomerList, SortsByTheKeyInAnyCaseAndNamesTheOrder) {
  ReportDatabase database;
  database.Exec(kCustomers);
  struct Case {
    std::string key, caption;
    std::vector<std::string> ids;
  };
  const Case kCases[] = {
      {"id", "Customer ID", {"C1", "C2", "C3"}},
      {"Name", "Customer Name", {"C3", "C2", "C1"}},
      {"GROUP", "Customer Group", {"C3", "C2", "C1"}},  // Retail (Alder, Birch), then Wholesale
      {"city", "", {}},  // no source: banner and footer only, with the design caption
  };
  for (const Case& c : kCases) {
    const engine::PageModel model = database.Run("custlist", SortedBy(c.key));
    EXPECT_EQ(TextsOf(model, "txtCustomerID"), c.ids) << c.key;
    const auto captions = TextsOf(model, "txtSortby");
    EXPECT_EQ(captions.empty() ? "" : captions[0], c.caption) << c.key;
    EXPECT_EQ(model.page_count(), 1) << c.key;
  }
}

}  // namespace
}  // namespace vob
