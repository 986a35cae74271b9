// The viewer's HTTP server: the page, script and style compiled in, and a small JSON API over the RunStore.
// Every request must carry the access token (?token=...); without it the answer is 403 and nothing else.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <thread>

#include "cli/run_options.h"
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
};

// API (all under the token):
//   GET  /                          the viewer page; /viewer.js, /viewer.css
//   GET  /api/reports               [{"family", "reports": [{"key", "title"}]}], built reports only
//   GET  /api/params/KEY            what `params KEY --json` prints
//   POST /api/runs                  {"key", "params": {"1": ...}, "drilldown", "title", "date_format",
//                                   "currency_format", "price_format", "logo"} -> the new run's status
//   GET  /api/runs/ID               the run's status (KeptRun::Status); 410 {"state": "dropped"} when dropped
//   GET  /api/runs/ID/pages/N.svg   one page; 404 while it does not exist yet
//   GET  /api/runs/ID/search?q=     [{"page", "line", "count"}]
//   GET  /api/runs/ID/download.pdf  also .txt and .json; 409 until the run is done
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
  RunStore& runs() { return *runs_; }

 private:
  void AddRoutes();

  ViewerConfig config_;
  std::string token_;
  int port_ = 0;
  std::unique_ptr<RunStore> runs_;
  std::unique_ptr<httplib::Server> server_;
  std::thread listener_;
};

// A fresh random token of 32 hexadecimal digits.
std::string NewAccessToken();

}  // namespace vob::cli::viewer
