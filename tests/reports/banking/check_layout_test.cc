#include <gtest/gtest.h>

#include "reports/report_test_support.h"
#include "support/page_readers.h"

namespace vob {
namespace {

using testing::CanvasText;
using testing::CanvasTexts;
using testing::FindText;
using testing::HostSettings;
using testing::ReportDatabase;

TEST(CheckLayout, ConvertsStylePositionsByUnit) {
  struct Case {
    const char* units;  // SQL literal; nullptr: the style asked for does not exist
    double date_top, stub_left, stub_top;
    int32_t expected_date_top, expected_stub_left, expected_stub_top;
  };
  static constexpr Case kCases[] = {
      {"'IN'", 0.5, 0.25, 6, 720, 360, 8640}, {"'CM'", 1, 1, 2, 567, 567, 1134},
      {"'in'", 1, 0.5, 1, 567, 283, 567},  // only upper-case IN means inches
      {"NULL", 1, 0, 0, 567, 0, 0},           {nullptr, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : kCases) {
    const std::string label = c.units ? c.units : "no style";
    ReportDatabase database;
    if (c.units) {
      database.Exec(
          "INSERT INTO libChecks (StyleID, \"Default\", Units, DateTop, dateleft, amountTop, amountLeft, "
          "vAmountTop, vAmountleft, AddressTop, AddressLeft, stubTop, stubLeft) VALUES (7, 0, " +
          std::string(c.units) + ", " + std::to_string(c.date_top) + ", 1, 1, 1, 1, 1, 1, 1, " +
          std::to_string(c.stub_top) + ", " + std::to_string(c.stub_left) + ")");
    }
    HostSettings host;
    host.params = {{1, "7"}};
    const engine::PageModel model = database.Run("checklayout", host);
    ASSERT_EQ(model.page_count(), 1) << label;
    const auto texts = CanvasTexts(model.pages()[0]);
    EXPECT_EQ(FindText(texts, "06/30/24").top, c.expected_date_top) << label;
    const CanvasText vendor = FindText(texts, "Vendor ID:");
    EXPECT_EQ(vendor.left, c.expected_stub_left) << label;
    EXPECT_EQ(vendor.top, c.expected_stub_top) << label;
    EXPECT_EQ(FindText(texts, "Invoice Date").left, c.expected_stub_left + 2160) << label;
  }
}

TEST(CheckLayout, DrawsTheSampleTextsWithThreeStubLines) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO libChecks (StyleID, "Default", Units, DateTop, dateleft, amountTop, amountLeft, vAmountTop,
      vAmountleft, AddressTop, AddressLeft, stubTop, stubLeft)
    VALUES (3, 0, 'IN', 0.5, 6.5, 1, 6.5, 1.5, 0.5, 2, 0.75, 4, 0.25);
  )sql");
  HostSettings host;
  host.params = {{1, "3"}};
  const auto texts = CanvasTexts(database.Run("checklayout", host).pages()[0]);

  const int32_t h = FindText(texts, "Payee Name").height;
  EXPECT_EQ(FindText(texts, "Address ").top, 2880 + h);
  EXPECT_EQ(FindText(texts, "Payee City , State, Postal Code").top, 2880 + 2 * h);
  EXPECT_EQ(FindText(texts, "9,999.99").left, 9360);
  EXPECT_EQ(FindText(texts, "Nine Thousand, Nine Hundred, and Ninety Nine and 00/100").top, 2160);
  EXPECT_EQ(FindText(texts, " Payee Name").top, 5760);
  // Three sample lines a stub line apart; their right-aligned amounts end at the value offsets.
  const int32_t first_top = FindText(texts, "Inv 1").top;
  EXPECT_GT(FindText(texts, "Inv 2").top, first_top);
  EXPECT_EQ(FindText(texts, "Inv 3").top - FindText(texts, "Inv 2").top,
            FindText(texts, "Inv 2").top - first_top);
  int amounts = 0;
  for (const CanvasText& text : texts) {
    if (text.text != "XXXX.XX") continue;
    EXPECT_TRUE(text.right == 360 + 5328 || text.right == 360 + 8640) << text.right;
    ++amounts;
  }
  EXPECT_EQ(amounts, 6);
}

}  // namespace
}  // namespace vob
