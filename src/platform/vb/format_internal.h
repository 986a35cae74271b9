// The compiled form of a format pattern (sections of ops) and the compilers and appliers of each pattern
// kind. Only src/platform/vb/format*.cc include this; the public face is format.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vb/currency.h"
#include "platform/vb/format.h"
#include "platform/vb/variant.h"

namespace vob::vb {

// ---- Shared pattern scanning -------------------------------------------------------------------------

// Throws FormatError naming the pattern and the 1-based column of pattern[index].
[[noreturn]] void ThrowPatternError(std::string_view pattern, size_t index, std::string_view what);

// Points `literal` at the text of the quoted run ("...") or backslash escape (\x) at pattern[index];
// returns the index after it. An unterminated quote or a backslash at the end is a FormatError.
// REQUIRES: pattern[index] is '"' or '\\'.
size_t ReadQuotedOrEscaped(std::string_view pattern, size_t index, std::string_view& literal);

// Length of the AM/PM marker ("AM/PM", "A/P", "AMPM", any case) starting at pattern[index], or 0.
size_t MarkerLengthAt(std::string_view pattern, size_t index);

// ---- Decimal digits: numbers are rounded on their decimal form, never on binary doubles ------------

// value = 0.d1 d2 ... dn x 10^point; no leading zeros, no trailing zeros; zero has count 0 and point 0.
struct DecimalDigits {
  static constexpr int kCapacity = 32;  // Currency has 19 digits; one more for a carry
  char digits[kCapacity];
  int count = 0;
  int point = 0;
  bool is_negative = false;

