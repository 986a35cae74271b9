// Reading numbers from text: ParseNumber (what IsNumeric and CDbl accept) and Val (the leading number).
// Both run per row in reports, so they read into a fixed-size decimal and never allocate.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>

#include "platform/vb/conversions.h"
#include "platform/vb/error.h"
#include "platform/vb/number_parse_internal.h"

namespace vob::vb {
namespace internal {
namespace {

constexpr int kMaxExponentDigitsValue = 100000;  // far past any double; stops the exponent from overflowing

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A position in the text. In Val's mode blanks are invisible: they are skipped wherever they stand.
class Cursor {
 public:
  Cursor(std::string_view text, bool skips_blanks) : text_(text), skips_blanks_(skips_blanks) {
    SkipHidden();
  }

  bool AtEnd() const { return position_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[position_]; }
  void Advance() {
    ++position_;
    SkipHidden();
  }
  bool Take(char c) {
    if (AtEnd() || text_[position_] != c) return false;
    Advance();
    return true;
  }
  void SkipBlanks() {
    while (Peek() == ' ' || Peek() == '\t') ++position_;
  }
  size_t position() const { return position_; }
  void Rewind(size_t position) { position_ = position; }

 private:
  void SkipHidden() {
    if (!skips_blanks_) return;
    while (Peek() == ' ' || Peek() == '\t' || Peek() == '\n') ++position_;
  }

