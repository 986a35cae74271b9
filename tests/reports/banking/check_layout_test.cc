#include <gtest/gtest.h>

#include "platform/vb/conversions.h"
#include "reports/banking/check_page_texts.h"
#include "reports/report_test_support.h"

namespace vob {
namespace {

using testing::CanvasTexts;
using testing::FindText;
using testing::HostSettings;
using testing::ReportDatabase;

TEST(CheckLayout, ConvertsStylePositionsByUnit) {
  struct Case {
    const char* units;  // SQL literal
    double date_top, stub_left, stub_top;
    int32_t expected_date_top;
    int32_t expected_stub_left, expected_stub_top;
  };
  static constexpr Case kCases[] = {
      {"'IN'", 0.5, 0.25, 6, 720, 360, 8640},
      {"'CM'", 1, 1, 2, 567, 567, 1134},
      {"'in'", 1, 0.5, 1, 567, 283, 567},  // only upper-case IN means inches
      {"NULL", 1, 0, 0, 567, 0, 0},
  };
  for (const Case& c : kCases) {
    ReportDatabase database;
    database.Exec(
        "INSERT INTO libChecks (StyleID, \"Default\", Units, DateTop, dateleft, amountTop, amountLeft, "
        "vAmountTop, vAmountleft, AddressTop, AddressLeft, stubTop, stubLeft) VALUES (7, 0, " +
        std::string(c.units) + ", " + std::to_string(c.date_top) + ", 1, 1, 1, 1, 1, 1, 1, " +
        std::to_string(c.stub_top) + ", " + std::to_string(c.stub_left) + ")");
    HostSettings host;
    host.params = {{1, "7"}};
    const engine::PageModel model = database.Run("checklayout", host);
    ASSERT_EQ(model.page_count(), 1) << c.units;
    const auto texts = CanvasTexts(model.pages()[0]);
    EXPECT_EQ(FindText(texts, "06/30/24").top, c.expected_date_top) << c.units << " " << c.date_top;
    const testing::CanvasText vendor = FindText(texts, "Vendor ID:");
    EXPECT_EQ(vendor.left, c.expected_stub_left) << c.units;
    EXPECT_EQ(vendor.top, c.expected_stub_top) << c.units;
    EXPECT_EQ(FindText(texts, "Invoice Date").left, c.expected_stub_left + 2160) << c.units;
  }
}

TEST(CheckLayout, DrawsTheSampleStubAtStubSpacing) {
  ReportDatabase database;
  database.Exec(R"sql(
    INSERT INTO libChecks (StyleID, "Default", Units, DateTop, dateleft, amountTop, amountLeft, vAmountTop,
      vAmountleft, AddressTop, AddressLeft, stubTop, stubLeft)
    VALUES (3, 0, 'IN', 0.5, 6.5, 1, 6.5, 1.5, 0.5, 2, 0.75, 4, 0.25);
  )sql");
  HostSettings host;
  host.params = {{1, "3"}};
  const auto texts = CanvasTexts(database.Run("checklayout", host).pages()[0]);

  const int32_t h = FindText(texts, "Vendor ID:").height;
  ASSERT_GT(h, 0);
  EXPECT_EQ(FindText(texts, "Payee Name").top, 2880);
  EXPECT_EQ(FindText(texts, "Address ").top, 2880 + h);
  EXPECT_EQ(FindText(texts, "Payee City , State, Postal Code").top, 2880 + 2 * h);
  EXPECT_EQ(FindText(texts, "9,999.99").left, 9360);
  EXPECT_EQ(FindText(texts, "Nine Thousand, Nine Hundred, and Ninety Nine and 00/100").top, 2160);

  const int32_t captions_top = 5760 + static_cast<int32_t>(vb::RoundHalfEven(1.5 * h));
  EXPECT_EQ(FindText(texts, "Payment Amount").top, captions_top);
  int32_t line_top = captions_top + static_cast<int32_t>(vb::RoundHalfEven(1.2 * h));
  for (const char* invoice : {"Inv 1", "Inv 2", "Inv 3"}) {
    EXPECT_EQ(FindText(texts, invoice).top, line_top) << invoice;
    line_top += static_cast<int32_t>(vb::RoundHalfEven(1.1 * h));
  }
  // Right-aligned sample amounts end at their offsets from the stub's left edge.
  int amounts = 0;
  for (const testing::CanvasText& text : texts) {
    if (text.text != "XXXX.XX") continue;
    EXPECT_TRUE(text.right == 360 + 5328 || text.right == 360 + 8640) << text.right;
    ++amounts;
  }
  EXPECT_EQ(amounts, 6);
}

TEST(CheckLayout, UnknownStyleDrawsAtTheCorner) {
  ReportDatabase database;
  HostSettings host;
  host.params = {{1, "42"}};
  const auto texts = CanvasTexts(database.Run("checklayout", host).pages()[0]);
  const testing::CanvasText date = FindText(texts, "06/30/24");
  EXPECT_EQ(date.left, 0);
  EXPECT_EQ(date.top, 0);
  EXPECT_EQ(FindText(texts, "Vendor ID:").left, 0);
}

}  // namespace
}  // namespace vob
