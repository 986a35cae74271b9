// `vobreports print` and `vobreports printers`: a report printed through CUPS as one job, and the
// destinations CUPS offers. print takes run's options; its job id is what it prints on stdout.
#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/run_options.h"
#include "manager/report_print.h"
#include "platform/render/cups_printer.h"

namespace vob::cli {
namespace {

struct PrintCommandOptions {
  RunOptions run;
  PrintRequest request;
};

void PrintReportCommand(const PrintCommandOptions& options) {
  rptManager manager;
  engine::ReportHandle report = PrepareReport(options.run, manager);
  PrintRequest request = options.request;
  request.waits = false;  // the job id goes out first, so that a failed wait still names the job
  const PrintedReport printed = PrintReport(*report, OutputOptionsFor(options.run), request);
  std::cout << printed.job.id << std::endl;
  if (options.request.waits) render::WaitForJob(printed.job);
}

void ListPrinters(bool as_json) {
  const std::vector<render::PrintDestination> destinations = render::ListPrintDestinations();
  if (as_json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const render::PrintDestination& destination : destinations) {
      list.push_back({{"name", destination.name},
                      {"is_default", destination.is_default},
                      {"state", destination.state},
                      {"is_accepting_jobs", destination.is_accepting_jobs},
                      {"state_message", destination.state_message},
                      {"state_reasons", destination.state_reasons}});
    }
    // A printer's message is the server's text and may hold any bytes: replace what is not UTF-8.
    std::cout << list.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    return;
  }
  // One line per destination, tab-separated: a tab or line break in the server's texts becomes a blank.
  const auto field = [](std::string text) {
    for (char& c : text) {
      if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
  };
  for (const render::PrintDestination& destination : destinations) {
    std::cout << field(destination.name) << '\t' << destination.state << '\t'
              << (destination.is_accepting_jobs ? "accepting" : "rejecting") << '\t'
              << (destination.is_default ? "default" : "") << '\t' << field(destination.state_message)
              << '\n';
  }
}

// CLI11 validators: a bad value is bad usage (exit 2), checked as the request itself checks it.
std::string CheckedBy(std::string PrintRequest::*field, const std::string& value) {
  PrintRequest request;
  request.*field = value;
  try {
    CheckPrintRequest(request);
    return "";
  } catch (const render::PrintError& error) {
    return error.what();
  }
}

}  // namespace

void RegisterPrintCommands(CLI::App& app) {
  CLI::App* print = app.add_subcommand(
      "print", "Run a report and print it through CUPS as one job, placed on the paper as it is laid out");
  auto options = std::make_shared<PrintCommandOptions>();
  AddRunOptions(*print, options->run);
  print->add_option("--printer", options->request.printer,
                    "CUPS destination (default: the default destination; see `vobreports printers`)");
  print->add_option("--copies", options->request.copies, "Number of copies")
      ->capture_default_str()
      ->check(CLI::Range(1, 9999));
  print
      ->add_option("--sides", options->request.sides,
                   "one-sided, two-sided-long-edge or two-sided-short-edge (default: the printer's)")
      ->check([](const std::string& sides) { return CheckedBy(&PrintRequest::sides, sides); });
  print->add_option("--pages", options->request.pages, "Pages to print, such as 1-3,5 (default: all)")
      ->check([](const std::string& pages) { return CheckedBy(&PrintRequest::pages, pages); });
  print->add_flag("--wait", options->request.waits,
                  "Wait until the job has printed; fail when it is aborted, cancelled or stopped");
  print->callback([options] { PrintReportCommand(*options); });

  CLI::App* printers = app.add_subcommand("printers", "List the CUPS destinations with their state");
  auto as_json = std::make_shared<bool>(false);
  printers->add_flag("--json", *as_json, "As a JSON array of objects");
  printers->callback([as_json] { ListPrinters(*as_json); });
}

}  // namespace vob::cli
