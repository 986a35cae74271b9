// The cairo functions the PNG and SVG painters call, defined here to load cairo on the first call: runs that
// draw no picture (PDF, text, data) never load it, nor the pixman, X11 and xcb libraries it brings (see
// platform/vb/lazy_library.h).
#include <cairo-ft.h>
#include <cairo-svg.h>
#include <cairo.h>

#include "platform/vb/lazy_library.h"

namespace {

constexpr char kLibcairo[] = "libcairo.so.2";

}  // namespace

void cairo_clip(cairo_t* cr) {
  VOB_LAZY_CALL(kLibcairo, cairo_clip, cr);
}
cairo_t* cairo_create(cairo_surface_t* target) {
  VOB_LAZY_CALL(kLibcairo, cairo_create, target);
}
void cairo_destroy(cairo_t* cr) {
  VOB_LAZY_CALL(kLibcairo, cairo_destroy, cr);
}
void cairo_fill(cairo_t* cr) {
  VOB_LAZY_CALL(kLibcairo, cairo_fill, cr);
}
void cairo_font_face_destroy(cairo_font_face_t* font_face) {
  VOB_LAZY_CALL(kLibcairo, cairo_font_face_destroy, font_face);
}
cairo_status_t cairo_font_face_status(cairo_font_face_t* font_face) {
  VOB_LAZY_CALL(kLibcairo, cairo_font_face_status, font_face);
}
cairo_font_options_t* cairo_font_options_create() {
  VOB_LAZY_CALL(kLibcairo, cairo_font_options_create);
}
void cairo_font_options_destroy(cairo_font_options_t* options) {
  VOB_LAZY_CALL(kLibcairo, cairo_font_options_destroy, options);
}
void cairo_font_options_set_hint_metrics(cairo_font_options_t* options, cairo_hint_metrics_t hint_metrics) {
  VOB_LAZY_CALL(kLibcairo, cairo_font_options_set_hint_metrics, options, hint_metrics);
}
void cairo_font_options_set_hint_style(cairo_font_options_t* options, cairo_hint_style_t hint_style) {
  VOB_LAZY_CALL(kLibcairo, cairo_font_options_set_hint_style, options, hint_style);
}
cairo_font_face_t* cairo_ft_font_face_create_for_pattern(FcPattern* pattern) {
  VOB_LAZY_CALL(kLibcairo, cairo_ft_font_face_create_for_pattern, pattern);
}
cairo_surface_t* cairo_image_surface_create(cairo_format_t format, int width, int height) {
  VOB_LAZY_CALL(kLibcairo, cairo_image_surface_create, format, width, height);
}
unsigned char* cairo_image_surface_get_data(cairo_surface_t* surface) {
  VOB_LAZY_CALL(kLibcairo, cairo_image_surface_get_data, surface);
}
int cairo_image_surface_get_stride(cairo_surface_t* surface) {
  VOB_LAZY_CALL(kLibcairo, cairo_image_surface_get_stride, surface);
}
void cairo_line_to(cairo_t* cr, double x, double y) {
  VOB_LAZY_CALL(kLibcairo, cairo_line_to, cr, x, y);
}
void cairo_move_to(cairo_t* cr, double x, double y) {
  VOB_LAZY_CALL(kLibcairo, cairo_move_to, cr, x, y);
}
void cairo_paint(cairo_t* cr) {
  VOB_LAZY_CALL(kLibcairo, cairo_paint, cr);
}
void cairo_rectangle(cairo_t* cr, double x, double y, double width, double height) {
  VOB_LAZY_CALL(kLibcairo, cairo_rectangle, cr, x, y, width, height);
}
void cairo_restore(cairo_t* cr) {
  VOB_LAZY_CALL(kLibcairo, cairo_restore, cr);
}
void cairo_save(cairo_t* cr) {
  VOB_LAZY_CALL(kLibcairo, cairo_save, cr);
}
void cairo_scale(cairo_t* cr, double sx, double sy) {
  VOB_LAZY_CALL(kLibcairo, cairo_scale, cr, sx, sy);
}
void cairo_set_font_face(cairo_t* cr, cairo_font_face_t* font_face) {
  VOB_LAZY_CALL(kLibcairo, cairo_set_font_face, cr, font_face);
}
void cairo_set_font_options(cairo_t* cr, const cairo_font_options_t* options) {
  VOB_LAZY_CALL(kLibcairo, cairo_set_font_options, cr, options);
}
void cairo_set_font_size(cairo_t* cr, double size) {
  VOB_LAZY_CALL(kLibcairo, cairo_set_font_size, cr, size);
}
void cairo_set_line_width(cairo_t* cr, double width) {
  VOB_LAZY_CALL(kLibcairo, cairo_set_line_width, cr, width);
}
void cairo_set_source_rgb(cairo_t* cr, double red, double green, double blue) {
  VOB_LAZY_CALL(kLibcairo, cairo_set_source_rgb, cr, red, green, blue);
}
void cairo_set_source_surface(cairo_t* cr, cairo_surface_t* surface, double x, double y) {
  VOB_LAZY_CALL(kLibcairo, cairo_set_source_surface, cr, surface, x, y);
}
void cairo_show_glyphs(cairo_t* cr, const cairo_glyph_t* glyphs, int num_glyphs) {
  VOB_LAZY_CALL(kLibcairo, cairo_show_glyphs, cr, glyphs, num_glyphs);
}
cairo_status_t cairo_status(cairo_t* cr) {
  VOB_LAZY_CALL(kLibcairo, cairo_status, cr);
}
const char* cairo_status_to_string(cairo_status_t status) {
  VOB_LAZY_CALL(kLibcairo, cairo_status_to_string, status);
}
void cairo_stroke(cairo_t* cr) {
  VOB_LAZY_CALL(kLibcairo, cairo_stroke, cr);
}
void cairo_surface_destroy(cairo_surface_t* surface) {
  VOB_LAZY_CALL(kLibcairo, cairo_surface_destroy, surface);
}
void cairo_surface_finish(cairo_surface_t* surface) {
  VOB_LAZY_CALL(kLibcairo, cairo_surface_finish, surface);
}
void cairo_surface_flush(cairo_surface_t* surface) {
  VOB_LAZY_CALL(kLibcairo, cairo_surface_flush, surface);
}
void cairo_surface_mark_dirty(cairo_surface_t* surface) {
  VOB_LAZY_CALL(kLibcairo, cairo_surface_mark_dirty, surface);
}
cairo_status_t cairo_surface_set_mime_data(cairo_surface_t* surface, const char* mime_type,
                                           const unsigned char* data, unsigned long length,
                                           cairo_destroy_func_t destroy, void* closure) {
  VOB_LAZY_CALL(kLibcairo, cairo_surface_set_mime_data, surface, mime_type, data, length, destroy, closure);
}
cairo_status_t cairo_surface_status(cairo_surface_t* surface) {
  VOB_LAZY_CALL(kLibcairo, cairo_surface_status, surface);
}
cairo_status_t cairo_surface_write_to_png_stream(cairo_surface_t* surface, cairo_write_func_t write_func,
                                                 void* closure) {
  VOB_LAZY_CALL(kLibcairo, cairo_surface_write_to_png_stream, surface, write_func, closure);
}
cairo_surface_t* cairo_svg_surface_create_for_stream(cairo_write_func_t write_func, void* closure,
                                                     double width_in_points, double height_in_points) {
  VOB_LAZY_CALL(kLibcairo, cairo_svg_surface_create_for_stream, write_func, closure, width_in_points,
                height_in_points);
}
void cairo_translate(cairo_t* cr, double tx, double ty) {
  VOB_LAZY_CALL(kLibcairo, cairo_translate, cr, tx, ty);
}
