// The viewer's HTTP server: the page, script and style compiled in, and a small JSON API over the RunStore.
// Every request must carry the access token, as ?token=... or as the cookie the page sets when first opened
// with it; without it the answer is 403 and nothing else. Only loopback names and the listen address are
// taken as the Host, so that another site's page cannot reach the server through a name of its own.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "cli/run_options.h"
#include "cli/viewer/connection_guard.h"
#include "cli/viewer/run_store.h"

namespace httplib {
class Server;
}

namespace vob::cli::viewer {

struct ViewerConfig {
  std::string listen_address = "127.0.0.1";
  int port = 0;  // 0: any free port
  size_t memory_limit_bytes = size_t{1} << 30;
  // What every run starts from: the connection string, formats, logo, run date; the form overrides formats.
  RunOptions defaults;
  ReportPreparer prepare = PrepareReport;
  ConnectionLimits limits;
  // Called once, the first time the page is opened with the token in its address (the launch file is spent).
  std::function<void()> on_first_visit;
};

// API (all under the token):
//   GET  /                          the viewer page; /viewer.js, /viewer.css
//   GET  /api/reports               [{"family", "reports": [{"key", "title"}]}], built reports only
//   GET  /api/params/KEY            what `params KEY --json` prints
//   POST /api/runs                  {"key", "params": {"1": ...}, "drilldown", "title", "date_format",
//                                   "currency_format", "price_format", "logo"} -> the new run's status
//   GET  /api/runs/ID               the run's status (KeptRun::Status); 410 {"state": "dropped"} when dropped
//   GET  /api/runs/ID/pages/N.svg   one page; 404 while it does not exist yet
//   GET  /api/runs/ID/search?q=     [{"page", "line", "count"}], every hit (KeptRun::Search)
//   GET  /api/runs/ID/download.pdf  also .txt, .json, .csv and .xlsx; 409 until the run is done
//   POST /api/runs/ID/cancel        stops the run and forgets it
//   POST /api/runs/ID/follow        {"link"} -> the status of the run the link opens
class ViewerServer {
 public:
  explicit ViewerServer(ViewerConfig config);
  ~ViewerServer();  // stops listening and ends every run
  ViewerServer(const ViewerServer&) = delete;
  ViewerServer& operator=(const ViewerServer&) = delete;

  // Binds the address and port; throws vob::Error naming them when it cannot.
  void Bind();
  // Serves until Stop. REQUIRES: Bind succeeded.
  void Listen();
  // Serves on a thread of its own (tests, benchmarks). REQUIRES: Bind succeeded.
  void ListenInBackground();
  void Stop();

  int port() const { return port_; }
  const std::string& token() const { return token_; }
  // "http://127.0.0.1:8047/?token=..." (an address that listens on every interface shows as 127.0.0.1).
  std::string Url() const;
  // The same without the token: "http://127.0.0.1:8047/".
  std::string BareUrl() const;
  // The cookie that carries the token; named by the port, since a browser keeps one cookie jar per host.
  std::string CookieName() const;
  RunStore& runs() { return *runs_; }

 private:
  void AddRoutes();
  bool IsAuthorized(const httplib::Request& request) const;
  bool IsAllowedHost(const httplib::Request& request) const;

  ViewerConfig config_;
  std::string token_;
  int port_ = 0;
  std::unique_ptr<RunStore> runs_;
  std::unique_ptr<httplib::Server> server_;
  std::unique_ptr<ConnectionGuard> guard_;
  std::once_flag first_visit_;
  std::thread listener_;
};

// A fresh random token of 32 hexadecimal digits.
std::string NewAccessToken();

// Compares in time that depends on the lengths only, so that response times tell nothing of the token.
bool SameSecret(std::string_view given, std::string_view secret);

}  // namespace vob::cli::viewer
