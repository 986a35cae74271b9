// Finding, and on first use creating, the default demo database.
// A file left by an earlier generator is replaced. Two processes creating it at once each write their own
// temporary file; the last rename wins, both complete.
#include "framework/schema/demo_database.h"

#include <cstdlib>
#include <system_error>

#include "framework/schema/iso_date.h"
#include "framework/schema/schema_error.h"
#include "framework/schema/sqlite_loader.h"

namespace vob::schema {

std::filesystem::path DefaultDemoDatabasePath() {
  std::filesystem::path cache;
  const char* xdg_cache = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  // The XDG rules ignore a relative XDG_CACHE_HOME.
  if (xdg_cache != nullptr && std::filesystem::path(xdg_cache).is_absolute()) {
    cache = xdg_cache;
  } else if (home != nullptr && *home != '\0') {
    cache = std::filesystem::path(home) / ".cache";
  } else {
    throw SchemaError("no cache folder for the demo database: neither XDG_CACHE_HOME nor HOME is set");
  }
  return cache / "vobreports" / ("demo-" + std::string(kDemoBookDate) + ".sqlite");
}

std::filesystem::path EnsureDemoDatabase() {
  const std::filesystem::path path = DefaultDemoDatabasePath();
  // A cache written by another generator holds other books than the examples are written for.
  if (std::filesystem::exists(path) && StoredDemoVersion(path) == kDemoGeneratorVersion) return path;
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (error) throw SchemaError("cannot create " + path.parent_path().string() + ": " + error.message());
  WriteDemoSqlite(path, {1, *ParseIsoDate(kDemoBookDate)}, false);
  return path;
}

}  // namespace vob::schema
