// The text forms in which the databases hand over currency amounts and dates, read exactly.
// Dates are stored as ISO-8601 text ("2024-01-31", "2024-01-31 14:05:00"); amounts as decimal text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/vb/currency.h"

namespace vob::data {

// "-1234.5678", "12", "0.1", "1e3", "-.5": exact to four decimals; further decimals round half to even.
// Returns nothing for text that is not a decimal number or lies outside the Currency range.
std::optional<vb::Currency> ParseDecimalCurrency(std::string_view text);

// What a REAL amount reads as through its 15-significant-digit text (SQLite's text of a REAL), found without
// printing it: nothing when a text is needed (more than four decimals, or too large), then parse that text.
std::optional<vb::Currency> CurrencyFromReal(double value);

// "YYYY-MM-DD", optionally followed by " " or "T" and "HH:MM", "HH:MM:SS" or "HH:MM:SS.fff", and an ignored
// zone suffix ("Z", "+01", "-05:00"). Returns the serial date, or nothing when the text is not such a date.
std::optional<double> ParseIsoDateTime(std::string_view text);

// The storage form of a serial date: "YYYY-MM-DD" at midnight, "YYYY-MM-DD HH:MM:SS" otherwise, so that text
// comparisons order dates correctly.
std::string FormatIsoDateTime(double serial);
// The same text appended to out, with time_separator (' ' or 'T') between date and time.
void AppendIsoDateTime(double serial, char time_separator, std::string& out);

// A calendar date and time of day as a serial, the time counted away from 1899-12-30 as the classic runtime
// does; nothing when a field is out of range.
std::optional<double> SerialFromCivil(int year, int month, int day, int hour, int minute, int second);

}  // namespace vob::data
