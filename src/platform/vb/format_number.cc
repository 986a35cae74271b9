// Numeric patterns: "#,##0.00;(#,##0.00)", "0%", "0.00E+00" and their sections, compiled and applied.
// Digits are worked on the value's decimal form (DecimalDigits), so rounding never sees binary fractions.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

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

// Compiles one section; sections are separated by the caller.
class SectionCompiler {
 public:
  explicit SectionCompiler(std::string_view pattern) : pattern_(pattern) {}

  void AddLiteral(std::string_view text) {
    section_.is_empty = false;
    if (text.empty()) return;
    if (can_extend_literal_) {
      section_.ops.back().literal_length += static_cast<uint32_t>(text.size());
    } else {
      NumberOp op;
      op.literal_begin = static_cast<uint32_t>(section_.literals.size());
      op.literal_length = static_cast<uint32_t>(text.size());
      section_.ops.push_back(op);
      can_extend_literal_ = true;
    }
    section_.literals += text;
  }

  void AddPlaceholder(bool is_zero) {
    NumberOp op;
    op.is_zero = is_zero;
    switch (region_) {
      case Region::kInteger:
        op.kind = NumberOpKind::kIntegerDigit;  // positions are known when the integer part ends
        ++section_.integer_places;
        break;
      case Region::kFraction:
        op.kind = NumberOpKind::kFractionDigit;
        op.position = section_.fraction_places++;
        if (is_zero) section_.fraction_zero_width = section_.fraction_places;
        break;
      case Region::kExponent:
        op.kind = NumberOpKind::kExponentDigit;
        ++section_.exponent_places;
        break;
    }
    AddOp(op);
    section_.shows_value = true;
  }

  void AddPoint(size_t index) {
    if (region_ == Region::kExponent) ThrowPatternError(pattern_, index, "decimal point after the exponent");
    if (region_ == Region::kFraction) ThrowPatternError(pattern_, index, "second decimal point");
    EndIntegerPart(/*needs_placeholder=*/true);
    NumberOp op;
    op.kind = NumberOpKind::kPoint;
    AddOp(op);
    region_ = Region::kFraction;
    section_.shows_value = true;
  }

  void AddComma() {
    if (region_ != Region::kInteger) return AddLiteral(",");
    // Whether it groups, scales or prints is known only when the integer part ends.
    can_extend_literal_ = false;
    AddLiteral(",");
    commas_.push_back(section_.ops.size() - 1);
    can_extend_literal_ = false;
  }

  void AddPercent() {
    AddLiteral("%");
    section_.scale_power += 2;
  }

  void AddExponent(size_t index, char letter, bool always_signs) {
    if (region_ == Region::kExponent) ThrowPatternError(pattern_, index, "second exponent");
    if (region_ == Region::kInteger) EndIntegerPart(/*needs_placeholder=*/true);
    NumberOp op;
    op.kind = NumberOpKind::kExponent;
    op.letter = letter;
    op.always_signs = always_signs;
    AddOp(op);
    region_ = Region::kExponent;
    exponent_index_ = index;
    section_.has_exponent = true;
    section_.shows_value = true;
  }

  NumberSection Finish() {
    if (region_ == Region::kInteger) EndIntegerPart(/*needs_placeholder=*/false);
    if (region_ == Region::kExponent) {
      if (section_.exponent_places == 0) {
        ThrowPatternError(pattern_, exponent_index_, "exponent without digit placeholders");
      }
      int index = 0;
      for (NumberOp& op : section_.ops) {
        if (op.kind != NumberOpKind::kExponentDigit) continue;
        op.position = section_.exponent_places - 1 - index++;
        if (op.is_zero)
          section_.exponent_zero_width = std::max(section_.exponent_zero_width, op.position + 1);
      }
    }
    std::erase_if(section_.ops, [](const NumberOp& op) { return op.kind == NumberOpKind::kRemoved; });
    return std::move(section_);
  }

 private:
  enum class Region { kInteger, kFraction, kExponent };

  void AddOp(const NumberOp& op) {
    section_.is_empty = false;
    section_.ops.push_back(op);
    can_extend_literal_ = false;
  }

  // Numbers the integer placeholders from the right and settles each comma: between placeholders it groups,
  // after the last one it divides by 1000, before the first it prints.
  void EndIntegerPart(bool needs_placeholder) {
    if (needs_placeholder && section_.integer_places == 0) {
      // ".00" and "E+00" still need somewhere to put the integer digits.
      NumberOp op;
      op.kind = NumberOpKind::kIntegerDigit;
      section_.integer_places = 1;
      AddOp(op);
    }
    size_t first_digit = section_.ops.size(), last_digit = 0;
    int index = 0;
    for (size_t i = 0; i < section_.ops.size(); ++i) {
      NumberOp& op = section_.ops[i];
      if (op.kind != NumberOpKind::kIntegerDigit) continue;
      first_digit = std::min(first_digit, i);
      last_digit = i;
      op.position = section_.integer_places - 1 - index++;
      if (op.is_zero) section_.integer_zero_width = std::max(section_.integer_zero_width, op.position + 1);
    }
    for (size_t comma : commas_) {
      if (first_digit > comma) continue;  // before any placeholder: a literal
      if (last_digit > comma) {
        section_.groups_thousands = true;
      } else {
        section_.scale_power -= 3;
      }
      section_.ops[comma].kind = NumberOpKind::kRemoved;
    }
    commas_.clear();
  }

  std::string_view pattern_;
  NumberSection section_;
  Region region_ = Region::kInteger;
  std::vector<size_t> commas_;  // op indexes of the integer part's commas
  size_t exponent_index_ = 0;
  bool can_extend_literal_ = false;
};

