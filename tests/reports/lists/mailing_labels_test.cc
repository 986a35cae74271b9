#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

// An inch stock on Letter, named in mixed case, and a metric stock on A4 without margins. How labels fill the
// demo's stocks of both kinds, across and down and over pages, is pinned by the demo runs' page dumps.
constexpr std::string_view kStocks = R"sql(
  INSERT INTO libLabels (LabelID, Description, unit, TopMargin, SideMargin, LabelWidth, LabelHeight,
                         VerticalPitch, HorizontalPitch, numberAcross, NumberDown, pageSize) VALUES
    (1, 'Address 30', 'In',    0.5, 0.1875, 2.625, 1,   1,   2.75, 3, 10, 'LETTER'),
    (2, 'Metric 24',  'mm/10', 0,   0,      700,   370, 370, 700,  3, 8,  'A4 portrait');
)sql";

HostSettings Labels(std::string party, std::string stock, std::string group = "all",
                    std::string contact = "N") {
  HostSettings host;
  host.params = {
      {1, std::move(party)}, {2, std::move(stock)}, {3, std::move(group)}, {4, std::move(contact)}};
  return host;
}

TEST(MailingLabels, BuildTheAddressBlockFromTheLinesThatAreThere) {
  ReportDatabase database;
  database.Exec(kStocks);
  database.Exec(R"sql(
    INSERT INTO Customers (CustomerID, Name, Contact, Address1, Address2, City, State, ZipCode, BillGroup) VALUES
      ('C1', 'Alder Co', 'Ann Lee', '1 Main St', '  ', ' Peoria ', 'IL', '61602', 'Retail'),
      ('C2', 'Birch',     '   ',     NULL,        'Unit 4', NULL,   'IL', '616021234', 'Retail'),
      ('C3', 'Cedar',     NULL,      NULL,        NULL,     NULL,   NULL, NULL, 'Trade'),
      ('C4', NULL,        NULL,      'PO Box 9',  NULL,     'Ames', NULL, '50010', 'Trade');
    INSERT INTO Vendors (VendorID, Name, City, State) VALUES ('V1', 'Vendor One', 'Ames', 'IA');
  )sql");
  struct Case {
    HostSettings host;
    std::vector<std::string> labels;  // in name order; a Null name sorts first
  };
  const Case kCases[] = {
      {Labels("C", "1", "ALL", "Y"),
       {"\nPO Box 9\nAmes 50010", "Alder Co\nAnn Lee\n1 Main St\nPeoria, IL 61602",
        "Birch\nUnit 4\nIL 61602-1234", "Cedar\n"}},
      {Labels("C", "1", "Retail", "y"),  // the contact only on an exact Y
       {"Alder Co\n1 Main St\nPeoria, IL 61602", "Birch\nUnit 4\nIL 61602-1234"}},
      {Labels("c", "2", "all"), {"Vendor One\nAmes, IA"}},  // anything but an exact C means vendors
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(TextsOf(database.Run("labels", c.host), "Label1"), c.labels) << c.host.params.at(1);
  }
}

TEST(MailingLabels, StopWhenTheStockIsUnknown) {
  ReportDatabase database;
  database.Exec(kStocks);
  database.Exec("INSERT INTO Customers (CustomerID, Name) VALUES ('C1', 'Alder')");
  EXPECT_ANY_THROW(database.Run("labels", Labels("C", "7")));
}

}  // namespace
}  // namespace vob
