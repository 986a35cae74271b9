#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;
using Texts = std::vector<std::string>;

HostSettings Aging(const std::string& param1, const std::string& drilldown) {
  HostSettings host;
  host.params[1] = param1;
  host.drilldown = drilldown;
  return host;
}

// The clock of HostSettings: 2024-06-30 17:00, so "today" is 2024-06-30.
TEST(Aging, PutsEachDocumentInOneColumnByDaysPastDue) {
  struct Case {
    const char* due_date;  // SQL literal
    const char* amount;
    const char* column;  // the one aging column that prints the amount, or "" for none
  };
  static constexpr Case kCases[] = {
      {"'2024-06-30'", "1", "txt030"},             // due today: 0 days
      {"'2024-05-31'", "2", "txt030"},             // 30 days
      {"'2024-05-30'", "3", "txt3160"},            // 31 days
      {"'2024-05-01'", "4", "txt3160"},            // 60 days
      {"'2024-04-30'", "5", "txt6190"},            // 61 days
      {"'2024-04-01'", "6", "txt6190"},            // 90 days
      {"'2024-03-31'", "7", "txt91"},              // 91 days
      {"'2024-07-01'", "8", ""},                   // due tomorrow
      {"NULL", "9", ""},                           // no due date
      {"'2024-05-30 10:00:00'", "10", "txt3160"},  // 30.58 days: past 30, so the next column
      {"'2024-03-01'", "-20", "txt91"},            // a payment stored negative, 121 days
  };
  ReportDatabase database;
  database.Exec("INSERT INTO Customers (CustomerID, Name) VALUES ('C1', 'Acme');");
  int number = 0;
  for (const Case& c : kCases) {
    ++number;
    const std::string invoice = "A" + std::string(number < 10 ? "0" : "") + std::to_string(number);
    database.Exec(
        "INSERT INTO ARInvoiceHeader (InvoiceNo, InvoiceNumber, InvoiceType, CustomerID, InvoiceDate, "
        "DueDate, OriginalInvoiceNo, NetAmount) VALUES (" +
        std::to_string(number) + ", '" + invoice + "', 'INV', 'C1', '2024-01-01', " + c.due_date + ", '" +
        invoice + "', " + c.amount + ");");
  }
  const engine::PageModel model = database.Run("araging", Aging("C1", ""));

  for (const char* column : {"txt030", "txt3160", "txt6190", "txt91"}) {
    Texts expected;
    for (const Case& c : kCases) {
      if (std::string(c.column) != column) continue;
      const double amount = std::stod(c.amount);
      expected.push_back(amount < 0 ? "(" + std::to_string(static_cast<int>(-amount)) + ".00)"
                                    : std::to_string(static_cast<int>(amount)) + ".00 ");
    }
    EXPECT_EQ(TextsOf(model, column), expected) << column;
  }
  EXPECT_EQ(TextsOf(model, "txtNetAmount").size(), std::size(kCases));
  // The amount total holds every row; the aging totals only the dated, due ones.
  EXPECT_EQ(TextsOf(model, "Field3"), Texts{"35.00 "});
  EXPECT_EQ(TextsOf(model, "Field6"), Texts{"3.00 "});
  EXPECT_EQ(TextsOf(model, "Field7"), Texts{"17.00 "});
  EXPECT_EQ(TextsOf(model, "Field8"), Texts{"11.00 "});
  EXPECT_EQ(TextsOf(model, "Field9"), Texts{"(13.00)"});
  EXPECT_EQ(TextsOf(model, "Field4"), Texts{"35.00"});
  EXPECT_EQ(TextsOf(model, "Field13"), Texts{"(13.00)"});
}

TEST(Aging, SummaryForEveryoneLinesForOneCustomerDrillDownWins) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO Customers (CustomerID, Name) VALUES ('C1', 'Acme'), ('C2', 'Brill'), ('C3', 'No documents');
    INSERT INTO ARInvoiceHeader (InvoiceNo, InvoiceNumber, InvoiceType, CustomerID, InvoiceDate, DueDate,
                                 OriginalInvoiceNo, NetAmount) VALUES
      (1, 'I1', 'INV', 'C1', '2024-05-01', '2024-06-01', 'I1', 100),
      (2, 'P1', 'PMT', 'C1', '2024-06-10', '2024-06-10', 'I1', -40),
      (3, 'I2', 'INV', 'C2', '2024-01-01', '2024-02-01', 'I2', 70);
  )sql");
  struct Case {
    const char* param1;
    const char* drilldown;
    Texts ids;
    Texts lines;
  };
  const Case kCases[] = {
      {"", "", {"C1", "C2"}, {}},       {"   ", "", {"C1", "C2"}, {}},  // blanks are no customer
      {"C1", "", {"C1"}, {"I1", "P1"}}, {"C1", "C2", {"C2"}, {"I2"}},  {"", "C2", {"C2"}, {"I2"}},
  };
  for (const Case& c : kCases) {
    const engine::PageModel model = database.Run("araging", Aging(c.param1, c.drilldown));
    const std::string where = std::string("param 1 \"") + c.param1 + "\", drill-down \"" + c.drilldown + "\"";
    EXPECT_EQ(TextsOf(model, "Field1"), c.ids) << where;
    EXPECT_EQ(TextsOf(model, "txtInvoiceNumber"), c.lines) << where;
  }
}

// Whether each document line of a run is shaded, in print order.
std::vector<bool> ShadedLines(const engine::PageModel& model) {
  return testing::ShadedRows(model, "txtInvoiceNumber");
}

// mRowCount counts every Detail formatted by the object, hidden summary ones too, and is never reset.
TEST(Aging, ShadingContinuesFromOneRunOfAnObjectToTheNext) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO Customers (CustomerID, Name) VALUES ('C1', 'Acme'), ('C2', 'Brill');
    INSERT INTO ARInvoiceHeader (InvoiceNo, InvoiceNumber, InvoiceType, CustomerID, InvoiceDate, DueDate,
                                 OriginalInvoiceNo, NetAmount) VALUES
      (1, 'I1', 'INV', 'C1', '2024-05-01', '2024-06-01', 'I1', 1),
      (2, 'I2', 'INV', 'C1', '2024-05-02', '2024-06-02', 'I2', 2),
      (3, 'I3', 'INV', 'C2', '2024-05-03', '2024-06-03', 'I3', 3);
  )sql");
  vb::PinClock(HostSettings().now);
  rptManager manager;
  manager.SetDataSource(database.ConnString());
  manager.SetDateFormat("mm/dd/yy");
  manager.reset();
  manager.SetLogoProps(5, "", 0, 0);
  engine::ReportHandle report = manager.GetReport("araging");
  ASSERT_TRUE(report);

  const struct {
    const char* drilldown;
    std::vector<bool> shaded;
  } kRuns[] = {{"C1", {true, false}}, {"", {}}, {"C1", {false, true}}, {"C2", {false}}};
  for (const auto& run : kRuns) {
    manager.SetDrillDownParams(run.drilldown);
    engine::PageModel model;
    engine::Run(*report, {testing::TestFonts(), model, "araging", "Title"});
    EXPECT_EQ(ShadedLines(model), run.shaded) << "run with drill-down \"" << run.drilldown << "\"";
  }
}

}  // namespace
}  // namespace vob
