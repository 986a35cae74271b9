// The per-thread settings store.
#include "settings/report_settings.h"

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
  return settings;
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
