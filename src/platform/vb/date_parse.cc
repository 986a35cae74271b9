// Reading date and time texts in en-US order (ParseDate): numeric and month-name dates, a time, or both.
// Tokens live in a fixed array so that a text is read without allocating; a text with too many is refused.
#include <optional>
#include <string_view>

#include "platform/vb/conversions.h"
#include "platform/vb/date.h"
#include "platform/vb/names.h"

namespace vob::vb {
namespace {

enum class TokenKind : uint8_t { kNumber, kWord, kSeparator };

struct Token {
  TokenKind kind = TokenKind::kSeparator;
  char separator = ' ';   // kSeparator: one of " /-.,:" (a run of blanks is one blank)
  int value = 0;          // kNumber
  int digit_count = 0;    // kNumber
  std::string_view word;  // kWord
};

constexpr int kMaxTokens = 40;
constexpr int kMaxNumberDigits = 9;  // keeps every value inside an int

struct Tokens {
  Token items[kMaxTokens];
  int count = 0;
};

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool Tokenize(std::string_view text, Tokens& tokens) {
  size_t i = 0;
  while (i < text.size()) {
    if (tokens.count == kMaxTokens) return false;
    Token& token = tokens.items[tokens.count++];
    const char c = text[i];
    if (IsDigit(c)) {
      token.kind = TokenKind::kNumber;
      for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (++token.digit_count > kMaxNumberDigits) return false;
        token.value = token.value * 10 + (text[i] - '0');
      }
    } else if (IsLetter(c)) {
      const size_t start = i;
      while (i < text.size() && IsLetter(text[i])) ++i;
      token.kind = TokenKind::kWord;
      token.word = text.substr(start, i - start);
    } else if (IsBlank(c)) {
      while (i < text.size() && IsBlank(text[i])) ++i;
    } else if (c == '/' || c == '-' || c == '.' || c == ',' || c == ':') {
      token.separator = c;
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

// The whole name or its first three letters, in any case.
int IndexOfName(std::string_view word, const std::string_view* names, int name_count) {
  for (int i = 0; i < name_count; ++i)
    if (SameName(word, names[i]) || SameName(word, names[i].substr(0, 3))) return i + 1;
  return 0;
}

int MonthOfWord(std::string_view word) {
  static constexpr std::string_view kMonths[] = {"january",   "february", "march",    "april",
                                                 "may",       "june",     "july",     "august",
                                                 "september", "october",  "november", "december"};
  return IndexOfName(word, kMonths, 12);
}

bool IsWeekdayWord(std::string_view word) {
  static constexpr std::string_view kWeekdays[] = {"sunday",   "monday", "tuesday", "wednesday",
                                                   "thursday", "friday", "saturday"};
  return IndexOfName(word, kWeekdays, 7) != 0;
}

enum class Marker { kNone, kAm, kPm };

Marker MarkerOfWord(std::string_view word) {
  if (SameName(word, "am") || SameName(word, "a")) return Marker::kAm;
  if (SameName(word, "pm") || SameName(word, "p")) return Marker::kPm;
  return Marker::kNone;
}

struct TimeOfDay {
  bool is_present = false;
  int hour = 0, minute = 0, second = 0;
  Marker marker = Marker::kNone;
};

bool IsSeparator(const Tokens& tokens, int i, char separator) {
  return i < tokens.count && tokens.items[i].kind == TokenKind::kSeparator &&
         tokens.items[i].separator == separator;
}
bool IsNumber(const Tokens& tokens, int i) {
  return i < tokens.count && tokens.items[i].kind == TokenKind::kNumber;
}

// The marker after a time, with or without a blank before it; returns the index after what it used.
int ReadMarker(const Tokens& tokens, int i, Marker& marker) {
  const int word_index = IsSeparator(tokens, i, ' ') ? i + 1 : i;
  if (word_index < tokens.count && tokens.items[word_index].kind == TokenKind::kWord) {
    marker = MarkerOfWord(tokens.items[word_index].word);
    if (marker != Marker::kNone) return word_index + 1;
  }
  return i;
}

// h:nn[:ss[.fraction]] [AM|PM], starting at the hour; returns the index after it, or -1.
int ReadTime(const Tokens& tokens, int i, TimeOfDay& time) {
  time.is_present = true;
  time.hour = tokens.items[i].value;
  if (!IsSeparator(tokens, i + 1, ':') || !IsNumber(tokens, i + 2)) return -1;
  time.minute = tokens.items[i + 2].value;
  i += 3;
  if (IsSeparator(tokens, i, ':')) {
    if (!IsNumber(tokens, i + 1)) return -1;
    time.second = tokens.items[i + 1].value;
    i += 2;
    // Fractions of a second (database texts have them) are read and dropped: the serial keeps whole seconds,
    // and 23:59:59.9 must not round into the next day.
    if (IsSeparator(tokens, i, '.') && IsNumber(tokens, i + 1)) i += 2;
  }
  return ReadMarker(tokens, i, time.marker);
}

std::optional<double> TimeFraction(const TimeOfDay& time) {
  int hour = time.hour;
  if (time.marker != Marker::kNone) {
    if (hour > 12) return std::nullopt;
    hour = hour % 12 + (time.marker == Marker::kPm ? 12 : 0);
  }
  if (hour > 23 || time.minute > 59 || time.second > 59) return std::nullopt;
  return (hour * 3600.0 + time.minute * 60.0 + time.second) / 86400.0;
}

struct DateNumber {
  int value = 0, digit_count = 0;
};

// Two-digit years 00-29 are 2000-2029 and 30-99 are 1930-1999; longer years stand as written.
int FullYear(DateNumber number) {
  if (number.digit_count > 2) return number.value;
  return number.value < 30 ? 2000 + number.value : 1900 + number.value;
}
// A number that cannot be a day is a year: "2024-01-05", "1/2024".
bool LooksLikeYear(DateNumber number) {
  return number.digit_count >= 3 || number.value > 31;
}
int CurrentYear() {
  return SplitSerial(Today()).year;
}

std::optional<double> TryDate(int year, int month, int day) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  return DateSerial(year, month, day);
}

// month (0 when none was named) and up to three numbers in the order written.
std::optional<double> ResolveDate(int month, const DateNumber* numbers, int number_count) {
  if (month != 0) {
    if (number_count == 1) {
      if (LooksLikeYear(numbers[0])) return TryDate(FullYear(numbers[0]), month, 1);
      return TryDate(CurrentYear(), month, numbers[0].value);
    }
    if (number_count != 2) return std::nullopt;
    if (LooksLikeYear(numbers[0]) && !LooksLikeYear(numbers[1]))
      return TryDate(FullYear(numbers[0]), month, numbers[1].value);
    return TryDate(FullYear(numbers[1]), month, numbers[0].value);
  }
  const DateNumber a = numbers[0], b = numbers[1], c = numbers[2];
  if (number_count == 2) {
    if (LooksLikeYear(a)) return TryDate(FullYear(a), b.value, 1);
    if (LooksLikeYear(b)) return TryDate(FullYear(b), a.value, 1);
    const int year = CurrentYear();
    if (std::optional<double> month_first = TryDate(year, a.value, b.value)) return month_first;
    return TryDate(year, b.value, a.value);
  }
  if (number_count != 3) return std::nullopt;
  if (LooksLikeYear(a)) return TryDate(FullYear(a), b.value, c.value);
  if (std::optional<double> month_first = TryDate(FullYear(c), a.value, b.value)) return month_first;
  return TryDate(FullYear(c), b.value, a.value);
}

}  // namespace

std::optional<double> ParseDate(std::string_view text) {
  Tokens tokens;
  if (!Tokenize(text, tokens)) return std::nullopt;
  TimeOfDay time;
  DateNumber numbers[3];
  int number_count = 0, month = 0, element_count = 0;
  bool is_first_run = true;
  bool has_comma_between_numbers = false;  // "1,234" is an amount, not a date, unless a month is named
  int i = 0;
  while (i < tokens.count) {
    // Between elements: blanks, commas and at most one of "/", "-", "."; around the text only blanks.
    int mark_count = 0;
    bool has_comma = false, has_blank = false;
    const bool follows_number = i > 0 && IsNumber(tokens, i - 1);
    for (; i < tokens.count && tokens.items[i].kind == TokenKind::kSeparator; ++i) {
      const char separator = tokens.items[i].separator;
      if (separator == ':') return std::nullopt;
      if (separator == ',') has_comma = true;
      if (separator == ' ') has_blank = true;
      if (separator == '/' || separator == '-' || separator == '.') ++mark_count;
    }
    if (has_comma && !has_blank && mark_count == 0 && follows_number && IsNumber(tokens, i))
      has_comma_between_numbers = true;
    const bool is_last_run = i == tokens.count;
    if (mark_count > 1 || ((is_first_run || is_last_run) && (mark_count > 0 || has_comma)))
      return std::nullopt;
    if (is_last_run) break;
    is_first_run = false;

    const Token& token = tokens.items[i];
    if (token.kind == TokenKind::kNumber) {
      Marker marker = Marker::kNone;
      const int after_marker = ReadMarker(tokens, i + 1, marker);
      if (IsSeparator(tokens, i + 1, ':') || marker != Marker::kNone) {
        if (time.is_present) return std::nullopt;
        if (marker != Marker::kNone) {  // "2 PM"
          time = TimeOfDay{true, token.value, 0, 0, marker};
          i = after_marker;
        } else if ((i = ReadTime(tokens, i, time)) < 0) {
          return std::nullopt;
        }
        continue;
      }
      if (element_count == 3) return std::nullopt;
      numbers[number_count++] = DateNumber{token.value, token.digit_count};
      ++element_count;
    } else if (const int month_of_word = MonthOfWord(token.word)) {
      if (month != 0 || element_count == 3) return std::nullopt;
      month = month_of_word;
      ++element_count;
    } else if (!IsWeekdayWord(token.word)) {  // a weekday name is allowed and ignored
      return std::nullopt;
    }
    ++i;
  }

  std::optional<double> time_fraction = 0.0;
  if (time.is_present && !(time_fraction = TimeFraction(time))) return std::nullopt;
  if (element_count == 0) return time.is_present ? time_fraction : std::nullopt;
  if (has_comma_between_numbers && month == 0) return std::nullopt;
  const std::optional<double> date = ResolveDate(month, numbers, number_count);
  if (!date) return std::nullopt;
  // Before 1899-12-30 the time still counts forward from the day's start: 1899-12-29 06:00 is -1.25.
  return *date >= 0 ? *date + *time_fraction : *date - *time_fraction;
}

}  // namespace vob::vb
