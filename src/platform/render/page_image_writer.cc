// PNG and SVG pages through cairo surfaces that write into an OutputFile.
// cairo calls back through C, so a write failure is carried across as a status and thrown again here.
#include "platform/render/page_image_writer.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

// cairo numbers a surface's group ("surface12") and an image ("image7") by counters shared by the whole
// process, so the same page drawn twice read differently. Numbered again from 1 in order of appearance,
// the page's SVG is the same bytes every time.
std::string RenumberSurfaceIds(const std::string& svg) {
  std::string out;
  out.reserve(svg.size());
  std::vector<std::pair<std::string, std::string>> renamed;  // "surface12" -> "surface1"
  int surfaces = 0, images = 0;
  size_t done = 0;
  for (size_t at = 0; at < svg.size();) {
    const size_t surface = svg.find("surface", at);
    const size_t image = svg.find("image", at);
    const size_t found = std::min(surface, image);
    if (found == std::string::npos) break;
    const size_t stem = found == surface ? 7 : 5;
    size_t end = found + stem;
    while (end < svg.size() && svg[end] >= '0' && svg[end] <= '9') ++end;
    // Only ids and references to them (id="surface5", href="#surface5"), never the bytes of an image.
    const bool is_id = found > 0 && (svg[found - 1] == '"' || svg[found - 1] == '#');
    if (end == found + stem || !is_id) {
      at = found + stem;
      continue;
    }
    const std::string old_id = svg.substr(found, end - found);
    auto it =
        std::find_if(renamed.begin(), renamed.end(), [&](const auto& pair) { return pair.first == old_id; });
    if (it == renamed.end()) {
      const int number = found == surface ? ++surfaces : ++images;
      renamed.emplace_back(old_id, svg.substr(found, stem) + std::to_string(number));
      it = renamed.end() - 1;
    }
    out.append(svg, done, found - done);
    out += it->second;
    done = at = end;
  }
  out.append(svg, done, std::string::npos);
  return out;
}

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
  file.Write(SvgOfPage(painter, model, page));
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
  return RenumberSurfaceIds(svg);
}

}  // namespace vob::render
