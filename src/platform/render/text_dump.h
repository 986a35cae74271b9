// A plain-text dump of a finished page model, for people and for grep: each page's texts in reading order.
//
// Format: every page starts with the line "--- page N of M ---". Then one output line per visual line of the
// page: texts whose lines sit at the same height (within half a line) are joined left to right with two
// blanks between them. Rectangles, lines and pictures do not appear. Lines end in '\n'.
#pragma once

#include <ostream>

#include "platform/engine/page_model.h"

namespace vob::render {

void WriteTextDump(const engine::PageModel& model, std::ostream& out);

}  // namespace vob::render
