// Canvas texts become ordinary text items of the page, placed by the canvas's alignment rule.
#include "platform/engine/page_canvas.h"

#include <algorithm>
#include <vector>

#include "platform/engine/document_tables.h"
#include "platform/engine/engine_error.h"
#include "platform/engine/text_measurer.h"
#include "platform/vb/conversions.h"

namespace vob::engine {
namespace {

// Lines of a canvas text; CR LF, CR and LF all end a line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back().push_back(text[i]);
    }
  }
  return lines;
}

int32_t WholeTwips(double twips) {
  return static_cast<int32_t>(vb::RoundHalfEven(twips));
}

}  // namespace

void PageCanvas::Attach(Page& page, DocumentTables& tables, TextMeasurer& measurer) {
  page_ = &page;
  tables_ = &tables;
  measurer_ = &measurer;
}

void PageCanvas::Detach() {
  page_ = nullptr;
  tables_ = nullptr;
  measurer_ = nullptr;
}

void PageCanvas::RequireAttached(std::string_view operation) const {
  if (page_ == nullptr) {
    throw LayoutError("Canvas." + std::string(operation) +
                      " is available only in ActiveReport_PageStart and ActiveReport_PageEnd");
  }
}

int32_t PageCanvas::TextWidth(std::string_view text) {
  RequireAttached("TextWidth");
  double widest = 0;
  for (const std::string& line : SplitLines(text))
    widest = std::max(widest, measurer_->WidthTwips(font_, line));
  return WholeTwips(widest);
}

int32_t PageCanvas::TextHeight(std::string_view text) {
  RequireAttached("TextHeight");
  return WholeTwips(measurer_->Metrics(font_).line_height_twips *
                    static_cast<double>(SplitLines(text).size()));
}

void PageCanvas::DrawText(std::string_view text, int32_t left, int32_t top) {
  RequireAttached("DrawText");
  std::vector<std::string> lines = SplitLines(text);
  PageItem item;
  item.kind = ItemKind::kText;
  item.font = tables_->FontIndex(font_);
  item.color = fore_color_;
  item.top = top;
  item.height = TextHeight(text);
  item.width = TextWidth(text);
  switch (alignment_) {
    case kCanvasAlignRight:
      item.align = Align::kRight;
      item.left = left - item.width;
      break;
    case kCanvasAlignCenter:
      item.align = Align::kCenter;
      item.left = left - item.width / 2;
      break;
    default:
      item.left = left;
      break;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) item.text.push_back('\n');
    item.text += lines[i];
  }
  page_->items.push_back(std::move(item));
}

}  // namespace vob::engine
