// The table of contents as the PDF outline (bookmarks), one level per part of each entry's path.
// Used by the PDF writer only.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/render/pdf_output.h"

namespace vob::render {

// Writes the outline and returns its root object, or 0 when the table of contents is empty.
// page_objects[i] is the page object of page i + 1; page_heights_twips the pages' heights, for the target.
uint32_t WriteOutline(PdfOutput& output, const std::vector<engine::TocEntry>& toc,
                      const std::vector<uint32_t>& page_objects,
                      const std::vector<int32_t>& page_heights_twips);

}  // namespace vob::render
