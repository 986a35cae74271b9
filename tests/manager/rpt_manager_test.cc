#include "manager/rpt_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <thread>

#include "platform/vb/conversions.h"
#include "platform/vb/date.h"
#include "platform/vb/error.h"
#include "settings/report_settings.h"

namespace vob {
namespace {

int ErrorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const vb::Error& error) {
    return error.number();
  }
  return 0;
}

TEST(ReportKeys, ListsThirtyEightLowerCaseKeysOnce) {
  EXPECT_EQ(ReportKeys().size(), 38u);
  std::set<std::string_view> seen;
  for (const ReportKey& entry : ReportKeys()) {
    EXPECT_TRUE(seen.insert(entry.key).second) << entry.key;
    EXPECT_EQ(entry.key, vb::LCase(entry.key));
    EXPECT_TRUE(entry.class_name.starts_with("rpt")) << entry.class_name;
  }
  EXPECT_EQ(ReportKeys().front().key, "activity");
  EXPECT_EQ(ReportKeys().back().key, "venpayments");
  ASSERT_NE(FindReportKey("po"), nullptr);
  EXPECT_EQ(FindReportKey("po")->class_name, "rptPO");
  EXPECT_EQ(FindReportKey(" araging"), nullptr);
}

// What `vobreports params` prints and make demo runs must be usable: each index once, a label, and for a
// choice its codes with the examples among them.
TEST(ReportKeys, EveryBuiltReportDeclaresWellFormedParameters) {
  for (const ReportKey& entry : ReportKeys()) {
    const std::span<const reports::ParamRow> rows = DeclaredParams(entry);
    if (entry.create == nullptr) {
      EXPECT_TRUE(rows.empty()) << entry.key;
      continue;
    }
    std::set<int> indices;
    for (const reports::ParamRow& row : rows) {
      EXPECT_TRUE(row.index == reports::kDrillDown || (row.index >= 0 && row.index < kReportParamCount))
          << entry.key << " " << row.index;
      EXPECT_TRUE(indices.insert(row.index).second) << entry.key << " declares " << row.index << " twice";
      EXPECT_FALSE(row.label.empty()) << entry.key << " " << row.index;
      EXPECT_EQ(row.kind == reports::ParamKind::kChoice, !row.values.empty())
          << entry.key << " " << row.index;
      if (row.kind != reports::ParamKind::kChoice) continue;
      for (std::string_view example : {row.example, row.second_example}) {
        EXPECT_TRUE(example.empty() || std::ranges::find(row.values, example) != row.values.end())
            << entry.key << " " << example;
      }
    }
  }
}

TEST(RptManager, GetReportOfAnUnknownKeyIsNoObject) {
  rptManager manager;
  EXPECT_EQ(manager.GetReport("nosuchreport"), nullptr);
  EXPECT_EQ(manager.GetReport("araging "), nullptr);
  EXPECT_EQ(manager.GetReport(""), nullptr);
}

TEST(RptManager, ResetClearsOnlyThePerRequestSettings) {
  rptManager manager;
  manager.SetDataSource("Provider=SQLite;Data Source=a.sqlite;");
  manager.SetCurrencyFormat("$#,##0.00;($#,##0.00)");
  manager.SetPriceFmt("#,##0.00");
  manager.SetDateFormat("mm/dd/yy");
  manager.SetLogoProps(2, "logo.png", 2880, 1440);
  manager.Title("Aging");
  manager.SetDrillDownParams("C001");
  manager.reset();
  manager.SetReptParam(1, "C001");

  const ReportSettings& settings = Settings();
  EXPECT_EQ(settings.ConnString, "Provider=SQLite;Data Source=a.sqlite;");
  EXPECT_EQ(settings.CurrencyFormat, "$#,##0.00;($#,##0.00)");
  EXPECT_EQ(settings.PriceFormat, "#,##0.00");
  EXPECT_EQ(settings.LogoOption, 2);
  EXPECT_EQ(settings.LogoFile, "logo.png");
  EXPECT_EQ(settings.LogoWidth, 0);
  EXPECT_EQ(settings.LogoHeight, 0);
  EXPECT_EQ(settings.ReportTitle, "");
  EXPECT_EQ(settings.DrillDownParams, "");
  EXPECT_EQ(settings.ReportParam(1), "C001");
  EXPECT_EQ(settings.ReportParam(0), "");

  // Reads are recorded, for the check that reports declare what they read, until the next reset.
  EXPECT_EQ(settings.params_read, 0b11);
  (void)settings.DrillDownParam();
  EXPECT_EQ(settings.params_read, 0b11 | kDrillDownReadBit);
  manager.reset();
  EXPECT_EQ(settings.params_read, 0);

  // Two managers on one thread share the store.
  rptManager second;
  manager.Title("Statement");
  second.reset();
  EXPECT_EQ(settings.ReportTitle, "");
}

