// `vobreports view`: the local web viewer. Prints its address with the access token, opens the browser unless
// told not to, and serves until interrupted; a KEY given on the command line starts that run at once.
#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/run_options.h"
#include "cli/viewer/viewer_server.h"

namespace vob::cli {
namespace {

struct ViewOptions {
  RunOptions run;
  int port = 0;
  std::string listen_address = "127.0.0.1";
  bool opens_browser = true;
  size_t memory_megabytes = 1024;
};

void OpenBrowser(const std::string& url) {
  // The URL is our own: digits, letters and "/:?=#." only, so it needs no quoting beyond the single quotes.
  const std::string command = "xdg-open '" + url + "' >/dev/null 2>&1 &";
  if (std::system(command.c_str()) != 0) std::cerr << "vobreports view: open " << url << " in a browser\n";
}

void ServeViewer(const ViewOptions& options) {
  PinRunClock(options.run);
  viewer::ViewerConfig config;
  config.listen_address = options.listen_address;
  config.port = options.port;
  config.memory_limit_bytes = options.memory_megabytes << 20;
  config.defaults = options.run;
  config.defaults.database = ConnectionStringFor(options.run.database);  // the demo database made once, here
  RunOptions first = config.defaults;
  viewer::ViewerServer server(std::move(config));
  server.Bind();
  std::string url = server.Url();
  if (!options.run.key.empty()) {
    FindBuiltReport(options.run.key);  // an unknown key is bad usage before anything listens
    url += "#run=" + std::to_string(server.runs().Start(std::move(first))->id());
  }
  std::cout << "vobreports view: serving at " << url << "\n(Ctrl-C stops it)" << std::endl;
  if (options.opens_browser) OpenBrowser(url);
  server.Listen();
}

}  // namespace

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
