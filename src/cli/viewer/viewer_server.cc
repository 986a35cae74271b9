// Routes of the viewer server. Pages are drawn on the request's thread with that thread's own font service;
// nothing here runs a report except POST /api/runs and /follow, and nothing writes the database.
#include "cli/viewer/viewer_server.h"

#include <httplib.h>

#include <algorithm>
#include <random>
#include <string_view>

#include "cli/commands.h"
#include "cli/viewer/link_target.h"
#include "cli/viewer/print_routes.h"
#include "cli/viewer/viewer_assets.h"
#include "manager/report_keys.h"
#include "platform/render/font_service.h"
#include "platform/vb/conversions.h"

namespace vob::cli::viewer {
namespace {

struct Family {
  std::string_view name;
  std::vector<std::string_view> keys;
};

// The families a host's report menu shows, in its order; a built key missing here shows under "Other".
const std::vector<Family>& Families() {
  static const std::vector<Family> families = {
      {"General ledger", {"chaccts", "trbalance", "balsht", "incstmt", "journal", "activity"}},
      {"Receivables, payables and banking",
       {"araging", "apaging", "cusstmt", "check", "checklayout", "chreg", "venpayments"}},
      {"Sales and purchases",
       {"salesrept1", "salesrept2", "purrept1", "purrept2", "backorditem", "backordcust"}},
      {"Documents", {"invoice", "salesorder", "packlist", "salesret", "po", "merch", "purret"}},
      {"Customers, vendors, products and jobs",
       {"customer", "vendor", "custlist", "vendlist", "labels", "prodlist", "servicelist", "pricelist",
        "inventory", "prodalert", "joblist", "jobinfo"}},
  };
  return families;
}

constexpr size_t kSearchHitLimit = 5000;
constexpr std::string_view kTokenMark = "__TOKEN__";
constexpr int kMaxFormParam = 6;
constexpr size_t kServerThreads = 48;
// httplib compresses the types it knows (text/*, image/svg+xml, application/json) with brotli at its best and
// slowest quality when a browser accepts it, which holds a page back by seconds; these types it leaves alone.
constexpr const char* kUncompressedSvg = "image/svg+xml; charset=utf-8";
constexpr const char* kUncompressedDownload = "application/octet-stream";
constexpr time_t kKeepAliveSeconds = 2;

nlohmann::ordered_json ReportsByFamily() {
  nlohmann::ordered_json families = nlohmann::ordered_json::array();
  std::vector<std::string_view> listed;
  auto add_family = [&](std::string_view name, const std::vector<std::string_view>& keys) {
    nlohmann::ordered_json reports = nlohmann::ordered_json::array();
    for (std::string_view key : keys) {
      const ReportKey* entry = FindReportKey(key);
      if (entry == nullptr || entry->create == nullptr) continue;
      reports.push_back({{"key", key}, {"title", DefaultTitle(key)}});
    }
    if (!reports.empty()) families.push_back({{"family", name}, {"reports", std::move(reports)}});
  };
  for (const Family& family : Families()) {
    add_family(family.name, family.keys);
    listed.insert(listed.end(), family.keys.begin(), family.keys.end());
  }
  std::vector<std::string_view> others;
  for (const ReportKey& entry : ReportKeys()) {
    if (std::find(listed.begin(), listed.end(), entry.key) == listed.end()) others.push_back(entry.key);
  }
  add_family("Other", others);
  return families;
}

// The run the form asks for: the server's defaults with the form's values over them.
RunOptions OptionsFromForm(const RunOptions& defaults, const nlohmann::json& form) {
  RunOptions options = defaults;
  options.key = form.at("key").get<std::string>();
  options.params.clear();
  options.drilldown = form.value("drilldown", "");
  if (form.contains("params")) {
    for (const auto& [index, value] : form.at("params").items()) {
      const int number = std::stoi(index);
      if (number < 0 || number > kMaxFormParam) throw std::out_of_range("parameter " + index);
      options.params.push_back(index + "=" + value.get<std::string>());
    }
  }
  options.has_title = !form.value("title", "").empty();
  options.title = form.value("title", "");
  auto take = [&](const char* name, std::string& field) {
    if (form.contains(name) && !form.at(name).get<std::string>().empty())
      field = form.at(name).get<std::string>();
  };
  take("date_format", options.date_format);
  take("currency_format", options.currency_format);
  take("price_format", options.price_format);
  take("logo", options.logo);
  return options;
}

void SendJson(httplib::Response& response, const nlohmann::ordered_json& body, int status = 200) {
  response.status = status;
  response.set_content(body.dump(), "application/json");
}

void SendError(httplib::Response& response, int status, const std::string& message) {
  SendJson(response, {{"error", message}}, status);
}

render::FontService& ThreadFonts() {
  thread_local render::FontService fonts;
  return fonts;
}

}  // namespace

std::string NewAccessToken() {
  std::random_device device;
  std::string token;
  constexpr char kDigits[] = "0123456789abcdef";
  for (int i = 0; i < 32; ++i) token += kDigits[device() % 16];
  return token;
}

ViewerServer::ViewerServer(ViewerConfig config)
    : config_(std::move(config)),
      token_(NewAccessToken()),
      runs_(std::make_unique<RunStore>(config_.memory_limit_bytes, config_.prepare)),
      server_(std::make_unique<httplib::Server>()) {
  AddRoutes();
}

ViewerServer::~ViewerServer() {
  Stop();
  runs_.reset();  // ends the runs before the server goes
}

void ViewerServer::Bind() {
  port_ = config_.port == 0
              ? server_->bind_to_any_port(config_.listen_address)
              : (server_->bind_to_port(config_.listen_address, config_.port) ? config_.port : -1);
  if (port_ <= 0) {
    throw vob::Error("cannot listen on " + config_.listen_address + " port " + std::to_string(config_.port));
  }
}

void ViewerServer::Listen() {
  server_->listen_after_bind();
}

void ViewerServer::ListenInBackground() {
  listener_ = std::thread([this] { server_->listen_after_bind(); });
}

void ViewerServer::Stop() {
  server_->stop();
  if (listener_.joinable()) listener_.join();
}

std::string ViewerServer::Url() const {
  const bool is_any = config_.listen_address == "0.0.0.0" || config_.listen_address == "::";
  std::string host = is_any ? "127.0.0.1" : config_.listen_address;
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return "http://" + host + ":" + std::to_string(port_) + "/?token=" + token_;
}

void ViewerServer::AddRoutes() {
  httplib::Server& server = *server_;
  // A browser keeps several connections open between requests, each holding a pool thread until it idles
  // out: enough threads that page requests never queue behind idle connections.
  server.new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
  server.set_keep_alive_timeout(kKeepAliveSeconds);
  server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
    if (request.get_param_value("token") == token_) return httplib::Server::HandlerResponse::Unhandled;
    response.status = 403;
    response.set_content("403 Forbidden: the address needs the token vobreports view printed\n",
                         "text/plain");
    return httplib::Server::HandlerResponse::Handled;
  });
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
        try {
          std::rethrow_exception(error);
        } catch (const std::exception& exception) {
          SendError(response, 500, exception.what());
        }
      });

  auto asset = [&server](const char* path, std::string_view content, const char* type) {
    server.Get(path, [content, type](const httplib::Request&, httplib::Response& response) {
      response.set_content(content.data(), content.size(), type);
      response.set_header("Cache-Control", "no-store");
    });
  };
  // The page names its script and style with the token, since every address needs it.
  server.Get("/", [this](const httplib::Request&, httplib::Response& response) {
    std::string html(kViewerHtml);
    for (size_t at = html.find(kTokenMark); at != std::string::npos; at = html.find(kTokenMark, at)) {
      html.replace(at, kTokenMark.size(), token_);
    }
    response.set_content(html, "text/html; charset=utf-8");
    response.set_header("Cache-Control", "no-store");
  });
  asset("/viewer.js", kViewerScript, "text/javascript; charset=utf-8");
  asset("/viewer.css", kViewerStyle, "text/css; charset=utf-8");

  server.Get("/api/reports", [](const httplib::Request&, httplib::Response& response) {
    SendJson(response, ReportsByFamily());
  });
  server.Get(R"(/api/params/(\w+))", [](const httplib::Request& request, httplib::Response& response) {
    try {
      SendJson(response, DeclaredParamsJson(request.matches[1]));
    } catch (const vob::Error& error) {
      SendError(response, 404, error.what());
    }
  });
  server.Post("/api/runs", [this](const httplib::Request& request, httplib::Response& response) {
    RunOptions options;
    try {
      options = OptionsFromForm(config_.defaults, nlohmann::json::parse(request.body));
    } catch (const std::exception& error) {
      return SendError(response, 400, std::string("malformed run request: ") + error.what());
    }
    SendJson(response, runs_->Start(std::move(options))->Status());
  });

  // The run a /api/runs/ID/... request names, or an answer saying why there is none.
  auto find_run = [this](const httplib::Request& request, httplib::Response& response) {
    const int id = std::stoi(request.matches[1]);
    std::shared_ptr<KeptRun> run = runs_->Find(id);
    if (run == nullptr) {
      if (runs_->WasDropped(id)) {
        SendJson(response, {{"id", id}, {"state", "dropped"}}, 410);
      } else {
        SendError(response, 404, "no run " + std::to_string(id));
      }
    }
    return run;
  };
  server.Get(R"(/api/runs/(\d+))", [find_run](const httplib::Request& request, httplib::Response& response) {
    if (auto run = find_run(request, response)) SendJson(response, run->Status());
  });
  server.Get(R"(/api/runs/(\d+)/pages/(\d+)\.svg)",
             [find_run](const httplib::Request& request, httplib::Response& response) {
               auto run = find_run(request, response);
               if (run == nullptr) return;
               std::string svg = run->PageSvg(std::stoi(request.matches[2]), ThreadFonts());
               if (svg.empty()) return SendError(response, 404, "no page " + std::string(request.matches[2]));
               response.set_content(std::move(svg), kUncompressedSvg);
             });
  server.Get(R"(/api/runs/(\d+)/search)",
             [find_run](const httplib::Request& request, httplib::Response& response) {
               if (auto run = find_run(request, response)) {
                 SendJson(response, run->Search(request.get_param_value("q"), kSearchHitLimit));
               }
             });
  server.Get(R"(/api/runs/(\d+)/download\.(pdf|txt|json))", [find_run](const httplib::Request& request,
                                                                       httplib::Response& response) {
    auto run = find_run(request, response);
    if (run == nullptr) return;
    if (run->state() != RunState::kDone) return SendError(response, 409, "the run has not finished");
    const std::string kind = request.matches[2];
    const char* type = kind == "pdf" ? "application/pdf" : kUncompressedDownload;
    response.set_content(run->Download(kind, ThreadFonts()), type);
    response.set_header("Content-Disposition",
                        "attachment; filename=\"" + vb::LCase(run->options().key) + "." + kind + "\"");
  });
  server.Post(R"(/api/runs/(\d+)/cancel)",
              [this](const httplib::Request& request, httplib::Response& response) {
                runs_->Cancel(std::stoi(request.matches[1]));
                SendJson(response, {{"state", "cancelled"}});
              });
  server.Post(R"(/api/runs/(\d+)/follow)",
              [this, find_run](const httplib::Request& request, httplib::Response& response) {
                auto run = find_run(request, response);
                if (run == nullptr) return;
                std::string link;
                try {
                  link = nlohmann::json::parse(request.body).at("link").get<std::string>();
                } catch (const std::exception& error) {
                  return SendError(response, 400, std::string("malformed link request: ") + error.what());
                }
                std::optional<RunOptions> target = FollowLink(run->options(), link);
                if (!target) return SendError(response, 400, "the link \"" + link + "\" leads nowhere");
                SendJson(response, runs_->Start(std::move(*target))->Status());
              });
  AddPrintRoutes(server, find_run, ThreadFonts);
}

}  // namespace vob::cli::viewer
