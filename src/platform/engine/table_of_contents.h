// The report's table of contents. Handlers add entries while sections are formatted; the engine records each
// with the page its section lands on. A backslash separates levels: "Asset\1000" is 1000 at level 1 under
// Asset.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "platform/engine/page_model.h"

namespace vob::engine {

class ReportFill;

class TableOfContents {
 public:
  void Add(std::string_view path);

 private:
  friend class ReportFill;  // gives each entry the page of its section
  // The entries still waiting for their page, handed over (and forgotten here).
  std::vector<TocEntry> TakePending() { return std::exchange(pending_, {}); }
  void AddPending(std::vector<TocEntry> entries);

  std::vector<TocEntry> pending_;
};

}  // namespace vob::engine
