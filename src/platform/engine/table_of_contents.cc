// Splitting a table-of-contents path into its levels.
#include "platform/engine/table_of_contents.h"

namespace vob::engine {

void TableOfContents::Add(std::string_view path) {
  TocEntry entry;
  size_t start = 0;
  while (true) {
    size_t separator = path.find('\\', start);
    entry.path.emplace_back(
        path.substr(start, separator == std::string_view::npos ? separator : separator - start));
    if (separator == std::string_view::npos) break;
    start = separator + 1;
  }
  entry.text = entry.path.back();
  entry.level = static_cast<int>(entry.path.size()) - 1;
  pending_.push_back(std::move(entry));
}

void TableOfContents::AddPending(std::vector<TocEntry> entries) {
  for (TocEntry& entry : entries) pending_.push_back(std::move(entry));
}

}  // namespace vob::engine
