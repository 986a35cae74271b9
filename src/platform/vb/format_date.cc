// Date and time patterns ("mm/dd/yy", "dddd, mmmm d, yyyy", "h:nn AM/PM", "c"), compiled and applied.
// "m" is the minute only when an hour token comes before it with nothing but literals between.
#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/vb/conversions.h"
#include "platform/vb/date.h"
#include "platform/vb/error.h"
#include "platform/vb/format_internal.h"

namespace vob::vb {
namespace {

constexpr std::string_view kMonthNames[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
constexpr std::string_view kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

size_t RunLength(std::string_view pattern, size_t index) {
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[index])));
  size_t end = index;
  while (end < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[end])) == letter) ++end;
  return end - index;
}

class DateCompiler {
 public:
  explicit DateCompiler(std::string_view pattern) : pattern_(pattern) {}

  DatePlan Compile() {
    size_t index = 0;
    while (index < pattern_.size()) index = CompileAt(index);
    return std::move(plan_);
  }

 private:
  // Compiles the token or literal at pattern_[index]; returns the index after it.
  size_t CompileAt(size_t index) {
    const char c = pattern_[index];
    // No value picks among date sections, so a ";" is a mistake rather than a literal.
    if (c == ';') ThrowPatternError(pattern_, index, "a date pattern has one section");
    if (c == '"' || c == '\\') {
      std::string_view literal;
      const size_t next = ReadQuotedOrEscaped(pattern_, index, literal);
      AddLiteral(literal);
      return next;
    }
    if (const size_t marker_length = MarkerLengthAt(pattern_, index)) {
      AddMarker(pattern_.substr(index, marker_length));
      return index + marker_length;
    }
    const size_t run = RunLength(pattern_, index);
    switch (std::tolower(static_cast<unsigned char>(c))) {
      case 'c':
        return AddToken(index, 1, DateOpKind::kGeneralDate);
      case 'd': {
        static constexpr DateOpKind kDays[] = {
            DateOpKind::kDay,     DateOpKind::kDay2,      DateOpKind::kDayAbbreviation,
            DateOpKind::kDayName, DateOpKind::kShortDate, DateOpKind::kLongDate};
        const size_t length = std::min<size_t>(run, 6);
        return AddToken(index, length, kDays[length - 1]);
      }
      case 'w':
        return run >= 2 ? AddToken(index, 2, DateOpKind::kWeekOfYear)
                        : AddToken(index, 1, DateOpKind::kWeekday);
      case 'm': {
        if (follows_hour_ && run <= 2) {  // "mmm" and "mmmm" after an hour stay month names
          return AddToken(index, run, run == 2 ? DateOpKind::kMinute2 : DateOpKind::kMinute);
        }
        static constexpr DateOpKind kMonths[] = {DateOpKind::kMonth, DateOpKind::kMonth2,
                                                 DateOpKind::kMonthAbbreviation, DateOpKind::kMonthName};
        const size_t length = std::min<size_t>(run, 4);
        return AddToken(index, length, kMonths[length - 1]);
      }
      case 'q':
        return AddToken(index, 1, DateOpKind::kQuarter);
      case 'y':
        if (run >= 4) return AddToken(index, 4, DateOpKind::kYear4);
        if (run >= 2) return AddToken(index, 2, DateOpKind::kYear2);  // "yyy" is "yy" then "y"
        return AddToken(index, 1, DateOpKind::kDayOfYear);
      case 'h': {
        const size_t next =
            run >= 2 ? AddToken(index, 2, DateOpKind::kHour2) : AddToken(index, 1, DateOpKind::kHour);
        follows_hour_ = true;
        return next;
      }
      case 'n':
        return run >= 2 ? AddToken(index, 2, DateOpKind::kMinute2) : AddToken(index, 1, DateOpKind::kMinute);
      case 's':
        return run >= 2 ? AddToken(index, 2, DateOpKind::kSecond2) : AddToken(index, 1, DateOpKind::kSecond);
      case 't':
        if (run >= 5) return AddToken(index, 5, DateOpKind::kLongTime);
        // Fewer than five: not a token, so the letters print as they stand.
        AddLiteral(pattern_.substr(index, run));
        return index + run;
      default:  // "/", ":", blanks, "-", "," and any other character print as they stand
        AddLiteral(pattern_.substr(index, 1));
        return index + 1;
    }
  }

  size_t AddToken(size_t index, size_t length, DateOpKind kind) {
    DateOp op;
    op.kind = kind;
    plan_.ops.push_back(op);
    follows_hour_ = false;
    return index + length;
  }

