// Journal lines in two amount columns: the split into unbound fields and the visibility of each side.
#include "framework/journal_lines.h"

#include "framework/debit_credit.h"

namespace vob::reports {

void AddDebitCreditFields(ActiveReport& report) {
  report.Fields().Add("dbAmt");
  report.Fields().Add("crAmt");
}

void SplitDebitAmount(ActiveReport& report, const data::Recordset& line) {
  const Variant& amount = line.Fields("debitamount");
  if (vb::IsNull(amount)) {  // the conversion would fail anyway; say which line needs mending
    vb::Raise(vb::kInvalidUseOfNull, "DebitAmount of a line of journal entry " +
                                         vb::CStr(line.Fields("GLJournalDetail.JournalEntryNo")));
  }
  const DebitCredit split = SplitDebitCredit(vb::CCur(amount));
  report.Fields("cramt").set_value(Variant(split.credit));
  report.Fields("dbamt").set_value(Variant(split.debit));
}

void ShowNonZeroAmounts(ActiveReport& report) {
  for (const char* name : {"txtCredit", "txtDebit"}) {
    TextBox& amount = report.Controls<TextBox>(name);
    amount.set_visible(IsNonZeroAmount(amount.text()));
  }
}

}  // namespace vob::reports
