// The postal code and phone fields of the customer and vendor lists and profiles.
// Each field is its own error-ignored statement, so one bad column never blanks the others.
#include "framework/contact_fields.h"

#include <string>
#include <string_view>

#include "common/text_format.h"

namespace vob::reports {
namespace {

constexpr const char* kContactFields[] = {"fldZip", "fldPhone1", "fldPhone2", "fldFax"};

}  // namespace

void AddContactFields(ActiveReport& report) {
  for (const char* field : kContactFields) report.Fields().Add(field);
}

void FetchContactFields(ActiveReport& report, const data::Recordset& row) {
  auto trimmed = [&row](std::string_view column) {
    const Variant& value = row.Fields(column);
    return vb::IsNull(value) ? std::string() : vb::Trim(vb::CStr(value));
  };
  vb::ResumeNext(
      [&] {
        const std::string zip = trimmed("zipcode");
        report.Fields("fldZip").set_value(zip.size() == 9 ? zip.substr(0, 5) + "-" + zip.substr(5) : zip);
      },
      [&] { report.Fields("fldPhone1").set_value(FormatPhone(trimmed("Phone1"))); },
      [&] { report.Fields("fldPhone2").set_value(FormatPhone(trimmed("Phone2"))); },
      [&] { report.Fields("fldFax").set_value(FormatPhone(trimmed("fax"))); });
}

}  // namespace vob::reports
