// The classic conversion functions, the general-format text of a value and the type tests.
// Whole-number conversions round halves to even here; Format's own rounding (halves away from zero) is
// separate.
#include "platform/vb/conversions.h"

#include <fmt/format.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/vb/date.h"
#include "platform/vb/error.h"
#include "platform/vb/names.h"
#include "platform/vb/number_parse_internal.h"

namespace vob::vb {
namespace {

// "CInt(40000)", "CDbl(\"abc\")": where a conversion failed, for the error's detail.
std::string Call(std::string_view function, const Variant& value) {
  std::string detail(function);
  detail += '(';
  if (value.is_string()) {
    detail += internal::QuotedForError(value.str());
  } else if (value.is_null()) {
    detail += "Null";
  } else if (value.type() == VarType::kDate && !IsDateSerialInRange(value.date_serial())) {
    detail += fmt::format("date serial {}", value.date_serial());
  } else {
    detail += GeneralText(value);
  }
  detail += ')';
  return detail;
}

void RaiseIfNull(std::string_view function, const Variant& value) {
  if (value.is_null()) Raise(kInvalidUseOfNull, Call(function, value));
}

std::string DoubleText(double value, int significant_digits) {
  if (value == 0) return "0";  // also -0, which the classic runtime never prints with a sign
  // %G already gives the classic shape: no trailing zeros, scientific from the precision's exponent on or
  // below -4, and an exponent of at least two digits ("1E+15", "1.5E-05").
  return significant_digits == 7 ? fmt::format("{:.7G}", value) : fmt::format("{:.15G}", value);
}

// "m/d/yyyy h:nn:ss AM/PM"; the date alone at midnight, the time alone on day 0.
std::string GeneralDateText(double serial) {
  if (!IsDateSerialInRange(serial)) Raise(kOverflow, fmt::format("date serial {}", serial));
  const CivilDateTime civil = SplitSerial(serial);
  const bool is_day_zero = civil.year == 1899 && civil.month == 12 && civil.day == 30;
  const bool is_midnight = civil.hour == 0 && civil.minute == 0 && civil.second == 0;
  std::string text;
  if (!is_day_zero) text = fmt::format("{}/{}/{}", civil.month, civil.day, civil.year);
  if (is_day_zero || !is_midnight) {
    if (!text.empty()) text += ' ';
    const int hour12 = civil.hour % 12 == 0 ? 12 : civil.hour % 12;
    fmt::format_to(std::back_inserter(text), "{}:{:02}:{:02} {}", hour12, civil.minute, civil.second,
                   civil.hour < 12 ? "AM" : "PM");
  }
  return text;
}

// Text read as a number for CDbl and the whole-number conversions.
double NumberOfText(std::string_view function, const Variant& value) {
  internal::DecimalNumber number;
  internal::NumberRead read = internal::ReadNumberText(value.str(), number);
  double result = 0;
  if (read == internal::NumberRead::kRead) read = internal::DecimalToDouble(number, result);
  if (read == internal::NumberRead::kNotNumeric) Raise(kTypeMismatch, Call(function, value));
  if (read == internal::NumberRead::kOutOfRange) Raise(kOverflow, Call(function, value));
  return result;
}

// Every value as a double, as CDbl reads it; the whole-number conversions round from here.
double ToDouble(std::string_view function, const Variant& value) {
  switch (value.type()) {
    case VarType::kEmpty:
      return 0;
    case VarType::kNull:
      Raise(kInvalidUseOfNull, Call(function, value));
    case VarType::kBoolean:
      return value.boolean() ? -1 : 0;
    case VarType::kInteger:
      return value.integer();
    case VarType::kLong:
      return value.long_value();
    case VarType::kSingle:
      return value.single();
    case VarType::kDouble:
      return value.dbl();
    case VarType::kCurrency:
      return value.currency().ToDouble();
    case VarType::kDate:
      return value.date_serial();
    case VarType::kString:
      return NumberOfText(function, value);
  }
  Raise(kTypeMismatch, Call(function, value));
}

// Rounds halves to even and checks the range; Currency rounds exactly, from its ten-thousandths.
int64_t ToWhole(std::string_view function, const Variant& value, int64_t lowest, int64_t highest) {
  int64_t whole;
  if (value.type() == VarType::kCurrency) {
    const int64_t raw = value.currency().raw();
    whole = raw / Currency::kScale;
    const int64_t remainder = raw % Currency::kScale;
    const int64_t twice = 2 * (remainder < 0 ? -remainder : remainder);
    if (twice > Currency::kScale || (twice == Currency::kScale && whole % 2 != 0)) whole += raw < 0 ? -1 : 1;
  } else {
    const double number = ToDouble(function, value);
    const double rounded = std::nearbyint(number);  // the default rounding mode rounds halves to even
    if (!(rounded >= static_cast<double>(lowest) && rounded <= static_cast<double>(highest)))
      Raise(kOverflow, Call(function, value));
    whole = static_cast<int64_t>(rounded);
  }
  if (whole < lowest || whole > highest) Raise(kOverflow, Call(function, value));
  return whole;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string GeneralText(const Variant& value) {
  switch (value.type()) {
    case VarType::kEmpty:
    case VarType::kNull:
      return "";
    case VarType::kBoolean:
      return value.boolean() ? "True" : "False";
    case VarType::kInteger:
      return std::to_string(value.integer());
    case VarType::kLong:
      return std::to_string(value.long_value());
    case VarType::kSingle:
      return DoubleText(value.single(), 7);
    case VarType::kDouble:
      return DoubleText(value.dbl(), 15);
    case VarType::kCurrency:
      return value.currency().ToString();
    case VarType::kDate:
      return GeneralDateText(value.date_serial());
    case VarType::kString:
      return value.str();
  }
  return "";
}

std::string CStr(const Variant& value) {
  RaiseIfNull("CStr", value);
  return GeneralText(value);
}

double CDbl(const Variant& value) {
  return ToDouble("CDbl", value);
}

float CSng(const Variant& value) {
  const double number = ToDouble("CSng", value);
  if (std::fabs(number) > FLT_MAX) Raise(kOverflow, Call("CSng", value));
  return static_cast<float>(number);
}

Currency CCur(const Variant& value) {
  switch (value.type()) {
    case VarType::kCurrency:
      return value.currency();
    case VarType::kString: {
      // Read from the decimal digits, not through a double, so that every written amount is exact.
      internal::DecimalNumber number;
      internal::NumberRead read = internal::ReadNumberText(value.str(), number);
      Currency result;
      if (read == internal::NumberRead::kRead) read = internal::DecimalToCurrency(number, result);
      if (read == internal::NumberRead::kNotNumeric) Raise(kTypeMismatch, Call("CCur", value));
      if (read == internal::NumberRead::kOutOfRange) Raise(kOverflow, Call("CCur", value));
      return result;
    }
    default: {
      const double number = ToDouble("CCur", value);
      try {
        return Currency::FromDouble(number);
      } catch (const Error&) {
        Raise(kOverflow, Call("CCur", value));
      }
    }
  }
}

int32_t CLng(const Variant& value) {
  return static_cast<int32_t>(
      ToWhole("CLng", value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int16_t CInt(const Variant& value) {
  return static_cast<int16_t>(
      ToWhole("CInt", value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

bool CBool(const Variant& value) {
  if (value.is_string()) {
    const std::string_view text = TrimBlanks(value.str());
    if (SameName(text, "true")) return true;
    if (SameName(text, "false")) return false;
  }
  if (value.type() == VarType::kCurrency) return value.currency().raw() != 0;
  return ToDouble("CBool", value) != 0;
}

double CDate(const Variant& value) {
  if (value.is_string()) {
    if (const std::optional<double> serial = ParseDate(value.str())) return *serial;
    Raise(kTypeMismatch, Call("CDate", value));
  }
  const double serial = ToDouble("CDate", value);
  if (!IsDateSerialInRange(serial)) Raise(kOverflow, Call("CDate", value));
  return serial;
}

bool IsNull(const Variant& value) {
  return value.is_null();
}
bool IsEmpty(const Variant& value) {
  return value.is_empty();
}

// As the classic runtime: Empty counts as numeric, a Date does not.
bool IsNumeric(const Variant& value) {
  switch (value.type()) {
    case VarType::kNull:
    case VarType::kDate:
      return false;
    case VarType::kString:
      return ParseNumber(value.str()).has_value();
    default:
      return true;
  }
}

bool IsDate(const Variant& value) {
  if (value.type() == VarType::kDate) return true;
  return value.is_string() && ParseDate(value.str()).has_value();
}

double Int(double value) {
  return std::floor(value);
}
double Fix(double value) {
  return std::trunc(value);
}

int64_t RoundHalfEven(double value) {
  const double rounded = std::nearbyint(value);
  // 2^63 is exact as a double; anything at or past it (and NaN) does not fit.
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
    Raise(kOverflow, fmt::format("rounding {} to a whole number", value));
  return static_cast<int64_t>(rounded);
}

}  // namespace vob::vb
