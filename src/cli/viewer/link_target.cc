// Hyperlink targets: a report link names its key; a bare value means what the report it sits in lists.
#include "cli/viewer/link_target.h"

#include <algorithm>
#include <iterator>

#include "platform/vb/conversions.h"

namespace vob::cli::viewer {
namespace {

constexpr std::string_view kReportPrefix = "R:";
constexpr std::string_view kAgingKeys[] = {"araging", "apaging"};
constexpr std::string_view kAccountActivityKey = "activity";

RunOptions OtherReport(const RunOptions& from, std::string_view key, std::string_view drilldown) {
  RunOptions to;
  to.key = std::string(key);
  to.drilldown = std::string(drilldown);
  to.database = from.database;
  to.date_format = from.date_format;
  to.currency_format = from.currency_format;
  to.price_format = from.price_format;
  to.logo = from.logo;
  to.today = from.today;
  to.now = from.now;
  return to;
}

}  // namespace

std::optional<RunOptions> FollowLink(const RunOptions& from, std::string_view link) {
  if (link.empty()) return std::nullopt;
  const std::string from_key = vb::LCase(from.key);
  if (link.starts_with(kReportPrefix)) {
    const std::string_view rest = link.substr(kReportPrefix.size());
    const size_t semicolon = rest.find(';');
    const std::string key = vb::LCase(std::string(rest.substr(0, semicolon)));
    const std::string_view argument =
        semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
    if (key.empty()) return std::nullopt;
    if (key == from_key) {
      RunOptions to = from;
      to.drilldown = std::string(argument);
      return to;
    }
    return OtherReport(from, key, argument);
  }
  const bool is_aging =
      std::find(std::begin(kAgingKeys), std::end(kAgingKeys), from_key) != std::end(kAgingKeys);
  if (is_aging || from_key == kAccountActivityKey) {
    RunOptions to = from;
    to.drilldown = std::string(link);
    return to;
  }
  return OtherReport(from, kAccountActivityKey, link);
}

}  // namespace vob::cli::viewer
