// The postal code and phone fields of the customer and vendor lists and profiles.
// Each field is its own error-ignored statement, so one bad column never blanks the others.
#include "framework/contact_fields.h"

#include <string>
#include <string_view>

#include "common/text_format.h"

namespace vob::reports {
namespace {

// The fields and the columns they come from, in the order the statements run.
constexpr const char* kFields[] = {"fldZip", "fldPhone1", "fldPhone2", "fldFax"};
constexpr const char* kColumns[] = {"zipcode", "Phone1", "Phone2", "fax"};

}  // namespace

void ContactFields::Add(ActiveReport& report) {
  for (const char* field : kFields) report.Fields().Add(field);
}

void ContactFields::Resolve(ActiveReport& report, const data::Recordset& row) {
  for (size_t i = 0; i < kCount; ++i) {
    columns_[i] = row.FieldIndex(kColumns[i]);
    fields_[i].reset();
    try {
      fields_[i] = report.Fields(kFields[i]);
    } catch (const vb::Error&) {
    }
  }
  open_serial_ = row.open_serial();
  fields_generation_ = report.Fields().generation();
}

void ContactFields::Fetch(ActiveReport& report, const data::Recordset& row) {
  if (row.open_serial() != open_serial_ || report.Fields().generation() != fields_generation_) {
    Resolve(report, row);
  }
  auto field = [&](size_t i) { return fields_[i] ? *fields_[i] : report.Fields(kFields[i]); };
  auto trimmed = [&](size_t i) {
    const Variant& value = columns_[i] >= 0 ? row.Value(columns_[i]) : row.Fields(kColumns[i]);
    return vb::IsNull(value) ? std::string() : vb::Trim(vb::CStr(value));
  };
  vb::ResumeNext(
      [&] {
        const std::string zip = trimmed(0);
        field(0).set_value(zip.size() == 9 ? zip.substr(0, 5) + "-" + zip.substr(5) : zip);
      },
      [&] { field(1).set_value(FormatPhone(trimmed(1))); },
      [&] { field(2).set_value(FormatPhone(trimmed(2))); },
      [&] { field(3).set_value(FormatPhone(trimmed(3))); });
}

}  // namespace vob::reports
