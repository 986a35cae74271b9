// Text formatting the reports share: postal codes, phone numbers, medium dates, and the non-zero amount test.
// None raises an error of its own; texts that do not fit a form come back unchanged.
#pragma once

#include <string>
#include <string_view>

namespace vob {

// Nine characters after trimming: the text with a hyphen before its last four characters ("@@@@@-@@@@",
// filled from the right, so blanks around the digits stay). Anything else unchanged.
std::string FormatZip(std::string_view zip);
// By the length as passed: 7 characters "555-1234", 10 characters "(555) 123-4567", otherwise unchanged.
std::string FormatPhone(std::string_view phone);
// A text that reads as a date in the "Medium Date" form ("05-Jan-24"); any other text unchanged.
std::string FormatMediumDate(std::string_view text);
// Whether a text shows an amount other than zero: numeric text by its value; other text by whether it differs
// from zero formatted with the currency format of the settings.
bool IsNonZeroAmount(std::string_view text);

}  // namespace vob
