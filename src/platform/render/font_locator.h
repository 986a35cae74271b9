// Finds the font file for a report's family name with fontconfig, accepting only that family or its
// metric-compatible Liberation twin ("Arial" -> Liberation Sans), so layout never runs on a silent
// substitute.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vob::render {

struct FontLocation {
  std::string file;
  int index_in_file = 0;
  std::string family;  // the family the file declares
};

// The Liberation family that shares the metrics of a common family name ("times new roman" -> "Liberation
// Serif"), compared without regard to case; empty when there is none.
std::string_view LiberationTwin(std::string_view family);

// Starts fontconfig's set-up (reading its configuration, a few milliseconds) on a thread of its own, so that
// it overlaps whatever a run does before it measures its first text; LocateFont waits for it. Optional.
void StartFontDiscovery();

// Throws RenderError naming the family when fontconfig has neither the family nor its twin.
FontLocation LocateFont(const std::string& family, bool is_bold, bool is_italic);

// Where LocateFont may remember fontconfig's answers between processes. Reading fontconfig's configuration
// costs more than a one-page report's whole fill; the file answers with the same font files while nothing
// they depend on changed (the configuration files and folders, the font folders and files, fontconfig's
// version, context), so output stays byte for byte the same.
struct FontCacheSettings {
  std::string file;  // empty: no file, every process asks fontconfig
  // What else fontconfig's answers depend on that the library does not read itself: the environment
  // variables fontconfig reads, as the program sees them. A file written under another context is not used.
  std::string context;
  // Configuration files and folders fontconfig would read if they existed (a user's own), watched for
  // appearing; those it did read are watched anyway.
  std::vector<std::string> watched_paths;
};
// Takes effect for look-ups not answered yet in this process; call before the first for it to count.
void UseFontCache(FontCacheSettings settings);

}  // namespace vob::render
