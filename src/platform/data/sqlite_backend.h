// The embedded database: one SQLite file, opened read-only.
// Storage conventions the schema follows are listed at the top of sqlite_backend.cc.
#pragma once

#include <memory>
#include <string>

#include "platform/data/backend.h"

namespace vob::data {

// Opens an existing database file read-only (SQLITE_OPEN_READONLY and PRAGMA query_only). The connection
// time-out bounds the wait for a writer's lock while the schema is read (0 waits indefinitely). Throws
// SqlError naming the path when the file is missing or is not a database.
std::shared_ptr<Backend> OpenSqliteBackend(const std::string& path, int connection_timeout_seconds);

}  // namespace vob::data
