// Amounts of money in English words, as checks print them: "One Thousand Two Hundred Thirty Four and
// 56/100 only". The spacing, doubled blanks included, is part of the printed form and must not be tidied.
#pragma once

#include <cstdint>
#include <string>

namespace vob {

// One group of three digits: 0 gives "", 120 gives "One Hundred Twenty". REQUIRES: 0 <= n <= 999.
std::string HundredsToWords(int16_t n);

// The whole part in words and the fraction as "and NN/100 only" (decimals places; 0 decimals: "only").
// Raises Overflow (6) when the whole part does not fit a signed 32-bit integer.
std::string AmountInWords(double amount, int16_t decimals);

}  // namespace vob
