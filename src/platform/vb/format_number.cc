// Numeric patterns: "#,##0.00;(#,##0.00)", "0%", "0.00E+00" and their sections, compiled and applied.
// Digits are worked on the value's decimal form (DecimalDigits), so rounding never sees binary fractions.
#include <algorithm>
#include <charconv>

#include "platform/vb/conversions.h"
#include "platform/vb/format_internal.h"

namespace vob::vb {
namespace {

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
  }

  void AddPoint(size_t index) {
    if (region_ == Region::kExponent) ThrowPatternError(pattern_, index, "decimal point after the exponent");
    if (region_ == Region::kFraction) ThrowPatternError(pattern_, index, "second decimal point");
    EndIntegerPart(/*needs_placeholder=*/true);
    NumberOp op;
    op.kind = NumberOpKind::kPoint;
    AddOp(op);
    region_ = Region::kFraction;
  }

  void AddComma() {
    if (region_ != Region::kInteger) return AddLiteral(",");  // after the point a comma only prints
    // Whether it groups, scales or prints is known only when the integer part ends.
    can_extend_literal_ = false;
    AddLiteral(",");
    commas_.push_back(section_.ops.size() - 1);
    can_extend_literal_ = false;
  }

  // Each "%" multiplies by 100 again ("0%%" shows 0.5 as 5000%%).
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
    FindDigitRun();
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

  // Sets digits_begin and digits_end when the section is literals around one run of integer placeholders and
  // then, maybe, the point and fraction placeholders.
  void FindDigitRun() {
    const std::vector<NumberOp>& ops = section_.ops;
    auto kind_at = [&](size_t index) {
      return index < ops.size() ? ops[index].kind : NumberOpKind::kRemoved;
    };
    size_t index = 0;
    while (kind_at(index) == NumberOpKind::kLiteral) ++index;
    const size_t begin = index;
    while (kind_at(index) == NumberOpKind::kIntegerDigit) ++index;
    if (index == begin) return;
    if (kind_at(index) == NumberOpKind::kPoint) {
      ++index;
      while (kind_at(index) == NumberOpKind::kFractionDigit) ++index;
    }
    const size_t end = index;
    while (kind_at(index) == NumberOpKind::kLiteral) ++index;
    if (index != ops.size()) return;
    section_.digits_begin = begin;
    section_.digits_end = end;
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

// A section of literals around one run of placeholders (NumberSection::digits_begin): what the ops would
// print, written at once. The integer placeholders print every integer digit between them, the fraction
// placeholders the digits up to fraction_width.
void AppendDigitRun(const NumberSection& section, const DecimalDigits& number, int integer_width,
                    int fraction_width, std::string& out) {
  auto append_literals = [&](size_t begin, size_t end) {
    for (size_t op = begin; op < end; ++op) {
      out.append(section.literals, section.ops[op].literal_begin, section.ops[op].literal_length);
    }
  };
  append_literals(0, section.digits_begin);
  const bool has_point = section.ops[section.digits_end - 1].kind != NumberOpKind::kIntegerDigit;
  const int fraction_digits = std::min(fraction_width, section.fraction_places);
  const int commas = section.groups_thousands && integer_width > 0 ? (integer_width - 1) / 3 : 0;
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(integer_width + commas) + (has_point ? 1 + fraction_digits : 0));
  char* cursor = out.data() + start;
  for (int position = integer_width - 1; position >= 0; --position) {
    *cursor++ = number.DigitAt(number.point - 1 - position);
    if (commas != 0 && position > 0 && position % 3 == 0) *cursor++ = ',';
  }
  if (has_point) {
    *cursor++ = '.';
    for (int index = 0; index < fraction_digits; ++index) *cursor++ = number.DigitAt(number.point + index);
  }
  append_literals(section.digits_end, section.ops.size());
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
  if (section.digits_end != 0) {
    AppendDigitRun(section, number, integer_width, fraction_width, out);
    return;
  }
  char exponent_digits[12];
  const auto [exponent_end, error] = std::to_chars(exponent_digits, exponent_digits + sizeof exponent_digits,
                                                   exponent < 0 ? -exponent : exponent);
  (void)error;  // an int always fits
  const int exponent_length = static_cast<int>(exponent_end - exponent_digits);
  // The exponent shows at least one digit, even under "#" placeholders.
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
