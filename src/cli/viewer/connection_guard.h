// Keeps slow or greedy clients from holding the viewer's server: connections get threads as they come (so a
// real request never queues behind stalled ones), a connection that has not delivered its request within
// a few seconds of opening (or of its last answer) is shut, and no client address holds more than a few
// dozen connections at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <httplib.h>

namespace vob::cli::viewer {

struct ConnectionLimits {
  std::chrono::milliseconds request_time{5000};  // from opening, or from the last answer, to a whole request
  size_t connections_per_client = 32;
  size_t max_threads = 256;
};

// A thread pool that grows to max_threads as connections arrive, so that idle or stalled connections never
// hold up a new one while fewer than max_threads are open.
class GrowingThreadPool final : public httplib::TaskQueue {
 public:
  explicit GrowingThreadPool(size_t max_threads) : max_threads_(max_threads) {}
  ~GrowingThreadPool() override { shutdown(); }

  void enqueue(std::function<void()> task) override;
  void shutdown() override;

 private:
  void Work();

  const size_t max_threads_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
  std::vector<std::thread> threads_;
  size_t idle_ = 0;
  bool is_shut_down_ = false;
};

// Watches the server's open connections and shuts those over the limits. The server tells it when a request
// has been read (RequestStarted, from the pre-routing handler) and answered (RequestEnded, from the logger);
// the connections themselves are found among the process's sockets by their local port.
class ConnectionGuard {
 public:
  explicit ConnectionGuard(ConnectionLimits limits) : limits_(limits) {}
  ~ConnectionGuard() { Stop(); }
  ConnectionGuard(const ConnectionGuard&) = delete;
  ConnectionGuard& operator=(const ConnectionGuard&) = delete;

  void Start(int server_port);
  void Stop();

  void RequestStarted(const std::string& address, int port);
  void RequestEnded(const std::string& address, int port);

  // One look at the open connections: shuts those over the limits. Start calls it twice a second.
  void Sweep();

 private:
  using Clock = std::chrono::steady_clock;
  using Peer = std::pair<std::string, int>;
  struct Connection {
    Clock::time_point waiting_since;  // opened, or last answered
    bool is_busy = false;             // its request was read and is being answered
  };

  const ConnectionLimits limits_;
  int server_port_ = 0;
  std::mutex mutex_;
  std::condition_variable stop_asked_;
  bool is_stopping_ = false;
  std::map<Peer, Connection> connections_;
  std::thread sweeper_;
};

}  // namespace vob::cli::viewer
