// Finds the font file for a report's family name with fontconfig, accepting only that family or its
// metric-compatible Liberation twin ("Arial" -> Liberation Sans), so layout never runs on a silent
// substitute.
#pragma once

#include <string>
#include <string_view>

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

}  // namespace vob::render
