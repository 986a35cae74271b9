#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

// An inch stock on Letter, named in mixed case, and a metric stock on A4 without margins.
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

std::vector<engine::PageItem> LabelsOn(const engine::PageModel& model, const engine::Page& page) {
  std::vector<engine::PageItem> labels;
  for (const engine::PageItem& item : page.items) {
    if (model.name(item.control) == "Label1") labels.push_back(item);
  }
  return labels;
}

TEST(MailingLabels, FillTheSheetDownThenAcrossInTheStocksUnitAndPaper) {
  ReportDatabase database;
  database.Exec(kStocks);
  std::string customers = "INSERT INTO Customers (CustomerID, Name, City) VALUES ";
  for (int i = 1; i <= 35; ++i) {
    const std::string id = (i < 10 ? "0" : "") + std::to_string(i);
    customers += (i > 1 ? ", " : "") + ("('C" + id + "', 'N" + id + "', 'Town')");
  }
  database.Exec(customers);
  struct Case {
    std::string stock;
    int32_t paper_width, paper_height;
    int32_t lefts[3];    // columns (pitch x across - 50 - spacing x 2) / 3 wide, spacing apart
    int32_t top, pitch;  // 0.5 in and 1 in; 0 and 37 mm (2097.6 twips, rounded)
    int32_t label_width, label_height;
    std::vector<size_t> per_page;  // 30 and 24 a sheet, then the rest
  };
  const Case kCases[] = {
      {"1", 12240, 15840, {270, 4273, 8276}, 720, 1440, 3780, 1440, {30, 5}},
      {"2", 11906, 16838, {0, 3952, 7904}, 0, 2098, 3969, 2098, {24, 11}},
  };
  for (const Case& c : kCases) {
    const engine::PageModel model = database.Run("labels", Labels("C", c.stock));
    ASSERT_EQ(model.pages().size(), c.per_page.size()) << c.stock;
    int number = 1;
    for (size_t p = 0; p < model.pages().size(); ++p) {
      const engine::Page& page = model.pages()[p];
      EXPECT_EQ(page.width, c.paper_width) << c.stock;
      EXPECT_EQ(page.height, c.paper_height) << c.stock;
      const auto labels = LabelsOn(model, page);
      ASSERT_EQ(labels.size(), c.per_page[p]) << c.stock << " page " << p;
      const size_t down = c.per_page[0] / 3;
      for (size_t i = 0; i < labels.size(); ++i, ++number) {
        const engine::PageItem& label = labels[i];
        const std::string id = (number < 10 ? "0" : "") + std::to_string(number);
        EXPECT_EQ(label.text, "N" + id + "\nTown") << c.stock;
        EXPECT_EQ(label.left, c.lefts[i / down]) << c.stock << " label " << number;
        EXPECT_EQ(label.top, c.top + static_cast<int32_t>(i % down) * c.pitch)
            << c.stock << " label " << number;
        EXPECT_EQ(label.width, c.label_width) << c.stock;
        EXPECT_EQ(label.height, c.label_height) << c.stock;
        EXPECT_LE(label.top + label.height, c.paper_height) << c.stock << " label " << number;
      }
    }
  }
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
