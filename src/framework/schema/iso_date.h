// ISO-8601 text for serial dates, the form the demo databases store dates in ("2024-01-31 14:05:00").
// Strict parsing for the command line: exactly YYYY-MM-DD, a real calendar day.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vob::schema {

// "2024-01-31" when the time is midnight, else "2024-01-31" + separator + "14:05:00".
std::string FormatIsoDate(double serial, char time_separator = ' ');
// The serial of a "YYYY-MM-DD" text, or nothing for any other text or an impossible day.
std::optional<double> ParseIsoDate(std::string_view text);

}  // namespace vob::schema
