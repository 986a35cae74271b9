// `vobreports view`'s command line; the serving itself is ServeViewer's (see view_options.h).
// The viewer program parses the same options again, so both must come from here.
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/viewer/view_options.h"

namespace vob::cli {

void RegisterViewCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "view", "Serve a local web viewer: run reports from a form, page, search, follow links, download");
  auto options = std::make_shared<ViewOptions>();
  RunOptions& run = options->run;
  command->add_option("KEY", run.key, "Report key to run at once (see `vobreports keys`)");
  command->add_option("--db", run.database,
                      "Connection string or SQLite file (default: the demo database, created on first use)");
  command->add_option("--port", options->port, "Port to listen on (default: any free port)")
      ->check(CLI::Range(0, 65535));
  command->add_option("--listen", options->listen_address, "Address to listen on")->capture_default_str();
  command->add_flag(
      "--no-browser", [options](int64_t) { options->opens_browser = false; },
      "Do not open a browser, only print the address");
  command
      ->add_option("--memory-mb", options->memory_megabytes,
                   "Memory for kept runs; the oldest finished runs are dropped beyond it")
      ->capture_default_str();
  command->add_option("--param", run.params, "Report parameter I=TEXT (I from 0 to 6) for KEY; repeatable");
  command->add_option("--drilldown", run.drilldown, "Drill-down argument for KEY");
  command->add_option("--title", run.title, "Report title for KEY (default: the report's usual title)")
      ->each([options](const std::string&) { options->run.has_title = true; });
  command->add_option("--date-format", run.date_format, "Date format")->capture_default_str();
  command->add_option("--currency-format", run.currency_format, "Currency format")->capture_default_str();
  command->add_option("--price-format", run.price_format, "Price format")->capture_default_str();
  command->add_option("--logo", run.logo, "Company header: OPTION[,FILE[,WIDTH,HEIGHT]] (twips)")
      ->capture_default_str();
  command->add_option("--today", run.today, "Run date YYYY-MM-DD for every run");
  command->add_option("--now", run.now, "Run date and time \"YYYY-MM-DD HH:MM:SS\" for every run");
  command->callback([options] { ServeViewer(*options); });
}

}  // namespace vob::cli