TEST(RptManager, SetReptParamAcceptsSixIgnoresSevenAndRejectsNegatives) {
  rptManager manager;
  manager.reset();
  manager.SetReptParam(6, "last");
  manager.SetReptParam(7, "ignored");
  EXPECT_EQ(Settings().ReportParam(6), "last");
  EXPECT_EQ(ErrorNumberOf([&] { manager.SetReptParam(-1, "x"); }), vb::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { (void)Settings().ReportParam(7); }), vb::kSubscriptOutOfRange);
}

TEST(RptManager, ParametersDoNotExistBeforeTheFirstResetOnAThread) {
  std::thread other([] {
    rptManager manager;
    EXPECT_EQ(ErrorNumberOf([&] { manager.SetReptParam(1, "x"); }), vb::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([] { (void)Settings().ReportParam(1); }), vb::kSubscriptOutOfRange);
    EXPECT_EQ(Settings().ConnString, "");  // each thread has its own store
    manager.reset();
    EXPECT_EQ(Settings().ReportParam(1), "");
  });
  other.join();
}

TEST(RptManager, SetDateFormatChoosesTheLongDateFormatFromTheFirstLetter) {
  struct Case {
    const char* format;
    const char* long_format;
  };
  static constexpr Case kCases[] = {
      {"mm/dd/yy", "mmmm dd, yyyy"},  {"M/d/yyyy", "mmmm dd, yyyy"}, {"  mm-dd", "mmmm dd, yyyy"},
      {"dd/mm/yy", "dd mmmm yyyy"},   {" dd/mm/yy", "dd mmmm yyyy"}, {"", "dd mmmm yyyy"},
      {"yyyy-mm-dd", "dd mmmm yyyy"},
  };
  rptManager manager;
  for (const Case& c : kCases) {
    manager.SetDateFormat(c.format);
    EXPECT_EQ(Settings().DateFormat, c.format);
    EXPECT_EQ(Settings().DateTimeFormat, "ddddd ttttt");
    EXPECT_EQ(Settings().LongDateFormat, c.long_format) << '"' << c.format << '"';
  }
}

// The pinned clock is the thread's: it comes before the process's pin, survives reset, and "" gives it up.
TEST(RptManager, SetNowPinsTheThreadsClockUntilCleared) {
  struct Case {
    const char* text;
    double serial;  // 0: refused with error 5
  };
  const Case kCases[] = {
      {"2024-06-30", vb::DateSerial(2024, 6, 30)},
      {"2024-06-30 17:00:00", vb::DateSerial(2024, 6, 30) + vb::TimeSerial(17, 0, 0)},
      {"2024-02-29 23:59:59", vb::DateSerial(2024, 2, 29) + vb::TimeSerial(23, 59, 59)},
      {"2023-02-29", 0},
      {"2024-06-30 24:00:00", 0},
      {"2024-06-30 17:00", 0},
      {"2024-06-30T17:00:00", 0},
      {"2024-06-30 ", 0},
      {"06/30/2024", 0},
      {"yesterday", 0},
  };
  std::thread([&] {
    rptManager manager;
    vb::PinClock(vb::DateSerial(2000, 1, 1));  // the process's pin, which the thread's comes before
    for (const Case& c : kCases) {
      ASSERT_EQ(ErrorNumberOf([&] { manager.SetNow("2020-01-01"); }), 0);
      const int error = ErrorNumberOf([&] { manager.SetNow(c.text); });
      if (c.serial == 0) {
        EXPECT_EQ(error, vb::kInvalidProcedureCall) << c.text;
        EXPECT_EQ(vb::Now(), vb::DateSerial(2020, 1, 1)) << c.text << " changed the clock";
      } else {
        EXPECT_EQ(error, 0) << c.text;
        EXPECT_EQ(vb::Now(), c.serial) << c.text;
      }
    }
    manager.reset();
    EXPECT_EQ(vb::Now(), vb::DateSerial(2020, 1, 1));
    std::thread([] { EXPECT_EQ(vb::Now(), vb::DateSerial(2000, 1, 1)); }).join();  // not another thread's
    manager.SetNow("");
    EXPECT_EQ(vb::Now(), vb::DateSerial(2000, 1, 1));
    vb::UnpinClock();
  }).join();
}

}  // namespace
}  // namespace vob
