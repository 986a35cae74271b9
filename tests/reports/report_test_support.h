// Runs reports end to end for tests: an empty accounting database of the test's own, rows inserted through
// the raw SQLite API, settings handed over as the host does, and the finished pages to look at.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "framework/schema/demo_generator.h"
#include "framework/schema/sqlite_loader.h"
#include "manager/rpt_manager.h"
#include "platform/engine/page_model.h"
#include "platform/engine/run.h"
#include "platform/render/font_service.h"
#include "platform/render/json_dump.h"
#include "platform/vb/date.h"
#include "settings/report_settings.h"
#include "support/page_readers.h"

namespace vob::testing {

struct HostSettings {
  std::map<int, std::string> params;  // ReportParams by index
  std::string drilldown;
  std::string title = "Title";
  std::string date_format = "mm/dd/yy";
  std::string currency_format = "$#,##0.00;($#,##0.00)";
  std::string price_format = "#,##0.00";
  int16_t logo_option = 5;  // no company header, so that page texts are the report's own
  double now = vb::DateSerial(2024, 6, 30) + vb::TimeSerial(17, 0, 0);
};

inline render::FontService& TestFonts() {
  static render::FontService fonts;
  return fonts;
}

// Hands the settings over as a host does, runs the report on the database, and returns its pages.
inline engine::PageModel RunReport(const std::string& connection, std::string_view key,
                                   const HostSettings& host = {}) {
  vb::PinClock(host.now);
  rptManager manager;
  manager.SetDataSource(connection);
  manager.SetDateFormat(host.date_format);
  manager.SetCurrencyFormat(host.currency_format);
  manager.SetPriceFmt(host.price_format);
  manager.reset();
  manager.SetLogoProps(host.logo_option, "", 0, 0);
  for (const auto& [index, text] : host.params) manager.SetReptParam(static_cast<int16_t>(index), text);
  manager.SetDrillDownParams(host.drilldown);
  manager.Title(host.title);
  engine::ReportHandle report = manager.GetReport(std::string(key));
  engine::PageModel model;
  if (!report) {
    ADD_FAILURE() << "no report for key " << key;
    return model;
  }
  engine::Run(*report, {TestFonts(), model, std::string(key), host.title});
  return model;
}

class ReportDatabase {
 public:
  ReportDatabase() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ =
        std::filesystem::temp_directory_path() / ("vob-report-test-" + std::to_string(::getpid()) + "-" +
                                                  test->test_suite_name() + "-" + test->name());
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
    path_ = directory_ / "accounts.sqlite";
    schema::WriteDemoSqlite(path_, schema::DemoOptions{}, /*schema_only=*/true);
  }
  ~ReportDatabase() { std::filesystem::remove_all(directory_); }

  // Writes through the raw API: the library's own connections are read-only.
  void Exec(std::string_view sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    const int status = sqlite3_exec(db, std::string(sql).c_str(), nullptr, nullptr, &message);
    EXPECT_EQ(status, SQLITE_OK) << (message ? message : "") << " in: " << sql;
    sqlite3_free(message);
    sqlite3_close(db);
  }

  std::string ConnString() const { return "Provider=SQLite;Data Source=" + path_.string() + ";"; }

  engine::PageModel Run(std::string_view key, const HostSettings& host = {}) {
    return RunReport(ConnString(), key, host);
  }

 private:
  std::filesystem::path directory_;
  std::filesystem::path path_;
};

}  // namespace vob::testing
