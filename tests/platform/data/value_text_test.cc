// Exact reading of stored amounts and ISO dates, and the storage form of dates.
#include "platform/data/value_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/vb/date.h"

namespace vob::data {
namespace {

TEST(ValueText, ReadsDecimalAmountsExactly) {
  struct Case {
    const char* text;
    int64_t raw;  // ten-thousandths; INT64_MIN marks text that must be refused
  };
  const Case cases[] = {
      {"0", 0},
      {"12", 120000},
      {"-1234.5678", -12345678},
      {"0.05", 500},
      {".5", 5000},
      {"+3.", 30000},
      {"0.30000000000000004", 3000},
      {"1e3", 10000000},
      {"2.5E-3", 25},
      {"0.00005", 0},
      {"0.00015", 2},
      {"0.000051", 1},
      {"-0.00005", 0},
      {"922337203685477.5807", INT64_MAX},
      {"922337203685477.5808", INT64_MIN},
      {"", INT64_MIN},
      {"abc", INT64_MIN},
      {"1.2.3", INT64_MIN},
      {"1e", INT64_MIN},
      {" 1", INT64_MIN},
      {"-", INT64_MIN},
  };
  for (const Case& c : cases) {
    const std::optional<vb::Currency> amount = ParseDecimalCurrency(c.text);
    if (c.raw == INT64_MIN) {
      EXPECT_FALSE(amount.has_value()) << c.text;
    } else {
      ASSERT_TRUE(amount.has_value()) << c.text;
      EXPECT_EQ(amount->raw(), c.raw) << c.text;
    }
  }
  EXPECT_EQ(ParseDecimalCurrency("-922337203685477.5808")->raw(), INT64_MIN);
}

TEST(ValueText, ReadsRealAmountsAsTheirFifteenDigitText) {
  // A REAL amount must read exactly as SQLite's text of it (15 significant digits) would, with or without
  // printing it: sums of cents, halves of ten-thousandths, large and tiny values.
  std::vector<double> values = {0.0,  -0.0,           0.1 + 0.2, 1234.56,    -1234.5678,
                                0.05, 0.00005,        -0.00015,  1234.56785, 99999999999.99,
                                1e11, 123456789012.5, 1e-300,    2.5e-3,     -7.0000000000001};
  for (int cents = -30000; cents <= 30000; cents += 7) values.push_back(cents / 100.0);
  double sum = 0;
  for (int i = 0; i < 2000; ++i) values.push_back(sum += 0.07 * (i % 13) - 0.35);
  for (double value : values) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    const std::optional<vb::Currency> expected = ParseDecimalCurrency(text);
    ASSERT_TRUE(expected.has_value()) << text;
    const std::optional<vb::Currency> fast = CurrencyFromReal(value);
    if (fast) {
      EXPECT_EQ(fast->raw(), expected->raw()) << text;
    }
  }
  // The common amounts never need their text.
  for (double value : {0.3, 1234.56, -0.05, 250000.0}) EXPECT_TRUE(CurrencyFromReal(value)) << value;
  for (double value : {0.00005, 1e11, 1e300}) EXPECT_FALSE(CurrencyFromReal(value)) << value;
}

TEST(ValueText, ReadsAndWritesIsoDates) {
  struct Case {
    const char* text;
    double serial;  // -1 marks text that must be refused
    const char* stored;
  };
  const double jan31 = vb::DateSerial(2024, 1, 31);
  const Case cases[] = {
      {"2024-01-31", jan31, "2024-01-31"},
      {"2024-01-31 14:05:00", jan31 + vb::TimeSerial(14, 5, 0), "2024-01-31 14:05:00"},
      {"2024-01-31T14:05", jan31 + vb::TimeSerial(14, 5, 0), "2024-01-31 14:05:00"},
      {"2024-01-31 14:05:00.6+01", jan31 + vb::TimeSerial(14, 5, 1), "2024-01-31 14:05:01"},
      {"1899-12-29 06:00:00", -1.25, "1899-12-29 06:00:00"},
      {"2024-02-30", -1, nullptr},
      {"2024-1-31", -1, nullptr},
      {"2024-01-31 25:00", -1, nullptr},
      {"31/01/2024", -1, nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<double> serial = ParseIsoDateTime(c.text);
    if (c.stored == nullptr) {
      EXPECT_FALSE(serial.has_value()) << c.text;
      continue;
    }
    ASSERT_TRUE(serial.has_value()) << c.text;
    EXPECT_NEAR(*serial, c.serial, 1e-9) << c.text;
    EXPECT_EQ(FormatIsoDateTime(*serial), c.stored) << c.text;
    std::string json = "[";
    AppendIsoDateTime(*serial, 'T', json);
    std::string stored = c.stored;
    if (stored.size() > 10) stored[10] = 'T';
    EXPECT_EQ(json, "[" + stored) << c.text;
  }
}

}  // namespace
}  // namespace vob::data
