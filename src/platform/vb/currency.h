// Money as a signed 64-bit count of ten-thousandths: exact sums, no binary fractions.
// Arithmetic that leaves the range raises Overflow (6); only conversions from double round (halves to even).
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace vob::vb {

class Currency {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Currency() = default;
  static constexpr Currency FromRaw(int64_t ten_thousandths) { return Currency(ten_thousandths); }
  static Currency FromWhole(int64_t units);  // Overflow when out of range
  static Currency FromDouble(double value);  // rounded to 4 decimals, halves to even; Overflow out of range

  constexpr int64_t raw() const { return raw_; }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }
  // The general form: exact, up to four decimals, trailing zeros dropped ("1234.5", "-0.25", "3").
  std::string ToString() const;

  Currency operator-() const;
  Currency& operator+=(Currency other);
  Currency& operator-=(Currency other);
  friend Currency operator+(Currency a, Currency b) { return a += b; }
  friend Currency operator-(Currency a, Currency b) { return a -= b; }
  Currency operator*(int64_t factor) const;
  Currency operator*(int factor) const { return *this * int64_t{factor}; }  // "amount * 2" is not ambiguous
  Currency operator*(double factor) const;  // the product rounded to 4 decimals, halves to even

  friend constexpr auto operator<=>(Currency, Currency) = default;

 private:
  constexpr explicit Currency(int64_t raw) : raw_(raw) {}
  int64_t raw_ = 0;
};

}  // namespace vob::vb
