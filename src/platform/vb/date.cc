// Calendar arithmetic for serial dates, and the pinnable run clock.
#include "platform/vb/date.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>

#include <fmt/format.h>

#include "platform/vb/error.h"

namespace vob::vb {
namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<int64_t>(day_of_era) - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned day_of_era = static_cast<unsigned>(days - era * 146097);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned month_index = (5 * day_of_year + 2) / 153;
  day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  year = static_cast<int>(static_cast<int64_t>(year_of_era) + era * 400 + (month <= 2));
}

constexpr int64_t kEpochOffsetDays = 25569;  // 1899-12-30 to 1970-01-01

std::atomic<bool> clock_is_pinned{false};
std::atomic<double> pinned_now{0.0};
thread_local const std::optional<double>* thread_clock = nullptr;

}  // namespace

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

double DateSerial(int year, int month, int day) {
  // Carry months into years first, then let the day count run past the month's end.
  int64_t month_index = static_cast<int64_t>(year) * 12 + (month - 1);
  const int64_t whole_year = month_index >= 0 ? month_index / 12 : (month_index - 11) / 12;
  const unsigned whole_month = static_cast<unsigned>(month_index - whole_year * 12) + 1;
  const int64_t days = DaysFromCivil(whole_year, whole_month, 1) + kEpochOffsetDays + (int64_t{day} - 1);
  const double serial = static_cast<double>(days);
  if (serial < kMinDateSerial || serial > kMaxDateSerial) Raise(kOverflow);
  return serial;
}

double TimeSerial(int hour, int minute, int second) {
  return (static_cast<double>(hour) * 3600 + static_cast<double>(minute) * 60 + second) / 86400.0;
}

bool IsDateSerialInRange(double serial) {
  return serial > kMinDateSerial - 1 && serial <= kMaxDateSerial;
}

CivilDateTime SplitSerial(double serial) {
  if (!IsDateSerialInRange(serial)) Raise(kOverflow, fmt::format("date serial {}", serial));
  // The date is the whole part towards zero; the time is the absolute fraction (the classic layout).
  double whole = std::trunc(serial);
  int64_t seconds = std::llround(std::fabs(serial - whole) * 86400.0);
  if (seconds >= 86400) {  // a time that rounds up to midnight is the start of the next calendar day,
    seconds -= 86400;      // for negative serials too: their fraction also counts forward
    whole += 1;
  }
  CivilDateTime civil;
  CivilFromDays(static_cast<int64_t>(whole) - kEpochOffsetDays, civil.year, civil.month, civil.day);
  civil.hour = static_cast<int>(seconds / 3600);
  civil.minute = static_cast<int>(seconds / 60 % 60);
  civil.second = static_cast<int>(seconds % 60);
  return civil;
}

int Weekday(double serial) {
  if (!IsDateSerialInRange(serial)) Raise(kOverflow, fmt::format("date serial {}", serial));
  // 1899-12-30 was a Saturday (7).
  const int64_t days = static_cast<int64_t>(std::trunc(serial));
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

double Now() {
  if (thread_clock != nullptr && thread_clock->has_value()) return **thread_clock;
  if (clock_is_pinned.load()) return pinned_now.load();
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         TimeSerial(local.tm_hour, local.tm_min, local.tm_sec);
}

double Today() {
  return std::trunc(Now());
}

void PinClock(double now_serial) {
  pinned_now.store(now_serial);
  clock_is_pinned.store(true);
}

void UnpinClock() {
  clock_is_pinned.store(false);
}

void UseThreadClock(const std::optional<double>* pinned) {
  thread_clock = pinned;
}

}  // namespace vob::vb
