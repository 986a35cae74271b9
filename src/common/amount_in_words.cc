// Spelling out amounts for checks.
#include "common/amount_in_words.h"

#include <cmath>
#include <cstdint>
#include <string_view>

#include "platform/vb/conversions.h"
#include "platform/vb/error.h"

namespace vob {
namespace {

constexpr std::string_view kUnits[] = {" ",   "One",   "Two",   "Three", "Four", "Five",
                                       "Six", "Seven", "Eight", "Nine",  "Ten"};
constexpr std::string_view kTeens[] = {"Ten",     "Eleven",  "Twelve",    "Thirteen", "Fourteen",
                                       "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen"};
constexpr std::string_view kTens[] = {"Twenty", "Thirty",  "Forty",  "Fifty",
                                      "Sixty",  "Seventy", "Eighty", "Ninety"};

// Converts a whole amount to a 32-bit integer as the classic CLng of a truncated value does.
int32_t WholeAs32Bit(double whole) {
  if (!(whole < 2147483648.0 && whole >= -2147483648.0)) vb::Raise(vb::kOverflow, "AmountInWords");
  return static_cast<int32_t>(whole);
}

}  // namespace

std::string HundredsToWords(int16_t n) {
  std::string words;
  const int hundreds = n / 100;
  if (hundreds > 0) {
    words = std::string(kUnits[hundreds]) + " Hundred";
    n = static_cast<int16_t>(n - 100 * hundreds);
  }
  const int tens = n / 10;
  if (tens == 1) {
    words += ' ';
    words += kTeens[n - 10];
  } else if (tens >= 2) {
    words += ' ';
    words += kTens[tens - 2];
    words += ' ';
    words += kUnits[n - 10 * tens];
  } else {
    words += ' ';
    words += kUnits[n];
  }
  return vb::Trim(words);
}

std::string AmountInWords(double amount, int16_t decimals) {
  std::string words;
  if (amount < 0) {
    words = "Negative ";
    amount = -amount;
  }

  // The whole part is taken before the cents, so that an amount past the 32-bit range fails as it should.
  double whole = std::floor(amount);
  std::string tail = " only";
  if (decimals >= 1) {
    if (decimals > 9) vb::Raise(vb::kOverflow, "AmountInWords decimals");
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    int64_t cents = vb::RoundHalfEven((amount - whole) * static_cast<double>(scale));
    if (cents > INT32_MAX) vb::Raise(vb::kOverflow, "AmountInWords");
    // A fraction that rounds up to a whole unit (5.996 to two places) is carried into the whole part, so
    // the check reads "Six and 00/100" rather than the unprintable "Five and 100/100".
    if (cents == scale) {
      cents = 0;
      whole += 1;
    }
    std::string digits = std::to_string(cents);
    digits.insert(0, static_cast<size_t>(decimals) - std::min(digits.size(), static_cast<size_t>(decimals)),
                  '0');
    tail = " and " + digits + "/" + std::to_string(scale) + " only";
  }

  int32_t rest = WholeAs32Bit(whole);
  struct Scale {
    int32_t size;
    std::string_view word;
  };
  static constexpr Scale kScales[] = {{1000000000, " Billion"}, {1000000, " Million"}, {1000, " Thousand"}};
  for (const Scale& scale : kScales) {
    const int32_t count = rest / scale.size;
    if (count > 0) {
      words += ' ';
      words += HundredsToWords(static_cast<int16_t>(count));
      words += scale.word;
      rest -= count * scale.size;
    }
  }
  words += ' ';
  words += HundredsToWords(static_cast<int16_t>(rest));
  return vb::Trim(words + tail);
}

}  // namespace vob
