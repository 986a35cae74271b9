// The fonts of a PDF: which glyphs each face used and the text behind them, embedded once at the end as
// subsets. Used by the PDF writer only. Each face becomes a Type0 font (Identity-H) over a CID font with /W
// and /ToUnicode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/render/pdf_buffer.h"
#include "platform/render/pdf_faces.h"
#include "platform/render/pdf_output.h"

namespace vob::render {

class PdfFonts {
 public:
  PdfFonts(PdfFaces& faces, PdfOutput& output) : faces_(faces), output_(output) {}

  // The font's slot in this document ("/F<slot>"), reserving its object on first use.
  uint32_t Slot(uint32_t face_index);
  uint32_t object(uint32_t slot) const { return used_[slot].type0_object; }
  size_t count() const { return used_.size(); }

  // Records the glyphs of a run shaped from text, and for each glyph seen first the text it stands for.
  void MarkUsed(uint32_t slot, const ShapedRun& run, std::string_view text) {
    Face& face = used_[slot];
    for (size_t i = 0; i < run.glyphs.size(); ++i) {
      uint32_t glyph = run.glyphs[i].id;
      if (glyph < face.is_used.size() && !face.is_used[glyph]) Remember(face, run, i, text);
    }
  }

  // By glyph id: non-zero for the glyphs the font's slot has shown (what MarkUsed has recorded).
  const std::vector<uint8_t>& used_glyphs(uint32_t slot) const { return used_[slot].is_used; }

  // Writes every font: subset program, descriptor, CID font with widths, ToUnicode map, Type0 font.
  void WriteAll();

 private:
  struct Face {
    uint32_t face_index = 0;
    uint32_t type0_object = 0;
    std::vector<uint8_t> is_used;                        // by glyph id
    std::vector<std::pair<uint32_t, std::string>> text;  // glyph id and the UTF-8 it shows
  };
  void Remember(Face& face, const ShapedRun& run, size_t glyph_position, std::string_view text);
  void Write(const Face& face);

  PdfFaces& faces_;
  PdfOutput& output_;
  std::vector<Face> used_;
  std::vector<uint32_t> slot_of_face_;  // by face index; UINT32_MAX while unused
};

}  // namespace vob::render
