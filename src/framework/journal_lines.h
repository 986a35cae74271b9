// Journal lines printed in two amount columns: the signed DebitAmount split into the unbound fields "dbAmt"
// and "crAmt", and the detail rule that shows only the column carrying an amount. Journal and activity share
// it.
#pragma once

#include "framework/report_api.h"

namespace vob::reports {

// Adds the unbound fields "dbAmt" and "crAmt", in this order. Call in data initialisation.
void AddDebitCreditFields(ActiveReport& report);

// Splits the line's DebitAmount (debits positive): a negative amount goes negated to "crAmt" with 0 in
// "dbAmt"; zero or more goes to "dbAmt" with 0 in "crAmt". A Null amount raises Invalid use of Null (94)
// naming its journal entry, which ends the run. REQUIRES: line stands on a row.
void SplitDebitAmount(ActiveReport& report, const data::Recordset& line);

// Shows txtCredit, then txtDebit, only when its text carries a non-zero amount (IsNonZeroAmount), so a line
// prints one of its two amounts, or none for a zero amount.
void ShowNonZeroAmounts(ActiveReport& report);

}  // namespace vob::reports
