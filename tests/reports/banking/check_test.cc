#include <gtest/gtest.h>

#include "platform/vb/conversions.h"
#include "reports/report_test_support.h"
#include "support/page_readers.h"

namespace vob {
namespace {

using testing::CanvasText;
using testing::CanvasTexts;
using testing::FindText;
using testing::HasText;
using testing::HostSettings;
using testing::ReportDatabase;

// A default style in inches: stub at (360, 5760), payee at (1080, 2880).
void InsertPayments(ReportDatabase& database) {
  database.Exec(R"sql(
    INSERT INTO libChecks (StyleID, "Default", Units, DateTop, dateleft, amountTop, amountLeft, vAmountTop,
      vAmountleft, AddressTop, AddressLeft, stubTop, stubLeft) VALUES
      (1, 0, 'CM', 9, 9, 9, 9, 9, 9, 9, 9, 9, 9),
      (2, 1, 'IN', 0.5, 6.5, 1, 6.5, 1.5, 0.5, 2, 0.75, 4, 0.25);
    INSERT INTO CheckRegister (AccountNo, CheckNo, CheckDate, Type, Name, CustomerID, CashHeaderNo, Payment) VALUES
      ('1010', '00000101', '2024-06-03', 'W', 'Acme Supply', 'ACME01', 1, 1234.56),
      ('1010', '00000102', '2024-06-04', 'W', 'Landlord LLC', 'LAND01', 2, 15.05),
      ('1010', '00000103', '2024-06-05', 'W', 'Beta Tools', 'BETA01', 3, 99),
      ('1010', '00000104', '2024-06-05', 'W', 'Beta Tools', 'BETA01', 3, 99),
      ('1010', '00000104', '2024-06-05', 'D', 'Deposit', 'CUST01', 9, 0),
      ('1020', '00000103', '2024-06-05', 'W', 'Other bank', 'OTHER1', 8, 5);
    INSERT INTO CashHeader (TransNo, CustomerId, TransType, Amount, Address, city, state, Zipcode) VALUES
      (1, 'ACME01', 'Pay', 1234.56, NULL, 'Springfield', 'IL', '627011234'),
      (2, 'LAND01', 'LPay', 15.05, '1 Main St', 'Peoria', NULL, '61602'),
      (3, 'BETA01', 'Pay', 99, '2 Oak Ave', 'Urbana', 'IL', NULL);
    INSERT INTO CashDetail (TransNo, VendInvno, InvoiceDate, InvoiceAmount, DiscountTaken, Applied) VALUES
      (1, 'A-1', '2024-05-01', 500, 10, 490),
      (1, 'A-2', '2024-05-02', 300, 0, 300),
      (1, 'A-3', '2024-05-03', 444.56, 0, 444.56),
      (1, 'A-4', '2024-05-04', 1000, 0, 0),
      (2, 'RENT-06', '2024-06-01', 15.05, 0, 15.05),
      (3, 'B-1', '2024-05-20', 99, 0, 99);
  )sql");
}

HostSettings Checks(const char* first, const char* last) {
  HostSettings host;
  host.params = {{1, "1010"}, {2, first}, {3, last}};
  return host;
}

TEST(Check, RangePrintsOnePagePerPaymentInDatabaseOrder) {
  ReportDatabase database;
  InsertPayments(database);
  const engine::PageModel model = database.Run("check", Checks("00000101", "00000104"));

  // 103 and 104 are one payment; the deposit and the other bank are left out. Where the face's texts stand,
  // and how the amount reads in words, the demo run's page dump shows.
  ASSERT_EQ(model.page_count(), 3);
  static constexpr std::pair<const char*, bool> kPayees[] = {
      {"Acme Supply", true}, {"Landlord LLC", false}, {"Beta Tools", true}};  // lpay: the heading line only
  for (int i = 0; i < 3; ++i) {
    const auto texts = CanvasTexts(model.pages()[i]);
    EXPECT_EQ(FindText(texts, kPayees[i].first).top, 2880) << i;
    EXPECT_EQ(HasText(texts, "Invoice No"), kPayees[i].second) << i;
  }
  const auto lpay = CanvasTexts(model.pages()[1]);
  EXPECT_TRUE(HasText(lpay, "Peoria  61602"));  // a Null state leaves its blanks
  EXPECT_FALSE(HasText(lpay, "RENT-06"));
}

TEST(Check, StubListsEveryInvoiceOfAPayment) {
  ReportDatabase database;
  InsertPayments(database);
  // A blank last number asks for the one check. A payment without lines draws the face alone, as the demo
  // run's page dump shows.
  const auto texts = CanvasTexts(database.Run("check", Checks("00000101", "   ")).pages()[0]);

  const CanvasText heading = FindText(texts, "Vendor ID:");
  const int32_t h = heading.height;
  EXPECT_EQ(heading.left, 360);
  EXPECT_EQ(heading.top, 5760);
  const int32_t step = FindText(texts, "ACME01").left - 360;
  EXPECT_GT(step, 0);
  EXPECT_EQ(FindText(texts, "Name:").left, 360 + 2 * step);
  // Address is Null: the city line takes the street line's place, with the nine-digit code split.
  EXPECT_EQ(FindText(texts, "Springfield IL 62701-1234").top, 2880 + h);

  auto round = [](double twips) { return static_cast<int32_t>(vb::RoundHalfEven(twips)); };
  const int32_t captions_top = 5760 + round(1.5 * h);
  EXPECT_EQ(FindText(texts, "Invoice Amount").top, captions_top);
  struct Line {
    const char *invoice, *date, *amount, *discount, *applied;
  };
  static constexpr Line kLines[] = {
      {"A-1", "05/01/24", "$500.00", "$10.00", "$490.00"},
      {"A-2", "05/02/24", "$300.00", "$0.00", "$300.00"},
      {"A-3", "05/03/24", "$444.56", "$0.00", "$444.56"},
      {"A-4", "05/04/24", "$1,000.00", "$0.00", "$0.00"},
  };
  int32_t top = captions_top + round(1.2 * h);
  for (const Line& line : kLines) {
    const CanvasText invoice = FindText(texts, line.invoice);
    EXPECT_EQ(invoice.top, top) << line.invoice;
    EXPECT_EQ(invoice.left, 360) << line.invoice;
    EXPECT_EQ(FindText(texts, line.date).left, 360 + 2304) << line.invoice;
    // Amounts end at their offsets; find each on this line's top.
    int found = 0;
    for (const CanvasText& text : texts) {
      if (text.top != top) continue;
      if (text.text == line.amount && text.right == 360 + 5328) ++found;
      if (text.text == line.discount && text.right == 360 + 7056) ++found;
      if (text.text == line.applied && text.right == 360 + 8640) ++found;
    }
    EXPECT_EQ(found, 3) << line.invoice;
    top += round(1.1 * h);
  }
}

}  // namespace
}  // namespace vob
