// Loads the accounting schema and the demo company into PostgreSQL through libpq, in one transaction:
// existing tables of the same names are dropped and recreated, rows go in by COPY, indexes after the rows.
#pragma once

#include <string>
#include <string_view>

#include "framework/schema/demo_generator.h"
#include "framework/schema/sqlite_loader.h"

namespace vob::schema {

// connection: a libpq connection string or URI ("host=... dbname=...", "postgresql://user@host/db"), or an
// ADO-style "Provider=PostgreSQL;Host=...;Database=...;" string. schema: when not empty, the tables go into
// that schema, created if missing. Throws SchemaError with the server's message; nothing is committed then.
LoadSummary LoadDemoPostgres(std::string_view connection, const DemoOptions& options, bool schema_only,
                             std::string_view schema = {});

}  // namespace vob::schema
