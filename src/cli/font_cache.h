// The command's font cache: fontconfig's answers remembered in the user's cache folder
// ($XDG_CACHE_HOME, else ~/.cache, then vobreports/font-locations), with the environment fontconfig reads as
// its context.
#pragma once

#include <functional>
#include <string>

#include "platform/render/font_locator.h"

namespace vob::cli {

// The settings for the environment given by lookup (a variable's value, or null when unset); no file when
// neither XDG_CACHE_HOME (absolute) nor HOME says where the user's cache is.
render::FontCacheSettings FontCacheSettingsFor(const std::function<const char*(const char*)>& lookup);

// The settings for this process's environment.
render::FontCacheSettings FontCacheSettingsFromEnvironment();

}  // namespace vob::cli
