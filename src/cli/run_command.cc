// `vobreports run`: acts as the host application. It hands the settings to rptManager in the order a host
// does, asks for the report by key, runs it through the engine and writes the output the -o path names.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/run_options.h"
#include "framework/schema/demo_database.h"
#include "manager/report_output.h"
#include "manager/rpt_manager.h"
#include "platform/data/connection.h"
#include "platform/engine/run.h"
#include "platform/render/font_locator.h"
#include "platform/render/font_service.h"
#include "platform/render/render_error.h"
#include "platform/render/render_output.h"
#include "platform/vb/conversions.h"
#include "platform/vb/date.h"
#include "settings/report_settings.h"

namespace vob::cli {
namespace {

// The title a host shows for each report unless --title names another.
constexpr std::pair<std::string_view, std::string_view> kTitles[] = {
    {"activity", "Account Activity"},
    {"apaging", "Accounts Payable Aging"},
    {"araging", "Accounts Receivable Aging"},
    {"backorditem", "Back Orders by Item"},
    {"backordcust", "Back Orders by Customer"},
    {"balsht", "Balance Sheet"},
    {"chaccts", "Chart of Accounts"},
    {"check", "Checks"},
    {"checklayout", "Check Layout"},
    {"chreg", "Check Register"},
    {"customer", "Customer Profile"},
    {"custlist", "Customer List"},
    {"cusstmt", "Customer Statement"},
    {"incstmt", "Income Statement"},
    {"inventory", "Inventory Valuation"},
    {"invoice", "Invoice"},
    {"journal", "Journal"},
    {"jobinfo", "Job Information"},
    {"joblist", "Job List"},
    {"labels", "Mailing Labels"},
    {"merch", "Merchandise Receipt"},
    {"packlist", "Packing List"},
    {"prodalert", "Reorder Alert"},
    {"po", "Purchase Order"},
    {"pricelist", "Price List"},
    {"prodlist", "Product List"},
    {"purrept1", "Purchases by Vendor"},
    {"purrept2", "Purchases by Department"},
    {"purret", "Purchase Return"},
    {"salesrept1", "Sales by Customer"},
    {"salesrept2", "Sales by Department"},
    {"salesret", "Sales Return"},
    {"servicelist", "Service List"},
    {"salesorder", "Sales Order"},
    {"trbalance", "Trial Balance"},
    {"vendor", "Vendor Profile"},
    {"vendlist", "Vendor List"},
    {"venpayments", "Vendor Payments"},
};

}  // namespace

std::string DefaultTitle(std::string_view key) {
  for (const auto& [title_key, title] : kTitles) {
    if (title_key == key) return std::string(title);
  }
  return "";
}

// A connection string as given, or a bare path to a SQLite file made into one (reports append further
// keys to the connection string, so it has to be in key=value form).
std::string ConnectionStringFor(const std::string& database) {
  if (database.empty()) {
    return "Provider=SQLite;Data Source=" + schema::EnsureDemoDatabase().string() + ";";
  }
  if (database.find('=') != std::string::npos || database.starts_with("postgres")) {
    return database.back() == ';' ? database : database + ";";  // a URI ends at its first ";"
  }
  return "Provider=SQLite;Data Source=" + database + ";";
}

namespace {

double ParseClock(const std::string& text, bool has_time, const char* option) {
  const std::optional<double> serial = ParseRunClock(text, has_time);
  if (!serial) {
    throw UsageError(std::string(option) + " \"" + text + "\" is not " +
                     (has_time ? "\"YYYY-MM-DD HH:MM:SS\"" : "YYYY-MM-DD"));
  }
  return *serial;
}

}  // namespace

// --now sets the date and time, --today the date (keeping --now's time, or midnight): the text a host hands
// to SetNow, or "" when neither is given.
std::string RunClockText(const RunOptions& options) {
  if (options.now.empty() && options.today.empty()) return "";
  if (!options.now.empty()) ParseClock(options.now, true, "--now");
  if (options.today.empty()) return options.now;
  ParseClock(options.today, false, "--today");
  return options.now.empty() ? options.today : options.today + options.now.substr(options.now.find(' '));
}

void PinRunClock(const RunOptions& options) {
  const std::string text = RunClockText(options);
  if (!text.empty()) vb::PinClock(*ParseRunClock(text));
}

namespace {

void ApplyLogo(rptManager& manager, const std::string& logo) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t comma = logo.find(',', start);
    parts.push_back(logo.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  auto number = [&](size_t index) -> std::optional<double> {
    return index < parts.size() ? vb::ParseNumber(parts[index]) : std::optional<double>(0);
  };
  const std::optional<double> option = number(0), width = number(2), height = number(3);
  if (parts.size() == 3 || parts.size() > 4 || !option || !width || !height) {
    throw UsageError("--logo \"" + logo + "\" is not OPTION[,FILE[,WIDTH,HEIGHT]]");
  }
  manager.SetLogoProps(static_cast<int16_t>(*option), parts.size() > 1 ? parts[1] : "",
                       static_cast<float>(*width), static_cast<float>(*height));
}

std::string Pages(int count) {
  return std::to_string(count) + (count == 1 ? " page" : " pages");
}

}  // namespace

engine::ReportHandle PrepareReport(const RunOptions& options, rptManager& manager) {
  const std::string key = vb::LCase(options.key);
  const std::string clock = RunClockText(options);
  // The host's calls, in its order: data source and formats, reset, then the per-request values.
  if (!clock.empty()) manager.SetNow(clock);
  manager.SetDataSource(ConnectionStringFor(options.database));
  manager.SetDateFormat(options.date_format);
  manager.SetCurrencyFormat(options.currency_format);
  manager.SetPriceFmt(options.price_format);
  manager.reset();
  ApplyLogo(manager, options.logo);  // after reset, which clears the logo size
  for (const std::string& param : options.params) {
    const size_t equals = param.find('=');
    const std::optional<double> index =
        equals == std::string::npos ? std::nullopt : vb::ParseNumber(param.substr(0, equals));
    if (!index || *index < 0 || *index > 6 || *index != std::trunc(*index)) {
      throw UsageError("--param \"" + param + "\" is not I=TEXT with I from 0 to 6");
    }
    manager.SetReptParam(static_cast<int16_t>(*index), param.substr(equals + 1));
  }
  manager.SetDrillDownParams(options.drilldown);
  manager.Title(options.has_title ? options.title : DefaultTitle(key));
  engine::ReportHandle report = manager.GetReport(key);
  if (!report) FindBuiltReport(options.key);  // throws: the key is unknown or its report not built yet
  return report;
}

ReportOutputOptions OutputOptionsFor(const RunOptions& options) {
  const std::string key = vb::LCase(options.key);
  ReportOutputOptions output_options;
  output_options.report_key = key;
  output_options.title = options.has_title ? options.title : DefaultTitle(key);
  output_options.dots_per_inch = options.dots_per_inch;
  output_options.stamps_creation_time = !options.now.empty() || !options.today.empty();
  output_options.exports = options.exports;
  if (options.shows_progress || isatty(STDERR_FILENO)) {
    // Counts pages on stderr while they stream past, at the pace report_output.h keeps.
    output_options.progress = [key](int pages_done, bool is_final) {
      std::cerr << '\r' << key << ": " << Pages(pages_done) << (is_final ? ", done\n" : "") << std::flush;
    };
  }
  return output_options;
}

void AddRunOptions(CLI::App& command, RunOptions& options) {
  command.add_option("KEY", options.key, "Report key (see `vobreports keys`)")->required();
  command.add_option("--db", options.database,
                     "Connection string or SQLite file (default: the demo database, created on first use)");
  command.add_option("--param", options.params, "Report parameter I=TEXT (I from 0 to 6); repeatable");
  command.add_option("--drilldown", options.drilldown, "Drill-down argument");
  command.add_option("--title", options.title, "Report title (default: the report's usual title)")
      ->each([&options](const std::string&) { options.has_title = true; });
  command.add_option("--date-format", options.date_format, "Date format")->capture_default_str();
  command.add_option("--currency-format", options.currency_format, "Currency format")->capture_default_str();
  command.add_option("--price-format", options.price_format, "Price format")->capture_default_str();
  command.add_option("--logo", options.logo, "Company header: OPTION[,FILE[,WIDTH,HEIGHT]] (twips)")
      ->capture_default_str();
  command.add_option("--today", options.today, "Run date YYYY-MM-DD (time 00:00:00 unless --now)");
  command.add_option("--now", options.now, "Run date and time \"YYYY-MM-DD HH:MM:SS\"");
  command.add_flag("--progress", options.shows_progress, "Show pages produced on stderr");
}

namespace {

// Writes the Jet text of every statement the run reads, one JSON string a line, for `sql --statements` to
// replay: the bare read of the run beside the run itself.
class StatementLogFile {
 public:
  explicit StatementLogFile(const std::string& path) {
    if (path.empty()) return;
    file_.open(path, std::ios::binary | std::ios::trunc);
    if (!file_) throw Error("--log-sql: cannot write " + path);
    data::SetStatementLog([this](std::string_view jet_sql) {
      file_ << nlohmann::json(jet_sql).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    });
  }
  ~StatementLogFile() {
    if (file_.is_open()) data::SetStatementLog(nullptr);
  }
  StatementLogFile(const StatementLogFile&) = delete;
  StatementLogFile& operator=(const StatementLogFile&) = delete;

