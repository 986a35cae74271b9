// Numeric text read into an exact decimal form, shared by ParseNumber, Val and the conversions of text.
// Keeping the digits as written lets CCur("922337203685477.5807") be exact where a double could not be.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/vb/currency.h"

namespace vob::vb::internal {

// value = (is_negative ? -1 : 1) * digits * 10^exponent, digits read as one whole number.
struct DecimalNumber {
  static constexpr int kMaxDigits = 40;  // beyond what a double or a Currency can tell apart
  bool is_negative = false;
  int digit_count = 0;           // significant digits, without leading or trailing zeros
  char digits[kMaxDigits] = {};  // '0'..'9'
  int exponent = 0;
  bool has_dropped_nonzero = false;  // digits past kMaxDigits that were not all zero
};

enum class NumberRead { kRead, kNotNumeric, kOutOfRange };

// The whole text as ParseNumber reads it (blanks, signs, "$", ",", parentheses, "&H", "&O").
NumberRead ReadNumberText(std::string_view text, DecimalNumber& number);
// kOutOfRange when the magnitude exceeds a double's; values too small for a double read as 0.
NumberRead DecimalToDouble(const DecimalNumber& number, double& value);
// Rounded to four decimals, halves to even; kOutOfRange outside the Currency range.
NumberRead DecimalToCurrency(const DecimalNumber& number, Currency& value);

// A text in double quotes for an error's detail, cut to a readable length.
std::string QuotedForError(std::string_view text);

}  // namespace vob::vb::internal
