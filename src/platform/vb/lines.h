// Splitting a text into its lines, as every measurer, painter and reader of page text does.
#pragma once

#include <string_view>

namespace vob::vb {

// Calls visit(line) for each line of text in order: split at '\n', a '\r' before it dropped, empty lines
// included (an empty text is one empty line).
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(line);
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

}  // namespace vob::vb
