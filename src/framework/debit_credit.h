// The general ledger's debit/credit split of a signed amount (debits positive, credits negative).
// Zero goes to the debit side, so an account or line without a balance reads as a zero debit.
#pragma once

#include "platform/vb/currency.h"

namespace vob::reports {

struct DebitCredit {
  vb::Currency debit;
  vb::Currency credit;
};

// amount >= 0: {amount, 0}; amount < 0: {0, -amount}.
inline DebitCredit SplitDebitCredit(vb::Currency amount) {
  if (amount < vb::Currency()) return {vb::Currency(), -amount};
  return {amount, vb::Currency()};
}

}  // namespace vob::reports
