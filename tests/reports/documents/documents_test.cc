// The seven transaction documents on one set of small fixtures: each case runs for every document that has
// the feature, so that one table row stands for seven copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/engine_error.h"
#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::HostSettings;
using testing::LinesOf;
using testing::ReportDatabase;
using testing::TextsIn;
using testing::TextsOf;
using Texts = std::vector<std::string>;

// Where a document's rows live and what it prints of them.
struct Document {
  const char* key;
  const char* header;        // the header table
  const char* header_key;    // its key, which the detail table shares
  const char* detail;        // the lines' table
  const char* price_column;  // "SalesPrice" or "Cost"
  const char* sold_to;       // the controls of the address blocks; "" for none
  const char* ship_to;
  bool has_terms_column;      // the header has TermCode
  bool has_message_column;    // the header has MessageNo
  bool hides_zero_discount;   // a line without a discount leaves its discount blank
  const char* total_control;  // the page footer's total; "" for none
};

// clang-format off
constexpr Document kDocuments[] = {
    //  key           header              key          detail              price         sold to        ship to           terms  message hides  total
    {"invoice",    "ARInvoiceHeader",  "InvoiceNo", "ARInvoiceDetail",  "SalesPrice", "txtSoldTo",   "txtShipTo",      true,  true,  true,  "txtTotal"},
    {"salesorder", "SalesOrderHeader", "OrderNo",   "SalesOrderDetail", "SalesPrice", "txtSoldTo",   "txtShipTo",      true,  false, false, "txtTotal"},
    {"packlist",   "ARInvoiceHeader",  "InvoiceNo", "ARInvoiceDetail",  "SalesPrice", "txtSoldTo",   "txtShipTo",      true,  true,  false, ""},
    {"salesret",   "ARInvoiceHeader",  "InvoiceNo", "ARInvoiceDetail",  "SalesPrice", "txtSoldTo",   "",               true,  true,  false, "txtTotal"},
    {"po",         "POHeader",         "PONo",      "PODetail",         "Cost",       "txtRecdFrom", "",               false, false, false, "txtTotal"},
    {"merch",      "APInvoiceHeader",  "InvoiceNo", "APInvoiceDetail",  "SalesPrice", "txtRecdFrom", "txtShippedFrom", true,  false, true,  "txtTotal"},
    {"purret",     "APInvoiceHeader",  "InvoiceNo", "APInvoiceDetail",  "SalesPrice", "txtRecdFrom", "",               true,  false, false, "txtTotal"},
};
// clang-format on

// An address as SQL values: Name, Contact, Address1, Address2, city, State, zipcode.
struct Address {
  const char* values;
  const char* sold_to;  // the blocks as printed, one line each
  const char* ship_to;  // the same columns without the contact line
};

// One document numbered 7, with its header columns and its lines (discounts as given, quantity 3, received
// 4).
struct Fixture {
  const char* address = "'Acme', 'Jo Buyer', '1 Main St', NULL, 'Springfield', 'IL', '62701'";
  const char* term_code = "'NET30'";
  const char* message_no = "2";
  std::vector<const char*> discounts = {"0"};
};

void InsertDocument(ReportDatabase& database, const Document& document, const Fixture& fixture) {
  database.Exec(R"sql(
    INSERT INTO Terms (TermCode, Description) VALUES ('NET30', 'Net 30 days'), ('NONE', NULL);
    INSERT INTO libMessages (MessageNo, MessageText) VALUES (2, 'Thank you!');
  )sql");
  std::string columns = std::string(document.header_key) +
                        ", SubTotal, Tax, Total, Name, Contact, Address1, Address2, city, State, zipcode";
  std::string values = std::string("7, 1200, 34.5, 1234.5, ") + fixture.address;
  if (document.header != std::string("POHeader")) {
    columns += ", ShiptoName, ShiptoAddress1, ShiptoAddress2, Shiptocity, ShiptoState, Shiptozipcode";
    // The ship-to copy: the same address from Address1 on, under another name and without the contact.
    const std::string address = fixture.address;
    values += ", 'Acme Yard'" + address.substr(address.find(',', address.find(',') + 1));
  }
  if (document.has_terms_column) {
    columns += ", TermCode";
    values += std::string(", ") + fixture.term_code;
  }
  if (document.has_message_column) {
    columns += ", MessageNo";
    values += std::string(", ") + fixture.message_no;
  }
  database.Exec(std::string("INSERT INTO ") + document.header + " (" + columns + ") VALUES (" + values +
                ");");
  std::string detail_columns = std::string(document.header_key) + ", Description, Ordered, " +
                               document.price_column + ", SplitAmount, Discount";
  if (document.detail == std::string("APInvoiceDetail")) detail_columns += ", Received";
  int line = 0;
  for (const char* discount : fixture.discounts) {
    std::string row = "7, 'Item " + std::to_string(++line) + "', 3, 10, 30, " + discount;
    if (document.detail == std::string("APInvoiceDetail")) row += ", 4";
    database.Exec(std::string("INSERT INTO ") + document.detail + " (" + detail_columns + ") VALUES (" + row +
                  ");");
  }
}

