// The manager's setters and the report factory lookup.
#include "manager/rpt_manager.h"

#include "platform/vb/conversions.h"
#include "platform/vb/error.h"
#include "settings/report_settings.h"

namespace vob {

rptManager::rptManager() {
  Settings().DrillDownParams.clear();
}

engine::ReportHandle rptManager::GetReport(const std::string& repname) {
  const ReportKey* entry = FindReportKey(vb::LCase(repname));
  if (entry == nullptr || entry->create == nullptr) return nullptr;
  return entry->create();
}

void rptManager::reset() {
  ResetRequestSettings(Settings());
}

void rptManager::SetDataSource(const std::string& dbConStr) {
  Settings().ConnString = dbConStr;
}

void rptManager::SetDateFormat(const std::string& vdata) {
  ReportSettings& settings = Settings();
  settings.DateFormat = vdata;
  settings.DateTimeFormat = "ddddd ttttt";
  const std::string first = vb::LCase(vb::Left(vb::Trim(vdata), 1));
  settings.LongDateFormat = first == "m" ? "mmmm dd, yyyy" : "dd mmmm yyyy";
}

void rptManager::SetCurrencyFormat(const std::string& vdata) {
  Settings().CurrencyFormat = vdata;
}

void rptManager::SetDrillDownParams(const std::string& vdata) {
  Settings().DrillDownParams = vdata;
}

void rptManager::SetLogoProps(int16_t vnewval, const std::string& bFile, const float& bWid,
                              const float& bHt) {
  ReportSettings& settings = Settings();
  settings.LogoOption = vnewval;
  settings.LogoFile = bFile;
  settings.LogoWidth = bWid;
  settings.LogoHeight = bHt;
}

void rptManager::SetPriceFmt(const std::string& vdata) {
  Settings().PriceFormat = vdata;
}

void rptManager::SetReptParam(int16_t I, const std::string& paramString) {
  if (I > 6) return;
  ReportSettings& settings = Settings();
  if (I < 0 || !settings.ReportParams) {
    vb::Raise(vb::kSubscriptOutOfRange, "SetReptParam(" + std::to_string(I) + ")");
  }
  (*settings.ReportParams)[static_cast<size_t>(I)] = paramString;
}

void rptManager::Title(const std::string& value) {
  Settings().ReportTitle = value;
}

void rptManager::SetNow(const std::string& date_time) {
  if (date_time.empty()) {
    Settings().RunClock.reset();
    return;
  }
  const std::optional<double> now = ParseRunClock(date_time);
  if (!now) {
    vb::Raise(vb::kInvalidProcedureCall,
              "SetNow: \"" + date_time + "\" is not \"YYYY-MM-DD\" or \"YYYY-MM-DD HH:MM:SS\"");
  }
  Settings().RunClock = now;
}

}  // namespace vob
