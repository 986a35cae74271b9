// Date literals of the Jet dialect: a few fixed shapes, read field by field, checked for range.
// Anything else is refused rather than guessed at, so a mistyped parameter fails loudly.
#include "platform/data/jet_date_literal.h"

#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "platform/data/value_text.h"

namespace vob::data {
namespace {

// The parts of a literal: numbers, words and the separators between them.
struct Part {
  enum Kind { kNumber, kWord, kSeparator } kind;
  std::string text;
  int digits = 0;
  int value = 0;
};

std::optional<std::vector<Part>> SplitParts(std::string_view text) {
  std::vector<Part> parts;
  size_t position = 0;
  while (position < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[position]);
    if (std::isspace(c)) {
      ++position;
      continue;
    }
    Part part;
    if (std::isdigit(c)) {
      part.kind = Part::kNumber;
      while (position < text.size() && std::isdigit(static_cast<unsigned char>(text[position]))) {
        if (part.digits < 9) part.value = part.value * 10 + (text[position] - '0');
        ++part.digits;
        ++position;
      }
    } else if (std::isalpha(c)) {
      part.kind = Part::kWord;
      while (position < text.size() && std::isalpha(static_cast<unsigned char>(text[position]))) {
        part.text += static_cast<char>(std::tolower(static_cast<unsigned char>(text[position++])));
      }
    } else if (c == '/' || c == '-' || c == ':' || c == ',') {
      part.kind = Part::kSeparator;
      part.text = static_cast<char>(c);
      ++position;
    } else {
      return std::nullopt;
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

int MonthFromName(const std::string& word) {
  static constexpr std::array<std::string_view, 12> kNames = {
      "january", "february", "march",     "april",   "may",      "june",
      "july",    "august",   "september", "october", "november", "december"};
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (word == kNames[i] || (word.size() == 3 && kNames[i].substr(0, 3) == word) ||
        (word == "sept" && i == 8)) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

int FullYear(const Part& year) {
  if (year.digits <= 2) return year.value < 30 ? 2000 + year.value : 1900 + year.value;
  return year.value;
}

bool IsSeparator(const std::vector<Part>& parts, size_t index, std::string_view allowed) {
  return index < parts.size() && parts[index].kind == Part::kSeparator &&
         allowed.find(parts[index].text[0]) != std::string_view::npos;
}

bool IsNumber(const std::vector<Part>& parts, size_t index) {
  return index < parts.size() && parts[index].kind == Part::kNumber;
}

// Reads the date at the front of `parts`; sets `next` to the first part after it.
bool ReadDate(const std::vector<Part>& parts, size_t& next, int& year, int& month, int& day) {
  // yyyy-mm-dd or yyyy/mm/dd
  if (IsNumber(parts, 0) && parts[0].digits == 4 && IsSeparator(parts, 1, "-/") && IsNumber(parts, 2) &&
      IsSeparator(parts, 3, "-/") && parts[3].text == parts[1].text && IsNumber(parts, 4)) {
    year = parts[0].value, month = parts[2].value, day = parts[4].value;
    next = 5;
    return parts[2].digits <= 2 && parts[4].digits <= 2;
  }
  // m/d/yyyy, m/d/yy, m-d-yyyy
  if (IsNumber(parts, 0) && IsSeparator(parts, 1, "-/") && IsNumber(parts, 2) &&
      IsSeparator(parts, 3, "-/") && parts[3].text == parts[1].text && IsNumber(parts, 4)) {
    if (parts[0].digits > 2 || parts[2].digits > 2 || (parts[4].digits != 2 && parts[4].digits != 4))
      return false;
    month = parts[0].value, day = parts[2].value, year = FullYear(parts[4]);
    next = 5;
    return true;
  }
  // d-mmm-yyyy, d mmm yyyy
  if (IsNumber(parts, 0) && parts.size() > 2) {
    size_t index = IsSeparator(parts, 1, "-/") ? 2 : 1;
    if (index < parts.size() && parts[index].kind == Part::kWord &&
        (month = MonthFromName(parts[index].text))) {
      ++index;
      if (IsSeparator(parts, index, "-/")) ++index;
      if (!IsNumber(parts, index) || parts[0].digits > 2) return false;
      day = parts[0].value, year = FullYear(parts[index]);
      next = index + 1;
      return true;
    }
  }
  // mmm d, yyyy
  if (!parts.empty() && parts[0].kind == Part::kWord && (month = MonthFromName(parts[0].text))) {
    if (!IsNumber(parts, 1) || parts[1].digits > 2) return false;
    size_t index = IsSeparator(parts, 2, ",") ? 3 : 2;
    if (!IsNumber(parts, index)) return false;
    day = parts[1].value, year = FullYear(parts[index]);
    next = index + 1;
    return true;
  }
  return false;
}

// Reads "h:nn[:ss] [AM|PM]" from `next` to the end of `parts`.
bool ReadTime(const std::vector<Part>& parts, size_t next, int& hour, int& minute, int& second) {
  if (!IsNumber(parts, next)) return false;
  hour = parts[next].value;
  ++next;
  minute = second = 0;
  if (IsSeparator(parts, next, ":")) {
    if (!IsNumber(parts, next + 1)) return false;
    minute = parts[next + 1].value;
    next += 2;
    if (IsSeparator(parts, next, ":")) {
      if (!IsNumber(parts, next + 1)) return false;
      second = parts[next + 1].value;
      next += 2;
    }
  } else if (next >= parts.size() || parts[next].kind != Part::kWord) {
    return false;  // a bare number is not a time
  }
  if (next < parts.size() && parts[next].kind == Part::kWord) {
    const std::string& marker = parts[next].text;
    if (marker != "am" && marker != "pm" && marker != "a" && marker != "p") return false;
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (marker[0] == 'p' ? 12 : 0);
    ++next;
  }
  return next == parts.size();
}

}  // namespace

std::optional<double> ParseJetDateLiteral(std::string_view text) {
  std::optional<std::vector<Part>> parts = SplitParts(text);
  if (!parts || parts->empty()) return std::nullopt;
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  size_t next = 0;
  const bool has_date = ReadDate(*parts, next, year, month, day);
  if (!has_date) {
    // A time alone stands on day zero.
    if (!ReadTime(*parts, 0, hour, minute, second)) return std::nullopt;
    return SerialFromCivil(1899, 12, 30, hour, minute, second);
  }
  if (next < parts->size() && !ReadTime(*parts, next, hour, minute, second)) return std::nullopt;
  return SerialFromCivil(year, month, day, hour, minute, second);
}

}  // namespace vob::data
