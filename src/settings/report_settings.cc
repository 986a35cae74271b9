// The per-thread settings store.
#include "settings/report_settings.h"

#include <cstdio>

#include "platform/vb/date.h"
#include "platform/vb/error.h"

namespace vob {

const std::string& ReportSettings::ReportParam(int index) const {
  if (!ReportParams || index < 0 || index >= kReportParamCount) {
    vb::Raise(vb::kSubscriptOutOfRange, "ReportParams(" + std::to_string(index) + ")");
  }
  params_read |= static_cast<uint16_t>(1u << index);
  return (*ReportParams)[static_cast<size_t>(index)];
}

const std::string& ReportSettings::DrillDownParam() const {
  params_read |= kDrillDownReadBit;
  return DrillDownParams;
}

ReportSettings& Settings() {
  thread_local ReportSettings settings;
  thread_local const bool is_clock_linked = (vb::UseThreadClock(&settings.RunClock), true);
  (void)is_clock_linked;
  return settings;
}

std::optional<double> ParseRunClock(const std::string& text, bool has_time) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  const int fields = has_time ? std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day,
                                            &hour, &minute, &second, &tail)
                              : std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail);
  const bool is_valid = fields == (has_time ? 6 : 3) && month >= 1 && month <= 12 && day >= 1 &&
                        year >= 100 && day <= vb::DaysInMonth(year, month) && hour >= 0 && hour < 24 &&
                        minute >= 0 && minute < 60 && second >= 0 && second < 60;
  if (!is_valid) return std::nullopt;
  return vb::DateSerial(year, month, day) + (has_time ? vb::TimeSerial(hour, minute, second) : 0);
}

std::optional<double> ParseRunClock(const std::string& text) {
  if (auto with_time = ParseRunClock(text, true)) return with_time;
  return ParseRunClock(text, false);
}

void ResetRequestSettings(ReportSettings& settings) {
  settings.ReportTitle.clear();
  settings.ReportParams.emplace();
  settings.DrillDownParams.clear();
  settings.LogoWidth = 0;
  settings.LogoHeight = 0;
  settings.params_read = 0;
}

}  // namespace vob
