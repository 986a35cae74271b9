// Reads finished pages back for tests: the texts of one control, a section's printed instances as lines of
// control texts, the texts a page canvas drew, and which rows a section's shading covers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/page_model.h"

namespace vob::testing {

// Texts of one control, in page order.
inline std::vector<std::string> TextsOf(const engine::PageModel& model, std::string_view control) {
  std::vector<std::string> texts;
  for (const engine::Page& page : model.pages()) {
    for (const engine::PageItem& item : page.items) {
      if (item.kind == engine::ItemKind::kText && model.name(item.control) == control)
        texts.push_back(item.text);
    }
  }
  return texts;
}

// Control name -> printed text; a control that printed nothing (hidden, or an empty text) is absent.
using PrintedLine = std::map<std::string, std::string, std::less<>>;

// A section's printed instances. An instance's items are drawn together: another section, a new page or a
// control seen again starts the next.
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

// Whether each Detail row is shaded, in print order; a row is known by its control `key`. Shading is the
// filled rectangle the engine draws before the row's texts.
inline std::vector<bool> ShadedRows(const engine::PageModel& model, std::string_view key) {
  std::vector<bool> shaded;
  for (const engine::Page& page : model.pages()) {
    bool is_shaded = false;
    for (const engine::PageItem& item : page.items) {
      if (item.kind == engine::ItemKind::kRect && model.name(item.section) == "Detail") is_shaded = true;
      if (item.kind == engine::ItemKind::kText && model.name(item.control) == key) {
        shaded.push_back(is_shaded);
        is_shaded = false;
      }
    }
  }
  return shaded;
}

// A text a page canvas drew, with where it stands. Canvas texts belong to no control, so they are found by
// their text.
struct CanvasText {
  std::string text;
  int32_t left = 0, top = 0, right = 0, height = 0;
};

inline std::vector<CanvasText> CanvasTexts(const engine::Page& page) {
  std::vector<CanvasText> texts;
  for (const engine::PageItem& item : page.items) {
    if (item.kind == engine::ItemKind::kText)
      texts.push_back({item.text, item.left, item.top, item.left + item.width, item.height});
  }
  return texts;
}

// The first text equal to text; a failure and an empty text when the page has none.
inline CanvasText FindText(const std::vector<CanvasText>& texts, std::string_view text) {
  for (const CanvasText& candidate : texts) {
    if (candidate.text == text) return candidate;
  }
  ADD_FAILURE() << "no canvas text \"" << text << "\"";
  return {};
}

inline bool HasText(const std::vector<CanvasText>& texts, std::string_view text) {
  for (const CanvasText& candidate : texts) {
    if (candidate.text == text) return true;
  }
  return false;
}

}  // namespace vob::testing
