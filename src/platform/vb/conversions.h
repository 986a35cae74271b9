// The classic conversion functions (CStr, CDbl, CCur, CLng, CInt, CBool, CDate, ...) and the type tests.
// Fraction-to-whole conversions round halves to even; out-of-range values raise Overflow (6), unreadable text
// Type mismatch (13), and Null where a value is needed Invalid use of Null (94).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/vb/currency.h"
#include "platform/vb/variant.h"

namespace vob::vb {

// Reads a text as a number the en-US way: blanks around it, a leading or trailing sign, "$", "," separators
// in the integer part, one ".", an exponent, enclosing parentheses for a negative value, "&H1F" and "&O17".
// Returns nothing for text that is not numeric ("" and "abc").
std::optional<double> ParseNumber(std::string_view text);
// Reads a date text in en-US order ("1/5/2024", "1/5/24", "2024-01-05", "January 5, 2024", "5 Jan 2024",
// "05-Jan-24", each with an optional time "14:03", "2:03 PM", "2:03:09 pm"; or a time alone). A date without
// a year takes the year of the run's clock. Returns the serial, or nothing.
std::optional<double> ParseDate(std::string_view text);

// The general-format text of a value (what CStr gives); Empty and Null give "".
std::string GeneralText(const Variant& value);

std::string CStr(const Variant& value);  // Null raises 94
double CDbl(const Variant& value);
float CSng(const Variant& value);
Currency CCur(const Variant& value);
int32_t CLng(const Variant& value);
int16_t CInt(const Variant& value);
bool CBool(const Variant& value);
double CDate(const Variant& value);  // the serial; text is read with ParseDate

bool IsNull(const Variant& value);
bool IsEmpty(const Variant& value);
bool IsNumeric(const Variant& value);
bool IsDate(const Variant& value);

// Val reads the leading number of a text and stops at the first character that does not fit (blanks are
// skipped anywhere); "12abc" is 12, "abc" is 0. No "$" or "," in Val, unlike ParseNumber.
double Val(std::string_view text);

// Int rounds down, Fix truncates towards zero.
double Int(double value);
double Fix(double value);
// Rounds a fraction to a whole number, halves to the even neighbour (twips, days, cents).
int64_t RoundHalfEven(double value);

std::string Trim(std::string_view text);           // blanks only, as the classic Trim
std::string_view TrimView(std::string_view text);  // the same, within text
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
std::string LCase(std::string_view text);
std::string UCase(std::string_view text);
std::string Left(std::string_view text, int64_t length);  // negative length raises 5
std::string Right(std::string_view text, int64_t length);
std::string Mid(std::string_view text, int64_t start);  // start is 1-based; start < 1 raises 5
std::string Mid(std::string_view text, int64_t start, int64_t length);
int64_t Len(std::string_view text);

}  // namespace vob::vb
