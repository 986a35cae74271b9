// Which run a report's hyperlink opens when the viewer follows it as the host does:
//   "R:KEY;ARGUMENT"              the report KEY with ARGUMENT as its drill-down argument
//   ("R:jobinfo;J2023-005") an id in an aging             the same aging, same settings, narrowed by the id
//   as drill-down argument anything else (account no.)   the account activity narrowed to that account
#pragma once

#include <optional>
#include <string_view>

#include "cli/run_options.h"

namespace vob::cli::viewer {

// The options of the run to open from a link on a page of the run `from`; nullopt for an empty link.
// The data source, formats and logo carry over; parameters only when the report stays the same.
std::optional<RunOptions> FollowLink(const RunOptions& from, std::string_view link);

}  // namespace vob::cli::viewer
