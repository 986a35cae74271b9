// Routes of the viewer server. Pages are drawn on the request's thread with that thread's own font service;
// nothing here runs a report except POST /api/runs and /follow, and nothing writes the database.
#include "cli/viewer/viewer_server.h"

#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <optional>
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

constexpr int kMaxFormParam = 6;
// httplib compresses the types it knows (text/*, image/svg+xml, application/json) with brotli at its best and
// slowest quality when a browser accepts it, which holds a page back by seconds; these types it leaves alone.
constexpr const char* kUncompressedSvg = "image/svg+xml; charset=utf-8";
constexpr const char* kUncompressedDownload = "application/octet-stream";
constexpr time_t kKeepAliveSeconds = 2;
constexpr size_t kMaxRequestBodyBytes = size_t{1} << 20;

// Scripts, styles and pictures come from the server itself only; pages show as blob: pictures; nothing is
// framed, and no form or link leaves the server.
constexpr const char* kContentSecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' blob: data:; "
    "connect-src 'self'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

// The run id an address names; nothing for digits beyond an int, which name no run either.
std::optional<int> ParseId(std::string_view digits) {
  int id = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return id;
}

// The value of cookie `name` in a Cookie header ("a=1; b=2"), or "".
std::string_view CookieValue(std::string_view header, std::string_view name) {
  while (!header.empty()) {
    const size_t end = std::min(header.find(';'), header.size());
    std::string_view pair = header.substr(0, end);
    header.remove_prefix(std::min(end + 1, header.size()));
    while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
    if (pair.size() > name.size() && pair.starts_with(name) && pair[name.size()] == '=') {
      return pair.substr(name.size() + 1);
    }
  }
  return {};
}

// The host name of a Host header: "127.0.0.1:8047" gives "127.0.0.1", "[::1]:8047" gives "::1".
std::string_view HostName(std::string_view host) {
  if (host.starts_with('[')) {
    const size_t close = host.find(']');
    return close == std::string_view::npos ? host : host.substr(1, close - 1);
  }
  return host.substr(0, host.find(':'));
}

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
      const std::optional<int> number = ParseId(index);
      if (!number || *number > kMaxFormParam) {
        throw vob::Error("parameter \"" + index + "\": the index is a number from 0 to " +
                         std::to_string(kMaxFormParam));
      }
      if (!value.is_string()) throw vob::Error("parameter " + index + ": the value is not text");
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

// Texts from the books, the form or an error message may hold any bytes: what is not UTF-8 goes out as
// U+FFFD.
void SendJson(httplib::Response& response, const nlohmann::ordered_json& body, int status = 200) {
  response.status = status;
  response.set_content(body.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace),
                       "application/json");
}

void SendError(httplib::Response& response, int status, const std::string& message) {
  SendJson(response, {{"error", message}}, status);
}

render::FontService& ThreadFonts() {
  thread_local render::FontService fonts;
  return fonts;
}

}  // namespace

bool SameSecret(std::string_view given, std::string_view secret) {
  if (given.size() != secret.size()) return false;
  unsigned char difference = 0;
  for (size_t i = 0; i < secret.size(); ++i) difference |= static_cast<unsigned char>(given[i] ^ secret[i]);
  return difference == 0;
}

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
      server_(std::make_unique<httplib::Server>()),
      guard_(std::make_unique<ConnectionGuard>(config_.limits)) {
  AddRoutes();
}

ViewerServer::~ViewerServer() {
  Stop();
  guard_.reset();
  runs_.reset();  // ends the runs before the server goes
}

