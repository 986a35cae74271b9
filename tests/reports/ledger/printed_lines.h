// Reads a report's printed section instances back as lines of control texts, for the ledger reports' tests.
// An instance's items are drawn together: another section, a new page or a control seen again starts the
// next.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/page_model.h"

namespace vob::testing {

// Control name -> printed text; a control that printed nothing (hidden, or an empty text) is absent.
using PrintedLine = std::map<std::string, std::string, std::less<>>;

inline std::vector<PrintedLine> LinesOf(const engine::PageModel& model, std::string_view section) {
  std::vector<PrintedLine> lines;
  for (const engine::Page& page : model.pages()) {
    bool is_in_instance = false;
    for (const engine::PageItem& item : page.items) {
      if (model.name(item.section) != section) {
        is_in_instance = false;
        continue;
      }
      if (item.kind != engine::ItemKind::kText) continue;
      const std::string control(model.name(item.control));
      if (!is_in_instance || lines.back().contains(control)) lines.emplace_back();
      is_in_instance = true;
      lines.back()[control] = item.text;
    }
  }
  return lines;
}

// The texts of the named controls in one line, "" for those that printed nothing: easy to compare and print.
inline std::vector<std::string> TextsIn(const PrintedLine& line,
                                        const std::vector<std::string_view>& controls) {
  std::vector<std::string> texts;
  for (std::string_view control : controls) {
    auto found = line.find(control);
    texts.push_back(found == line.end() ? "" : found->second);
  }
  return texts;
}

}  // namespace vob::testing
