#include "common/text_format.h"

#include <gtest/gtest.h>

#include "settings/report_settings.h"

namespace vob {
namespace {

TEST(FormatZip, HyphenatesNineCharactersAfterTrimming) {
  struct Case {
    const char* zip;
    const char* expected;
  };
  static constexpr Case kCases[] = {
      {"123456789", "12345-6789"},   {"12345", "12345"},
      {" 123456789", " 12345-6789"}, {"12345678 ", "12345678 "},
      {"123456789 ", "123456-789 "}, {"", ""},
      {"1234567890", "1234567890"},
  };
  for (const Case& c : kCases) EXPECT_EQ(FormatZip(c.zip), c.expected) << '"' << c.zip << '"';
}

TEST(FormatPhone, FormatsSevenAndTenCharactersOnly) {
  struct Case {
    const char* phone;
    const char* expected;
  };
  static constexpr Case kCases[] = {
      {"5551234", "555-1234"},
      {"2125551234", "(212) 555-1234"},
      {"555 12-345", "(555)  12--345"},
      {" 555123", " 55-5123"},
      {"12125551234", "12125551234"},
      {"555123", "555123"},
      {"", ""},
  };
  for (const Case& c : kCases) EXPECT_EQ(FormatPhone(c.phone), c.expected) << c.phone;
}

TEST(IsNonZeroAmount, TellsZeroTextsFromAmounts) {
  Settings().CurrencyFormat = "$#,##0.00;($#,##0.00)";
  struct Case {
    const char* text;
    bool expected;
  };
  static constexpr Case kCases[] = {
      {"0", false},       {"0.00", false},    {"", false},          {"   ", false},       {"$0.00", false},
      {" $0.00 ", false}, {"12.50", true},    {"(1,234.50)", true}, {"$1,234.50 ", true}, {"abc", true},
      {"-", true},        {"$0.00 CR", true}, {"-0.00", false},     {"(0.00)", false},    {"0.", false},
      {"000", false},     {"0.0.0", true},    {"0,00", false},      {"0.01", true},       {"1E-2", true},
  };
  for (const Case& c : kCases) EXPECT_EQ(IsNonZeroAmount(c.text), c.expected) << '"' << c.text << '"';

  // Text that the numeric test rejects is compared with zero in the currency format.
  Settings().CurrencyFormat = "0.00 \"USD\"";
  EXPECT_FALSE(IsNonZeroAmount("0.00 USD"));
  EXPECT_TRUE(IsNonZeroAmount("1.00 USD"));
  Settings().CurrencyFormat.clear();
}

}  // namespace
}  // namespace vob
