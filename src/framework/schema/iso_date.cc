// ISO-8601 dates to and from the runtime's serial dates.
// Times are rounded to the second by SplitSerial, so 23:59:59.6 prints as the next day's midnight.
#include "framework/schema/iso_date.h"

#include <fmt/format.h>

#include "platform/vb/date.h"

namespace vob::schema {

std::string FormatIsoDate(double serial, char time_separator) {
  const vb::CivilDateTime civil = vb::SplitSerial(serial);
  std::string text = fmt::format("{:04}-{:02}-{:02}", civil.year, civil.month, civil.day);
  if (civil.hour != 0 || civil.minute != 0 || civil.second != 0) {
    text += fmt::format("{}{:02}:{:02}:{:02}", time_separator, civil.hour, civil.minute, civil.second);
  }
  return text;
}

std::optional<double> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  int fields[3] = {0, 0, 0};
  const size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
  for (int f = 0; f < 3; ++f) {
    for (size_t i = starts[f]; i < starts[f] + lengths[f]; ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      fields[f] = fields[f] * 10 + (text[i] - '0');
    }
  }
  const int year = fields[0], month = fields[1], day = fields[2];
  if (year < 100 || month < 1 || month > 12 || day < 1 || day > vb::DaysInMonth(year, month))
    return std::nullopt;
  return vb::DateSerial(year, month, day);
}

}  // namespace vob::schema
