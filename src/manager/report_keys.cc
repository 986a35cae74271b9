// The key table, expanded from report_list.inc.
#include "manager/report_keys.h"

#include "framework/report_base.h"

namespace vob {

#define VOB_REPORT(key, class_name) engine::ReportHandle Create_##class_name();
#define VOB_REPORT_PENDING(key, class_name)
#include "manager/report_list.inc"
#undef VOB_REPORT
#undef VOB_REPORT_PENDING

namespace {

#define VOB_REPORT(key, class_name) {key, #class_name, &Create_##class_name},
#define VOB_REPORT_PENDING(key, class_name) {key, #class_name, nullptr},
constexpr ReportKey kReportKeys[] = {
#include "manager/report_list.inc"
};
#undef VOB_REPORT
#undef VOB_REPORT_PENDING

}  // namespace

std::span<const ReportKey> ReportKeys() {
  return kReportKeys;
}

const ReportKey* FindReportKey(std::string_view key) {
  for (const ReportKey& entry : kReportKeys) {
    if (entry.key == key) return &entry;
  }
  return nullptr;
}

std::span<const reports::ParamRow> DeclaredParams(const ReportKey& entry) {
  if (entry.create == nullptr) return {};
  const engine::ReportHandle report = entry.create();
  const auto* declaring = dynamic_cast<const reports::ReportBase*>(report.get());
  return declaring != nullptr ? declaring->params() : std::span<const reports::ParamRow>();
}

}  // namespace vob
