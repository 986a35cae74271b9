// Fixed-point money: exact sums, overflow at the range's ends, rounding from double, the general text.
// Currency::FromRaw counts ten-thousandths, so FromRaw(12345) is 1.2345.
#include "platform/vb/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "platform/vb/error.h"

namespace vob::vb {
namespace {

TEST(Currency, SumsStayExact) {
  Currency total;
  for (int i = 0; i < 10; ++i) total += Currency::FromDouble(0.1);
  EXPECT_EQ(total, Currency::FromWhole(1));

  Currency cents;
  for (int i = 0; i < 1000000; ++i) cents += Currency::FromRaw(100);
  EXPECT_EQ(cents, Currency::FromWhole(10000));
  EXPECT_EQ(cents - Currency::FromRaw(100) * 1000000, Currency());
  EXPECT_EQ(-Currency::FromRaw(5), Currency::FromRaw(-5));
  EXPECT_LT(Currency::FromRaw(-1), Currency());
}

TEST(Currency, RaisesOverflowAtTheEndsOfItsRange) {
  struct Case {
    const char* operation;
    std::function<void()> run;
  };
  const Case kCases[] = {
      {"FromWhole(922337203685478)", [] { Currency::FromWhole(922337203685478); }},
      {"FromWhole(-922337203685478)", [] { Currency::FromWhole(-922337203685478); }},
      {"max + 0.0001", [] { Currency::FromRaw(INT64_MAX) += Currency::FromRaw(1); }},
      {"min - 0.0001", [] { Currency::FromRaw(INT64_MIN) -= Currency::FromRaw(1); }},
      {"-min", [] { -Currency::FromRaw(INT64_MIN); }},
      {"max * 2", [] { Currency::FromRaw(INT64_MAX) * int64_t{2}; }},
      {"max * 2.0", [] { Currency::FromRaw(INT64_MAX) * 2.0; }},
      {"FromDouble(1e15)", [] { Currency::FromDouble(1e15); }},
      {"FromDouble(-1e15)", [] { Currency::FromDouble(-1e15); }},
      {"FromDouble(NaN)", [] { Currency::FromDouble(std::nan("")); }},
      {"FromDouble(inf)", [] { Currency::FromDouble(INFINITY); }},
  };
  for (const Case& c : kCases) {
    try {
      c.run();
      ADD_FAILURE() << c.operation << " did not raise";
    } catch (const Error& error) {
      EXPECT_EQ(error.number(), kOverflow) << c.operation;
    }
  }
  EXPECT_EQ(Currency::FromWhole(922337203685477).raw(), 9223372036854770000) << "the largest whole amount";
}

TEST(Currency, RoundsFromDoubleHalvesToEven) {
  struct Case {
    double value;
    int64_t raw;
  };
  static constexpr Case kCases[] = {
      {0.00005, 0}, {0.00025, 2},    {0.00035, 4},    {-0.00025, -2},          {2.00025, 20002},
      {1.5, 15000}, {0.12344, 1234}, {0.12346, 1235}, {-1234.5678, -12345678}, {0, 0},
  };
  for (const Case& c : kCases) EXPECT_EQ(Currency::FromDouble(c.value).raw(), c.raw) << c.value;
  EXPECT_EQ((Currency::FromRaw(5) * 0.5).raw(), 2) << "a product's half rounds to even";
  EXPECT_EQ((Currency::FromRaw(7) * 0.5).raw(), 4);
  EXPECT_EQ(Currency::FromRaw(12345678).ToDouble(), 1234.5678);
}

TEST(Currency, PrintsExactlyWithoutTrailingZeros) {
  struct Case {
    int64_t raw;
    const char* expected;
  };
  static constexpr Case kCases[] = {
      {12345000, "1234.5"},
      {-2500, "-0.25"},
      {30000, "3"},
      {0, "0"},
      {-1, "-0.0001"},
      {10001, "1.0001"},
      {INT64_MAX, "922337203685477.5807"},
      {INT64_MIN, "-922337203685477.5808"},
  };
  for (const Case& c : kCases) EXPECT_EQ(Currency::FromRaw(c.raw).ToString(), c.expected) << c.raw;
}

}  // namespace
}  // namespace vob::vb
