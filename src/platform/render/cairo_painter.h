// Draws one page of a finished page model onto a cairo context, in points, for the PNG and SVG outputs.
// Glyph ids and advances come from the font service, so the pictures match the PDF and the layout.
#pragma once

#include <cairo.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/render/font_service.h"

namespace vob::render {

class CairoPainter {
 public:
  explicit CairoPainter(FontService& fonts) : fonts_(fonts) {}
  ~CairoPainter();
  CairoPainter(const CairoPainter&) = delete;
  CairoPainter& operator=(const CairoPainter&) = delete;

  // Paints the page on a white background. REQUIRES: the context's user space is in points, origin top-left.
  void Paint(cairo_t* cairo, const engine::PageModel& model, const engine::Page& page);

 private:
  cairo_font_face_t* CairoFace(uint32_t face_index);
  cairo_surface_t* Surface(const std::shared_ptr<const engine::Picture>& picture);
  void Text(cairo_t* cairo, const engine::PageModel& model, const engine::PageItem& item);
  void Image(cairo_t* cairo, const engine::PageItem& item);

  FontService& fonts_;
  std::vector<cairo_font_face_t*> cairo_faces_;  // by face index; null until used
  std::map<const engine::Picture*, std::pair<std::shared_ptr<const engine::Picture>, cairo_surface_t*>>
      surfaces_;
  std::vector<cairo_glyph_t> glyphs_;
};

}  // namespace vob::render
