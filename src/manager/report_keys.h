// The 38 report keys, their class names and factories, in the order GetReport compares them.
// Adding a report is one row in report_list.inc; nothing here changes.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "framework/report_params.h"
#include "platform/engine/active_report.h"

namespace vob {

using ReportFactory = engine::ReportHandle (*)();

struct ReportKey {
  std::string_view key;         // lower case
  std::string_view class_name;  // "rptARAging"
  ReportFactory create;         // null while the report class is not built yet
};

std::span<const ReportKey> ReportKeys();

// The entry whose key equals `key` exactly (GetReport lower-cases first), or null.
const ReportKey* FindReportKey(std::string_view key);

// The parameter table the entry's report declares (report_params.h); empty for a pending key. Creates and
// releases one report object to ask it.
std::span<const reports::ParamRow> DeclaredParams(const ReportKey& entry);

}  // namespace vob
