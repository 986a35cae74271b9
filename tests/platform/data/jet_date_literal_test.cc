// The date shapes a #literal# may take, month first, and the texts refused.
#include "platform/data/jet_date_literal.h"

#include <gtest/gtest.h>

#include "platform/vb/date.h"

namespace vob::data {
namespace {

TEST(JetDateLiteral, ReadsMonthFirstDatesAndTimes) {
  struct Case {
    const char* text;
    double serial;  // -1 marks text that must be refused
  };
  const double jan5 = vb::DateSerial(2024, 1, 5);
  const Case cases[] = {
      {"1/5/2024", jan5},
      {"01/05/24", jan5},
      {"1-5-2024", jan5},
      {"2024-01-05", jan5},
      {"2024/1/5", jan5},
      {"5-Jan-2024", jan5},
      {"05-jan-24", jan5},
      {"January 5, 2024", jan5},
      {"jan 5 2024", jan5},
      {"1/5/2024 14:30", jan5 + vb::TimeSerial(14, 30, 0)},
      {"1/5/2024 2:30:15 pm", jan5 + vb::TimeSerial(14, 30, 15)},
      {"1/5/2024 12:00 AM", jan5},
      {" 1/5/2024 ", jan5},
      {"12/31/29", vb::DateSerial(2029, 12, 31)},
      {"12/31/30", vb::DateSerial(1930, 12, 31)},
      {"14:00", vb::TimeSerial(14, 0, 0)},
      {"2/29/2023", -1},
      {"13/1/2024", -1},
      {"1/5", -1},
      {"1/5/2024 13:00 PM", -1},
      {"1/5/2024 x", -1},
      {"1/5-2024", -1},
      {"tomorrow", -1},
      {"", -1},
      {"1/5/2024; DELETE", -1},
  };
  for (const Case& c : cases) {
    const std::optional<double> serial = ParseJetDateLiteral(c.text);
    if (c.serial == -1) {
      EXPECT_FALSE(serial.has_value()) << c.text;
    } else {
      ASSERT_TRUE(serial.has_value()) << c.text;
      EXPECT_NEAR(*serial, c.serial, 1e-9) << c.text;
    }
  }
}

}  // namespace
}  // namespace vob::data