  std::string_view text_;
  bool skips_blanks_;
  size_t position_ = 0;
};

void AddDigit(DecimalNumber& number, char digit, bool is_fraction) {
  if (number.digit_count == 0 && digit == '0') {  // a leading zero only moves the point
    if (is_fraction) --number.exponent;
    return;
  }
  if (number.digit_count < DecimalNumber::kMaxDigits) {
    number.digits[number.digit_count++] = digit;
    if (is_fraction) --number.exponent;
    return;
  }
  if (digit != '0') number.has_dropped_nonzero = true;
  if (!is_fraction) ++number.exponent;
}

// digits [.digits] [(e|E|d|D) [sign] digits]. Returns false when no mantissa digit was read. An exponent
// marker without digits is left unread for the caller to judge ("1e" is not numeric, Val("1e") is 1).
bool ReadDecimal(Cursor& cursor, bool allows_grouping, DecimalNumber& number) {
  bool has_digit = false;
  for (;;) {
    const char c = cursor.Peek();
    if (IsDigit(c)) {
      AddDigit(number, c, false);
      has_digit = true;
    } else if (!(c == ',' && allows_grouping && has_digit)) {
      break;
    }
    cursor.Advance();
  }
  if (cursor.Take('.')) {
    for (; IsDigit(cursor.Peek()); cursor.Advance()) {
      AddDigit(number, cursor.Peek(), true);
      has_digit = true;
    }
  }
  if (!has_digit) return false;

  const char marker = cursor.Peek();
  if (marker == 'e' || marker == 'E' || marker == 'd' || marker == 'D') {
    const size_t before_marker = cursor.position();
    cursor.Advance();
    const bool is_negative_exponent = cursor.Take('-');
    if (!is_negative_exponent) cursor.Take('+');
    if (IsDigit(cursor.Peek())) {
      int exponent = 0;
      for (; IsDigit(cursor.Peek()); cursor.Advance())
        exponent = std::min(exponent * 10 + (cursor.Peek() - '0'), kMaxExponentDigitsValue);
      number.exponent += is_negative_exponent ? -exponent : exponent;
    } else {
      cursor.Rewind(before_marker);
    }
  }
  while (number.digit_count > 0 && number.digits[number.digit_count - 1] == '0') {
    --number.digit_count;
    ++number.exponent;
  }
  return true;
}

void SetWhole(DecimalNumber& number, int64_t value) {
  number = DecimalNumber{};
  number.is_negative = value < 0;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char reversed[20];
  int count = 0;
  for (; magnitude != 0; magnitude /= 10) reversed[count++] = static_cast<char>('0' + magnitude % 10);
  int trailing_zeros = 0;
  while (trailing_zeros < count && reversed[trailing_zeros] == '0') ++trailing_zeros;
  number.exponent = trailing_zeros;
  for (int i = count - 1; i >= trailing_zeros; --i) number.digits[number.digit_count++] = reversed[i];
}

// After "&": "H1F", "O17" or "17" (octal). Up to 16 bits the value is an Integer, so "&HFFFF" is -1 as the
// classic literal is; a trailing "&" or more bits make it a 32-bit Long.
NumberRead ReadRadixLiteral(Cursor& cursor, DecimalNumber& number) {
  int radix = 8;
  if (cursor.Peek() == 'h' || cursor.Peek() == 'H') {
    radix = 16;
    cursor.Advance();
  } else if (cursor.Peek() == 'o' || cursor.Peek() == 'O') {
    cursor.Advance();
  }
  uint64_t value = 0;
  int digit_count = 0;
  bool is_too_long = false;
  for (;; cursor.Advance()) {
    const char c = cursor.Peek();
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (radix == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (radix == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || digit >= radix) break;
    value = value * radix + digit;
    if (value > 0xFFFFFFFFu) {
      is_too_long = true;
      value = 0;
    }
    ++digit_count;
  }
  if (digit_count == 0) return NumberRead::kNotNumeric;
  const bool is_long = cursor.Take('&');
  if (is_too_long) return NumberRead::kOutOfRange;
  const int64_t whole = !is_long && value <= 0xFFFF ? static_cast<int64_t>(static_cast<int16_t>(value))
                                                    : static_cast<int64_t>(static_cast<int32_t>(value));
  SetWhole(number, whole);
  return NumberRead::kRead;
}

}  // namespace

NumberRead ReadNumberText(std::string_view text, DecimalNumber& number) {
  number = DecimalNumber{};
  Cursor cursor(text, false);
  cursor.SkipBlanks();
  const bool has_parentheses = cursor.Take('(');
  cursor.SkipBlanks();
  // A sign and a "$" may both lead, in either order: "-$5" and "$-5".
  char sign = '\0';
  bool has_dollar = false;
  for (;;) {
    const char c = cursor.Peek();
    if ((c == '-' || c == '+') && sign == '\0') {
      sign = c;
    } else if (c == '$' && !has_dollar) {
      has_dollar = true;
    } else {
      break;
    }
    cursor.Advance();
    cursor.SkipBlanks();
  }
  if (cursor.Take('&')) {
    const NumberRead read = ReadRadixLiteral(cursor, number);
    if (read != NumberRead::kRead) return read;
  } else if (!ReadDecimal(cursor, true, number)) {
    return NumberRead::kNotNumeric;
  }
  cursor.SkipBlanks();
  if (sign == '\0' && (cursor.Peek() == '-' || cursor.Peek() == '+')) {
    sign = cursor.Peek();
    cursor.Advance();
    cursor.SkipBlanks();
  }
  if (has_parentheses) {
    if (sign != '\0' || !cursor.Take(')')) return NumberRead::kNotNumeric;
    cursor.SkipBlanks();
  }
  if (!cursor.AtEnd()) return NumberRead::kNotNumeric;
  if (sign == '-' || has_parentheses) number.is_negative = !number.is_negative;
  return NumberRead::kRead;
}

NumberRead DecimalToDouble(const DecimalNumber& number, double& value) {
  value = 0;
  if (number.digit_count == 0) return NumberRead::kRead;
  const int magnitude = number.digit_count + number.exponent;  // decimal places left of the point
  if (magnitude > 310) return NumberRead::kOutOfRange;
  if (magnitude < -330) return NumberRead::kRead;

  char buffer[DecimalNumber::kMaxDigits + 16];
  char* end = std::copy_n(number.digits, number.digit_count, buffer);
  int exponent = number.exponent;
  if (number.has_dropped_nonzero) {
    // A sticky digit past every kept place (the kept digits lost their trailing zeros) keeps the dropped
    // tail from reading as an exact half.
    const int padding = DecimalNumber::kMaxDigits - number.digit_count;
    end = std::fill_n(end, padding, '0');
    *end++ = '1';
    exponent -= padding + 1;
  }
  *end++ = 'e';
  end = std::to_chars(end, buffer + sizeof buffer, exponent).ptr;
  double parsed = 0;
  const std::from_chars_result result = std::from_chars(buffer, end, parsed);
  if (result.ec == std::errc::result_out_of_range) {
    if (magnitude > 0) return NumberRead::kOutOfRange;
    parsed = 0;
  }
  value = number.is_negative ? -parsed : parsed;
  return NumberRead::kRead;
}

NumberRead DecimalToCurrency(const DecimalNumber& number, Currency& value) {
  value = Currency();
  if (number.digit_count == 0) return NumberRead::kRead;
  const int scaled_exponent = number.exponent + 4;  // digits * 10^scaled_exponent ten-thousandths
  if (number.digit_count + scaled_exponent > 19) return NumberRead::kOutOfRange;

  const int whole_digits = std::min(number.digit_count, number.digit_count + scaled_exponent);
  uint64_t raw = 0;
  for (int i = 0; i < whole_digits; ++i) raw = raw * 10 + static_cast<uint64_t>(number.digits[i] - '0');
  for (int i = 0; i < scaled_exponent; ++i) raw *= 10;  // at most 19 digits: no wrap-around
  if (whole_digits >= 0 && whole_digits < number.digit_count) {
    const char first_dropped = number.digits[whole_digits];
    const bool has_more = whole_digits + 1 < number.digit_count || number.has_dropped_nonzero;
    if (first_dropped > '5' || (first_dropped == '5' && (has_more || raw % 2 == 1))) ++raw;
  }
  const uint64_t limit = number.is_negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (raw > limit) return NumberRead::kOutOfRange;
  value = Currency::FromRaw(number.is_negative ? static_cast<int64_t>(0 - raw) : static_cast<int64_t>(raw));
  return NumberRead::kRead;
}

std::string QuotedForError(std::string_view text) {
  constexpr size_t kShown = 60;
  std::string quoted = "\"";
  quoted.append(text.substr(0, kShown));
  if (text.size() > kShown) quoted += "...";
  quoted += '"';
  return quoted;
}

}  // namespace internal

std::optional<double> ParseNumber(std::string_view text) {
  internal::DecimalNumber number;
  double value = 0;
  if (internal::ReadNumberText(text, number) != internal::NumberRead::kRead ||
      internal::DecimalToDouble(number, value) != internal::NumberRead::kRead)
    return std::nullopt;
  return value;
}

double Val(std::string_view text) {
  internal::Cursor cursor(text, true);
  internal::DecimalNumber number;
  internal::NumberRead read = internal::NumberRead::kRead;
  if (cursor.Take('&')) {
    read = internal::ReadRadixLiteral(cursor, number);
    if (read == internal::NumberRead::kNotNumeric) return 0;
  } else {
    const bool is_negative = cursor.Take('-');
    if (!is_negative) cursor.Take('+');
    if (!internal::ReadDecimal(cursor, false, number)) return 0;
    number.is_negative = is_negative;
  }
  double value = 0;
  if (read == internal::NumberRead::kRead) read = internal::DecimalToDouble(number, value);
  if (read == internal::NumberRead::kOutOfRange)
    Raise(kOverflow, "Val(" + internal::QuotedForError(text) + ")");
  return value;
}

}  // namespace vob::vb
