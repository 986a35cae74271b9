// The viewer's server in-process on an ephemeral port, asked through httplib's client as a browser would:
// the token, kept runs served without running again, concurrent runs, cancel, the memory bound, errors. Books
// holding stray bytes and markup are the browser test's (tests/browser), and the exports' (export_test.py).
#include "cli/viewer/viewer_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <regex>
#include <thread>

#include "manager/report_output.h"
#include "platform/vb/date.h"
#include "platform/vb/utf8.h"
#include "reports/demo_runs.h"

namespace vob::cli::viewer {
namespace {

using namespace std::chrono_literals;

// A server on the demo company with a pinned clock, counting the report objects its runs prepare.
class ViewerServerTest : public ::testing::Test {
 protected:
  void SetUp() override { vb::PinClock(vb::DateSerial(2024, 6, 30) + vb::TimeSerial(17, 0, 0)); }
  void TearDown() override { vb::UnpinClock(); }

  void StartServer(size_t memory_limit_bytes = size_t{1} << 30, ReportPreparer prepare = PrepareReport,
                   const std::string& database = testing::DemoConnectionString()) {
    ViewerConfig config;
    config.memory_limit_bytes = memory_limit_bytes;
    config.defaults.database = database;
    config.prepare = [this, prepare](const RunOptions& options, rptManager& manager) {
      ++prepared_;
      return prepare(options, manager);
    };
    server_ = std::make_unique<ViewerServer>(std::move(config));
    server_->Bind();
    server_->ListenInBackground();
  }

  std::string Path(const std::string& path) const {
    return path + (path.find('?') == std::string::npos ? "?" : "&") + "token=" + server_->token();
  }

  httplib::Result Get(const std::string& path) const {
    httplib::Client client("127.0.0.1", server_->port());
    return client.Get(Path(path).c_str());
  }

  nlohmann::json PostJson(const std::string& path, const nlohmann::json& body) const {
    httplib::Client client("127.0.0.1", server_->port());
    httplib::Result result = client.Post(Path(path).c_str(), body.dump(), "application/json");
    EXPECT_TRUE(result) << path;
    return result ? nlohmann::json::parse(result->body) : nlohmann::json();
  }

  // The form a browser posts for a report with the examples its parameter table declares.
  static nlohmann::json DemoForm(const std::string& key) {
    nlohmann::json form = {{"key", key}, {"params", nlohmann::json::object()}};
    const std::vector<testing::DemoRun> runs = testing::DemoRunsOf(*FindReportKey(key));
    for (const auto& [index, value] : runs.front().host.params) {
      form["params"][std::to_string(index)] = value;
    }
    return form;
  }

  // Polls the run's status until it is no longer running.
  nlohmann::json WaitForRun(int id) const {
    for (int attempt = 0; attempt < 1200; ++attempt) {
      httplib::Result result = Get("/api/runs/" + std::to_string(id));
      if (!result) break;
      nlohmann::json status = nlohmann::json::parse(result->body);
      if (status.value("state", "") != "running") return status;
      std::this_thread::sleep_for(50ms);
    }
    ADD_FAILURE() << "run " << id << " did not end";
    return {};
  }

