#include <gtest/gtest.h>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::ReportDatabase;
using testing::TextsOf;

HostSettings SecondQuarter() {
  HostSettings host;
  host.params = {{1, "04/01/2024"}, {2, "06/30/2024"}};
  return host;
}

TEST(VendorPayments, MergesCashAndPaidInvoicesWithReductionsNegative) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO GLAccountsHeader (AccountNo, AccountName, "Group", Type) VALUES
      ('1010', 'Cash - Operating', 'Asset', 'Detail'), ('2000', 'Accounts Payable', 'Liability', 'Detail');
    INSERT INTO Vendors (VendorID, Name, Address1, Address2, City, State, ZipCode, TaxID) VALUES
      ('ACME01', 'Acme Supply', '1 Main St', NULL, 'Springfield', 'IL', ' 627011234 ', '36-1234567'),
      ('BETA01', 'Beta Tools', '  ', NULL, 'Urbana', 'IL', '61801', NULL);
    INSERT INTO CashHeader (TransNo, CustomerId, TransType, CheckNo, AccountNo, Amount, ReceiptDate) VALUES
      (1, 'ACME01', 'Pay', '00000101', '1010', 500, '2024-04-10'),
      (2, 'ACME01', 'VREF', '00000102', '1010', 50, '2024-05-10'),
      (3, 'ACME01', 'Rec', '00000103', '1010', 75, '2024-05-11'),
      (4, 'ACME01', 'Pay', '00000104', '1010', 999, '2024-07-01'),
      (5, 'GONE01', 'Pay', '00000105', '1010', 10, '2024-04-02'),
      (6, 'BETA01', 'Pay', '00000106', '1010', 200, '2024-06-01');
    INSERT INTO APInvoiceHeader (InvoiceNo, VendorID, InvoiceType, PaidAmount, PayablesAccount, InvoiceDate) VALUES
      (1, 'ACME01', 'PUR', 120, '2000', '2024-04-20'),
      (2, 'ACME01', 'PUR', 0, '2000', '2024-04-21'),
      (3, 'BETA01', ' pret ', 30, '2000', '2024-05-01'),
      (4, 'BETA01', 'PurCr', 5, '2000', '2024-06-02');
  )sql");
  const engine::PageModel model = database.Run("venpayments", SecondQuarter());

  EXPECT_EQ(TextsOf(model, "txtAmount"),
            (std::vector<std::string>{"$500.00", "$120.00", "($50.00)", "($30.00)", "$200.00", "($5.00)",
                                      "$10.00"}));
  EXPECT_EQ(TextsOf(model, "Field4"), (std::vector<std::string>{"$570.00", "$165.00", "$10.00"}));
  EXPECT_EQ(TextsOf(model, "lblGroupTotal"),
            (std::vector<std::string>{"Total for ACME01", "Total for BETA01", "Total for GONE01"}));
  // Invoices carry no check number: their check column prints blanks.
  EXPECT_EQ(TextsOf(model, "txtCheckNo")[1], std::string(10, ' '));

  // A vendor missing from Vendors gets an empty heading, not the vendor's before it.
  EXPECT_EQ(TextsOf(model, "txtAddress"),
            (std::vector<std::string>{"Acme Supply\n1 Main St\nSpringfield, IL 62701-1234",
                                      "Beta Tools\nUrbana, IL 61801"}));
  EXPECT_EQ(TextsOf(model, "txtTaxID"), (std::vector<std::string>{"36-1234567"}));

  ASSERT_EQ(model.toc().size(), 3u);
  EXPECT_EQ(model.toc()[0].text, "ACME01");
  EXPECT_EQ(model.toc()[2].text, "GONE01");
}

TEST(VendorPayments, ClosesTheSharedConnectionWhenReleased) {
  ReportDatabase database;
  database.Run("venpayments", SecondQuarter());
  ASSERT_NE(Settings().SharedConnection, nullptr);
  EXPECT_EQ(Settings().SharedConnection->State(), data::kStateClosed);
}

}  // namespace
}  // namespace vob
