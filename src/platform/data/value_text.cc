// Exact readers of decimal amounts and ISO dates as the databases return them as text.
// Amounts never pass through double: a sum of cents must come back as the same cents.
#include "platform/data/value_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/vb/date.h"

namespace vob::data {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads exactly `count` digits at `position` into `value`.
bool ReadDigits(std::string_view text, size_t& position, size_t count, int& value) {
  if (position + count > text.size()) return false;
  value = 0;
  for (size_t i = 0; i < count; ++i) {
    const char c = text[position + i];
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  position += count;
  return true;
}

// Writes value as exactly `count` digits (zero-padded) at out.
char* PutDigits(char* out, int value, int count) {
  for (int i = count - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char>('0' + value % 10);
  return out + count;
}

}  // namespace

std::optional<vb::Currency> CurrencyFromReal(double value) {
  // Below 1e11 a whole number of ten-thousandths has at most 15 significant digits, and 15-digit decimals
  // survive the trip through double: if the nearest ten-thousandth converts back to this very double, the
  // 15-digit text of the double is that ten-thousandth.
  if (!(std::fabs(value) < 1e11)) return std::nullopt;
  const int64_t raw = std::llround(value * 1e4);
  if (static_cast<double>(raw) / 1e4 != value) return std::nullopt;
  return vb::Currency::FromRaw(raw);
}

std::optional<vb::Currency> ParseDecimalCurrency(std::string_view text) {
  size_t position = 0;
  bool is_negative = false;
  if (position < text.size() && (text[position] == '-' || text[position] == '+')) {
    is_negative = text[position] == '-';
    ++position;
  }
  // Collect the significant digits and where the decimal point sits among them.
  std::string digits;
  int point_at = 0;  // digits before the decimal point; negative for zeros right after it
  bool saw_point = false, saw_digit = false;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    if (IsDigit(c)) {
      saw_digit = true;
      if (!digits.empty() || c != '0') {
        digits += c;
        if (!saw_point) ++point_at;
      } else if (saw_point) {
        --point_at;  // a leading zero after the point shifts the digits right
      }
    } else if (c == '.' && !saw_point) {
      saw_point = true;
    } else {
      break;
    }
  }
  if (!saw_digit) return std::nullopt;
  int exponent = 0;
  if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
    ++position;
    bool exponent_negative = false;
    if (position < text.size() && (text[position] == '-' || text[position] == '+')) {
      exponent_negative = text[position] == '-';
      ++position;
    }
    if (position == text.size()) return std::nullopt;
    for (; position < text.size() && IsDigit(text[position]); ++position) {
      exponent = exponent * 10 + (text[position] - '0');
      if (exponent > 400) return std::nullopt;
    }
    if (exponent_negative) exponent = -exponent;
  }
  if (position != text.size()) return std::nullopt;

  // The value is 0.digits * 10^(point_at + exponent); scale to ten-thousandths.
  const int whole_digits = point_at + exponent + 4;
  uint64_t raw = 0;
  for (int i = 0; i < whole_digits; ++i) {
    const int digit = i < static_cast<int>(digits.size()) ? digits[i] - '0' : 0;
    if (raw > (UINT64_MAX - 9) / 10) return std::nullopt;
    raw = raw * 10 + static_cast<uint64_t>(digit);
  }
  // Round half to even on the remaining digits.
  const size_t rest_at = whole_digits < 0 ? 0 : static_cast<size_t>(whole_digits);
  if (rest_at < digits.size()) {
    const char first = whole_digits < 0 ? '0' : digits[rest_at];
    bool beyond_half = false;
    for (size_t i = rest_at + 1; i < digits.size(); ++i) beyond_half |= digits[i] != '0';
    if (whole_digits < 0) beyond_half = !digits.empty();
    if (first > '5' || (first == '5' && (beyond_half || raw % 2 == 1))) ++raw;
  }
  if (raw > static_cast<uint64_t>(INT64_MAX) + (is_negative ? 1 : 0)) return std::nullopt;
  const int64_t value = is_negative ? static_cast<int64_t>(0 - raw) : static_cast<int64_t>(raw);
  return vb::Currency::FromRaw(value);
}

std::optional<double> SerialFromCivil(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
  if (day > vb::DaysInMonth(year, month)) return std::nullopt;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return std::nullopt;
  const double date = vb::DateSerial(year, month, day);
  const double time = vb::TimeSerial(hour, minute, second);
  return date < 0 ? date - time : date + time;
}

std::optional<double> ParseIsoDateTime(std::string_view text) {
  size_t position = 0;
  int year, month, day, hour = 0, minute = 0, second = 0;
  if (!ReadDigits(text, position, 4, year) || position >= text.size() || text[position++] != '-' ||
      !ReadDigits(text, position, 2, month) || position >= text.size() || text[position++] != '-' ||
      !ReadDigits(text, position, 2, day)) {
    return std::nullopt;
  }
  if (position < text.size() && (text[position] == ' ' || text[position] == 'T')) {
    ++position;
    if (!ReadDigits(text, position, 2, hour) || position >= text.size() || text[position++] != ':' ||
        !ReadDigits(text, position, 2, minute)) {
      return std::nullopt;
    }
    if (position < text.size() && text[position] == ':') {
      ++position;
      if (!ReadDigits(text, position, 2, second)) return std::nullopt;
      if (position < text.size() && text[position] == '.') {
        // Fractions of a second round to the nearest second, as the serial keeps whole seconds.
        ++position;
        const bool rounds_up = position < text.size() && text[position] >= '5' && text[position] <= '9';
        while (position < text.size() && IsDigit(text[position])) ++position;
        if (rounds_up) ++second;
      }
    }
  }
  if (position < text.size()) {
    const char zone = text[position];
    if (zone != 'Z' && zone != '+' && zone != '-') return std::nullopt;
    ++position;
    while (position < text.size() && (IsDigit(text[position]) || text[position] == ':')) ++position;
    if (position != text.size()) return std::nullopt;
  }
  if (second == 60) {
    std::optional<double> serial = SerialFromCivil(year, month, day, hour, minute, 59);
    if (!serial) return std::nullopt;
    return *serial + (*serial < 0 ? -1.0 : 1.0) / 86400.0;
  }
  return SerialFromCivil(year, month, day, hour, minute, second);
}

std::string FormatIsoDateTime(double serial) {
  std::string text;
  AppendIsoDateTime(serial, ' ', text);
  return text;
}

void AppendIsoDateTime(double serial, char time_separator, std::string& out) {
  const vb::CivilDateTime civil = vb::SplitSerial(serial);
  char buffer[40];
  char* end = buffer;
  if (civil.year >= 0 && civil.year <= 9999) {
    end = PutDigits(end, civil.year, 4);
  } else {
    end += std::snprintf(buffer, 16, "%04d", civil.year);  // beyond the runtime's dates; printed all the same
  }
  *end++ = '-';
  end = PutDigits(end, civil.month, 2);
  *end++ = '-';
  end = PutDigits(end, civil.day, 2);
  if (civil.hour != 0 || civil.minute != 0 || civil.second != 0) {
    *end++ = time_separator;
    end = PutDigits(end, civil.hour, 2);
    *end++ = ':';
    end = PutDigits(end, civil.minute, 2);
    *end++ = ':';
    end = PutDigits(end, civil.second, 2);
  }
  out.append(buffer, end);
}

}  // namespace vob::data