  bool is_zero() const { return count == 0; }
  // The digit at an index counted from the first significant digit; '0' outside the stored digits.
  char DigitAt(int index) const { return index >= 0 && index < count ? digits[index] : '0'; }
  // Digits left of the decimal point (0 for values below 1).
  int IntegerDigits() const { return count == 0 || point < 0 ? 0 : point; }
  // Rounds half away from zero to `fraction_digits` places after the point.
  void RoundToFraction(int fraction_digits);
};

DecimalDigits DecimalOf(int64_t value);
DecimalDigits DecimalOf(Currency value);
// The value's decimal form with `significant` digits (15 for Double, 7 for Single); finite values only.
DecimalDigits DecimalOf(double value, int significant);

// ---- Numeric patterns -----------------------------------------------------------------------------------

enum class NumberOpKind : uint8_t {
  kLiteral,        // literal_begin/literal_length into NumberSection::literals
  kIntegerDigit,   // position: digits to its right among the integer placeholders
  kPoint,          // prints "."
  kFractionDigit,  // position: index after the point
  kExponent,       // "E+" / "E-": the letter, then the sign
  kExponentDigit,  // position: digits to its right among the exponent placeholders
  kRemoved,        // a comma that turned out to group or scale; dropped when the section is finished
};

struct NumberOp {
  NumberOpKind kind = NumberOpKind::kLiteral;
  bool is_zero = false;       // "0" rather than "#"
  bool always_signs = false;  // kExponent: "E+" rather than "E-"
  char letter = 'E';          // kExponent: the letter as written
  int position = 0;
  uint32_t literal_begin = 0, literal_length = 0;
};

struct NumberSection {
  std::vector<NumberOp> ops;
  std::string literals;
  bool is_empty = true;  // no characters at all: borrows the first section (one of literals only prints them)
  bool groups_thousands = false;
  int scale_power = 0;  // +2 for each "%", -3 for each scaling comma
  int integer_places = 0;
  int integer_zero_width = 0;  // 1 + position of the leftmost "0" integer placeholder
  int fraction_places = 0;
  int fraction_zero_width = 0;  // 1 + index of the rightmost "0" fraction placeholder
  bool has_exponent = false;
  int exponent_places = 0;
  int exponent_zero_width = 0;
  // Most patterns are literals, one run of digit placeholders with or without a point, literals ("$#,##0.00",
  // "0.0%"): ops [digits_begin, digits_end) are that run, printed without walking them. 0 and 0 otherwise.
  size_t digits_begin = 0, digits_end = 0;
};

struct NumberPlan {
  std::vector<NumberSection> sections;  // 1 to 4: positive, negative, zero, Null
};

NumberPlan CompileNumber(std::string_view pattern);
// Texts that do not read as numbers come back unchanged; Null gives "" unless there is a Null section.
std::string ApplyNumber(const NumberPlan& plan, const Variant& value);
// The value as a number for numeric patterns (Boolean True -1, Empty 0, a Date its serial).
// Returns false for a text that does not read as a number, and for Null.
bool NumericValueOf(const Variant& value, DecimalDigits& number);
// The value as a numeric Variant for the general number form; Null and unreadable text stay as they are.
Variant NumberVariantOf(const Variant& value);

// ---- Date patterns ------------------------------------------------------------------------------------

enum class DateOpKind : uint8_t {
  kLiteral,
  kGeneralDate,  // c
  kDay,
  kDay2,
  kDayAbbreviation,
  kDayName,
  kShortDate,
  kLongDate,
  kWeekday,
  kWeekOfYear,
  kMonth,
  kMonth2,
  kMonthAbbreviation,
  kMonthName,
  kQuarter,
  kDayOfYear,
  kYear2,
  kYear4,
  kHour,
  kHour2,
  kMinute,
  kMinute2,
  kSecond,
  kSecond2,
  kLongTime,  // ttttt
  kMarker,    // AM/PM, A/P: literal holds the AM text then the PM text; AMPM: the locale's
};

// Appends literal text to a program, extending its last op when that is a literal already, so that a run of
// literal characters stays one op. Op has kind (whose kLiteral is the default), literal_begin,
// literal_length.
template <typename Op>
void AppendLiteral(std::vector<Op>& ops, std::string& literals, std::string_view text) {
  if (text.empty()) return;
  if (!ops.empty() && ops.back().kind == decltype(Op::kind)::kLiteral) {
    ops.back().literal_length += static_cast<uint32_t>(text.size());
  } else {
    Op op;
    op.literal_begin = static_cast<uint32_t>(literals.size());
    op.literal_length = static_cast<uint32_t>(text.size());
    ops.push_back(op);
  }
  literals += text;
}

struct DateOp {
  DateOpKind kind = DateOpKind::kLiteral;
  uint32_t literal_begin = 0, literal_length = 0;
  uint32_t pm_length = 0;  // kMarker: the PM text follows the AM text
};

struct DatePlan {
  std::vector<DateOp> ops;
  std::string literals;
  bool has_marker = false;  // hours count 1-12
};

// True when the pattern holds a date or time token outside quotes and escapes.
bool HasDateToken(std::string_view pattern);
DatePlan CompileDate(std::string_view pattern);
// Texts that do not read as dates come back unchanged; Null gives "".
std::string ApplyDate(const DatePlan& plan, const Variant& value);

// ---- Text patterns ------------------------------------------------------------------------------------

enum class TextOpKind : uint8_t { kLiteral, kCharacterOrBlank, kCharacterOrNothing };

struct TextOp {
  TextOpKind kind = TextOpKind::kLiteral;
  uint32_t literal_begin = 0, literal_length = 0;
};

enum class TextCase : uint8_t { kAsIs, kLower, kUpper };

struct TextSection {
  std::vector<TextOp> ops;
  std::string literals;
  int placeholders = 0;
  TextCase text_case = TextCase::kAsIs;
  bool fills_from_left = false;
};

struct TextPlan {
  std::vector<TextSection> sections;  // 1 or 2: any text; Null and the empty text
};

// True when the pattern holds "@ & < > !" outside quotes and escapes.
bool HasTextPlaceholder(std::string_view pattern);
TextPlan CompileText(std::string_view pattern);
std::string ApplyText(const TextPlan& plan, const Variant& value);

// ---- The whole program ----------------------------------------------------------------------------------

enum class PlanKind : uint8_t { kGeneral, kGeneralNumber, kBooleanWords, kNumber, kDate, kText };

struct FormatPlan {
  PlanKind kind = PlanKind::kGeneral;
  std::string_view true_word, false_word;  // kBooleanWords
  NumberPlan number;
  DatePlan date;
  TextPlan text;
};

}  // namespace vob::vb
