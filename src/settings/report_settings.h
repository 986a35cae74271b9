// The report settings the host hands over through rptManager, one store per thread.
// Reports read them while they run, never when they are created; nothing here validates a value.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/data/connection.h"

namespace vob {

inline constexpr int kReportParamCount = 7;

// Field names are the settings' own, as the reports know them.
struct ReportSettings {
  std::string ConnString;
  int16_t LogoOption = 0;
  std::string LogoFile;
  float LogoWidth = 0;
  float LogoHeight = 0;
  std::string ReportTitle;
  // Absent until the first reset on the thread; reset re-creates it with seven empty texts.
  std::optional<std::array<std::string, kReportParamCount>> ReportParams;
  std::string DrillDownParams;
  std::string DateFormat;
  std::string LongDateFormat;
  std::string DateTimeFormat;
  std::string CurrencyFormat;
  std::string PriceFormat;
  // The run's date and time as a serial, pinned by the host; absent, runs read the system's clock. Now() on
  // the store's thread reads it (vb::UseThreadClock). reset keeps it.
  std::optional<double> RunClock;
  // Created on first use by OpenSharedConnection; kept open across handler calls.
  std::unique_ptr<data::Connection> SharedConnection;

  // Which parameters have been read since the last reset: bit i for ReportParams(i), kDrillDownReadBit for
  // DrillDownParams. Only the two readers below set it; a test compares it with a report's declarations.
  mutable uint16_t params_read = 0;

  // ReportParams(index). Raises Subscript out of range (9) before the first reset or outside 0..6.
  const std::string& ReportParam(int index) const;
  // DrillDownParams, as set.
  const std::string& DrillDownParam() const;
};

inline constexpr uint16_t kDrillDownReadBit = 1u << kReportParamCount;

// The calling thread's store, created empty on first use and kept for the thread's life.
ReportSettings& Settings();

// "YYYY-MM-DD" (midnight) or "YYYY-MM-DD HH:MM:SS" as a serial; absent when the text is neither or names no
// real date or time.
std::optional<double> ParseRunClock(const std::string& text);
// The same, accepting only the form with a time (has_time) or only the date.
std::optional<double> ParseRunClock(const std::string& text, bool has_time);

// Clears the per-request values: title, parameters (seven empty texts), drill-down argument, logo size and
// the record of parameters read.
// Keeps the connection string, logo option and file, and the formats.
void ResetRequestSettings(ReportSettings& settings);

}  // namespace vob