 private:
  std::ofstream file_;
};

void RunReport(const RunOptions& options, const std::string& log_sql) {
  render::StartFontDiscovery();  // while the report opens its database and reads its first rows
  const StatementLogFile log(log_sql);
  rptManager manager;
  engine::ReportHandle report = PrepareReport(options, manager);
  render::OutputKindOf(options.output);  // an unknown extension fails before the report runs
  RunReportToPath(*report, options.output, OutputOptionsFor(options), &std::cout);
}

}  // namespace

void RegisterRunCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "run", "Run a report, as the host application does, and write its pages or export its data");
  auto options = std::make_shared<RunOptions>();
  AddRunOptions(*command, *options);
  command
      ->add_option("-o,--output", options->output,
                   "Output: .pdf, .png (one file per page), .svg, .txt, .json, .csv, .xlsx, or - for text on "
                   "stdout")
      ->capture_default_str()
      ->check([](const std::string& path) {  // an unknown extension is bad usage (exit 2)
        try {
          render::OutputKindOf(path);
          return std::string();
        } catch (const render::RenderError& error) {
          return std::string(error.what());
        }
      });
  command->add_option("--dpi", options->dots_per_inch, "PNG resolution")
      ->capture_default_str()
      ->check(CLI::Range(10.0, 1200.0));
  command->add_flag("--csv-formatted", options->exports.writes_printed_text,
                    "CSV: the texts as printed instead of the values");
  command->add_flag("--sheet-per-group", options->exports.has_sheet_per_group,
                    "XLSX: each first-level group on a sheet of its own, named by its key");
  auto log_sql = std::make_shared<std::string>();
  command->add_option("--log-sql", *log_sql,
                      "Write the Jet text of every statement the run reads to FILE, one JSON string a line "
                      "(`vobreports sql --statements FILE` reads them back)");
  command->callback([options, log_sql] { RunReport(*options, *log_sql); });
}

}  // namespace vob::cli
