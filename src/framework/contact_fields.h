// The postal code and phone fields the customer and vendor lists and profiles print: fldZip, fldPhone1,
// fldPhone2 and fldFax, added as unbound fields and filled from a row's ZipCode, Phone1, Phone2 and Fax.
#pragma once

#include "framework/report_api.h"

namespace vob::reports {

// Adds the four unbound fields to the report.
void AddContactFields(ActiveReport& report);

// Fills them from the row, each statement with errors ignored. The postal code is trimmed before its length
// is tested, so a nine-digit code with blanks around it still splits; the phones are trimmed before
// FormatPhone, which tests the length as passed. A Null column gives an empty field rather than the
// previous row's value.
void FetchContactFields(ActiveReport& report, const data::Recordset& row);

}  // namespace vob::reports
