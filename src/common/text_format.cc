// Postal code, phone and date texts, and the non-zero amount test.
#include "common/text_format.h"

#include "platform/vb/conversions.h"
#include "platform/vb/format.h"
#include "settings/report_settings.h"

namespace vob {

std::string FormatZip(std::string_view zip) {
  if (vb::Trim(zip).size() == 9) return vb::Format(vb::Variant(zip), "@@@@@-@@@@");
  return std::string(zip);
}

std::string FormatPhone(std::string_view phone) {
  switch (phone.size()) {
    case 7:
      return vb::Format(vb::Variant(phone), "@@@-@@@@");
    case 10:
      return vb::Format(vb::Variant(phone), "(@@@) @@@-@@@@");
    default:
      return std::string(phone);
  }
}

std::string FormatMediumDate(std::string_view text) {
  return vb::Format(vb::Variant(text), "Medium Date");
}

bool IsNonZeroAmount(std::string_view text) {
  const std::string trimmed = vb::Trim(text);
  if (trimmed.empty()) return false;
  if (const std::optional<double> value = vb::ParseNumber(trimmed)) return *value != 0;
  return vb::Trim(vb::Format(vb::Variant(0), Settings().CurrencyFormat)) != trimmed;
}

}  // namespace vob
