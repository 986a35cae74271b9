// Page items drawn with cairo: shaped glyphs through cairo's FreeType backend, rectangles, lines, pictures.
// The cairo face is made from the same font file as the shaping, and hinting is off so glyphs sit exactly.
#include "platform/render/cairo_painter.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <cstring>
#include <string_view>

#include "platform/render/render_error.h"
#include "platform/render/text_lines.h"

namespace vob::render {
namespace {

constexpr double kPointsPerPixel = 0.75;  // a picture's natural size: 96 pixels an inch

double Points(int32_t twips) {
  return twips / static_cast<double>(engine::kTwipsPerPoint);
}

void SetColor(cairo_t* cairo, engine::Color color) {
  cairo_set_source_rgb(cairo, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
}

}  // namespace

CairoPainter::~CairoPainter() {
  for (cairo_font_face_t* face : cairo_faces_) {
    if (face != nullptr) cairo_font_face_destroy(face);
  }
  for (auto& [picture, entry] : surfaces_) cairo_surface_destroy(entry.second);
}

cairo_font_face_t* CairoPainter::CairoFace(uint32_t face_index) {
  if (face_index >= cairo_faces_.size()) cairo_faces_.resize(face_index + 1, nullptr);
  cairo_font_face_t*& cairo_face = cairo_faces_[face_index];
  if (cairo_face == nullptr) {
    const FontFace& face = fonts_.face(face_index);
    // A pattern naming the file: cairo opens exactly that face instead of matching again.
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(face.file().c_str()));
    FcPatternAddInteger(pattern, FC_INDEX, face.index_in_file());
    cairo_face = cairo_ft_font_face_create_for_pattern(pattern);
    FcPatternDestroy(pattern);
    if (cairo_font_face_status(cairo_face) != CAIRO_STATUS_SUCCESS) {
      throw RenderError("cairo cannot open font file " + face.file());
    }
  }
  return cairo_face;
}

cairo_surface_t* CairoPainter::Surface(const std::shared_ptr<const engine::Picture>& picture) {
  auto found = surfaces_.find(picture.get());
  if (found != surfaces_.end()) return found->second.second;
  const int width = picture->width_pixels, height = picture->height_pixels;
  if (width <= 0 || height <= 0 ||
      picture->rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
    throw RenderError("picture of " + std::to_string(width) + "x" + std::to_string(height) + " pixels has " +
                      std::to_string(picture->rgba.size()) + " bytes of RGBA");
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  // cairo wants premultiplied alpha in native-endian 32-bit words.
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    const uint8_t* source = picture->rgba.data() + static_cast<size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x, source += 4) {
      uint32_t alpha = source[3];
      auto premultiply = [alpha](uint32_t value) { return (value * alpha + 127) / 255; };
      row[x] =
          alpha << 24 | premultiply(source[0]) << 16 | premultiply(source[1]) << 8 | premultiply(source[2]);
    }
  }
  cairo_surface_mark_dirty(surface);
  if (picture->encoding == engine::Picture::Encoding::kJpeg && !picture->encoded.empty()) {
    // Lets the SVG output embed the original JPEG instead of a re-encoded PNG.
    cairo_surface_set_mime_data(surface, CAIRO_MIME_TYPE_JPEG,
                                reinterpret_cast<const unsigned char*>(picture->encoded.data()),
                                picture->encoded.size(), nullptr, nullptr);
  }
  surfaces_.emplace(picture.get(), std::make_pair(picture, surface));
  return surface;
}

void CairoPainter::Paint(cairo_t* cairo, const engine::PageModel& model, const engine::Page& page) {
  cairo_save(cairo);
  cairo_set_source_rgb(cairo, 1, 1, 1);
  cairo_paint(cairo);
  for (const engine::PageItem& item : page.items) {
    switch (item.kind) {
      case engine::ItemKind::kText:
        if (!item.text.empty()) Text(cairo, model, item);
        break;
      case engine::ItemKind::kRect:
        SetColor(cairo, item.color);
        cairo_rectangle(cairo, Points(item.left), Points(item.top), Points(item.width), Points(item.height));
        cairo_fill(cairo);
        break;
      case engine::ItemKind::kLine:
        SetColor(cairo, item.color);
        cairo_set_line_width(cairo, Points(item.line_twips));
        cairo_move_to(cairo, Points(item.left), Points(item.top));
        cairo_line_to(cairo, Points(item.left + item.width), Points(item.top + item.height));
        cairo_stroke(cairo);
        break;
      case engine::ItemKind::kImage:
        if (item.picture != nullptr) Image(cairo, item);
        break;
    }
  }
  cairo_restore(cairo);
  if (cairo_status(cairo) != CAIRO_STATUS_SUCCESS) {
    throw RenderError(std::string("cairo failed drawing page ") + std::to_string(page.number) + ": " +
                      cairo_status_to_string(cairo_status(cairo)));
  }
}

void CairoPainter::Text(cairo_t* cairo, const engine::PageModel& model, const engine::PageItem& item) {
  const engine::FontSpec& font_spec = model.font(item.font);
  const uint32_t face_index = fonts_.FaceIndex(font_spec);
  const FontFace& face = fonts_.face(face_index);
  const double scale = font_spec.size_points / face.units_per_em();  // points per font unit
  cairo_set_font_face(cairo, CairoFace(face_index));
  cairo_set_font_size(cairo, font_spec.size_points);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cairo, options);
  cairo_font_options_destroy(options);
  SetColor(cairo, item.color);

  for (const TextLine& line : PlaceTextLines(fonts_, model, item)) {
    const ShapedRun& run = fonts_.Shape(face_index, line.text);
    glyphs_.clear();
    int64_t pen = 0;
    for (const Glyph& glyph : run.glyphs) {
      glyphs_.push_back(cairo_glyph_t{glyph.id, line.left_points + (pen + glyph.x_offset) * scale,
                                      line.baseline_points - glyph.y_offset * scale});
      pen += glyph.x_advance;
    }
    cairo_show_glyphs(cairo, glyphs_.data(), static_cast<int>(glyphs_.size()));
  }
}

void CairoPainter::Image(cairo_t* cairo, const engine::PageItem& item) {
  cairo_surface_t* surface = Surface(item.picture);
  cairo_save(cairo);
  cairo_rectangle(cairo, Points(item.left), Points(item.top), Points(item.width), Points(item.height));
  cairo_clip(cairo);
  cairo_translate(cairo, Points(item.left), Points(item.top));
  if (item.is_stretched) {
    cairo_scale(cairo, Points(item.width) / item.picture->width_pixels,
                Points(item.height) / item.picture->height_pixels);
  } else {
    cairo_scale(cairo, kPointsPerPixel, kPointsPerPixel);
  }
  cairo_set_source_surface(cairo, surface, 0, 0);
  cairo_paint(cairo);
  cairo_restore(cairo);
}

}  // namespace vob::render
