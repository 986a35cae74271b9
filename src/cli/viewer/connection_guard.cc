// The connection guard's sweep reads the process's own sockets from /proc/self/fd: httplib does not hand out
// the sockets it accepts, and shutting one makes the thread reading it see the end and close it as usual.
#include "cli/viewer/connection_guard.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace vob::cli::viewer {
namespace {

// The address and port of a socket's own end (local) or the other end; false when it is no TCP socket.
bool SocketEnd(int fd, bool is_local, std::string& address, int& port) {
  sockaddr_storage storage{};
  socklen_t length = sizeof(storage);
  auto* generic = reinterpret_cast<sockaddr*>(&storage);
  if ((is_local ? getsockname(fd, generic, &length) : getpeername(fd, generic, &length)) != 0) return false;
  char text[INET6_ADDRSTRLEN] = {};
  if (storage.ss_family == AF_INET) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(&storage);
    inet_ntop(AF_INET, &in->sin_addr, text, sizeof(text));
    port = ntohs(in->sin_port);
  } else if (storage.ss_family == AF_INET6) {
    const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&storage);
    inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof(text));
    port = ntohs(in6->sin6_port);
  } else {
    return false;
  }
  address = text;
  return true;
}

struct OpenConnection {
  int fd;
  std::pair<std::string, int> peer;
};

// The accepted connections of the server listening on `server_port`: sockets whose own end has that port
// and that have another end (the listening socket has none).
std::vector<OpenConnection> OpenConnections(int server_port, bool widens_backlog = false) {
  std::vector<OpenConnection> found;
  DIR* folder = opendir("/proc/self/fd");
  if (folder == nullptr) return found;
  while (const dirent* entry = readdir(folder)) {
    int fd = -1;
    const char* name = entry->d_name;
    if (std::from_chars(name, name + std::strlen(name), fd).ec != std::errc() || fd == dirfd(folder))
      continue;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISSOCK(status.st_mode)) continue;
    std::string address;
    int port = 0;
    if (!SocketEnd(fd, true, address, port) || port != server_port) continue;
    OpenConnection connection{fd, {}};
    if (SocketEnd(fd, false, connection.peer.first, connection.peer.second)) {
      found.push_back(connection);
    } else if (widens_backlog) {
      int is_listening = 0;
      socklen_t length = sizeof(is_listening);
      if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &is_listening, &length) == 0 && is_listening) {
        listen(fd, SOMAXCONN);
      }
    }
  }
  closedir(folder);
  return found;
}

}  // namespace

void GrowingThreadPool::enqueue(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  if (is_shut_down_) return;
  tasks_.push_back(std::move(task));
  if (idle_ < tasks_.size() && threads_.size() < max_threads_) {
    threads_.emplace_back([this] { Work(); });
  } else {
    ready_.notify_one();
  }
}

void GrowingThreadPool::shutdown() {
  {
    std::lock_guard lock(mutex_);
    if (is_shut_down_) return;
    is_shut_down_ = true;
  }
  ready_.notify_all();
  for (std::thread& thread : threads_) thread.join();  // no thread is added once shut down
}

void GrowingThreadPool::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    ready_.wait(lock, [this] { return is_shut_down_ || !tasks_.empty(); });
    --idle_;
    if (tasks_.empty()) return;  // shut down, with nothing left to serve
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
    lock.lock();
  }
}

void ConnectionGuard::Start(int server_port) {
  server_port_ = server_port;
  // httplib listens with a backlog of 5: a burst of connections beyond it would wait a second for the
  // client's retry. Listening again on the same socket only widens the queue.
  OpenConnections(server_port, true);
  sweeper_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    while (!stop_asked_.wait_for(lock, std::chrono::milliseconds(500), [this] { return is_stopping_; })) {
      lock.unlock();
      Sweep();
      lock.lock();
    }
  });
}

void ConnectionGuard::Stop() {
  {
    std::lock_guard lock(mutex_);
    is_stopping_ = true;
  }
  stop_asked_.notify_all();
  if (sweeper_.joinable()) sweeper_.join();
}

void ConnectionGuard::RequestStarted(const std::string& address, int port) {
  std::lock_guard lock(mutex_);
  connections_[{address, port}].is_busy = true;
}

void ConnectionGuard::RequestEnded(const std::string& address, int port) {
  std::lock_guard lock(mutex_);
  Connection& connection = connections_[{address, port}];
  connection.is_busy = false;
  connection.waiting_since = Clock::now();
}

void ConnectionGuard::Sweep() {
  const std::vector<OpenConnection> open = OpenConnections(server_port_);
  const Clock::time_point now = Clock::now();
  std::vector<const OpenConnection*> to_shut;
  {
    std::lock_guard lock(mutex_);
    std::map<Peer, Connection> still_open;
    std::map<std::string, std::vector<const OpenConnection*>> waiting_by_client;
    std::map<std::string, size_t> count_by_client;
    for (const OpenConnection& connection : open) {
      auto known = connections_.find(connection.peer);
      const Connection state = known != connections_.end() ? known->second : Connection{now, false};
      still_open[connection.peer] = state;
      if (!state.is_busy && now - state.waiting_since > limits_.request_time) {
        to_shut.push_back(&connection);
        continue;
      }
      ++count_by_client[connection.peer.first];
      if (!state.is_busy) waiting_by_client[connection.peer.first].push_back(&connection);
    }
    for (auto& [client, waiting] : waiting_by_client) {
      size_t count = count_by_client[client];
      std::sort(waiting.begin(), waiting.end(), [&](const OpenConnection* a, const OpenConnection* b) {
        return still_open[a->peer].waiting_since < still_open[b->peer].waiting_since;
      });
      for (const OpenConnection* connection : waiting) {
        if (count <= limits_.connections_per_client) break;
        to_shut.push_back(connection);
        --count;
      }
    }
    connections_ = std::move(still_open);
  }
  for (const OpenConnection* connection : to_shut) {
    // The descriptor may have been closed and reused since it was listed: shut it only if it is still the
    // same connection.
    std::pair<std::string, int> peer;
    if (SocketEnd(connection->fd, false, peer.first, peer.second) && peer == connection->peer) {
      shutdown(connection->fd, SHUT_RDWR);
    }
  }
}

}  // namespace vob::cli::viewer