  void AddLiteral(std::string_view text) { AppendLiteral(plan_.ops, plan_.literals, text); }

  // "AM/PM" and "A/P" print the half written for the time of day, in the case written; "AMPM" the locale's.
  void AddMarker(std::string_view marker) {
    const size_t slash = marker.find('/');
    const std::string_view am = slash == std::string_view::npos ? "AM" : marker.substr(0, slash);
    const std::string_view pm = slash == std::string_view::npos ? "PM" : marker.substr(slash + 1);
    DateOp op;
    op.kind = DateOpKind::kMarker;
    op.literal_begin = static_cast<uint32_t>(plan_.literals.size());
    op.literal_length = static_cast<uint32_t>(am.size());
    op.pm_length = static_cast<uint32_t>(pm.size());
    plan_.literals += am;
    plan_.literals += pm;
    plan_.ops.push_back(op);
    plan_.has_marker = true;
    follows_hour_ = false;
  }

  std::string_view pattern_;
  DatePlan plan_;
  bool follows_hour_ = false;
};

// 0 Sunday .. 6 Saturday, from the calendar date itself, so that a time rounding up to the next day
// (and past the last serial) still has a weekday.
int WeekdayIndex(int year, int month, int day) {
  static constexpr int kMonthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  return (year + year / 4 - year / 100 + year / 400 + kMonthOffsets[month - 1] + day) % 7;
}

int DayOfYear(const CivilDateTime& civil) {
  static constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kDaysBefore[civil.month - 1] + civil.day + (civil.month > 2 && IsLeapYear(civil.year) ? 1 : 0);
}

void AppendNumber(int value, std::string& out) {
  if (value >= 0 && value < 10) {
    out += static_cast<char>('0' + value);
  } else {
    out += std::to_string(value);
  }
}

void AppendTwoDigits(int value, std::string& out) {
  out += static_cast<char>('0' + value / 10 % 10);
  out += static_cast<char>('0' + value % 10);
}

void AppendShortDate(const CivilDateTime& civil, std::string& out) {
  AppendNumber(civil.month, out);
  out += '/';
  AppendNumber(civil.day, out);
  out += '/';
  AppendNumber(civil.year, out);
}

void AppendLongTime(const CivilDateTime& civil, std::string& out) {
  AppendNumber(civil.hour % 12 == 0 ? 12 : civil.hour % 12, out);
  out += ':';
  AppendTwoDigits(civil.minute, out);
  out += ':';
  AppendTwoDigits(civil.second, out);
  out += civil.hour < 12 ? " AM" : " PM";
}

}  // namespace

bool HasDateToken(std::string_view pattern) {
  std::string_view ignored;
  for (size_t index = 0; index < pattern.size();) {
    const char c = pattern[index];
    if (c == '"' || c == '\\') {
      index = ReadQuotedOrEscaped(pattern, index, ignored);
      continue;
    }
    if (MarkerLengthAt(pattern, index) > 0) return true;
    switch (std::tolower(static_cast<unsigned char>(c))) {
      case 'c':
      case 'd':
      case 'w':
      case 'm':
      case 'q':
      case 'y':
      case 'h':
      case 'n':
      case 's':
        return true;
      case 't': {
        const size_t run = RunLength(pattern, index);
        if (run >= 5) return true;
        index += run;
        continue;
      }
      default:
        ++index;
    }
  }
  return false;
}

size_t MarkerLengthAt(std::string_view pattern, size_t index) {
  const auto starts_with = [&](std::string_view marker) {
    if (pattern.size() - index < marker.size()) return false;
    for (size_t i = 0; i < marker.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(pattern[index + i])) != marker[i]) return false;
    }
    return true;
  };
  if (starts_with("am/pm")) return 5;
  if (starts_with("ampm")) return 4;
  if (starts_with("a/p")) return 3;
  return 0;
}

DatePlan CompileDate(std::string_view pattern) {
  return DateCompiler(pattern).Compile();
}

