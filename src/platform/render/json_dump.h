// A JSON dump of a finished page model: the form golden report tests compare, one item per line for diffs.
//
// {"report": key, "pages": [{"number", "width", "height", "items": [{"kind", "section", "control", "text",
//  "left", "top", "width", "height", "align", "font", "size", "bold", "italic", "fill", "hyperlink"}]}],
//  "toc": [{"text", "level", "page"}]}
// Lengths are twips; page numbers count from 1; kind is "text", "rect", "line" or "image". Every item has
// every field: text, align, font, size, bold and italic are null unless the item is a text; fill ("#F0F0F0")
// is null unless it is a rect; hyperlink is null when the item has none.
#pragma once

#include <ostream>

#include "platform/engine/page_model.h"

namespace vob::render {

// Writes page by page, so a long report never exists twice in memory.
void WriteJsonDump(const engine::PageModel& model, std::ostream& out);

}  // namespace vob::render