const Document& DocumentFor(std::string_view key) {
  return *std::find_if(std::begin(kDocuments), std::end(kDocuments),
                       [&](const Document& document) { return document.key == key; });
}

HostSettings DocumentNumber(const char* number) {
  HostSettings host;
  host.params = {{1, number}};
  return host;
}

TEST(Documents, ComposeAddressBlocksWithoutEmptyLines) {
  static constexpr Address kAddresses[] = {
      {"'Acme', 'Jo Buyer', '1 Main St', 'Suite 2', 'Springfield', 'IL', '627011234'",
       "Acme\nJo Buyer\n1 Main St\nSuite 2\nSpringfield, IL 62701-1234",
       "Acme Yard\n1 Main St\nSuite 2\nSpringfield, IL 62701-1234"},
      {"'Acme', '', '   ', NULL, 'Springfield', 'IL', '62701'", "Acme\nSpringfield, IL 62701",
       "Acme Yard\nSpringfield, IL 62701"},
      {"'Acme', NULL, '1 Main St', '', NULL, NULL, ' 627011234 '", "Acme\n1 Main St\n,  62701-1234",
       "Acme Yard\n1 Main St\n,  62701-1234"},
      {"'Acme', ' Attn: Jo ', NULL, NULL, 'Springfield', '', NULL",
       "Acme\n Attn: Jo\nSpringfield,",  // lines print without trailing blanks
       "Acme Yard\nSpringfield,"},
      // The name line is the block's first even when Null; only the lines after it are left out when blank.
      {"NULL, NULL, NULL, NULL, NULL, NULL, NULL", "\n,", "Acme Yard\n,"},
  };
  for (const Document& document : kDocuments) {
    for (const Address& address : kAddresses) {
      ReportDatabase database;
      Fixture fixture;
      fixture.address = address.values;
      InsertDocument(database, document, fixture);
      const engine::PageModel model = database.Run(document.key, DocumentNumber("7"));
      EXPECT_EQ(TextsOf(model, document.sold_to), Texts{address.sold_to}) << document.key << address.values;
      if (*document.ship_to != '\0') {
        EXPECT_EQ(TextsOf(model, document.ship_to), Texts{address.ship_to}) << document.key << address.values;
      }
    }
  }
}

TEST(Documents, LookUpTermsAndMessageOnlyForTheirCodes) {
  struct Case {
    const char* key;
    const char* term_code;
    const char* message_no;
    Texts terms, message;
    size_t lines;
  };
  const Case kCases[] = {
      {"invoice", "'NET30'", "2", {"Net 30 days"}, {"Thank you!"}, 1},
      {"invoice", "'OTHER'", "9", {}, {}, 1},  // codes without a row
      {"invoice", "NULL", "NULL", {}, {}, 1},
      {"invoice", "'NONE'", "0", {}, {}, 1},  // a Null description; message 0 is none
      {"merch", "'NET30'", "NULL", {"Net 30 days"}, {}, 1},
      {"merch", "NULL", "NULL", {}, {}, 1},  // its lines still print
      {"packlist", "'NET30'", "NULL", {"Net 30 days"}, {}, 1},
      {"packlist", "'OTHER'", "NULL", {}, {}, 0},  // the terms are joined: no row, no lines
      {"packlist", "NULL", "NULL", {}, {}, 0},
  };
  for (const Case& c : kCases) {
    const Document& document = DocumentFor(c.key);
    ReportDatabase database;
    Fixture fixture;
    fixture.term_code = c.term_code;
    fixture.message_no = c.message_no;
    InsertDocument(database, document, fixture);
    const engine::PageModel model = database.Run(c.key, DocumentNumber("7"));
    const std::string where = std::string(c.key) + " " + c.term_code + " " + c.message_no;
    EXPECT_EQ(TextsOf(model, "Field1"), c.terms) << where;
    EXPECT_EQ(TextsOf(model, "txtMessageText"), c.message) << where;
    EXPECT_EQ(LinesOf(model, "Detail").size(), c.lines) << where;
  }
}

