// PNG and SVG pages through cairo surfaces that write into an OutputFile.
// cairo calls back through C, so a write failure is carried across as a status and thrown again here.
#include "platform/render/page_image_writer.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/render/render_error.h"

namespace vob::render {
namespace {

struct Sink {
  OutputFile* file;
  std::string error;
};

cairo_status_t WriteToSink(void* closure, const unsigned char* data, unsigned int length) {
  auto* sink = static_cast<Sink*>(closure);
  try {
    sink->file->Write(data, length);
    return CAIRO_STATUS_SUCCESS;
  } catch (const RenderError& error) {
    sink->error = error.what();
    return CAIRO_STATUS_WRITE_ERROR;
  }
}

void Check(cairo_status_t status, const Sink& sink, const char* what) {
  if (status == CAIRO_STATUS_SUCCESS) return;
  if (!sink.error.empty()) throw RenderError(sink.error);
  throw RenderError(std::string("cannot write ") + what + " " + sink.file->target() + ": " +
                    cairo_status_to_string(status));
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};

}  // namespace

void WritePng(CairoPainter& painter, const engine::PageModel& model, const engine::Page& page,
              OutputFile& file, double dots_per_inch) {
  const int width = static_cast<int>(std::lround(page.width * dots_per_inch / engine::kTwipsPerInch));
  const int height = static_cast<int>(std::lround(page.height * dots_per_inch / engine::kTwipsPerInch));
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 1), std::max(height, 1)));
  Sink sink{&file, {}};
  Check(cairo_surface_status(surface.get()), sink, "PNG");
  {
    std::unique_ptr<cairo_t, ContextDeleter> cairo(cairo_create(surface.get()));
    cairo_scale(cairo.get(), dots_per_inch / 72, dots_per_inch / 72);
    painter.Paint(cairo.get(), model, page);
  }
  Check(cairo_surface_write_to_png_stream(surface.get(), WriteToSink, &sink), sink, "PNG");
}

void WriteSvg(CairoPainter& painter, const engine::PageModel& model, const engine::Page& page,
              OutputFile& file) {
  Sink sink{&file, {}};
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(cairo_svg_surface_create_for_stream(
      WriteToSink, &sink, page.width / static_cast<double>(engine::kTwipsPerPoint),
      page.height / static_cast<double>(engine::kTwipsPerPoint)));
  Check(cairo_surface_status(surface.get()), sink, "SVG");
  {
    std::unique_ptr<cairo_t, ContextDeleter> cairo(cairo_create(surface.get()));
    painter.Paint(cairo.get(), model, page);
  }
  cairo_surface_finish(surface.get());
  Check(cairo_surface_status(surface.get()), sink, "SVG");
}

std::string SvgOfPage(CairoPainter& painter, const engine::PageModel& model, const engine::Page& page) {
  std::string svg;
  auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(cairo_svg_surface_create_for_stream(
      append, &svg, page.width / static_cast<double>(engine::kTwipsPerPoint),
      page.height / static_cast<double>(engine::kTwipsPerPoint)));
  {
    std::unique_ptr<cairo_t, ContextDeleter> cairo(cairo_create(surface.get()));
    painter.Paint(cairo.get(), model, page);
  }
  cairo_surface_finish(surface.get());
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    throw RenderError(std::string("cannot draw page ") + std::to_string(page.number) +
                      " as SVG: " + cairo_status_to_string(cairo_surface_status(surface.get())));
  }
  return svg;
}

}  // namespace vob::render
