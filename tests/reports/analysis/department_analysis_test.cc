#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;
using testing::TextsOf;
using Texts = std::vector<std::string>;

HostSettings June() {
  HostSettings host;
  host.params[1] = "06/01/2024";
  host.params[2] = "06/30/2024";
  host.currency_format = "$#,##0.00;($#,##0.00)";
  return host;
}

struct Twin {
  const char* key;
  const char* prefix;     // "AR" or "AP"
  const char* quantity;   // "Shipped" or "Received"
  const char* positive;   // "INV" or "MERRC"
  const char* item_qty;   // the item footer's quantity sum
  const char* grand_qty;  // the grand quantity total
};
constexpr Twin kSales{"salesrept2", "AR", "Shipped", "INV", "Field13", "Field16"};
constexpr Twin kPurchases{"purrept2", "AP", "Received", "MERRC", "Field3", "Field9"};

class Lines {
 public:
  Lines(ReportDatabase& database, const Twin& twin) : database_(database), twin_(twin) {}

  // One document with one line.
  void Add(const std::string& type, const std::string& date, const std::string& department,
           const std::string& item_type, const std::string& item, const std::string& quantity,
           const std::string& amount) {
    ++number_;
    const std::string prefix = twin_.prefix;
    database_.Exec("INSERT INTO " + prefix + "InvoiceHeader (InvoiceNo, InvoiceType, InvoiceDate) VALUES (" +
                   std::to_string(number_) + ", '" + type + "', '" + date + "');");
    database_.Exec("INSERT INTO " + prefix + "InvoiceDetail (InvoiceNo, DepartmentNo, ItemType, ItemCode, " +
                   "Description, SalesPrice, SplitAmount, " + twin_.quantity + ") VALUES (" +
                   std::to_string(number_) + ", " + department + ", '" + item_type + "', '" + item + "', 'd" +
                   std::to_string(number_) + "', 10, " + amount + ", " + quantity + ");");
  }

 private:
  ReportDatabase& database_;
  const Twin& twin_;
  int number_ = 0;
};

// Amounts take the document's sign, quantities count as stored; a type in other letter case counts zero.
TEST(DepartmentAnalysis, SignsAmountsButNotQuantities) {
  for (const Twin& twin : {kSales, kPurchases}) {
    ReportDatabase database;
    Lines lines(database, twin);
    const std::string lower = twin.key == kSales.key ? "inv" : "merrc";
    const std::string outside = twin.key == kSales.key ? "SLS" : "PUR";
    lines.Add(twin.positive, "2024-06-05", "'EL'", "P", "A", "2", "100");
    lines.Add("RET", "2024-06-06", "'EL'", "P", "A", "1", "50");
    lines.Add(lower, "2024-06-07", "'EL'", "P", "A", "4", "70");
    lines.Add(outside, "2024-06-07", "'EL'", "P", "A", "8", "80");
    const engine::PageModel model = database.Run(twin.key, June());
    EXPECT_EQ(TextsOf(model, "Field1"), (Texts{"100.00", "-50.00", "0.00"})) << twin.key;
    EXPECT_EQ(TextsOf(model, "Field4"), Texts{"$50.00"}) << twin.key;
    EXPECT_EQ(TextsOf(model, twin.item_qty), Texts{"7.00"}) << twin.key;
    EXPECT_EQ(TextsOf(model, "Field10"), Texts{"$50.00"}) << twin.key;
    EXPECT_EQ(TextsOf(model, twin.grand_qty), Texts{"7.00"}) << twin.key;
  }
}

// Lines by department, item type and item; no department, no line. The item-type footer names products for
// a P with blanks around it and services for anything else, a lower-case p too.
TEST(DepartmentAnalysis, GroupsByDepartmentTypeAndItem) {
  ReportDatabase database;
  Lines lines(database, kSales);
  lines.Add("INV", "2024-06-05", "'SV'", "S", "LAB", "1", "40");
  lines.Add("INV", "2024-06-05", "'EL'", "P", "W2", "1", "10");
  lines.Add("INV", "2024-06-05", "'EL'", " P ", "W1", "1", "20");
  lines.Add("INV", "2024-06-05", "'EL'", "p", "W3", "1", "30");
  lines.Add("INV", "2024-06-05", "'EL'", "P", "W1", "1", "5");
  lines.Add("INV", "2024-06-05", "''", "P", "W1", "1", "100");
  lines.Add("INV", "2024-06-05", "NULL", "P", "W1", "1", "200");
  const engine::PageModel model = database.Run("salesrept2", June());

  Texts printed;
  for (const auto& line : LinesOf(model, "Detail")) {
    const Texts texts = TextsIn(line, {"txtDepartmentNo", "txtItemCode", "Field1"});
    printed.push_back(texts[0] + "|" + texts[1] + "|" + texts[2]);
  }
  // W1 under "P" follows W1 under " P ": the same code as the line before, so it prints without it.
  EXPECT_EQ(printed, (Texts{"EL|W1|20.00", "||5.00", "EL|W2|10.00", "EL|W3|30.00", "SV|LAB|40.00"}));
  EXPECT_EQ(TextsOf(model, "Field11"), (Texts{"Products", "Products", "Services", "Services"}));
  EXPECT_EQ(TextsOf(model, "Field6"), (Texts{"$20.00", "$15.00", "$30.00", "$40.00"}));
  EXPECT_EQ(TextsOf(model, "Field8"), (Texts{"$65.00", "$40.00"}));
  EXPECT_EQ(TextsOf(model, "Field12"), (Texts{"EL", "SV"}));
  EXPECT_EQ(TextsOf(model, "Field10"), Texts{"$105.00"});
  EXPECT_EQ(model.toc().front().path, Texts{"EL"});
  EXPECT_EQ(model.toc().back().path, (Texts{"SV", "S", "LAB"}));
}

}  // namespace
}  // namespace vob