std::string ApplyDate(const DatePlan& plan, const Variant& value) {
  double serial = 0;
  switch (value.type()) {
    case VarType::kNull:
      return {};
    case VarType::kEmpty:
      break;
    case VarType::kBoolean:
      serial = value.boolean() ? -1 : 0;
      break;
    case VarType::kInteger:
      serial = value.integer();
      break;
    case VarType::kLong:
      serial = value.long_value();
      break;
    case VarType::kSingle:
      serial = value.single();
      break;
    case VarType::kDouble:
      serial = value.dbl();
      break;
    case VarType::kCurrency:
      serial = value.currency().ToDouble();
      break;
    case VarType::kDate:
      serial = value.date_serial();
      break;
    case VarType::kString: {
      const std::optional<double> parsed = ParseDate(value.str());
      if (!parsed) return value.str();
      serial = *parsed;
      break;
    }
  }
  // A number that is no date is a fault in the data, not a text to print.
  if (!(serial >= kMinDateSerial && serial <= kMaxDateSerial))
    Raise(kOverflow, fmt::format("{:.15g} is not a date", serial));

  const CivilDateTime civil = SplitSerial(serial);
  const auto weekday = [&] { return WeekdayIndex(civil.year, civil.month, civil.day); };
  const int hour = plan.has_marker ? (civil.hour % 12 == 0 ? 12 : civil.hour % 12) : civil.hour;
  std::string out;
  for (const DateOp& op : plan.ops) {
    switch (op.kind) {
      case DateOpKind::kLiteral:
        out.append(plan.literals, op.literal_begin, op.literal_length);
        break;
      case DateOpKind::kGeneralDate: {
        // The date alone at midnight, the time alone on day 0.
        const bool has_date = !(civil.year == 1899 && civil.month == 12 && civil.day == 30);
        const bool has_time = civil.hour != 0 || civil.minute != 0 || civil.second != 0;
        if (has_date) AppendShortDate(civil, out);
        if (has_date && has_time) out += ' ';
        if (has_time || !has_date) AppendLongTime(civil, out);
        break;
      }
      case DateOpKind::kDay:
        AppendNumber(civil.day, out);
        break;
      case DateOpKind::kDay2:
        AppendTwoDigits(civil.day, out);
        break;
      case DateOpKind::kDayAbbreviation:
        out += kDayNames[weekday()].substr(0, 3);
        break;
      case DateOpKind::kDayName:
        out += kDayNames[weekday()];
        break;
      case DateOpKind::kShortDate:
        AppendShortDate(civil, out);
        break;
      case DateOpKind::kLongDate:
        out += kDayNames[weekday()];
        out += ", ";
        out += kMonthNames[civil.month - 1];
        out += ' ';
        AppendNumber(civil.day, out);
        out += ", ";
        AppendNumber(civil.year, out);
        break;
      case DateOpKind::kWeekday:
        AppendNumber(weekday() + 1, out);
        break;
      case DateOpKind::kWeekOfYear: {
        // Weeks start on Sunday; the week holding January 1 is week 1.
        const int january_first = WeekdayIndex(civil.year, 1, 1);
        AppendNumber((DayOfYear(civil) - 1 + january_first) / 7 + 1, out);
        break;
      }
      case DateOpKind::kMonth:
        AppendNumber(civil.month, out);
        break;
      case DateOpKind::kMonth2:
        AppendTwoDigits(civil.month, out);
        break;
      case DateOpKind::kMonthAbbreviation:
        out += kMonthNames[civil.month - 1].substr(0, 3);
        break;
      case DateOpKind::kMonthName:
        out += kMonthNames[civil.month - 1];
        break;
      case DateOpKind::kQuarter:
        AppendNumber((civil.month + 2) / 3, out);
        break;
      case DateOpKind::kDayOfYear:
        AppendNumber(DayOfYear(civil), out);
        break;
      case DateOpKind::kYear2:
        AppendTwoDigits(civil.year % 100, out);
        break;
      case DateOpKind::kYear4:
        AppendNumber(civil.year, out);
        break;
      case DateOpKind::kHour:
        AppendNumber(hour, out);
        break;
      case DateOpKind::kHour2:
        AppendTwoDigits(hour, out);
        break;
      case DateOpKind::kMinute:
        AppendNumber(civil.minute, out);
        break;
      case DateOpKind::kMinute2:
        AppendTwoDigits(civil.minute, out);
        break;
      case DateOpKind::kSecond:
        AppendNumber(civil.second, out);
        break;
      case DateOpKind::kSecond2:
        AppendTwoDigits(civil.second, out);
        break;
      case DateOpKind::kLongTime:
        AppendLongTime(civil, out);
        break;
      case DateOpKind::kMarker:
        if (civil.hour < 12) {
          out.append(plan.literals, op.literal_begin, op.literal_length);
        } else {
          out.append(plan.literals, op.literal_begin + op.literal_length, op.pm_length);
        }
        break;
    }
  }
  return out;
}

}  // namespace vob::vb
