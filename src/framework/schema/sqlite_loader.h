// Writes the accounting schema and the demo company into a new SQLite file through the raw sqlite3 API.
// The file is built under a temporary name beside the target and renamed when complete, so a failure leaves
// no half-written database and an existing file is replaced only by a complete one.
#pragma once

#include <cstdint>
#include <filesystem>

#include "framework/schema/demo_generator.h"

namespace vob::schema {

struct LoadSummary {
  int tables = 0;
  int64_t rows = 0;
};

// Throws SchemaError naming the path and the failing step. schema_only: the tables and indexes, no rows.
LoadSummary WriteDemoSqlite(const std::filesystem::path& path, const DemoOptions& options, bool schema_only);

}  // namespace vob::schema