void AppendIntegerDigit(const DecimalDigits& number, int position, bool groups_thousands, std::string& out) {
  out += number.DigitAt(number.point - 1 - position);
  if (groups_thousands && position > 0 && position % 3 == 0) out += ',';
}

// Appends the section's text for a magnitude; `minus` puts a "-" before everything.
void AppendSection(const NumberSection& section, DecimalDigits number, bool minus, std::string& out) {
  number.is_negative = false;
  if (!number.is_zero()) number.point += section.scale_power;
  int exponent = 0;
  if (section.has_exponent && !number.is_zero()) {
    // As many integer digits as there are integer placeholders; a carry from rounding moves the exponent.
    const int integer_digits = section.integer_places;
    exponent = number.point - integer_digits;
    number.point = integer_digits;
    number.RoundToFraction(section.fraction_places);
    if (number.point > integer_digits) {
      ++exponent;
      number.point = integer_digits;
    }
  } else {
    number.RoundToFraction(section.fraction_places);
  }

  if (minus) out += '-';
  const int integer_width = std::max(number.IntegerDigits(), section.integer_zero_width);
  const int fraction_width = std::max(section.fraction_zero_width, std::max(0, number.count - number.point));
  char exponent_digits[12];
  const auto [exponent_end, error] = std::to_chars(exponent_digits, exponent_digits + sizeof exponent_digits,
                                                   exponent < 0 ? -exponent : exponent);
  (void)error;  // an int always fits
  const int exponent_length = static_cast<int>(exponent_end - exponent_digits);
  const int exponent_width = std::max({exponent_length, section.exponent_zero_width, 1});

  for (const NumberOp& op : section.ops) {
    switch (op.kind) {
      case NumberOpKind::kLiteral:
        out.append(section.literals, op.literal_begin, op.literal_length);
        break;
      case NumberOpKind::kIntegerDigit:
        if (op.position == section.integer_places - 1) {
          // The leftmost placeholder also takes every digit beyond the placeholders.
          for (int position = integer_width - 1; position >= op.position; --position) {
            AppendIntegerDigit(number, position, section.groups_thousands, out);
          }
        } else if (op.position < integer_width) {
          AppendIntegerDigit(number, op.position, section.groups_thousands, out);
        }
        break;
      case NumberOpKind::kPoint:
        out += '.';
        break;
      case NumberOpKind::kFractionDigit:
        if (op.position < fraction_width) out += number.DigitAt(number.point + op.position);
        break;
      case NumberOpKind::kExponent:
        out += op.letter;
        if (exponent < 0) {
          out += '-';
        } else if (op.always_signs) {
          out += '+';
        }
        break;
      case NumberOpKind::kExponentDigit:
        if (op.position == section.exponent_places - 1) {
          for (int position = exponent_width - 1; position >= op.position; --position) {
            out += position < exponent_length ? exponent_digits[exponent_length - 1 - position] : '0';
          }
        } else if (op.position < exponent_width) {
          out += op.position < exponent_length ? exponent_digits[exponent_length - 1 - op.position] : '0';
        }
        break;
      case NumberOpKind::kRemoved:
        break;
    }
  }
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

NumberPlan CompileNumber(std::string_view pattern) {
  NumberPlan plan;
  SectionCompiler section(pattern);
  size_t index = 0;
  while (index < pattern.size()) {
    const char c = pattern[index];
    switch (c) {
      case ';':
        if (plan.sections.size() == 3) ThrowPatternError(pattern, index, "more than four sections");
        plan.sections.push_back(section.Finish());
        section = SectionCompiler(pattern);
        ++index;
        break;
      case '"':
      case '\\': {
        std::string_view literal;
        index = ReadQuotedOrEscaped(pattern, index, literal);
        section.AddLiteral(literal);
        break;
      }
      case '0':
      case '#':
        section.AddPlaceholder(c == '0');
        ++index;
        break;
      case '.':
        section.AddPoint(index++);
        break;
      case ',':
        section.AddComma();
        ++index;
        break;
      case '%':
        section.AddPercent();
        ++index;
        break;
      case 'E':
      case 'e':
        if (index + 1 < pattern.size() && (pattern[index + 1] == '+' || pattern[index + 1] == '-')) {
          section.AddExponent(index, c, pattern[index + 1] == '+');
          index += 2;
          break;
        }
        [[fallthrough]];
      default:  // "$ - + ( ) :", blanks and any other character print as they stand
        section.AddLiteral(pattern.substr(index, 1));
        ++index;
        break;
    }
  }
  plan.sections.push_back(section.Finish());
  return plan;
}

std::string ApplyNumber(const NumberPlan& plan, const Variant& value) {
  const std::vector<NumberSection>& sections = plan.sections;
  std::string out;
  if (value.is_null()) {
    // An empty Null section counts as none: Null stays an empty text.
    if (sections.size() == 4 && !sections[3].is_empty)
      AppendSection(sections[3], DecimalDigits(), false, out);
    return out;
  }
  DecimalDigits number;
  if (!NumericValueOf(value, number)) return GeneralText(value);
  // The section is chosen by the value before rounding; empty sections borrow the first.
  const NumberSection* section = &sections[0];
  bool minus = false;
  if (number.is_zero()) {
    if (sections.size() >= 3 && !sections[2].is_empty) section = &sections[2];
  } else if (number.is_negative) {
    if (sections.size() >= 2 && !sections[1].is_empty) {
      section = &sections[1];
    } else {
      minus = true;
    }
  }
  // An empty first section (";(0.00)") prints the general number form.
  if (section->is_empty) return GeneralText(NumberVariantOf(value));
  AppendSection(*section, number, minus, out);
  return out;
}

}  // namespace vob::vb
