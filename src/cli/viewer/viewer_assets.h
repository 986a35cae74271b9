// The viewer's page, script and style, compiled into the binary from src/cli/viewer/assets/ at build time.
#pragma once

#include <string_view>

namespace vob::cli::viewer {

extern const std::string_view kViewerHtml;
extern const std::string_view kViewerScript;
extern const std::string_view kViewerStyle;

}  // namespace vob::cli::viewer
