#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;
using testing::TextsOf;
using Texts = std::vector<std::string>;

// Invoices of every type, each with one line; only back-ordered quantities above zero are listed.
void AddLines(ReportDatabase& database) {
  database.Exec(R"sql(
    INSERT INTO ARInvoiceHeader (InvoiceNo, InvoiceNumber, InvoiceType, CustomerID, Name, InvoiceDate) VALUES
      (1, 'N1', 'INV', 'C2', 'Brill', '2024-03-02'),
      (2, 'N2', 'SLS', 'C1', 'Acme', '2024-03-05'),
      (3, 'N3', 'INV', 'C2', 'Brill', '2024-03-01'),
      (4, 'N4', 'INV', 'C1', 'Acme', '2024-03-03'),
      (5, 'N5', 'INV', 'C1', 'Acme', '2024-03-04'),
      (6, 'N6', 'INV', 'C1', 'Acme', '2024-03-06'),
      (7, 'N7', 'RET', 'C1', 'Acme', '2024-03-07');
    INSERT INTO ARInvoiceDetail (InvoiceNo, ItemCode, Description, Ordered, Shipped, Backordered) VALUES
      (1, 'A', 'Anvil', 5, 2, 3),
      (2, 'A', 'Anvil', 4, 2, 2),
      (3, 'B', 'Bolt', 1, 0, 1.5),
      (4, 'A', 'Anvil', 1, 1, 0),
      (5, 'B', 'Bolt', 1, 2, -1),
      (6, 'B', 'Bolt', 1, NULL, NULL),
      (7, 'B', 'Bolt', 9, 1, 8);
  )sql");
}

TEST(BackOrders, ListsPositiveBackOrdersByItem) {
  ReportDatabase database;
  AddLines(database);
  const engine::PageModel model = database.Run("backorditem");
  Texts lines;
  for (const auto& line : LinesOf(model, "Detail")) {
    const Texts texts =
        TextsIn(line, {"txtInvoiceNumber", "txtCustomerID", "txtBackordered", "txtOrdered", "txtShipped"});
    lines.push_back(texts[0] + " " + texts[1] + " " + texts[2] + " " + texts[3] + " " + texts[4]);
  }
  // Item, then customer, then date.
  EXPECT_EQ(lines, (Texts{"N2 C1 2.00 4.00 2.00", "N1 C2 3.00 5.00 2.00", "N7 C1 8.00 9.00 1.00",
                          "N3 C2 1.50 1.00 0.00"}));
  EXPECT_EQ(TextsOf(model, "txtItemCode"), (Texts{"A", "B"}));
  EXPECT_EQ(TextsOf(model, "Field1"), (Texts{"5.00", "9.50"}));
  EXPECT_EQ(TextsOf(model, "Field2"), (Texts{"A", "B"}));
}

// An item back-ordered for two customers shows under each, with its own total.
TEST(BackOrders, ListsEachCustomersItemsWithTheirOwnTotals) {
  ReportDatabase database;
  AddLines(database);
  testing::HostSettings host;
  host.date_format = "dd/mm/yyyy";
  const engine::PageModel model = database.Run("backordcust", host);
  EXPECT_EQ(TextsOf(model, "txtCustomerID"), (Texts{"C1", "C2"}));
  EXPECT_EQ(TextsOf(model, "Field3"), (Texts{"Acme", "Brill"}));
  EXPECT_EQ(TextsOf(model, "txtInvoiceNumber"), (Texts{"N2", "N7", "N1", "N3"}));
  EXPECT_EQ(TextsOf(model, "txtItemCode"), (Texts{"A", "B", "A", "B"}));
  EXPECT_EQ(TextsOf(model, "Field2"), (Texts{"A", "B", "A", "B"}));
  EXPECT_EQ(TextsOf(model, "Field1"), (Texts{"2.00", "8.00", "3.00", "1.50"}));
  EXPECT_EQ(TextsOf(model, "txtInvoiceDate")[0], "05/03/2024");
}

}  // namespace
}  // namespace vob
