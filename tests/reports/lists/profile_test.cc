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

// The record's own codes, then its locations in location order: the blanks around the codes are trimmed
// before their lengths are tested, and a Null column leaves its field empty.
constexpr std::string_view kCustomers = R"sql(
  INSERT INTO Customers (CustomerID, Name, ZipCode, Phone1, Phone2, Fax, SalesPerson, CreditLimit,
                         LastSalesAmount, LastSaleDate, Notes) VALUES
    ('C1', 'Alder', ' 627011234 ', ' 2175550100 ', NULL, NULL, 'Ann', 5000, -12.5, '2024-06-03', 'Pays late'),
    ('C2', 'Birch', '62701', '5550100', NULL, NULL, 'Bob', 0, 0, NULL, NULL);
  INSERT INTO CustomersAlt (CustomerID, Location, Name, ZipCode, Phone1, Phone2, Fax) VALUES
    ('C1', 'Warehouse', 'Alder North', '60601', '5550101', '12175550102', ' 3125550103 '),
    ('C1', 'Office', 'Alder South', '606011234', NULL, '', '5550104'),
    ('C2', 'Depot', 'Birch Depot', '61602', NULL, NULL, NULL);
)sql";

TEST(CustomerProfile, FormatsTheRecordsAndItsLocationsCodes) {
  ReportDatabase database;
  database.Exec(kCustomers);
  const engine::PageModel model = database.Run("customer", Profile("C1", "1"));
  EXPECT_EQ(TextsOf(model, "txtCustomerID"), Texts{"C1"});
  EXPECT_EQ(TextsOf(model, "txtLocation"), (Texts{"Office", "Warehouse"}));
  EXPECT_EQ(TextsOf(model, "txtZip"), (Texts{"62701-1234", "60601-1234", "60601"}));
  EXPECT_EQ(TextsOf(model, "txtPhone1"), (Texts{"(217) 555-0100", "555-0101"}));
  EXPECT_EQ(TextsOf(model, "txtPhone2"), Texts{"12175550102"});
  EXPECT_EQ(TextsOf(model, "txtFax"), (Texts{"555-0104", "(312) 555-0103"}));
  // The money and date fields take the settings' formats.
  EXPECT_EQ(TextsOf(model, "txtCreditLimit"), Texts{"$5,000.00"});
  EXPECT_EQ(TextsOf(model, "txtLastSalesAmount"), Texts{"($12.50)"});
  EXPECT_EQ(TextsOf(model, "txtLastSaleDate"), Texts{"06/03/24"});
  EXPECT_EQ(TextsOf(model, "txtSalesPerson"), Texts{"Ann"});
  EXPECT_EQ(TextsOf(model, "txtNotes"), Texts{"Pays late"});
  EXPECT_EQ(model.page_count(), 1);
}

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

TEST(VendorProfile, NamesVendorsTerritoryAndLastPurchase) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO Vendors (VendorID, Name, ZipCode, Phone1, Territory, LastPurchaseAmount, LastPurchaseDate)
      VALUES ('V1', 'Acme', '12345', '5551234', 'North', 99.5, '2024-05-31');
    INSERT INTO VendorsAlt (VendorID, Location, Name, ZipCode) VALUES ('V1', 'Dock', 'Acme Dock', '123456789');
  )sql");
  const engine::PageModel model = database.Run("vendor", Profile("V1", "1"));
  EXPECT_EQ(TextsOf(model, "Label2"), (Texts{"Vendor ID:", "Phone 1:"}));  // the second is the location's
  EXPECT_EQ(TextsOf(model, "txtCustomerID"), Texts{"V1"});
  EXPECT_EQ(TextsOf(model, "Label11"), Texts{"Territory"});
  EXPECT_EQ(TextsOf(model, "txtSalesPerson"), Texts{"North"});
  EXPECT_EQ(TextsOf(model, "txtLastSalesAmount"), Texts{"$99.50"});
  EXPECT_EQ(TextsOf(model, "txtLastSaleDate"), Texts{"05/31/24"});
  EXPECT_EQ(TextsOf(model, "txtLocation"), Texts{"Dock"});
  EXPECT_EQ(TextsOf(model, "txtZip"), (Texts{"12345", "12345-6789"}));
}

}  // namespace
}  // namespace vob
