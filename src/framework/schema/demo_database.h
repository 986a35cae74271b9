// The demo database the command line falls back on when no database is named: a scale-1 demo company in the
// user's cache folder ($XDG_CACHE_HOME, else ~/.cache), vobreports/demo-2024-06-30.sqlite, created on first
// use. Its books run up to one fixed day, the day the reports' examples, the README and `make demo` are
// written for.
#pragma once

#include <filesystem>
#include <string_view>

namespace vob::schema {

// The day the demo company's books run up to, YYYY-MM-DD. The cache file's name carries it, so that a cache
// written for another day is never read.
inline constexpr std::string_view kDemoBookDate = "2024-06-30";

// Throws SchemaError when neither XDG_CACHE_HOME nor HOME is set.
std::filesystem::path DefaultDemoDatabasePath();
// Creates the default demo database (scale 1, books up to kDemoBookDate) unless it exists; returns its path.
std::filesystem::path EnsureDemoDatabase();

}  // namespace vob::schema
