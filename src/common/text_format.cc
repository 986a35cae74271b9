// Postal code, phone and date texts, and the non-zero amount test.
#include "common/text_format.h"

#include <algorithm>

#include "platform/vb/conversions.h"
#include "platform/vb/format.h"
#include "settings/report_settings.h"

namespace vob {

namespace {

// Format(text, pattern) for a pattern of "@" placeholders and literals, done directly when the text is plain
// ASCII with exactly as many characters as placeholders (then filling from the left or the right is the
// same). Lists format a phone and a postal code on every row.
std::string FillPlaceholders(std::string_view text, std::string_view pattern) {
  const bool direct =
      std::count(pattern.begin(), pattern.end(), '@') == static_cast<std::ptrdiff_t>(text.size()) &&
      std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!direct) return vb::Format(vb::Variant(text), pattern);
  std::string filled(pattern);
  size_t next = 0;
  for (char& c : filled) {
    if (c == '@') c = text[next++];
  }
  return filled;
}

}  // namespace

std::string FormatZip(std::string_view zip) {
  if (vb::Trim(zip).size() == 9) return FillPlaceholders(zip, "@@@@@-@@@@");
  return std::string(zip);
}

std::string FormatPhone(std::string_view phone) {
  switch (phone.size()) {
    case 7:
      return FillPlaceholders(phone, "@@@-@@@@");
    case 10:
      return FillPlaceholders(phone, "(@@@) @@@-@@@@");
    default:
      return std::string(phone);
  }
}

std::string FormatMediumDate(std::string_view text) {
  return vb::Format(vb::Variant(text), "Medium Date");
}

bool IsNonZeroAmount(std::string_view text) {
  // Handlers ask of every printed amount. What the number formats write for an amount (digits, separators,
  // a sign, parentheses, a dollar) is non-zero with any digit but 0, and zero as "0" or "0.00"; anything else
  // is read as a number.
  bool is_amount_text = true, has_nonzero_digit = false;
  for (const char c : text) {
    if (c >= '1' && c <= '9') {
      has_nonzero_digit = true;
    } else if (c != '0' && c != '.' && c != ',' && c != '-' && c != '+' && c != '(' && c != ')' && c != '$' &&
               c != ' ') {
      is_amount_text = false;
      break;
    }
  }
  if (is_amount_text) {
    if (has_nonzero_digit) return true;
    const std::string_view digits = vb::TrimView(text);
    const size_t point = digits.find('.');
    if (!digits.empty() && digits.front() == '0' &&
        digits.find_first_not_of("0.") == std::string_view::npos && point == digits.rfind('.') &&
        point + 1 != digits.size()) {
      return false;
    }
  }
  const std::string trimmed = vb::Trim(text);
  if (trimmed.empty()) return false;
  if (const std::optional<double> value = vb::ParseNumber(trimmed)) return *value != 0;
  return vb::Trim(vb::Format(vb::Variant(0), Settings().CurrencyFormat)) != trimmed;
}

}  // namespace vob
