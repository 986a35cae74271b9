#include "common/amount_in_words.h"

#include <gtest/gtest.h>

#include "platform/vb/error.h"

namespace vob {
namespace {

TEST(AmountInWords, SpellsWorkedExamplesWithTheirExactSpacing) {
  struct Case {
    double amount;
    int16_t decimals;
    const char* expected;
  };
  static constexpr Case kCases[] = {
      {1234.56, 2, "One Thousand Two Hundred Thirty Four and 56/100 only"},
      {15.05, 2, "Fifteen and 05/100 only"},
      {1001, 2, "One Thousand One and 00/100 only"},
      {1000, 2, "One Thousand  and 00/100 only"},
      {2000000.10, 2, "Two Million  and 10/100 only"},
      {0.5, 2, "and 50/100 only"},
      {-42, 2, "Negative  Forty Two and 00/100 only"},
      {1000, 0, "One Thousand  only"},
      {0, 2, "and 00/100 only"},
      {0, 0, "only"},
      {1000000, 2, "One Million  and 00/100 only"},
      {1000001, 2, "One Million One and 00/100 only"},
      {0.125, 2, "and 12/100 only"},
      {110, 2, "One Hundred Ten and 00/100 only"},
      {119, 2, "One Hundred Nineteen and 00/100 only"},
      {21, 2, "Twenty One and 00/100 only"},
      {20, 2, "Twenty and 00/100 only"},  // the hundreds' words leave no blank of their own
      {13, 2, "Thirteen and 00/100 only"},
      {999, 0, "Nine Hundred Ninety Nine only"},
      {2147483647.99, 2,
       "Two Billion One Hundred Forty Seven Million Four Hundred Eighty Three Thousand Six Hundred Forty "
       "Seven "
       "and 99/100 only"},
      {12.5, 3, "Twelve and 500/1000 only"},
      // A fraction that rounds to a whole unit carries into the whole part.
      {5.996, 2, "Six and 00/100 only"},
      {999.999, 2, "One Thousand  and 00/100 only"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(AmountInWords(c.amount, c.decimals), c.expected) << c.amount << " with " << c.decimals;
  }
}

TEST(AmountInWords, OverflowsPastTheLongRange) {
  static constexpr double kAmounts[] = {2147483648.0, -2147483648.0, 1e12, 2147483647.996};
  for (double amount : kAmounts) {
    try {
      AmountInWords(amount, 2);
      ADD_FAILURE() << amount << " did not overflow";
    } catch (const vb::Error& error) {
      EXPECT_EQ(error.number(), vb::kOverflow) << amount;
    }
  }
}

}  // namespace
}  // namespace vob
