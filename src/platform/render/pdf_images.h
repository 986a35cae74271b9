// The pictures of a PDF, each written once as an image XObject however many pages show it.
// Used by the PDF writer only. JPEG files pass through unchanged (DCTDecode); others become deflated RGB +
// SMask.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/render/pdf_output.h"

namespace vob::render {

class PdfImages {
 public:
  explicit PdfImages(PdfOutput& output) : output_(output) {}

  // The picture's slot ("/I<slot>"), writing its XObject on first sight. Throws RenderError for a picture
  // without pixels or a JPEG whose header cannot be read.
  uint32_t Slot(const std::shared_ptr<const engine::Picture>& picture);
  uint32_t object(uint32_t slot) const { return objects_[slot]; }
  size_t count() const { return objects_.size(); }

 private:
  uint32_t WriteJpeg(const engine::Picture& picture);
  uint32_t WritePixels(const engine::Picture& picture);

  PdfOutput& output_;
  // Held so that a picture's address is never reused by another picture during the document.
  std::map<const engine::Picture*, std::pair<std::shared_ptr<const engine::Picture>, uint32_t>> slots_;
  std::vector<uint32_t> objects_;
};

}  // namespace vob::render
