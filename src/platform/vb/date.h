// Serial dates as the classic runtime keeps them: days since 1899-12-30, the fraction is the time of day.
// Negative serials count back from 1899-12-30 with the time as a positive fraction (-1.25 is 1899-12-29
// 06:00).
#pragma once

#include <cstdint>
#include <optional>

namespace vob::vb {

// Serials from 1 Jan 100 to 31 Dec 9999, as the classic runtime accepts.
inline constexpr double kMinDateSerial = -657434.0;
inline constexpr double kMaxDateSerial = 2958465.99999999;

struct CivilDateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

// Days since 1899-12-30 for a calendar date; month and day may be out of range and carry over
// (month 13 is January of the next year, day 0 the last day of the month before), as DateSerial does.
// Raises Overflow (6) when the result falls outside kMinDateSerial..kMaxDateSerial.
double DateSerial(int year, int month, int day);
// Fraction of a day for a time; hours, minutes and seconds may carry over like DateSerial's fields.
double TimeSerial(int hour, int minute, int second);
// From 1 Jan 100 00:00 to 31 Dec 9999 23:59:59; a negative serial's fraction counts forward, so -657434.5 is
// noon on 1 Jan 100. NaN is out of range.
bool IsDateSerialInRange(double serial);
// The calendar date and the time (rounded to the nearest second) of a serial.
// Raises Overflow (6) when the serial is out of range.
CivilDateTime SplitSerial(double serial);
// 1 Sunday .. 7 Saturday. Raises Overflow (6) when the serial is out of range.
int Weekday(double serial);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The run's clock, so that a run reproduces exactly. Now() reads, in this order: the calling thread's clock
// (the settings store keeps one per thread, which a host pins), the process's pin (tests, the viewer), the
// system's local time. Pins are set before a run begins.
double Now();
double Today();  // the date part of Now()
void PinClock(double now_serial);
void UnpinClock();
// Makes *pinned this thread's clock while it holds a value; null forgets it. *pinned must outlive its use
// on this thread.
void UseThreadClock(const std::optional<double>* pinned);

}  // namespace vob::vb
