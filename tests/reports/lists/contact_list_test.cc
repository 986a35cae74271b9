#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;
using testing::TextsOf;

HostSettings SortedBy(std::string key) {
  HostSettings host;
  host.params[1] = std::move(key);
  return host;
}

// Each row exercises one form: the blanks around the codes are trimmed before their lengths are tested.
constexpr std::string_view kCustomers = R"sql(
  INSERT INTO Customers (CustomerID, Name, BillGroup, ZipCode, Phone1, Phone2, Fax, SalesPerson,
                         CurrentBalance) VALUES
    ('C3', 'Alder', 'Retail',   ' 627011234 ', ' 2175550100 ', '5550101', '12175550102', 'Ann', -12.5),
    ('C1', 'Cedar', 'Wholesale', '62701',      '5550100',      NULL,      NULL,          'Bob', 1234.5),
    ('C2', 'Birch', 'Retail',    NULL,         '555 0100',     ' ',       '',            NULL,  0);
)sql";

TEST(CustomerList, FormatsPostalCodesAndPhonesByTheirTrimmedLength) {
  ReportDatabase database;
  database.Exec(kCustomers);
  const engine::PageModel model = database.Run("custlist", SortedBy("id"));
  const std::vector<std::string_view> columns = {
      "txtCustomerID", "txtZip", "txtPhone1", "txtPhone2", "txtFax", "txtSalesPerson", "txtCurrentBalance"};
  const std::vector<std::vector<std::string>> expected = {
      {"C1", "62701", "555-0100", "", "", "Bob", "$1,234.50"},
      {"C2", "", "555 0100", "", "", "", "$0.00"},
      {"C3", "62701-1234", "(217) 555-0100", "555-0101", "12175550102", "Ann", "($12.50)"},
  };
  const auto lines = LinesOf(model, "Detail");
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(TextsIn(lines[i], columns), expected[i]) << "row " << i;
}

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

TEST(VendorList, NamesVendorsAndHasNoSalesPerson) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO Vendors (VendorID, Name, BillGroup, ZipCode, Phone1, CurrentBalance) VALUES
      ('V2', 'Acme', 'Parts', '123456789', '5551234', 10),
      ('V1', 'Zenith', 'Freight', '12345', NULL, 20);
  )sql");
  const engine::PageModel model = database.Run("vendlist", SortedBy("group"));
  EXPECT_EQ(TextsOf(model, "txtVendorID"), (std::vector<std::string>{"V1", "V2"}));
  EXPECT_EQ(TextsOf(model, "txtSortby"), (std::vector<std::string>{"Vendor Group"}));
  EXPECT_EQ(TextsOf(model, "Label3"), (std::vector<std::string>{"Vendor ID"}));
  EXPECT_EQ(TextsOf(model, "txtZip"), (std::vector<std::string>{"12345", "12345-6789"}));
  EXPECT_EQ(TextsOf(model, "txtPhone1"), (std::vector<std::string>{"555-1234"}));
  EXPECT_TRUE(TextsOf(model, "Label7").empty());
}

}  // namespace
}  // namespace vob
