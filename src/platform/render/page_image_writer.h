// Writes single pages of a finished page model as PNG (cairo image surface) or SVG (cairo SVG surface).
// Both go through the CairoPainter, so a page looks the same in either and matches the PDF.
#pragma once

#include <string>

#include "platform/engine/page_model.h"
#include "platform/render/cairo_painter.h"
#include "platform/render/output_file.h"

namespace vob::render {

inline constexpr double kDefaultDpi = 96;

// A PNG of the page at dots_per_inch, white background. Throws RenderError when the file cannot be written.
void WritePng(CairoPainter& painter, const engine::PageModel& model, const engine::Page& page,
              OutputFile& file, double dots_per_inch = kDefaultDpi);

// An SVG of the page, sized in points.
void WriteSvg(CairoPainter& painter, const engine::PageModel& model, const engine::Page& page,
              OutputFile& file);

// The same SVG, held in memory (the viewer serves pages without touching the disk).
std::string SvgOfPage(CairoPainter& painter, const engine::PageModel& model, const engine::Page& page);

}  // namespace vob::render
