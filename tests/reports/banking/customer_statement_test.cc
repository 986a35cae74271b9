#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vb/conversions.h"
#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;
using Texts = std::vector<std::string>;

HostSettings Statement(const char* customer) {
  HostSettings host;
  host.params = {{1, "06/01/2024"}, {2, "06/30/2024"}, {3, customer}};
  return host;
}

// Today is 2024-06-30 (the clock of HostSettings); the period is June 2024.
TEST(CustomerStatement, BringsForwardListsThePeriodAndAgesTheEndingBalance) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO Customers (CustomerID, Name, Address1, City, State, ZipCode) VALUES
      ('C1', 'Acme', '1 Main St', 'Springfield', 'IL', '123456789'),
      ('C2', 'Other', '', '', '', '54321');
    INSERT INTO ARInvoiceHeader (InvoiceNo, InvoiceNumber, InvoiceType, CustomerID, InvoiceDate, DueDate,
                                 OriginalInvoiceNo, OurRef, NetAmount) VALUES
      (1, 'I1', 'INV', 'C1', '2024-03-01', '2024-03-31', 'I1', 'old',   500),   -- 91 days: over 90
      (2, 'R1', 'PMT', 'C1', '2024-05-20', '2024-05-20', 'I1', 'chk',  -200),   -- 41 days: 31-60
      (3, 'I2', 'INV', 'C1', '2024-06-01', '2024-05-31', 'I2', 'first',  40),   -- on the beginning date; 30 days
      (4, 'I3', 'SLS', 'C1', '2024-06-15', '2024-07-01', 'I3', 'due',    25),   -- due tomorrow: current
      (5, 'I4', 'INV', 'C1', '2024-06-20', NULL,         'I4', 'nodue',   7),   -- no due date: 0-30
      (6, 'I5', 'INV', 'C1', '2024-06-21', '2024-05-30', 'I5', 'late',   10),   -- 31 days: 31-60
      (7, 'R2', 'PMT', 'C1', '2024-06-25', '2024-06-25', 'I2', 'chk',   -40),   -- 5 days: 0-30
      (8, 'I6', 'INV', 'C1', '2024-07-02', '2024-08-01', 'I6', 'later', 999),   -- after the period: not read
      (9, 'X1', 'INV', 'C2', '2024-06-02', '2024-06-02', 'X1', '',       11);
  )sql");
  const engine::PageModel model = database.Run("cusstmt", Statement("C1"));

  EXPECT_EQ(TextsOf(model, "txtInvoiceNumber"), (Texts{"I2", "I3", "I4", "I5", "R2"}));
  EXPECT_EQ(TextsOf(model, "fldDuedays"), (Texts{"30", "-1", "0", "31"}));  // the receipt's is empty
  EXPECT_EQ(TextsOf(model, "lblSubTotal"),
            (Texts{"Previous Balance as of June 01, 2024", "Activity during Current Period:"}));
  EXPECT_EQ(TextsOf(model, "Field2"), (Texts{"$300.00", "$42.00"}));
  EXPECT_EQ(TextsOf(model, "lblGrandTotal"), Texts{"Ending Balance as of June 30, 2024"});
  EXPECT_EQ(TextsOf(model, "Field3"), Texts{"$342.00"});

  struct Bucket {
    const char* control;
    const char* expected;
  };
  static constexpr Bucket kBuckets[] = {
      {"fldCurrent", "$25.00"}, {"fld030", "$7.00"},  {"fld3160", "($190.00)"},
      {"fld6190", "$0.00"},     {"fld91", "$500.00"},
  };
  double aged = 0;
  for (const Bucket& bucket : kBuckets) {
    const Texts texts = TextsOf(model, bucket.control);
    ASSERT_EQ(texts.size(), 1u) << bucket.control;
    EXPECT_EQ(texts[0], bucket.expected) << bucket.control;
    aged += *vb::ParseNumber(texts[0]);
  }
  EXPECT_EQ(aged, *vb::ParseNumber(TextsOf(model, "Field3")[0]));
}

TEST(CustomerStatement, PrintsOneSubtotalWhenRowsLieOnOneSideOfThePeriod) {
  struct Case {
    const char* invoice_date;
    const char* caption;
  };
  static constexpr Case kCases[] = {
      {"2024-05-31", "Previous Balance as of June 01, 2024"},
      {"2024-06-30", "Activity during Current Period:"},
  };
  for (const Case& c : kCases) {
    ReportDatabase database;
    database.Exec("INSERT INTO Customers (CustomerID, Name, ZipCode) VALUES ('C1', 'Acme', ' 54321 ');");
    database.Exec(
        std::string("INSERT INTO ARInvoiceHeader (InvoiceNo, InvoiceNumber, InvoiceType, CustomerID, "
                    "InvoiceDate, DueDate, OriginalInvoiceNo, NetAmount) VALUES (1, 'I1', 'INV', "
                    "'C1', '") +
        c.invoice_date + "', '2024-07-30', 'I1', 12.5);");
    const engine::PageModel model = database.Run("cusstmt", Statement("C1"));
    EXPECT_EQ(TextsOf(model, "lblSubTotal"), Texts{c.caption}) << c.invoice_date;
    EXPECT_EQ(TextsOf(model, "Field2"), Texts{"$12.50"}) << c.invoice_date;
    EXPECT_EQ(TextsOf(model, "fldCurrent"), Texts{"$12.50"}) << c.invoice_date;
    EXPECT_EQ(TextsOf(model, "Field4"), Texts{"54321"}) << c.invoice_date;
  }
}

}  // namespace
}  // namespace vob
