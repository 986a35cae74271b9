// rptManager: the library's one public class. Its setters write the thread's report settings; GetReport
// creates a new report object for a key. It holds no state of its own and keeps no reference to reports.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "manager/report_keys.h"

namespace vob {

// Identity of the in-process server, fixed once: hosts create the class by these.
inline constexpr std::string_view kLibraryName = "VOBADOReports2";
inline constexpr std::string_view kManagerProgId = "VOBADOReports2.rptManager";
inline constexpr std::string_view kManagerClassId = "{6F1C2B0E-5A3D-4E8B-9C27-3B1D8E4A7F01}";
inline constexpr std::string_view kManagerInterfaceId = "{6F1C2B0E-5A3D-4E8B-9C27-3B1D8E4A7F02}";
inline constexpr std::string_view kTypeLibraryId = "{6F1C2B0E-5A3D-4E8B-9C27-3B1D8E4A7F00}";
inline constexpr std::string_view kTypeLibraryHelp = "ADO Reports for Vob Accounting";
inline constexpr std::string_view kLibraryFile = "VOBADOReports2.dll";
inline constexpr std::string_view kFileDescription = "Vob Accounting Reports Library";

// Members in interface order; Integer arguments are 16-bit, Single 32-bit float, as the host passes them.
class rptManager {
 public:
  rptManager();  // sets DrillDownParams to ""; nothing else

  // A new report object for the lower-cased key, or null when no key matches (not an error).
  engine::ReportHandle GetReport(const std::string& repname);
  void reset();
  void SetDataSource(const std::string& dbConStr);
  void SetDateFormat(const std::string& vdata);
  void SetCurrencyFormat(const std::string& vdata);
  void SetDrillDownParams(const std::string& vdata);
  void SetLogoProps(int16_t vnewval, const std::string& bFile, const float& bWid, const float& bHt);
  void SetPriceFmt(const std::string& vdata);
  // Raises Subscript out of range (9) for a negative index or before the first reset; I > 6 does nothing.
  void SetReptParam(int16_t I, const std::string& paramString);
  void Title(const std::string& value);

  // Not a member the host's interface had: pins the run clock of the thread's settings to "YYYY-MM-DD"
  // (midnight) or "YYYY-MM-DD HH:MM:SS"; "" gives the system's clock back. reset keeps it. Raises Invalid
  // procedure call or argument (5) for any other text, and stores nothing.
  void SetNow(const std::string& date_time);
};

}  // namespace vob
