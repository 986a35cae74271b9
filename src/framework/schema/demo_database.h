// The demo database the command line falls back on when no database is named: a scale-1 demo company in the
// user's cache folder ($XDG_CACHE_HOME, else ~/.cache), vobreports/demo.sqlite, created on first use.
#pragma once

#include <filesystem>

namespace vob::schema {

// Throws SchemaError when neither XDG_CACHE_HOME nor HOME is set.
std::filesystem::path DefaultDemoDatabasePath();
// Creates the default demo database (scale 1, dated by the run's clock) unless it exists; returns its path.
std::filesystem::path EnsureDemoDatabase();

}  // namespace vob::schema
