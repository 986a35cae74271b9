// Print routes of the viewer: the kept run's PDF goes to CUPS as `vobreports print` sends a fresh one, with
// the paper of its first page as media.
#include "cli/viewer/print_routes.h"

#include <cmath>
#include <string>

#include "manager/report_print.h"
#include "platform/engine/page_model.h"
#include "platform/render/cups_printer.h"

namespace vob::cli::viewer {
namespace {

void Send(httplib::Response& response, const nlohmann::ordered_json& body, int status = 200) {
  response.status = status;
  response.set_content(body.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace),
                       "application/json");
}

void SendError(httplib::Response& response, int status, const std::string& message) {
  Send(response, {{"error", message}}, status);
}

// The request's body as a print request; throws PrintError (and json's errors) when it is not one.
PrintRequest RequestFromBody(const std::string& body) {
  PrintRequest request;
  if (body.empty()) return request;
  const nlohmann::json form = nlohmann::json::parse(body);
  request.printer = form.value("printer", "");
  request.copies = form.value("copies", 1);
  request.sides = form.value("sides", "");
  request.pages = form.value("pages", "");
  CheckPrintRequest(request);
  return request;
}

// The status's page size in points as twips; Letter for a run of no pages.
int32_t Twips(const nlohmann::ordered_json& status, const char* name, int32_t letter_twips) {
  if (!status.contains(name)) return letter_twips;
  return static_cast<int32_t>(std::lround(status.at(name).get<double>() * engine::kTwipsPerPoint));
}

}  // namespace

void AddPrintRoutes(httplib::Server& server, FindRun find_run, std::function<render::FontService&()> fonts) {
  server.Get("/api/printers", [](const httplib::Request&, httplib::Response& response) {
    try {
      nlohmann::ordered_json list = nlohmann::ordered_json::array();
      for (const render::PrintDestination& destination : render::ListPrintDestinations()) {
        list.push_back({{"name", destination.name},
                        {"is_default", destination.is_default},
                        {"state", destination.state},
                        {"is_accepting_jobs", destination.is_accepting_jobs},
                        {"state_message", destination.state_message}});
      }
      Send(response, list);
    } catch (const render::PrintError& error) {
      SendError(response, 502, error.what());
    }
  });
  server.Post(R"(/api/runs/(\d+)/print)", [find_run, fonts](const httplib::Request& request,
                                                            httplib::Response& response) {
    auto run = find_run(request, response);
    if (run == nullptr) return;
    if (run->state() != RunState::kDone) return SendError(response, 409, "the run has not finished");
    PrintRequest print_request;
    try {
      print_request = RequestFromBody(request.body);
    } catch (const std::exception& error) {
      return SendError(response, 400, std::string("malformed print request: ") + error.what());
    }
    const nlohmann::ordered_json status = run->Status();
    try {
      const PrintedReport printed = PrintPdf(run->Download("pdf", fonts()), status.at("pages").get<int>(),
                                             Twips(status, "width", engine::Page().width),
                                             Twips(status, "height", engine::Page().height),
                                             status.at("title").get<std::string>(), print_request);
      Send(response, {{"job", printed.job.id}, {"printer", printed.job.printer}});
    } catch (const render::PrintError& error) {
      SendError(response, 502, error.what());
    }
  });
  server.Get(R"(/api/print-jobs/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
    try {
      const render::PrintJob job{request.get_param_value("printer"), std::stoi(request.matches[1])};
      const render::JobStatus status = render::QueryJob(job);
      Send(response, {{"state", render::JobStateName(status.state)},
                      {"reasons", status.reasons},
                      {"message", status.message}});
    } catch (const render::PrintError& error) {
      SendError(response, 502, error.what());
    }
  });
}

}  // namespace vob::cli::viewer
