// Reads the text between the "#" signs of a Jet date literal (#1/31/2024#, #2024-01-31 14:05#).
// Dates are month first, as the dialect has always read them, whatever the machine's locale.
#pragma once

#include <optional>
#include <string_view>

namespace vob::data {

// Accepted: "m/d/yyyy", "m/d/yy", "m-d-yyyy", "yyyy-mm-dd", "yyyy/mm/dd", "d-mmm-yyyy", "mmm d, yyyy" (month
// names full or three letters), each optionally followed by a time "h:nn", "h:nn:ss", either with "AM"/"PM";
// or a time alone. Two-digit years 00-29 are 2000-2029 and 30-99 are 1930-1999.
// Returns the serial date, or nothing when the text is not a valid date.
std::optional<double> ParseJetDateLiteral(std::string_view text);

}  // namespace vob::data
