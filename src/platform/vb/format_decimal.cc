// Numbers as decimal digit strings: the exact form of Integer, Long and Currency, and the 15-digit form of a
// Double. Format rounds on these digits (halves away from zero), so binary fractions never decide a digit.
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/vb/conversions.h"
#include "platform/vb/format_internal.h"

namespace vob::vb {
namespace {

void TrimTrailingZeros(DecimalDigits& number) {
  while (number.count > 0 && number.digits[number.count - 1] == '0') --number.count;
  if (number.count == 0) number.point = 0;
}

DecimalDigits DecimalOfMagnitude(uint64_t magnitude, int fraction_digits, bool is_negative) {
  DecimalDigits number;
  if (magnitude == 0) return number;
  const auto [end, error] = std::to_chars(number.digits, number.digits + DecimalDigits::kCapacity, magnitude);
  (void)error;  // 20 digits always fit
  number.count = static_cast<int>(end - number.digits);
  number.point = number.count - fraction_digits;
  number.is_negative = is_negative;
  TrimTrailingZeros(number);
  return number;
}

uint64_t Magnitude(int64_t value) {
  // Unsigned negation keeps the smallest value exact.
  return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

}  // namespace

void DecimalDigits::RoundToFraction(int fraction_digits) {
  if (count == 0) return;
  const int64_t keep = static_cast<int64_t>(point) + fraction_digits;
  if (keep >= count) return;
  if (keep < 0) {  // below half of the last place
    count = 0;
    point = 0;
    return;
  }
  const bool rounds_up = digits[keep] >= '5';  // the decimal form is exact: "5" is a true half
  count = static_cast<int>(keep);
  if (rounds_up) {
    int index = count - 1;
    while (index >= 0 && digits[index] == '9') --index;
    if (index < 0) {  // 999 -> 1000
      digits[0] = '1';
      count = 1;
      ++point;
      return;
    }
    ++digits[index];
    count = index + 1;
  }
  TrimTrailingZeros(*this);
}

DecimalDigits DecimalOf(int64_t value) {
  return DecimalOfMagnitude(Magnitude(value), 0, value < 0);
}

DecimalDigits DecimalOf(Currency value) {
  return DecimalOfMagnitude(Magnitude(value.raw()), 4, value.raw() < 0);
}

DecimalDigits DecimalOf(double value, int significant) {
  DecimalDigits number;
  if (value == 0) return number;
  if (significant == 15) {
    // Most doubles in the books are whole, or whole hundredths or ten-thousandths (amounts, quantities). When
    // the value is the double nearest such a decimal of at most 15 digits, that decimal is its 15-digit form
    // (15 digits always come back from a double), so it needs no general conversion.
    constexpr std::pair<double, int> kScales[] = {{1.0, 0}, {100.0, 2}, {10000.0, 4}};
    for (const auto& [scale, fraction_digits] : kScales) {
      const double scaled = std::nearbyint(value * scale);
      if (std::fabs(scaled) < 1e15 && scaled / scale == value) {
        return DecimalOfMagnitude(static_cast<uint64_t>(std::fabs(scaled)), fraction_digits, value < 0);
      }
    }
  }
  // "d.ddddde+XX": exactly `significant` digits, correctly rounded.
  char text[40];
  const auto [end, error] = std::to_chars(text, text + sizeof text, std::fabs(value),
                                          std::chars_format::scientific, significant - 1);
  (void)error;  // at most 17 digits and a 3-digit exponent
  const char* cursor = text;
  for (; cursor < end && *cursor != 'e'; ++cursor) {
    if (*cursor != '.') number.digits[number.count++] = *cursor;
  }
  int exponent = 0;
  std::from_chars(cursor + (*(cursor + 1) == '+' ? 2 : 1), end, exponent);
  number.point = exponent + 1;
  number.is_negative = value < 0;
  TrimTrailingZeros(number);
  return number;
}

bool NumericValueOf(const Variant& value, DecimalDigits& number) {
  double real = 0;
  int significant = 15;
  switch (value.type()) {
    case VarType::kEmpty:
      number = DecimalDigits();
      return true;
    case VarType::kNull:
      return false;
    case VarType::kBoolean:
      number = DecimalOf(int64_t{value.boolean() ? -1 : 0});
      return true;
    case VarType::kInteger:
      number = DecimalOf(int64_t{value.integer()});
      return true;
    case VarType::kLong:
      number = DecimalOf(int64_t{value.long_value()});
      return true;
    case VarType::kCurrency:
      number = DecimalOf(value.currency());
      return true;
    case VarType::kSingle:
      real = value.single();
      significant = 7;
      break;
    case VarType::kDouble:
      real = value.dbl();
      break;
    case VarType::kDate:
      real = value.date_serial();
      break;
    case VarType::kString: {
      const std::optional<double> parsed = ParseNumber(value.str());
      if (!parsed) return false;
      real = *parsed;
      break;
    }
  }
  if (!std::isfinite(real)) return false;
  number = DecimalOf(real, significant);
  return true;
}

Variant NumberVariantOf(const Variant& value) {
  switch (value.type()) {
    case VarType::kEmpty:
      return Variant(int16_t{0});
    case VarType::kBoolean:
      return Variant(static_cast<int16_t>(value.boolean() ? -1 : 0));
    case VarType::kDate:
      return Variant(value.date_serial());
    case VarType::kString: {
      const std::optional<double> parsed = ParseNumber(value.str());
      return parsed ? Variant(*parsed) : value;
    }
    default:
      return value;
  }
}

}  // namespace vob::vb
