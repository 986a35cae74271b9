// The texts a check page draws on its canvas, with where they stand, for the check and check layout tests.
// Canvas texts belong to no control, so they are found by their text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/page_model.h"

namespace vob::testing {

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
