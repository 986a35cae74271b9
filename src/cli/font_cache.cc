// Where the command keeps its font cache, and what fontconfig's answers depend on beyond its files: the
// variables that move its configuration, its folders and its language (a language can tip a match).
#include "cli/font_cache.h"

#include <cstdlib>
#include <filesystem>

namespace vob::cli {
namespace {

constexpr const char* kFontconfigVariables[] = {
    "FONTCONFIG_FILE",
    "FONTCONFIG_PATH",
    "FONTCONFIG_SYSROOT",
    "FC_LANG",
    "LC_ALL",
    "LC_CTYPE",
    "LANG",
    "LANGUAGE",
    "HOME",
    "XDG_CONFIG_HOME",
    "XDG_DATA_HOME",
    "FC_DEBUG",
};

// The XDG rules ignore a relative folder.
std::filesystem::path XdgFolder(const char* value, const char* home, const char* fallback) {
  if (value != nullptr && std::filesystem::path(value).is_absolute()) return value;
  if (home == nullptr || *home == '\0') return {};
  return std::filesystem::path(home) / fallback;
}

}  // namespace

render::FontCacheSettings FontCacheSettingsFor(const std::function<const char*(const char*)>& lookup) {
  render::FontCacheSettings settings;
  const char* home = lookup("HOME");
  const std::filesystem::path cache = XdgFolder(lookup("XDG_CACHE_HOME"), home, ".cache");
  if (cache.empty()) return settings;
  settings.file = (cache / "vobreports" / "font-locations").string();
  for (const char* name : kFontconfigVariables) {
    const char* value = lookup(name);
    settings.context += std::string(name) + (value == nullptr ? " unset" : "=" + std::string(value)) + "\n";
  }
  // The user's own configuration, which fontconfig's stock files include when it exists.
  const std::filesystem::path config = XdgFolder(lookup("XDG_CONFIG_HOME"), home, ".config");
  if (!config.empty()) {
    settings.watched_paths.push_back((config / "fontconfig").string());
    settings.watched_paths.push_back((config / "fontconfig" / "fonts.conf").string());
    settings.watched_paths.push_back((config / "fontconfig" / "conf.d").string());
  }
  if (home != nullptr && *home != '\0') {
    settings.watched_paths.push_back((std::filesystem::path(home) / ".fonts.conf").string());
    settings.watched_paths.push_back((std::filesystem::path(home) / ".fonts.conf.d").string());
  }
  return settings;
}

render::FontCacheSettings FontCacheSettingsFromEnvironment() {
  return FontCacheSettingsFor([](const char* name) -> const char* { return std::getenv(name); });
}

}  // namespace vob::cli
