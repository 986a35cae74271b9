// Sessions kept open for reuse, keyed by database and credentials, as ADO pools its provider sessions:
// per-row lookups open and close a private connection for every row.
#pragma once

#include <memory>
#include <string_view>

#include "platform/data/backend.h"
#include "platform/data/connection_string.h"

namespace vob::data {

// The session this thread already uses for these parameters, an idle pooled one, or a newly opened one,
// which starts with the command time-out as its statement time-out. Throws SqlError when opening fails.
std::shared_ptr<Backend> AcquireBackend(const ConnectionParams& params, std::string_view user,
                                        std::string_view password, int connection_timeout_seconds,
                                        int command_timeout_seconds);

// Gives a session back. It is kept when nothing else holds it and it is healthy and idle; otherwise it is
// closed when the last holder lets go.
void ReleaseBackend(std::shared_ptr<Backend> backend);

}  // namespace vob::data
