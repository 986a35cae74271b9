// The demo runs of the built reports, as `make demo` makes them: each report with the examples its parameter
// table declares, again with its drill-down example, and again with its second examples. They run on a demo
// company generated once per test program, with the demo's fixed book date and pinned clock.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/schema/demo_database.h"
#include "framework/schema/iso_date.h"
#include "manager/report_keys.h"
#include "reports/report_test_support.h"

namespace vob::testing {

struct DemoRun {
  std::string key;
  std::string name;  // "activity", "activity-1010", "journal-second": the output name of make demo
  HostSettings host;
};

inline std::vector<DemoRun> DemoRunsOf(const ReportKey& entry) {
  const std::span<const reports::ParamRow> rows = DeclaredParams(entry);
  HostSettings host;
  host.logo_option = 0;  // the company header, as the command line's default
  host.title = std::string(entry.class_name);
  std::string drilldown;
  bool has_second_examples = false;
  for (const reports::ParamRow& row : rows) {
    if (row.index == reports::kDrillDown) {
      drilldown = std::string(row.example);
    } else {
      host.params[row.index] = std::string(row.example);
    }
    has_second_examples = has_second_examples || !row.second_example.empty();
  }
  const std::string key(entry.key);
  std::vector<DemoRun> runs = {{key, key, host}};
  if (!drilldown.empty()) {
    DemoRun run{key, key + "-" + drilldown, host};
    run.host.drilldown = drilldown;
    runs.push_back(run);
  }
  if (has_second_examples) {
    DemoRun run{key, key + "-second", host};
    for (const reports::ParamRow& row : rows) {
      if (row.index != reports::kDrillDown && !row.second_example.empty())
        run.host.params[row.index] = std::string(row.second_example);
    }
    runs.push_back(run);
  }
  return runs;
}

// Every built report's demo runs, in key-table order.
inline std::vector<DemoRun> AllDemoRuns() {
  std::vector<DemoRun> runs;
  for (const ReportKey& entry : ReportKeys()) {
    if (entry.create == nullptr) continue;
    for (DemoRun& run : DemoRunsOf(entry)) runs.push_back(std::move(run));
  }
  return runs;
}

// The demo company at scale 1 with books up to the demo date, written on first use and removed at exit.
inline const std::string& DemoConnectionString() {
  struct DemoFile {
    std::filesystem::path path;
    DemoFile()
        : path(std::filesystem::temp_directory_path() /
               ("vob-demo-runs-" + std::to_string(::getpid()) + ".sqlite")) {
      schema::WriteDemoSqlite(path, {1, *schema::ParseIsoDate(schema::kDemoBookDate)}, false);
    }
    ~DemoFile() { std::filesystem::remove(path); }
  };
  static const DemoFile file;
  static const std::string connection = "Provider=SQLite;Data Source=" + file.path.string() + ";";
  return connection;
}

}  // namespace vob::testing
