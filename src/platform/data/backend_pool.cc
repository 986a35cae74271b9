// A small process-wide pool: a few idle sessions per key, each dropped after a minute unused.
// Hosts may run reports on several threads, so the pool is locked; a session serves one thread at a time.
// A session is shared by the recordsets one thread has open at once (a subreport printed on every page beside
// the report's own query): SQLite runs any number of statements on one connection and they read one
// snapshot; a PostgreSQL session runs a statement on a connection of its own only while another streams a
// long result, so that a short run connects once.
#include "platform/data/backend_pool.h"

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/data/postgres_backend.h"
#include "platform/data/sqlite_backend.h"

namespace vob::data {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMaxIdlePerKey = 4;
constexpr auto kMaxIdleTime = std::chrono::seconds(60);

struct IdleBackend {
  std::shared_ptr<Backend> backend;
  Clock::time_point since;
};

struct BusyBackend {
  std::weak_ptr<Backend> backend;
  std::thread::id thread;
};

struct Pool {
  std::mutex mutex;
  std::vector<IdleBackend> idle;
  std::vector<BusyBackend> busy;  // sessions in use, by the thread using them
};

Pool& ThePool() {
  static Pool* pool = new Pool;  // never destroyed: sessions may be released during static destruction
  return *pool;
}

std::string PoolKey(const ConnectionParams& params, std::string_view user, std::string_view password) {
  std::string key = params.Key();
  key += "\nuser=";
  key += user;
  key += "\npassword=";
  key += password;
  return key;
}

}  // namespace

std::shared_ptr<Backend> AcquireBackend(const ConnectionParams& params, std::string_view user,
                                        std::string_view password, int connection_timeout_seconds,
                                        int command_timeout_seconds) {
  const std::string key = PoolKey(params, user, password);
  const bool is_sqlite = params.provider == ConnectionParams::Provider::kSqlite;
  std::vector<std::shared_ptr<Backend>> expired;  // closed outside the lock
  Pool& pool = ThePool();
  {
    std::lock_guard lock(pool.mutex);
    std::erase_if(pool.busy, [](const BusyBackend& busy) { return busy.backend.expired(); });
    for (const BusyBackend& busy : pool.busy) {
      if (busy.thread != std::this_thread::get_id()) continue;
      std::shared_ptr<Backend> backend = busy.backend.lock();
      if (backend->pool_key() == key) return backend;
    }
    const Clock::time_point now = Clock::now();
    for (auto it = pool.idle.begin(); it != pool.idle.end();) {
      if (now - it->since > kMaxIdleTime) {
        expired.push_back(std::move(it->backend));
        it = pool.idle.erase(it);
      } else {
        ++it;
      }
    }
    for (auto it = pool.idle.rbegin(); it != pool.idle.rend(); ++it) {
      if (it->backend->pool_key() != key) continue;
      std::shared_ptr<Backend> backend = std::move(it->backend);
      pool.idle.erase(std::next(it).base());
      if (backend->IsReusable()) {
        pool.busy.push_back({backend, std::this_thread::get_id()});
        return backend;
      }
      expired.push_back(std::move(backend));
      break;
    }
  }
  std::shared_ptr<Backend> backend =
      is_sqlite
          ? OpenSqliteBackend(params.sqlite_path, connection_timeout_seconds)
          : OpenPostgresBackend(params, user, password, connection_timeout_seconds, command_timeout_seconds);
  backend->set_pool_key(key);
  std::lock_guard lock(pool.mutex);
  pool.busy.push_back({backend, std::this_thread::get_id()});
  return backend;
}

void ReleaseBackend(std::shared_ptr<Backend> backend) {
  if (backend == nullptr) return;
  Pool& pool = ThePool();
  {
    // Another recordset of the thread still reads through a shared session: it stays busy.
    std::lock_guard lock(pool.mutex);
    if (backend.use_count() != 1) return;
    std::erase_if(pool.busy, [&](const BusyBackend& busy) {
      return busy.backend.expired() || busy.backend.lock() == backend;
    });
  }
  if (!backend->IsReusable()) return;
  std::lock_guard lock(pool.mutex);
  size_t same_key = 0;
  for (const IdleBackend& idle : pool.idle) same_key += idle.backend->pool_key() == backend->pool_key();
  if (same_key >= kMaxIdlePerKey) return;
  pool.idle.push_back({std::move(backend), Clock::now()});
}

}  // namespace vob::data
