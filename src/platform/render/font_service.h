// Finds font files, shapes text into glyphs and measures it, for the engine's layout and for every renderer.
// Layout, PDF, PNG and SVG all take glyphs and advances from here, so they agree to the glyph.
#pragma once

#include <hb.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/engine/text_measurer.h"

namespace vob::render {

// One shaped glyph, in font units (the face's units per em).
struct Glyph {
  uint32_t id = 0;
  uint32_t cluster = 0;  // byte offset of the glyph's first character in the shaped text
  int32_t x_advance = 0;
  int32_t x_offset = 0, y_offset = 0;
};

struct ShapedRun {
  std::vector<Glyph> glyphs;
  int32_t advance = 0;     // sum of the glyphs' advances, font units
  bool is_nominal = true;  // every glyph sits at the font's own advance, no offsets (PDF can use a plain Tj)
};

// A font file opened for shaping; owned by the FontService and alive as long as it is.
class FontFace {
 public:
  FontFace(std::string file, int index_in_file, std::string family);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const std::string& file() const { return file_; }
  int index_in_file() const { return index_in_file_; }
  const std::string& family() const { return family_; }  // as the file names it: "Liberation Sans"
  hb_face_t* hb_face() const { return hb_face_; }
  hb_font_t* hb_font() const { return hb_font_; }  // scaled to font units
  uint32_t units_per_em() const { return units_per_em_; }
  uint32_t glyph_count() const { return static_cast<uint32_t>(nominal_advances_.size()); }
  int32_t nominal_advance(uint32_t glyph) const { return nominal_advances_[glyph]; }
  // From hhea, or OS/2's typographic values when the font asks for them; font units, descender negative.
  int32_t ascender() const { return ascender_; }
  int32_t descender() const { return descender_; }
  int32_t line_gap() const { return line_gap_; }
  // Twips at a size in points.
  double ToTwips(double font_units, double size_points) const {
    return font_units * size_points * engine::kTwipsPerPoint / units_per_em_;
  }
  // The glyph of a Latin character that no layout rule of the font (kerning aside) can touch, so that shaping
  // it is a cmap look-up; 0 for any other character.
  static constexpr char32_t kSimpleLimit = 0x250;
  uint32_t simple_glyph(char32_t character) const {
    return character < kSimpleLimit ? simple_glyphs_[character] : 0;
  }
  // The simple glyph of the character at text[position] (ASCII or a two-byte UTF-8 sequence), moving position
  // past it; 0 for any other character, and for bytes that are not well-formed UTF-8 (an overlong C0 A3 is
  // not "#"). REQUIRES: position < text.size().
  uint32_t NextSimpleGlyph(std::string_view text, size_t& position) const {
    const auto lead = static_cast<unsigned char>(text[position]);
    if (lead < 0x80) {
      ++position;
      return simple_glyphs_[lead];
    }
    if (lead < 0xC2 || lead >= 0xE0 || position + 1 >= text.size()) return 0;
    const auto next = static_cast<unsigned char>(text[position + 1]);
    if ((next & 0xC0) != 0x80) return 0;
    position += 2;
    return simple_glyph(static_cast<char32_t>((lead & 0x1F) << 6 | (next & 0x3F)));
  }

 private:
  std::string file_;
  int index_in_file_;
  std::string family_;
  hb_blob_t* blob_ = nullptr;
  hb_face_t* hb_face_ = nullptr;
  hb_font_t* hb_font_ = nullptr;
  uint32_t units_per_em_ = 1000;
  int32_t ascender_ = 0, descender_ = 0, line_gap_ = 0;
  std::vector<int32_t> nominal_advances_;
  std::vector<uint32_t> simple_glyphs_;  // by code point below kSimpleLimit
};

// Shapes text for one thread: caches and a HarfBuzz buffer of its own over faces a FontService opened
// (HarfBuzz fonts may be shaped with from several threads at once). The service has one for the thread that
// uses it; a renderer working on another thread makes its own.
class Shaper {
 public:
  // Without the direct path every text goes through HarfBuzz; tests use that to check the direct path.
  explicit Shaper(bool may_skip_shaping = true);
  ~Shaper();
  Shaper(const Shaper&) = delete;
  Shaper& operator=(const Shaper&) = delete;

  // Glyphs of one line of text (no line breaks), kerning off. The reference stays valid until the next call.
  // A text of simple characters only (see FontFace::simple_glyph) is mapped directly, which gives what
  // HarfBuzz gives at a fraction of the cost; other texts are shaped and cached under face_index.
  const ShapedRun& Shape(const FontFace& face, uint32_t face_index, std::string_view text);
  // The run's advance alone, as Shape(...).advance gives it; text of simple glyphs is summed without writing
  // the glyphs down.
  int32_t Advance(const FontFace& face, uint32_t face_index, std::string_view text);

  // False when every text must go through HarfBuzz (see the constructor).
  bool may_skip_shaping() const { return may_skip_shaping_; }

 private:
  struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  using RunMap = std::unordered_map<std::string, ShapedRun, StringHash, std::equal_to<>>;
  // Two generations make a cheap bounded cache: a full current generation becomes the previous one, and runs
  // still in use are copied forward when they are hit there, so common texts survive and rare ones age out.
  struct RunCache {
    RunMap current, previous;
  };

  void ShapeInto(const FontFace& face, std::string_view text, ShapedRun& run);
  bool MapDirectly(const FontFace& face, std::string_view text, ShapedRun& run);

  std::vector<RunCache> caches_;  // by face index
  hb_buffer_t* buffer_ = nullptr;
  bool may_skip_shaping_;
  ShapedRun uncached_;
};

// Thread-compatible: one service per run, used from one thread at a time; the faces it opened may be read
// (and shaped with through a Shaper of their own) by another thread meanwhile.
class FontService final : public engine::TextMeasurer {
 public:
  // Without the direct path every text goes through HarfBuzz; tests use that to check the direct path.
  explicit FontService(bool may_skip_shaping = true) : shaper_(may_skip_shaping) {}
  ~FontService() override;

  // The face for a report font: its family, or the family's metric-compatible Liberation twin ("Arial" gives
  // Liberation Sans), in the bold and italic style asked for. Throws RenderError naming the family when
  // fontconfig offers neither. The index stays valid for the service's life.
  uint32_t FaceIndex(const engine::FontSpec& font);
  // The face stays at the same address for the service's life.
  const FontFace& face(uint32_t index) const { return *faces_[index]; }

  // What Shaper::Shape gives, with this service's own shaper.
  const ShapedRun& Shape(uint32_t face_index, std::string_view text) {
    return shaper_.Shape(*faces_[face_index], face_index, text);
  }

  bool may_skip_shaping() const { return shaper_.may_skip_shaping(); }

  double WidthTwips(const engine::FontSpec& font, std::string_view text) override;
  engine::FontMetrics Metrics(const engine::FontSpec& font) override;

 private:
  struct ResolvedSpec {
    std::string family;
    bool is_bold, is_italic;
    uint32_t face;
  };

  uint32_t Resolve(const std::string& family, bool is_bold, bool is_italic);

  std::vector<std::unique_ptr<FontFace>> faces_;
  std::vector<ResolvedSpec> resolved_;
  Shaper shaper_;
};

}  // namespace vob::render
