#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

using Texts = std::vector<std::string>;

HostSettings Profile(std::string id, std::string locations) {
  HostSettings host;
  host.params = {{1, std::move(id)}, {2, std::move(locations)}};
  return host;
}

// The codes' forms are ContactFields' (framework/contact_fields_test.cc); the fields and their formats are
// pinned by the demo runs' page dumps.
constexpr std::string_view kCustomers = R"sql(
  INSERT INTO Customers (CustomerID, Name, ZipCode) VALUES ('C2', 'Birch', '62701');
  INSERT INTO CustomersAlt (CustomerID, Location) VALUES ('C2', 'Depot');
)sql";
TEST(CustomerProfile, AddsTheLocationsOnlyForANumberAboveZero) {
  ReportDatabase database;
  database.Exec(kCustomers);
  struct Case {
    std::string id, switch_text;
    Texts locations;
  };
  const Case kCases[] = {
      {"C2", "1", {"Depot"}}, {"C2", "2 sites", {"Depot"}},
      {"C2", "0", {}},        {"C2", "", {}},
      {"C2", "yes", {}},      {"C9", "1", {}},  // no such customer
  };
  for (const Case& c : kCases) {
    const engine::PageModel model = database.Run("customer", Profile(c.id, c.switch_text));
    EXPECT_EQ(TextsOf(model, "txtLocation"), c.locations) << c.switch_text;
    const Texts labels = TextsOf(model, "Label1");
    EXPECT_EQ(std::count(labels.begin(), labels.end(), "Other Locations"), c.locations.empty() ? 0 : 1)
        << c.switch_text;
    EXPECT_EQ(TextsOf(model, "txtZip").empty(), c.id == "C9") << c.switch_text;
  }
  // The identifier goes into the statement as given, so an apostrophe breaks it.
  EXPECT_ANY_THROW(database.Run("customer", Profile("O'Brien", "1")));
}

TEST(CustomerProfile, GrowsTheLocationsOverPagesAndKeepsTheNotesAfterThem) {
  ReportDatabase database;
  database.Exec("INSERT INTO Customers (CustomerID, Name, Notes) VALUES ('C1', 'Alder', 'Last')");
  std::string locations = "INSERT INTO CustomersAlt (CustomerID, Location) VALUES ";
  Texts expected;
  for (int i = 10; i < 40; ++i) {
    expected.push_back("L" + std::to_string(i));
    locations += (i > 10 ? ", ('C1', '" : "('C1', '") + expected.back() + "')";
  }
  database.Exec(locations);
  const engine::PageModel model = database.Run("customer", Profile("C1", "1"));
  EXPECT_EQ(TextsOf(model, "txtLocation"), expected);
  EXPECT_GE(model.page_count(), 3);  // 30 locations of four lines each
  const engine::Page& last = model.pages().back();
  EXPECT_TRUE(std::any_of(last.items.begin(), last.items.end(),
                          [](const engine::PageItem& item) { return item.text == "Last"; }));
}

}  // namespace
}  // namespace vob
