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

HostSettings Range(const std::string& begin, const std::string& end) {
  HostSettings host;
  host.params[1] = begin;
  host.params[2] = end;
  return host;
}

// One twin's tables and the document types its query lets through.
struct Twin {
  const char* key;
  const char* partners;   // "Customers" or "Vendors"
  const char* documents;  // "ARInvoiceHeader" or "APInvoiceHeader"
  const char* partner_id;
  const char* detail_name;  // the detail's name control
  const char* total_name;   // the partner total's name control
};
constexpr Twin kSales{"salesrept1", "Customers", "ARInvoiceHeader", "CustomerID", "Field21", "Field20"};
constexpr Twin kPurchases{"purrept1", "Vendors", "APInvoiceHeader", "VendorID", "Field1", "Field2"};

std::string Document(const Twin& twin, int number, const std::string& type, const std::string& partner,
                     const std::string& date, const std::string& gross = "100", const std::string& tax = "5",
                     const std::string& total = "105") {
  return std::string("INSERT INTO ") + twin.documents + " (InvoiceNo, InvoiceNumber, InvoiceType, " +
         twin.partner_id + ", InvoiceDate, SubTotal, Tax, Total) VALUES (" + std::to_string(number) + ", 'D" +
         std::to_string(number) + "', '" + type + "', '" + partner + "', '" + date + "', " + gross + ", " +
         tax + ", " + total + ");";
}

TEST(PartnerAnalysis, SignsEachDocumentTypeExactly) {
  struct Case {
    const Twin& twin;
    const char* type;
    const char* gross;  // "" when the query leaves the document out
  };
  const Case kCases[] = {
      {kSales, "INV", "100.00"},        {kSales, "SLS", "100.00"},     {kSales, "RET", "-100.00"},
      {kSales, "SLC", "-100.00"},       {kSales, "inv", "0.00"},       {kSales, "PMT", ""},
      {kPurchases, "MERRC", "100.00"},  {kPurchases, "PUR", "100.00"}, {kPurchases, "RET", "-100.00"},
      {kPurchases, "PURCR", "-100.00"}, {kPurchases, "Pur", "0.00"},   {kPurchases, "PRET", ""},
      {kPurchases, "INV", ""},
  };
  for (const Case& c : kCases) {
    ReportDatabase database;
    database.Exec(std::string("INSERT INTO ") + c.twin.partners + " (" + c.twin.partner_id +
                  ", Name, BillGroup) VALUES ('P1', 'Acme', 'Retail');");
    database.Exec(Document(c.twin, 1, c.type, "P1", "2024-06-10"));
    const engine::PageModel model = database.Run(c.twin.key, Range("06/01/2024", "06/30/2024"));
    const std::string where = std::string(c.twin.key) + " " + c.type;
    if (*c.gross == '\0') {
      EXPECT_TRUE(TextsOf(model, "txtGross").empty()) << where;
      continue;
    }
    const std::string gross = c.gross;
    const std::string tax = gross == "0.00" ? "0.00" : (gross[0] == '-' ? "-5.00" : "5.00");
    const std::string total = gross == "0.00" ? "0.00" : (gross[0] == '-' ? "-105.00" : "105.00");
    const Texts line = {gross, tax, total};
    ASSERT_EQ(LinesOf(model, "Detail").size(), 1u) << where;
    EXPECT_EQ(TextsIn(LinesOf(model, "Detail")[0], {"txtGross", "txtTax", "txtTotal"}), line) << where;
    EXPECT_EQ(TextsIn(LinesOf(model, "GroupFooter2")[0], {"Field4", "Field6", "Field7"}), line) << where;
    EXPECT_EQ(TextsIn(LinesOf(model, "GroupFooter1")[0], {"Field5", "Field8", "Field9"}), line) << where;
    EXPECT_EQ(TextsIn(LinesOf(model, "ReportFooter")[0], {"Field14", "Field15", "Field16"}), line) << where;
  }
}

// Both bounds are dates at midnight (stored as the date alone): the range holds the first day whole but only
// the first instant of the last one. The department analyses splice their range into the same Between.
TEST(PartnerAnalysis, RangeHoldsBothBoundsComparedAsDateTimes) {
  for (const Twin& twin : {kSales, kPurchases}) {
    ReportDatabase database;
    database.Exec(std::string("INSERT INTO ") + twin.partners + " (" + twin.partner_id +
                  ", Name, BillGroup) VALUES ('P1', 'Acme', 'Retail'), ('P2', 'Idle', 'Retail');");
    const char* type = twin.key == kSales.key ? "INV" : "PUR";
    database.Exec(
        Document(twin, 1, type, "P1", "2024-05-31 23:59:59") + Document(twin, 2, type, "P1", "2024-06-01") +
        Document(twin, 3, type, "P1", "2024-06-01 08:00:00") + Document(twin, 4, type, "P1", "2024-06-30") +
        Document(twin, 5, type, "P1", "2024-06-30 08:00:00") + Document(twin, 6, type, "P1", "2024-07-01") +
        Document(twin, 7, type, "P2", "2024-07-01"));
    const engine::PageModel model = database.Run(twin.key, Range("06/01/2024", "06/30/2024"));
    EXPECT_EQ(TextsOf(model, "txtInvoiceNumber"), (Texts{"D2", "D3", "D4"})) << twin.key;
    // The partner without a document in the range prints nothing, not even a zero total.
    EXPECT_EQ(TextsOf(model, twin.total_name), Texts{"Acme"}) << twin.key;
    EXPECT_EQ(TextsOf(model, "Field16"), Texts{"315.00"}) << twin.key;
  }
}

// Billing group, then partner id; the name prints on a partner's first line and whenever it differs from the
// last printed, so a second partner of the same name stays unnamed.
TEST(PartnerAnalysis, GroupsByBillingGroupAndPartnerNamingEachOnce) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO Customers (CustomerID, Name, BillGroup) VALUES
      ('C3', 'Zeta', 'Alpha'), ('C1', 'Beta', 'Omega'), ('C2', 'Beta', 'Omega'), ('C4', NULL, 'Omega');
  )sql");
  database.Exec(Document(kSales, 1, "INV", "C2", "2024-06-03", "10", "1", "11") +
                Document(kSales, 2, "INV", "C1", "2024-06-02", "20", "2", "22") +
                Document(kSales, 3, "SLS", "C1", "2024-06-04", "30", "3", "33") +
                Document(kSales, 4, "INV", "C3", "2024-06-05", "40", "4", "44") +
                Document(kSales, 5, "RET", "C4", "2024-06-05", "50", "5", "55"));
  const engine::PageModel model = database.Run("salesrept1", Range("06/01/2024", "06/30/2024"));

  Texts lines;
  for (const auto& line : LinesOf(model, "Detail")) {
    const Texts texts = TextsIn(line, {"Field21", "txtInvoiceNumber"});
    lines.push_back(texts[0] + "|" + texts[1]);
  }
  EXPECT_EQ(lines, (Texts{"Zeta|D4", "Beta|D2", "|D3", "|D1", "|D5"}));
  EXPECT_EQ(TextsOf(model, "txtBillGroup"), (Texts{"Alpha", "Omega"}));
  EXPECT_EQ(TextsOf(model, "Field7"), (Texts{"44.00", "55.00", "11.00", "-55.00"}));
  EXPECT_EQ(TextsOf(model, "Field9"), (Texts{"44.00", "11.00"}));
  EXPECT_EQ(TextsOf(model, "Field16"), Texts{"55.00"});
}

}  // namespace
}  // namespace vob