void ViewerServer::Bind() {
  port_ = config_.port == 0
              ? server_->bind_to_any_port(config_.listen_address)
              : (server_->bind_to_port(config_.listen_address, config_.port) ? config_.port : -1);
  if (port_ <= 0) {
    throw vob::Error("cannot listen on " + config_.listen_address + " port " + std::to_string(config_.port));
  }
  guard_->Start(port_);
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

std::string ViewerServer::BareUrl() const {
  const bool is_any = config_.listen_address == "0.0.0.0" || config_.listen_address == "::";
  std::string host = is_any ? "127.0.0.1" : config_.listen_address;
  if (host.find(':') != std::string::npos) host = "[" + host + "]";
  return "http://" + host + ":" + std::to_string(port_) + "/";
}

std::string ViewerServer::Url() const {
  return BareUrl() + "?token=" + token_;
}

std::string ViewerServer::CookieName() const {
  return "vobreports_token_" + std::to_string(port_);
}

bool ViewerServer::IsAuthorized(const httplib::Request& request) const {
  if (request.has_param("token")) return SameSecret(request.get_param_value("token"), token_);
  return SameSecret(CookieValue(request.get_header_value("Cookie"), CookieName()), token_);
}

bool ViewerServer::IsAllowedHost(const httplib::Request& request) const {
  const std::string host = request.get_header_value("Host");  // a copy: the name is a view into it
  const std::string_view name = HostName(host);
  return name == "127.0.0.1" || name == "localhost" || name == "::1" || name == config_.listen_address ||
         (!name.empty() && name == request.local_addr);
}

void ViewerServer::AddRoutes() {
  httplib::Server& server = *server_;
  // Connections get threads as they come; the guard shuts those that stall or crowd.
  server.new_task_queue = [this] { return new GrowingThreadPool(config_.limits.max_threads); };
  server.set_keep_alive_timeout(kKeepAliveSeconds);
  server.set_payload_max_length(kMaxRequestBodyBytes);
  server.set_default_headers({{"Content-Security-Policy", kContentSecurityPolicy},
                              {"X-Content-Type-Options", "nosniff"},
                              {"Referrer-Policy", "no-referrer"}});
  server.set_logger([this](const httplib::Request& request, const httplib::Response&) {
    guard_->RequestEnded(request.remote_addr, request.remote_port);
  });
  server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
    guard_->RequestStarted(request.remote_addr, request.remote_port);
    if (!IsAllowedHost(request)) {
      response.status = 403;
      response.set_content("403 Forbidden: not a name of this viewer's address\n", "text/plain");
      return httplib::Server::HandlerResponse::Handled;
    }
    if (IsAuthorized(request)) return httplib::Server::HandlerResponse::Unhandled;
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
        } catch (...) {
          SendError(response, 500, "internal error");
        }
      });

  auto asset = [&server](const char* path, std::string_view content, const char* type) {
    server.Get(path, [content, type](const httplib::Request&, httplib::Response& response) {
      response.set_content(content.data(), content.size(), type);
      response.set_header("Cache-Control", "no-store");
    });
  };
  // Opened with the token in its address, the page gets it as a cookie that scripts cannot read and other
  // sites cannot send; the page then drops the token from its address.
  server.Get("/", [this](const httplib::Request& request, httplib::Response& response) {
    response.set_content(kViewerHtml.data(), kViewerHtml.size(), "text/html; charset=utf-8");
    response.set_header("Cache-Control", "no-store");
    if (request.has_param("token")) {
      response.set_header("Set-Cookie", CookieName() + "=" + token_ + "; Path=/; HttpOnly; SameSite=Strict");
      if (config_.on_first_visit) std::call_once(first_visit_, config_.on_first_visit);
    }
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
    const std::optional<int> id = ParseId(request.matches[1].str());
    std::shared_ptr<KeptRun> run = id ? runs_->Find(*id) : nullptr;
    if (run == nullptr) {
      if (id && runs_->WasDropped(*id)) {
        SendJson(response, {{"id", *id}, {"state", "dropped"}}, 410);
      } else {
        SendError(response, 404, "no run " + request.matches[1].str());
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
               const std::optional<int> number = ParseId(request.matches[2].str());
               std::string svg = number ? run->PageSvg(*number, ThreadFonts()) : "";
               if (svg.empty()) return SendError(response, 404, "no page " + std::string(request.matches[2]));
               response.set_content(std::move(svg), kUncompressedSvg);
             });
  server.Get(R"(/api/runs/(\d+)/search)",
             [find_run](const httplib::Request& request, httplib::Response& response) {
               if (auto run = find_run(request, response)) {
                 SendJson(response, run->Search(request.get_param_value("q")));
               }
             });
  server.Get(R"(/api/runs/(\d+)/download\.(pdf|txt|json|csv|xlsx))",
             [find_run](const httplib::Request& request, httplib::Response& response) {
               auto run = find_run(request, response);
               if (run == nullptr) return;
               if (run->state() != RunState::kDone)
                 return SendError(response, 409, "the run has not finished");
               const std::string kind = request.matches[2];
               const char* type = kind == "pdf" ? "application/pdf" : kUncompressedDownload;
               response.set_content(run->Download(kind, ThreadFonts()), type);
               response.set_header(
                   "Content-Disposition",
                   "attachment; filename=\"" + vb::LCase(run->options().key) + "." + kind + "\"");
             });
  server.Post(R"(/api/runs/(\d+)/cancel)",
              [this](const httplib::Request& request, httplib::Response& response) {
                const std::optional<int> id = ParseId(request.matches[1].str());
                if (!id || !runs_->Cancel(*id)) {
                  return SendError(response, 404, "no run " + request.matches[1].str());
                }
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
