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

}  // namespace
}  // namespace vob
