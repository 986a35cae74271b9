#include "framework/debit_credit.h"

#include <gtest/gtest.h>

namespace vob::reports {
namespace {

TEST(SplitDebitCredit, PutsZeroAndPositivesOnTheDebitSideAndNegatesCredits) {
  struct Case {
    int64_t amount_raw, debit_raw, credit_raw;
  };
  static constexpr Case kCases[] = {
      {0, 0, 0},
      {1'500'000, 1'500'000, 0},
      {-1'500'000, 0, 1'500'000},
      {-1, 0, 1},  // the smallest credit stays a credit
      {INT64_MAX, INT64_MAX, 0},
  };
  for (const Case& c : kCases) {
    const DebitCredit split = SplitDebitCredit(vb::Currency::FromRaw(c.amount_raw));
    EXPECT_EQ(split.debit.raw(), c.debit_raw) << c.amount_raw;
    EXPECT_EQ(split.credit.raw(), c.credit_raw) << c.amount_raw;
  }
}

}  // namespace
}  // namespace vob::reports
