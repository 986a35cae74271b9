// The page canvas: what handlers draw in ActiveReport_PageStart and ActiveReport_PageEnd (checks draw every
// text there). Positions are twips from the paper's top-left corner, not from the margins.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/engine/page_model.h"

namespace vob::engine {

class DocumentTables;
class ReportFill;
class TextMeasurer;

inline constexpr int kCanvasAlignLeft = 0;
inline constexpr int kCanvasAlignRight = 1;
inline constexpr int kCanvasAlignCenter = 2;

class PageCanvas {
 public:
  // The font and alignment of the texts drawn next. They stay set from page to page (Arial 8 pt at first).
  const FontSpec& font() const { return font_; }
  void set_font_name(std::string family) { font_.family = std::move(family); }
  void set_font_size(float points) { font_.size_points = points; }
  void set_font_bold(bool is_bold) { font_.is_bold = is_bold; }
  void set_font_italic(bool is_italic) { font_.is_italic = is_italic; }
  void set_fore_color(Color color) { fore_color_ = color; }
  // kCanvasAlignLeft: a text starts at its left position; kCanvasAlignRight: it ends there;
  // kCanvasAlignCenter: it is centred on it.
  void set_text_alignment(int alignment) { alignment_ = alignment; }

  // Draws a text (lines separated by CR LF or LF) with its top at top. Throws LayoutError outside the page
  // events.
  void DrawText(std::string_view text, int32_t left, int32_t top);
  // The widest line and the height of all lines, in whole twips (rounded half to even). Page events only.
  int32_t TextWidth(std::string_view text);
  int32_t TextHeight(std::string_view text);

 private:
  friend class ReportFill;  // attaches the canvas for the length of a page event
  // The canvas draws on a page only between Attach and Detach.
  void Attach(Page& page, DocumentTables& tables, TextMeasurer& measurer);
  void Detach();

  void RequireAttached(std::string_view operation) const;

  FontSpec font_;
  Color fore_color_;
  int alignment_ = kCanvasAlignLeft;
  Page* page_ = nullptr;
  DocumentTables* tables_ = nullptr;
  TextMeasurer* measurer_ = nullptr;
};

}  // namespace vob::engine
