// Builds one content stream (a page, or a deferred text's form) from page items: glyph runs, rectangles,
// lines, images. Used by the PDF writer only. Coordinates are thousandths of a point with y growing upwards.
//
// Texts are gathered into one BT..ET for as long as possible: a rectangle, line or image that arrives while
// texts are open and does not touch any of them is drawn before them instead, which looks the same, so a
// page of shaded rows becomes shading first and then one text object.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/render/pdf_buffer.h"
#include "platform/render/pdf_faces.h"
#include "platform/render/pdf_fonts.h"

namespace vob::render {

class PdfContent {
 public:
  PdfContent(PdfFaces& faces, PdfFonts& pdf_fonts) : faces_(faces), pdf_fonts_(pdf_fonts) {}

  // Starts a new stream. A page starts in the default graphics state; a form inherits the caller's state,
  // so it sets every colour it uses.
  void Reset(bool is_state_known);

  // A text item's lines with the top-left corner of its box at (left, top).
  void Text(const engine::PageItem& item, std::string_view text, int64_t left, int64_t top);
  void Rect(const engine::PageItem& item, int64_t page_height);
  void Line(const engine::PageItem& item, int64_t page_height);
  // An image XObject "/I<slot>" stretched into the box, or at 96 dpi clipped to it.
  void Image(const engine::PageItem& item, uint32_t slot, int64_t page_height);
  // A form XObject "/D<slot>" placed at the top-left corner of the item's box.
  void Form(const engine::PageItem& item, uint32_t slot, int64_t page_height);

  // The finished stream. Ends the open text object.
  std::string_view Finish();

  // Extent of what Text drew last: left, bottom, right, top.
  struct Box {
    int64_t left = 0, bottom = 0, right = 0, top = 0;
  };
  const Box& last_text_box() const { return last_text_box_; }

 private:
  // An ASCII character's glyph once the document has shown it: its bytes in a string (escaped where needed)
  // and its advance, so that most characters cost a table read. size 0 until then.
  struct AsciiGlyph {
    char bytes[4] = {};
    uint8_t size = 0;
    int32_t advance = 0;
  };
  struct FontEntry {
    bool is_resolved = false;
    uint32_t face = 0;
    uint32_t slot = 0;
    int64_t size = 0;  // thousandths of a point
    int64_t ascent = 0, line_height = 0, descent = 0;
    std::array<AsciiGlyph, 128> ascii;
  };
  struct GraphicsState {
    bool is_fill_known = false, is_stroke_known = false;
    engine::Color fill, stroke;
    int64_t line_width = -1;
  };

  FontEntry& Font(uint32_t index);
  // Where a graphic goes: before the open texts when it stays clear of them, else after them.
  PdfBuffer& GraphicsFor(const Box& box);
  void Flush();
  void SetFill(PdfBuffer& buffer, GraphicsState& state, engine::Color color, const char* operator_name);
  // The line's glyphs as string bytes in known_bytes_ when the document has shown every one of them before.
  bool MapKnownGlyphs(FontEntry& font, const FontFace& face, std::string_view line, int32_t& advance);
  void ShowKnownGlyphs();
  void ShowRun(const ShapedRun& run, uint32_t face);

  PdfFaces& faces_;
  PdfFonts& pdf_fonts_;
  std::vector<FontEntry> font_entries_;  // by document font index
  PdfBuffer stream_, graphics_, text_;
  GraphicsState graphics_state_, text_state_;
  bool has_text_ = false;
  Box text_extent_;  // of all texts in text_
  Box last_text_box_;
  int64_t text_x_ = 0, text_y_ = 0;  // start of the current text line
  std::vector<char> known_bytes_;    // of the line MapKnownGlyphs mapped, known_size_ of them
  size_t known_size_ = 0;
  uint32_t current_font_slot_ = UINT32_MAX;
  int64_t current_font_size_ = 0;
};

}  // namespace vob::render
