// The server database: a PostgreSQL session whose transactions are all read-only.
// Storage conventions the schema follows are listed at the top of postgres_backend.cc.
#pragma once

#include <memory>
#include <string_view>

#include "platform/data/backend.h"
#include "platform/data/connection_string.h"

namespace vob::data {

// Connects with libpq; a non-empty user or password overrides the connection string's. The connection
// time-out is libpq's connect_timeout (0 waits indefinitely); the command time-out is the statement time-out
// the session starts with (statements that ask for another change it). Throws SqlError with the server's
// message.
std::shared_ptr<Backend> OpenPostgresBackend(const ConnectionParams& params, std::string_view user,
                                             std::string_view password, int connection_timeout_seconds,
                                             int command_timeout_seconds);

}  // namespace vob::data
