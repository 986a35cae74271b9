// Fixed-point money arithmetic with overflow checks.
#include "platform/vb/currency.h"

#include <cmath>
#include <cstdlib>

#include "platform/vb/error.h"

namespace vob::vb {
namespace {

// The largest magnitude a double can carry into the 64-bit range after scaling.
constexpr double kLimit = 9223372036854775807.0;

int64_t RoundScaled(double scaled) {
  if (!(std::fabs(scaled) < kLimit)) Raise(kOverflow);  // also catches NaN
  return static_cast<int64_t>(std::nearbyint(scaled));  // default rounding mode: halves to even
}

}  // namespace

Currency Currency::FromWhole(int64_t units) {
  int64_t raw;
  if (__builtin_mul_overflow(units, kScale, &raw)) Raise(kOverflow);
  return Currency(raw);
}

Currency Currency::FromDouble(double value) { return Currency(RoundScaled(value * kScale)); }

std::string Currency::ToString() const {
  const bool negative = raw_ < 0;
  // Work on the unsigned magnitude so that the smallest value negates safely.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(raw_) : static_cast<uint64_t>(raw_);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / kScale);
  uint64_t fraction = magnitude % kScale;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + kScale).substr(1);
    while (digits.back() == '0') digits.pop_back();
    text += '.';
    text += digits;
  }
  return text;
}

Currency Currency::operator-() const {
  if (raw_ == INT64_MIN) Raise(kOverflow);
  return Currency(-raw_);
}

Currency& Currency::operator+=(Currency other) {
  if (__builtin_add_overflow(raw_, other.raw_, &raw_)) Raise(kOverflow);
  return *this;
}

Currency& Currency::operator-=(Currency other) {
  if (__builtin_sub_overflow(raw_, other.raw_, &raw_)) Raise(kOverflow);
  return *this;
}

Currency Currency::operator*(int64_t factor) const {
  int64_t raw;
  if (__builtin_mul_overflow(raw_, factor, &raw)) Raise(kOverflow);
  return Currency(raw);
}

Currency Currency::operator*(double factor) const {
  return Currency(RoundScaled(static_cast<double>(raw_) * factor));
}

}  // namespace vob::vb
