// ADO-style connections over the embedded (SQLite) and server (PostgreSQL) databases.
// Every connection is read-only at the database level: the library never writes to the accounting data.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vob::data {

class Backend;  // one open database session; backend.h

// Called with the Jet text of every statement a session runs, in the order they run, from the thread that
// runs it. For tools that replay a run's reads (the command line's --log-sql); empty (the default) logs
// nothing. Set it before any statement runs and clear it after the last.
using StatementLog = std::function<void(std::string_view jet_sql)>;
void SetStatementLog(StatementLog log);

// How long a cursor is read before it reads ahead on a thread of its own (kReadAheadDelay unless set): a
// result read sooner gains next to nothing in time from the thread and pays for handing rows over in CPU,
// which a host running reports side by side feels. Process-wide; tests set zero to take the thread on short
// results.
inline constexpr std::chrono::milliseconds kReadAheadDelay{30};
void SetReadAheadDelay(std::chrono::milliseconds delay);

inline constexpr int kStateClosed = 0;
inline constexpr int kStateOpen = 1;

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // "Provider=SQLite;Data Source=PATH;",
  // "Provider=PostgreSQL;Host=..;Port=..;Database=..;User ID=..;Password=..;",
  // a "postgresql://" URI (ended by the first ";"), or a bare path to an existing .sqlite/.db file. Keys
  // match without regard to case and unknown keys are ignored. Read at Open.
  void set_connection_string(std::string text) { connection_string_ = std::move(text); }
  const std::string& connection_string() const { return connection_string_; }
  void set_mode(int mode) { mode_ = mode; }
  int mode() const { return mode_; }
  void set_connection_timeout(int seconds) { connection_timeout_seconds_ = seconds; }
  int connection_timeout() const { return connection_timeout_seconds_; }
  void set_command_timeout(int seconds) { command_timeout_seconds_ = seconds; }
  int command_timeout() const { return command_timeout_seconds_; }

  // Throws SqlError for an empty, malformed or unsupported connection string and when the database refuses.
  // An explicit user and password override those of the connection string when not empty.
  void Open(std::string_view user = {}, std::string_view password = {});
  // REQUIRES: open. Closing a connection that is not open is an error, as callers test State first.
  void Close();
  int State() const { return backend_ ? kStateOpen : kStateClosed; }

  // REQUIRES: open. The session recordsets run their statements on.
  Backend& backend();

 private:
  std::string connection_string_;
  int mode_ = 0;
  int connection_timeout_seconds_ = 15;
  int command_timeout_seconds_ = 30;
  std::shared_ptr<Backend> backend_;  // shared with the cursors running on it
};

}  // namespace vob::data
