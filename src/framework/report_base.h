// What every report of this library stands on: its main data control with the SQL that feeds it, the row that
// control stands on, the host's parameters, and the table that declares which parameters the report reads.
// Listings add the common lifecycle on top (listing_report.h); the check reports use this alone.
#pragma once

#include <span>
#include <string>

#include "framework/report_api.h"
#include "framework/report_params.h"

namespace vob::reports {

class ReportBase : public ActiveReport {
 public:
  // The report's parameter table, as its constructor declared it; empty for a report that reads none.
  std::span<const ParamRow> params() const { return params_; }

 protected:
  ReportBase() = default;

  // Declares the parameters the report reads. REQUIRES: rows outlive the object (a static constexpr table).
  void DeclareParams(std::span<const ParamRow> rows) { params_ = rows; }

  // The layout's data control that feeds the detail rows (named dataMain, in any case).
  DataControl& dataMain() { return Controls<DataControl>("dataMain"); }
  // Binds dataMain to the settings' database (BindDataControl) and makes sql its source.
  void SetMainSql(std::string sql);
  // The row dataMain stands on, or null at the end of the data (or before the engine has opened it).
  const data::Recordset* CurrentRow();

  // Text of a report parameter, ReportParams(index); Subscript out of range (9) before the first reset.
  static const std::string& ReportParam(int index) { return Settings().ReportParam(index); }
  // The drill-down argument, DrillDownParams, as the host set it.
  static const std::string& DrillDownParam() { return Settings().DrillDownParam(); }

 private:
  std::span<const ParamRow> params_;
};

}  // namespace vob::reports
