// The postal code and phone fields the customer and vendor lists and profiles print: fldZip, fldPhone1,
// fldPhone2 and fldFax, added as unbound fields and filled from a row's ZipCode, Phone1, Phone2 and Fax.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "framework/report_api.h"

namespace vob::reports {

class ContactFields {
 public:
  // Adds the four unbound fields to the report.
  void Add(ActiveReport& report);

  // Fills them from the row, each statement with errors ignored. The postal code is trimmed before its length
  // is tested, so a nine-digit code with blanks around it still splits; the phones are trimmed before
  // FormatPhone, which tests the length as passed. A Null column gives an empty field rather than the
  // previous row's value.
  void Fetch(ActiveReport& report, const data::Recordset& row);

 private:
  static constexpr size_t kCount = 4;

  // A list fills the fields on every one of its rows: the columns and fields are looked up by name once, and
  // again only when the row holds another statement or the report's fields are others or have moved (both
  // serials are unique in the process).
  void Resolve(ActiveReport& report, const data::Recordset& row);

  uint64_t open_serial_ = 0;
  uint64_t fields_generation_ = 0;
  std::array<int, kCount> columns_{};                // -1: no such column, read by name to fail as it would
  std::array<std::optional<Field>, kCount> fields_;  // empty: no such field, found by name to fail likewise
};

}  // namespace vob::reports