  // A raw connection to the server: for requests a well-behaved client would never send.
  int Connect() const {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(server_->port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    return fd;
  }

  std::unique_ptr<ViewerServer> server_;
  std::atomic<int> prepared_ = 0;
};

TEST_F(ViewerServerTest, RefusesEveryAddressWithoutTheToken) {
  StartServer();
  static const char* const kPaths[] = {"/",
                                       "/viewer.js",
                                       "/api/reports",
                                       "/api/params/chaccts",
                                       "/api/runs/1",
                                       "/api/runs/1/pages/1.svg",
                                       "/api/runs/1/download.pdf"};
  httplib::Client client("127.0.0.1", server_->port());
  for (const char* path : kPaths) {
    httplib::Result bare = client.Get(path);
    ASSERT_TRUE(bare) << path;
    EXPECT_EQ(bare->status, 403) << path;
    // One hex digit off; the token is random, so the digit is changed rather than set.
    std::string wrong_token = server_->token();
    wrong_token[0] = wrong_token[0] == '0' ? '1' : '0';
    httplib::Result wrong = client.Get((std::string(path) + "?token=" + wrong_token).c_str());
    ASSERT_TRUE(wrong) << path;
    EXPECT_EQ(wrong->status, 403) << path;
  }
  EXPECT_EQ(client.Post("/api/runs", R"({"key":"chaccts"})", "application/json")->status, 403);
  EXPECT_EQ(server_->runs().runs_started(), 0);
  EXPECT_EQ(Get("/")->status, 200);
}

TEST_F(ViewerServerTest, TakesTheTokenFromItsCookieAndOnlyUnderALocalName) {
  StartServer();
  httplib::Client client("127.0.0.1", server_->port());
  httplib::Result page = client.Get(Path("/").c_str());
  ASSERT_TRUE(page);
  EXPECT_EQ(page->get_header_value("Set-Cookie"),
            server_->CookieName() + "=" + server_->token() + "; Path=/; HttpOnly; SameSite=Strict");
  EXPECT_EQ(page->body.find(server_->token()), std::string::npos);  // no script can read it from the page
  httplib::Result refused = client.Get("/api/reports");
  for (const httplib::Response* answer : {&*page, &*refused}) {
    EXPECT_EQ(answer->get_header_value("X-Content-Type-Options"), "nosniff");
    EXPECT_EQ(answer->get_header_value("Referrer-Policy"), "no-referrer");
    EXPECT_NE(answer->get_header_value("Content-Security-Policy").find("script-src 'self'"),
              std::string::npos);
  }

  const std::string port = ":" + std::to_string(server_->port());
  std::string wrong_token = server_->token();
  wrong_token[5] = wrong_token[5] == '0' ? '1' : '0';
  struct Case {
    std::string host, cookie;
    int status;
  };
  const Case kCases[] = {
      {"127.0.0.1" + port, server_->CookieName() + "=" + server_->token(), 200},
      {"localhost" + port, "a=b; " + server_->CookieName() + "=" + server_->token() + "; c=d", 200},
      {"[::1]" + port, server_->CookieName() + "=" + server_->token(), 200},
      {"127.0.0.1" + port, server_->CookieName() + "=" + wrong_token, 403},
      {"127.0.0.1" + port, "vobreports_token_1=" + server_->token(), 403},  // another viewer's cookie
      {"attacker.example" + port, server_->CookieName() + "=" + server_->token(), 403},
      {"127.0.0.1.attacker.example", server_->CookieName() + "=" + server_->token(), 403},
  };
  for (const Case& c : kCases) {
    httplib::Result answer = client.Get("/api/reports", {{"Host", c.host}, {"Cookie", c.cookie}});
    ASSERT_TRUE(answer) << c.host;
    EXPECT_EQ(answer->status, c.status) << c.host << " " << c.cookie;
  }
  EXPECT_TRUE(SameSecret("abc", "abc"));
  EXPECT_FALSE(SameSecret("abd", "abc"));
  EXPECT_FALSE(SameSecret("abcd", "abc"));
  EXPECT_FALSE(SameSecret("", "abc"));
}

TEST_F(ViewerServerTest, BadRequestsGetClearAnswersInUtf8) {
  StartServer();
  httplib::Client client("127.0.0.1", server_->port());
  struct Case {
    const char* method;
    std::string path, body;
    int status;
    std::string error;  // a part of the answer's "error"
  };
  const Case kCases[] = {
      {"POST", "/api/runs", "\xff\xfe", 400, "malformed run request"},
      {"POST", "/api/runs", R"({"key":"chaccts","params":{"abc":"1"}})", 400, "parameter \"abc\""},
      {"POST", "/api/runs", R"({"key":"chaccts","params":{"9":"1"}})", 400, "parameter \"9\""},
      {"POST", "/api/runs", R"({"key":"chaccts","params":{"1":7}})", 400,
       "parameter 1: the value is not text"},
      {"GET", "/api/runs/99999999999999999999", "", 404, "no run 99999999999999999999"},
      {"GET", "/api/runs/7/pages/99999999999999999999.svg", "", 404, "no run 7"},
      {"POST", "/api/runs/12/cancel", "{}", 404, "no run 12"},
      {"GET", "/api/params/nosuchkey", "", 404, "nosuchkey"},
  };
  for (const Case& c : kCases) {
    httplib::Result answer = std::string(c.method) == "GET"
                                 ? client.Get(Path(c.path).c_str())
                                 : client.Post(Path(c.path).c_str(), c.body, "application/json");
    ASSERT_TRUE(answer) << c.path;
    EXPECT_EQ(answer->status, c.status) << c.path << " " << c.body;
    EXPECT_EQ(vb::FindInvalidUtf8(answer->body), std::string::npos) << answer->body;
    const nlohmann::json body = nlohmann::json::parse(answer->body, nullptr, false);
    ASSERT_TRUE(body.contains("error")) << answer->body;
    EXPECT_NE(body["error"].get<std::string>().find(c.error), std::string::npos) << answer->body;
  }
  EXPECT_EQ(server_->runs().runs_started(), 0);
}

// Connections that stall before their request is whole are shut, and no client crowds the server: a real
// request is answered while they stall.
TEST_F(ViewerServerTest, StalledConnectionsHoldNothingUp) {
  ViewerConfig config;
  config.defaults.database = testing::DemoConnectionString();
  config.limits.request_time = std::chrono::milliseconds(300);
  config.limits.connections_per_client = 8;
  server_ = std::make_unique<ViewerServer>(std::move(config));
  server_->Bind();
  server_->ListenInBackground();
  std::vector<int> stalled;
  for (int i = 0; i < 60; ++i) {
    stalled.push_back(Connect());
    const std::string start =
        "GET /api/reports?token=" + server_->token() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    EXPECT_GT(send(stalled.back(), start.data(), start.size(), MSG_NOSIGNAL), 0);
  }
  EXPECT_EQ(Get("/api/reports")->status, 200);
  for (int fd : stalled) {
    timeval wait{20, 0};  // a bound for a broken guard, far beyond the 300 ms it allows
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof(wait));
    char byte = 0;
    EXPECT_LE(recv(fd, &byte, 1, 0), 0);  // shut by the server, with no answer
    close(fd);
  }
}

TEST_F(ViewerServerTest, ServesManyConcurrentRequestsFromOneKeptRun) {
  StartServer();
  const int id = PostJson("/api/runs", DemoForm("araging"))["id"];
  const nlohmann::json status = WaitForRun(id);
  ASSERT_EQ(status["state"], "done");
  const int pages = status["pages"];
  ASSERT_GE(pages, 2);
  // cairo numbers its SVG ids across the process, so pages are compared by their text layer.
  auto text_layer = [](const std::string& svg) {
    return svg.substr(std::min(svg.find("<g class=\"text-layer\""), svg.size()));
  };
  std::vector<std::string> first_layers;
  for (int page = 1; page <= pages; ++page) {
    first_layers.push_back(
        text_layer(Get("/api/runs/" + std::to_string(id) + "/pages/" + std::to_string(page) + ".svg")->body));
  }

  std::vector<std::future<int>> clients;
  for (int thread = 0; thread < 8; ++thread) {
    clients.push_back(std::async(std::launch::async, [&, thread] {
      int mismatches = 0;
      for (int request = 0; request < 12; ++request) {
        const int page = 1 + (thread + request) % pages;
        const std::string base = "/api/runs/" + std::to_string(id);
        httplib::Result svg = Get(base + "/pages/" + std::to_string(page) + ".svg");
        mismatches += !svg || svg->status != 200 || text_layer(svg->body) != first_layers[page - 1];
        const char* extra[] = {"/search?q=harbor", "/download.txt", "/download.pdf", ""};
        httplib::Result other = Get(base + extra[request % 4]);
        mismatches += !other || other->status != 200;
      }
      return mismatches;
    }));
  }
  for (auto& client : clients) EXPECT_EQ(client.get(), 0);
  EXPECT_EQ(prepared_, 1);
  EXPECT_EQ(server_->runs().runs_started(), 1);
}

TEST_F(ViewerServerTest, EightReportsAtOnceGiveTheBytesOfOneByOne) {
  StartServer();
  static const char* const kKeys[] = {"chaccts",  "trbalance", "araging", "apaging",
                                      "activity", "custlist",  "joblist", "prodlist"};
  auto downloads = [this](int id) {
    EXPECT_EQ(WaitForRun(id)["state"], "done");
    const std::string base = "/api/runs/" + std::to_string(id) + "/download.";
    return Get(base + "pdf")->body + Get(base + "json")->body;
  };
  std::vector<int> ids;
  for (const char* key : kKeys) ids.push_back(PostJson("/api/runs", DemoForm(key))["id"]);
  for (size_t i = 0; i < ids.size(); ++i) {
    const std::string together = downloads(ids[i]);
    const std::string alone = downloads(PostJson("/api/runs", DemoForm(kKeys[i]))["id"]);
    EXPECT_GT(together.size(), 1000u) << kKeys[i];
    EXPECT_TRUE(together == alone) << kKeys[i];
  }
  EXPECT_EQ(prepared_, 16);
}

// Downloads from the kept run (CSV and XLSX from its rows) are the bytes `run -o` writes for the same run
// (the command itself, so that nothing of this process's settings differs).
TEST_F(ViewerServerTest, DownloadsAreWhatRunWrites) {
  StartServer();
  for (const char* key : {"custlist", "araging", "trbalance"}) {
    const nlohmann::json form = DemoForm(key);
    const int id = PostJson("/api/runs", form)["id"];
    ASSERT_EQ(WaitForRun(id)["state"], "done") << key;
    for (const std::string kind : {"csv", "xlsx", "txt", "json"}) {
      const std::filesystem::path path =
          std::filesystem::temp_directory_path() /
          ("vob-viewer-" + std::to_string(::getpid()) + "-" + key + "." + kind);
      std::string command = std::string(VOB_BINARY_DIR) + "/vobreports run " + key +
                            " --now \"2024-06-30 17:00:00\" --db '" + testing::DemoConnectionString() +
                            "' -o '" + path.string() + "'";
      for (const auto& [index, value] : form["params"].items()) {
        command += " --param '" + index + "=" + value.get<std::string>() + "'";
      }
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
      std::ifstream file(path, std::ios::binary);
      const std::string written((std::istreambuf_iterator<char>(file)), {});
      std::filesystem::remove(path);
      httplib::Result download = Get("/api/runs/" + std::to_string(id) + "/download." + kind);
      ASSERT_EQ(download->status, 200) << key << " " << kind;
      EXPECT_GT(written.size(), 100u) << key << " " << kind;
      EXPECT_TRUE(download->body == written) << key << " " << kind;
    }
  }
  EXPECT_EQ(prepared_, 3);
}

TEST_F(ViewerServerTest, SvgTextLayerHoldsTheJsonDumpTextsAtTheirPlaces) {
  StartServer();
  const int id = PostJson("/api/runs", DemoForm("trbalance"))["id"];
  ASSERT_EQ(WaitForRun(id)["state"], "done");
  const nlohmann::json dump =
      nlohmann::json::parse(Get("/api/runs/" + std::to_string(id) + "/download.json")->body);
  const std::regex text_element(
      R"re(<text x="([\d.]+)" y="[\d.]+" textLength="([\d.]+)"[^>]* data-top="([\d.]+)"[^>]*>([^<]*)</text>)re");
  int compared = 0;
  for (const nlohmann::json& page : dump["pages"]) {
    const std::string svg =
        Get("/api/runs/" + std::to_string(id) + "/pages/" + page["number"].dump() + ".svg")->body;
    std::vector<std::smatch> texts;
    for (std::sregex_iterator it(svg.begin(), svg.end(), text_element), end; it != end; ++it)
      texts.push_back(*it);
    for (const nlohmann::json& item : page["items"]) {
      if (item["kind"] != "text" || item["text"].get<std::string>().empty()) continue;
      const std::string text = item["text"];
      if (text.find_first_of("\n&<>\"") != std::string::npos) continue;  // one line, written unescaped
      const double left = item["left"].get<double>() / 20, right = left + item["width"].get<double>() / 20;
      const double top = item["top"].get<double>() / 20;
      const bool found = std::any_of(texts.begin(), texts.end(), [&](const std::smatch& match) {
        const double x = std::stod(match[1]), width = std::stod(match[2]);
        const double at = item["align"] == "right"    ? x + width - right
                          : item["align"] == "center" ? x + width / 2 - (left + right) / 2
                                                      : x - left;
        return match[4] == text && std::abs(std::stod(match[3]) - top) < 0.01 && std::abs(at) < 0.01;
      });
      EXPECT_TRUE(found) << "page " << page["number"] << ": \"" << text << "\" at " << left << ", " << top;
      ++compared;
    }
  }
  EXPECT_GT(compared, 100);
}

TEST_F(ViewerServerTest, CancelledRunLeavesNothingBehind) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  StartServer(size_t{1} << 30, [released](const RunOptions& options, rptManager& manager) {
    released.wait();  // holds the run until the test has cancelled it
    return PrepareReport(options, manager);
  });
  const int id = PostJson("/api/runs", DemoForm("journal"))["id"];
  PostJson("/api/runs/" + std::to_string(id) + "/cancel", {});
  release.set_value();
  for (int attempt = 0; attempt < 400 && server_->runs().Find(id); ++attempt)
    std::this_thread::sleep_for(25ms);
  EXPECT_EQ(server_->runs().Find(id), nullptr);
  EXPECT_EQ(Get("/api/runs/" + std::to_string(id))->status, 404);
  EXPECT_EQ(server_->runs().kept_bytes(), 0u);
}

// A kept run counts what it holds, and holds its pages in about the room its PDF takes, not many times it.
TEST_F(ViewerServerTest, KeptRunHoldsAboutItsPdf) {
  StartServer();
  for (const char* key : {"journal", "custlist", "araging"}) {
    const int id = PostJson("/api/runs", DemoForm(key))["id"];
    const nlohmann::json status = WaitForRun(id);
    ASSERT_EQ(status["state"], "done") << key;
    const size_t kept = status["kept_bytes"];
    const size_t pdf = Get("/api/runs/" + std::to_string(id) + "/download.pdf")->body.size();
    EXPECT_GT(kept, 0u) << key;
    EXPECT_LE(kept, 3 * pdf) << key << ": " << kept << " bytes kept for a PDF of " << pdf;
  }
  EXPECT_EQ(server_->runs().kept_bytes(), [&] {
    size_t total = 0;
    for (int id = 1; id <= 3; ++id) total += server_->runs().Find(id)->bytes();
    return total;
  }());
}

TEST_F(ViewerServerTest, DropsTheOldestRunBeyondTheMemoryBound) {
  StartServer(/*memory_limit_bytes=*/1);
  const int first = PostJson("/api/runs", DemoForm("chaccts"))["id"];
  ASSERT_EQ(WaitForRun(first)["state"], "done");
  const int second = PostJson("/api/runs", DemoForm("custlist"))["id"];
  ASSERT_EQ(WaitForRun(second)["state"], "done");
  // The bound is applied once the second run's thread has ended, just after its state reads done.
  httplib::Result dropped = Get("/api/runs/" + std::to_string(first));
  for (int attempt = 0; attempt < 400 && dropped->status == 200; ++attempt) {
    std::this_thread::sleep_for(10ms);
    dropped = Get("/api/runs/" + std::to_string(first));
  }
  EXPECT_EQ(dropped->status, 410);
  EXPECT_EQ(nlohmann::json::parse(dropped->body)["state"], "dropped");
  EXPECT_EQ(Get("/api/runs/" + std::to_string(second) + "/pages/1.svg")->status, 200);
}

TEST_F(ViewerServerTest, ShowsTheErrorOfAFailedRunAsRunPrintsIt) {
  const std::filesystem::path empty =
      std::filesystem::temp_directory_path() / ("vob-viewer-empty-" + std::to_string(::getpid()) + ".sqlite");
  std::filesystem::remove(empty);
  std::FILE* file = std::fopen(empty.c_str(), "w");
  std::fclose(file);
  StartServer(size_t{1} << 30, PrepareReport, "Provider=SQLite;Data Source=" + empty.string() + ";");
  const nlohmann::json status = WaitForRun(PostJson("/api/runs", DemoForm("chaccts"))["id"]);
  std::filesystem::remove(empty);
  EXPECT_EQ(status["state"], "failed");
  const std::string error = status["error"];
  EXPECT_TRUE(error.starts_with("rptChaccts, dataMain: ")) << error;
  EXPECT_NE(error.find("SELECT"), std::string::npos) << error;
}

}  // namespace
}  // namespace vob::cli::viewer
