// Every built report's demo runs: each matches its reviewed page dump, and each reads exactly the parameters
// its table declares, so that `vobreports params` tells users the whole truth.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <bitset>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "framework/schema/postgres_loader.h"

#include "reports/demo_runs.h"
#include "support/golden_pages.h"

namespace vob {
namespace {

using testing::DemoRun;

std::string ParamName(int bit) {
  return bit == kReportParamCount ? "DrillDownParams" : "ReportParams(" + std::to_string(bit) + ")";
}

uint16_t DeclaredBits(const ReportKey& entry) {
  uint16_t bits = 0;
  for (const reports::ParamRow& row : DeclaredParams(entry))
    bits |= row.index == reports::kDrillDown ? kDrillDownReadBit : static_cast<uint16_t>(1u << row.index);
  return bits;
}

// The drill-down and second example runs that make demo adds to a report's own.
TEST(DemoRuns, AddTheDrillDownAndSecondExampleRuns) {
  std::map<std::string, int> runs_per_key;
  for (const DemoRun& run : testing::AllDemoRuns()) ++runs_per_key[run.key];
  EXPECT_EQ(runs_per_key["chaccts"], 1);
  EXPECT_EQ(runs_per_key["activity"], 2);
  EXPECT_EQ(runs_per_key["araging"], 2);
  EXPECT_EQ(runs_per_key["journal"], 2);
}

// One run of each, checked both ways: a golden page dump and the parameters read against those declared.
TEST(DemoRuns, MatchTheirGoldenPagesAndReadOnlyDeclaredParameters) {
  std::map<std::string, uint16_t> read_per_key;
  for (const DemoRun& run : testing::AllDemoRuns()) {
    SCOPED_TRACE(run.name);
    const engine::PageModel model = testing::RunReport(testing::DemoConnectionString(), run.key, run.host);
    const uint16_t read = Settings().params_read;
    read_per_key[run.key] |= read;
    testing::ExpectMatchesGolden(model, "demo/" + run.name);

    const uint16_t declared = DeclaredBits(*FindReportKey(run.key));
    for (int bit = 0; bit <= kReportParamCount; ++bit) {
      if ((read & ~declared) >> bit & 1)
        ADD_FAILURE() << run.key << " reads " << ParamName(bit) << " but does not declare it";
    }
  }
  // A declaration that no demo run reads is stale, or its example never reaches the code that reads it.
  for (const auto& [key, read] : read_per_key) {
    const uint16_t declared = DeclaredBits(*FindReportKey(key));
    for (int bit = 0; bit <= kReportParamCount; ++bit) {
      if ((declared & ~read) >> bit & 1)
        ADD_FAILURE() << key << " declares " << ParamName(bit) << " but none of its demo runs reads it";
    }
  }
}

std::string PageDump(const engine::PageModel& model) {
  std::ostringstream dump;
  render::WriteJsonDump(model, dump);
  return dump.str();
}

// The same company in PostgreSQL prints the same pages: rows that tie on a report's ORDER BY come in one
// order on both. Runs when VOB_TEST_PG names a server; the company goes into a schema of its own.
TEST(DemoRuns, GiveTheSamePagesOnPostgresAsOnSqlite) {
  const char* server = std::getenv("VOB_TEST_PG");
  if (server == nullptr || *server == '\0') GTEST_SKIP() << "VOB_TEST_PG is not set";
  const std::string schema = "vob_demo_runs_" + std::to_string(::getpid());
  schema::LoadDemoPostgres(server, {1, *schema::ParseIsoDate(schema::kDemoBookDate)}, false, schema);
  const std::string uri = server;
  const std::string connection =
      uri + (uri.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + schema + ";";
  for (const DemoRun& run : testing::AllDemoRuns()) {
    SCOPED_TRACE(run.name);
    const std::string on_sqlite =
        PageDump(testing::RunReport(testing::DemoConnectionString(), run.key, run.host));
    const std::string on_postgres = PageDump(testing::RunReport(connection, run.key, run.host));
    if (on_postgres != on_sqlite) ADD_FAILURE() << testing::LineDiff(on_sqlite, on_postgres);
  }
  PGconn* admin = PQconnectdb(server);
  PQclear(PQexec(admin, ("SET client_min_messages = warning; DROP SCHEMA " + schema + " CASCADE").c_str()));
  PQfinish(admin);
}

}  // namespace
}  // namespace vob
