// The fonts a PDF is drawn with, as the thread that draws it sees them: the document's fonts, each resolved
// to a face by the font service's own thread before any page that uses it is drawn, and a shaper of the
// drawing thread's own, so that the engine may go on measuring with the service while pages are drawn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/render/font_service.h"
#include "platform/render/render_error.h"

namespace vob::render {

struct PdfFont {
  uint32_t face_index = 0;
  const FontFace* face = nullptr;
  double size_points = 0;
};

// The document's fonts from first on, resolved; on the font service's thread.
inline std::vector<PdfFont> ResolveFonts(FontService& fonts, const engine::DocumentInfo& info, size_t first) {
  std::vector<PdfFont> resolved;
  for (size_t index = first; index < info.fonts.size(); ++index) {
    const uint32_t face = fonts.FaceIndex(info.fonts[index]);
    resolved.push_back(PdfFont{face, &fonts.face(face), info.fonts[index].size_points});
  }
  return resolved;
}

class PdfFaces {
 public:
  explicit PdfFaces(bool may_skip_shaping) : shaper_(may_skip_shaping) {}

  // The document's next font.
  void Add(const PdfFont& font) {
    fonts_.push_back(font);
    if (font.face_index >= faces_.size()) faces_.resize(font.face_index + 1, nullptr);
    faces_[font.face_index] = font.face;
  }
  size_t font_count() const { return fonts_.size(); }
  const PdfFont& font(uint32_t index) const {
    if (index >= fonts_.size()) {
      throw RenderError("page item names font " + std::to_string(index) + " of " +
                        std::to_string(fonts_.size()));
    }
    return fonts_[index];
  }
  // REQUIRES: a font added with this face.
  const FontFace& face(uint32_t face_index) const { return *faces_[face_index]; }
  const ShapedRun& Shape(uint32_t face_index, std::string_view text) {
    return shaper_.Shape(*faces_[face_index], face_index, text);
  }
  bool may_skip_shaping() const { return shaper_.may_skip_shaping(); }

 private:
  std::vector<PdfFont> fonts_;
  std::vector<const FontFace*> faces_;  // by face index
  Shaper shaper_;
};

}  // namespace vob::render
