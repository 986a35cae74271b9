// What `run` and `view` hand to rptManager for one run: the host's settings, parameters and drill-down.
// PrepareReport makes the host's calls in the host's order on the calling thread's settings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "manager/report_output.h"
#include "manager/rpt_manager.h"
#include "platform/engine/active_report.h"
#include "platform/render/render_output.h"

namespace vob::cli {

struct RunOptions {
  std::string key;
  std::string database;
  std::vector<std::string> params;
  std::string drilldown;
  std::string title;
  bool has_title = false;
  std::string date_format = "mm/dd/yy";
  std::string currency_format = "$#,##0.00;($#,##0.00)";
  std::string price_format = "#,##0.00";
  std::string logo = "0";
  std::string today;
  std::string now;
  std::string output = "-";
  bool shows_progress = false;
  double dots_per_inch = 96;
  render::ExportOptions exports;
};

// The title a host shows for a report key ("trbalance" gives "Trial Balance"); empty for an unknown key.
std::string DefaultTitle(std::string_view key);

// A connection string as given, or a bare path to a SQLite file made into one; the demo database (created on
// first use) when empty.
std::string ConnectionStringFor(const std::string& database);

// --now / --today as the one text a host hands to SetNow ("YYYY-MM-DD[ HH:MM:SS]"), "" when neither is given.
// Throws UsageError for a malformed one.
std::string RunClockText(const RunOptions& options);
// Pins the process's clock to the same, for the viewer, whose runs (and the reports their links open) run on
// threads of their own. Throws UsageError for a malformed one.
void PinRunClock(const RunOptions& options);

// Hands the options to the manager as a host does (run clock, data source, formats, reset, logo, parameters,
// drill-down, title) and asks for the report by key. Throws UsageError for a malformed --param or --logo or
// an unknown key, vob::Error for a key whose report is not built yet.
engine::ReportHandle PrepareReport(const RunOptions& options, rptManager& manager);

// Adds what every command that runs a report takes: KEY, --db, --param, --drilldown, --title, the formats,
// --logo, --today, --now and --progress. options must outlive the command.
void AddRunOptions(CLI::App& command, RunOptions& options);

// What RunReportToPath needs from the options: key, title, resolution, exports, and the page count on stderr
// with --progress or when stderr is a terminal.
ReportOutputOptions OutputOptionsFor(const RunOptions& options);

}  // namespace vob::cli