TEST(Documents, ShowEachLinesDiscountAsTheDocumentDoes) {
  for (const Document& document : kDocuments) {
    if (document.key == std::string("packlist")) continue;  // no prices
    ReportDatabase database;
    Fixture fixture;
    fixture.discounts = {"0", "5", "0", "2.5", "NULL"};
    InsertDocument(database, document, fixture);
    const engine::PageModel model = database.Run(document.key, DocumentNumber("7"));
    Texts discounts;
    for (const testing::PrintedLine& line : LinesOf(model, "Detail"))
      discounts.push_back(TextsIn(line, {"txtDiscount"})[0]);
    const Texts expected = document.hides_zero_discount ? Texts{"", "5.00", "", "2.50", ""}
                                                        : Texts{"0.00", "5.00", "0.00", "2.50", ""};
    EXPECT_EQ(discounts, expected) << document.key;
  }
}

TEST(Documents, RepeatTheirTotalsOnEveryPage) {
  for (const Document& document : kDocuments) {
    ReportDatabase database;
    Fixture fixture;
    fixture.discounts.assign(70, "0");
    InsertDocument(database, document, fixture);
    HostSettings host = DocumentNumber("7");
    host.logo_option = 0;  // with the company header, as printed
    const engine::PageModel model = database.Run(document.key, host);
    ASSERT_EQ(model.pages().size(), 2u) << document.key;
    EXPECT_EQ(LinesOf(model, "Detail").size(), 70u) << document.key;
    EXPECT_EQ(TextsOf(model, "txtPagenumber"), (Texts{"1", "2"})) << document.key;
    EXPECT_EQ(TextsOf(model, document.sold_to).size(), 2u) << document.key;  // the header repeats
    if (*document.total_control != '\0') {
      const Texts totals = TextsOf(model, document.total_control);
      ASSERT_EQ(totals.size(), 2u) << document.key;
      EXPECT_EQ(totals[0], totals[1]) << document.key;
      EXPECT_NE(totals[0].find("1,234.50"), std::string::npos) << document.key << totals[0];
    }
  }
}

TEST(Documents, NegateReturnedQuantities) {
  struct Case {
    const char* key;
    const char* control;
    const char* expected;
  };
  static constexpr Case kCases[] = {
      {"salesret", "Field3", "-3.00"},  // from Ordered
      {"purret", "Field3", "-4.00"},    // from Received
  };
  for (const Case& c : kCases) {
    const Document& document = DocumentFor(c.key);
    ReportDatabase database;
    InsertDocument(database, document, Fixture{});
    const engine::PageModel model = database.Run(c.key, DocumentNumber("7"));
    EXPECT_EQ(TextsOf(model, c.control), Texts{c.expected}) << c.key;
  }
}

TEST(Documents, PrintAnEmptyDocumentForAnUnknownNumber) {
  for (const Document& document : kDocuments) {
    ReportDatabase database;
    InsertDocument(database, document, Fixture{});
    const engine::PageModel model = database.Run(document.key, DocumentNumber("8"));
    EXPECT_EQ(model.pages().size(), 1u) << document.key;
    EXPECT_TRUE(LinesOf(model, "Detail").empty()) << document.key;
    EXPECT_TRUE(TextsOf(model, document.sold_to).empty()) << document.key;
    EXPECT_TRUE(TextsOf(model, "Field1").empty()) << document.key;
  }
}

// The number is spliced into the statement, so a word is a column the database does not know; the error
// names the report and quotes the statement as sent.
TEST(Documents, FailForANonNumericNumberQuotingTheSql) {
  const std::pair<const char*, const char*> kClasses[] = {{"invoice", "rptInvoice"},
                                                          {"salesorder", "rptSalesOrder"},
                                                          {"packlist", "rptPackList"},
                                                          {"salesret", "rptSalesRet"},
                                                          {"po", "rptPO"},
                                                          {"merch", "rptMerch"},
                                                          {"purret", "rptPurRet"}};
  for (const auto& [key, report_class] : kClasses) {
    ReportDatabase database;
    try {
      database.Run(key, DocumentNumber("seven"));
      ADD_FAILURE() << key << ": no error";
    } catch (const engine::RunError& error) {
      const std::string message = error.what();
      EXPECT_TRUE(
          message.starts_with(std::string(report_class) + ", dataMain: no such column: seven in: SELECT "))
          << message;
      EXPECT_TRUE(message.ends_with("= seven));")) << message;
    }
  }
}

}  // namespace
}  // namespace vob
