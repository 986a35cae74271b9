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
// The demo company's file carries kDemoGeneratorVersion.
LoadSummary WriteDemoSqlite(const std::filesystem::path& path, const DemoOptions& options, bool schema_only);
// The generator version a demo file was written by: 0 for a file written before versions were kept or by
// someone else, -1 when the file cannot be read.
int StoredDemoVersion(const std::filesystem::path& path);

}  // namespace vob::schema
