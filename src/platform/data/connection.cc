// Connections: parse the connection string at Open, take a session from the pool, give it back at Close.
// Messages follow ADO's wording for misuse, so that hosts written against it read familiar text.
#include "platform/data/connection.h"

#include "platform/data/backend.h"
#include "platform/data/backend_pool.h"
#include "platform/data/connection_string.h"
#include "platform/data/sql_error.h"

namespace vob::data {

Connection::Connection() = default;

Connection::~Connection() {
  if (backend_) ReleaseBackend(std::move(backend_));
}

void Connection::Open(std::string_view user, std::string_view password) {
  if (backend_) throw SqlError("Operation is not allowed when the object is open (Connection.Open)");
  const ConnectionParams params = ParseConnectionString(connection_string_);
  backend_ = AcquireBackend(params, user, password, connection_timeout_seconds_, command_timeout_seconds_);
}

void Connection::Close() {
  if (!backend_) throw SqlError("Operation is not allowed when the object is closed (Connection.Close)");
  ReleaseBackend(std::move(backend_));
  backend_.reset();
}

Backend& Connection::backend() {
  if (!backend_) throw SqlError("Operation is not allowed when the object is closed (Connection)");
  return *backend_;
}

}  // namespace vob::data
