// Calendar arithmetic on serial dates (carry-over, negative serials, weekdays) and the pinnable clock.
// Serials count days from 1899-12-30; 45296 is 2024-01-05, a Friday.
#include "platform/vb/date.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "platform/vb/error.h"

namespace vob::vb {
namespace {

template <typename Call>
int ErrorNumberOf(Call call) {
  try {
    call();
  } catch (const Error& error) {
    return error.number();
  }
  return 0;
}

TEST(DateSerial, CarriesMonthsAndDaysOver) {
  struct Case {
    int year, month, day;
    double expected;
  };
  static constexpr Case kCases[] = {
      {1899, 12, 30, 0},    {1900, 1, 1, 2},         {2024, 1, 5, 45296},   {2024, 13, 1, 45658},
      {2025, 1, 1, 45658},  {2024, 1, 0, 45291},     {2023, 12, 31, 45291}, {2024, 3, 0, 45351},
      {2024, 2, 29, 45351}, {2024, 0, 1, 45261},     {2023, 12, 1, 45261},  {2024, -11, 1, 44927},
      {2023, 1, 1, 44927},  {2024, 1, 32, 45323},    {2024, 2, 1, 45323},   {2024, 1, -30, 45261},
      {100, 1, 1, -657434}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(DateSerial(c.year, c.month, c.day), c.expected) << c.year << '-' << c.month << '-' << c.day;
}

TEST(DateSerial, RaisesOverflowOutsideTheDateRange) {
  struct Case {
    int year, month, day;
  };
  static constexpr Case kCases[] = {
      {99, 12, 31}, {10000, 1, 1}, {9999, 13, 1}, {2024, 1, INT_MAX}, {2024, 1, INT_MIN}, {INT_MAX, 1, 1},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(ErrorNumberOf([&] { DateSerial(c.year, c.month, c.day); }), kOverflow)
        << c.year << '-' << c.month << '-' << c.day;
}

TEST(TimeSerial, CarriesFieldsOver) {
  EXPECT_EQ(TimeSerial(12, 0, 0), 0.5);
  EXPECT_EQ(TimeSerial(25, 0, 0), 25 / 24.0);
  EXPECT_EQ(TimeSerial(0, 90, 0), TimeSerial(1, 30, 0));
  EXPECT_EQ(TimeSerial(0, 0, -60), -1 / 1440.0);
}

TEST(SplitSerial, GivesTheDateAndTheTimeToTheSecond) {
  struct Case {
    double serial;
    CivilDateTime expected;
  };
  static constexpr Case kCases[] = {
      {0, {1899, 12, 30, 0, 0, 0}},
      {0.5, {1899, 12, 30, 12, 0, 0}},
      {-0.5, {1899, 12, 30, 12, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0}},
      {-2.75, {1899, 12, 28, 18, 0, 0}},
      {45296.5860763889, {2024, 1, 5, 14, 3, 57}},
      {45296.9999999, {2024, 1, 6, 0, 0, 0}},
      {-1.9999999, {1899, 12, 30, 0, 0, 0}},  // the time rounds up into the next calendar day
      {-0.9999999, {1899, 12, 31, 0, 0, 0}},
      {45351, {2024, 2, 29, 0, 0, 0}},
      {-657434.5, {100, 1, 1, 12, 0, 0}},
      {2958465.99998, {9999, 12, 31, 23, 59, 58}},
  };
  for (const Case& c : kCases) {
    const CivilDateTime civil = SplitSerial(c.serial);
    const CivilDateTime& e = c.expected;
    EXPECT_TRUE(civil.year == e.year && civil.month == e.month && civil.day == e.day &&
                civil.hour == e.hour && civil.minute == e.minute && civil.second == e.second)
        << c.serial << " gave " << civil.year << '-' << civil.month << '-' << civil.day << ' ' << civil.hour
        << ':' << civil.minute << ':' << civil.second;
  }
}

TEST(SplitSerial, RejectsSerialsOutsideTheDateRange) {
  static constexpr double kSerials[] = {-657435,
                                        2958466,
                                        1e300,
                                        -1e300,
                                        std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::infinity()};
  for (double serial : kSerials) {
    EXPECT_FALSE(IsDateSerialInRange(serial)) << serial;
    EXPECT_EQ(ErrorNumberOf([&] { SplitSerial(serial); }), kOverflow) << serial;
    EXPECT_EQ(ErrorNumberOf([&] { Weekday(serial); }), kOverflow) << serial;
  }
}

TEST(Weekday, CountsFromSunday) {
  struct Case {
    double serial;
    int expected;
  };
  static constexpr Case kCases[] = {
      {45296, 6}, {45296.99, 6}, {45297, 7}, {45298, 1}, {0, 7},
      {1, 1},     {-1, 6},       {-1.5, 6},  {-7, 7},    {-657434, 6},
  };
  for (const Case& c : kCases) EXPECT_EQ(Weekday(c.serial), c.expected) << c.serial;
}

TEST(Clock, PinnedValuesRepeatUntilUnpinned) {
  PinClock(45296.75);
  EXPECT_EQ(Now(), 45296.75);
  EXPECT_EQ(Today(), 45296);
  PinClock(45297.25);
  EXPECT_EQ(Now(), 45297.25);
  UnpinClock();
  const double now = Now();
  EXPECT_NE(now, 45297.25);
  EXPECT_GT(now, DateSerial(2024, 1, 1)) << "the system clock";
  EXPECT_EQ(Today(), std::trunc(Now())) << "unless the test ran across midnight";
}

}  // namespace
}  // namespace vob::vb
