// Font faces and text to glyphs: a direct cmap path for plain Latin, HarfBuzz with a bounded run cache
// otherwise. Shaping happens in font units (the hb_font is scaled to units per em), so one cached run serves
// every size.
#include "platform/render/font_service.h"

#include <hb-ot.h>

#include <algorithm>
#include <utility>

#include "platform/render/font_locator.h"
#include "platform/render/render_error.h"
#include "platform/vb/lines.h"
#include "platform/vb/names.h"

namespace vob::render {
namespace {

// Entries per face and generation; a report's repeating texts (captions, names, codes) fit easily.
constexpr size_t kGenerationEntries = 8192;
// Longer texts (memos, addresses) rarely repeat and would make the cache heavy.
constexpr size_t kLongestCachedText = 128;

// Features HarfBuzz applies to horizontal Latin text by default, kerning left out (we switch it off). A glyph
// that none of their lookups reads as input comes out of shaping as the cmap made it, at its own advance.
constexpr hb_tag_t kDefaultFeatures[] = {HB_TAG('a', 'b', 'v', 'm'),
                                         HB_TAG('b', 'l', 'w', 'm'),
                                         HB_TAG('c', 'c', 'm', 'p'),
                                         HB_TAG('l', 'o', 'c', 'l'),
                                         HB_TAG('m', 'a', 'r', 'k'),
                                         HB_TAG('m', 'k', 'm', 'k'),
                                         HB_TAG('r', 'l', 'i', 'g'),
                                         HB_TAG('c', 'a', 'l', 't'),
                                         HB_TAG('c', 'l', 'i', 'g'),
                                         HB_TAG('c', 'u', 'r', 's'),
                                         HB_TAG('d', 'i', 's', 't'),
                                         HB_TAG('l', 'i', 'g', 'a'),
                                         HB_TAG('r', 'c', 'l', 't'),
                                         HB_TAG('r', 'v', 'r', 'n'),
                                         HB_TAG('l', 't', 'r', 'a'),
                                         HB_TAG('l', 't', 'r', 'm'),
                                         HB_TAG_NONE};

// Glyphs that some default layout rule of the face may change or move.
hb_set_t* CollectRuleGlyphs(hb_face_t* face) {
  hb_set_t* glyphs = hb_set_create();
  for (hb_tag_t table : {HB_OT_TAG_GSUB, HB_OT_TAG_GPOS}) {
    hb_set_t* lookups = hb_set_create();
    hb_ot_layout_collect_lookups(face, table, nullptr, nullptr, kDefaultFeatures, lookups);
    for (hb_codepoint_t lookup = HB_SET_VALUE_INVALID; hb_set_next(lookups, &lookup);) {
      hb_ot_layout_lookup_collect_glyphs(face, table, lookup, nullptr, glyphs, nullptr, nullptr);
    }
    hb_set_destroy(lookups);
  }
  return glyphs;
}

// Characters HarfBuzz treats specially whatever the font: controls and the soft hyphen (a default ignorable).
bool IsPlainCharacter(char32_t character) {
  return character >= 0x20 && !(character >= 0x7F && character < 0xA0) && character != 0xAD;
}

}  // namespace

FontFace::FontFace(std::string file, int index_in_file, std::string family)
    : file_(std::move(file)), index_in_file_(index_in_file), family_(std::move(family)) {
  blob_ = hb_blob_create_from_file_or_fail(file_.c_str());
  if (blob_ == nullptr) throw RenderError("cannot read font file " + file_ + " of \"" + family_ + "\"");
  hb_face_ = hb_face_create(blob_, static_cast<unsigned>(index_in_file_));
  hb_font_ = hb_font_create(hb_face_);  // scale defaults to units per em
  units_per_em_ = hb_face_get_upem(hb_face_);
  uint32_t glyph_count = hb_face_get_glyph_count(hb_face_);
  if (glyph_count == 0) {
    hb_font_destroy(hb_font_);
    hb_face_destroy(hb_face_);
    hb_blob_destroy(blob_);
    throw RenderError("font file " + file_ + " of \"" + family_ + "\" has no glyphs");
  }
  // Advances read in one batch: a call per glyph cost more than the reading.
  std::vector<hb_codepoint_t> glyphs(glyph_count);
  for (uint32_t glyph = 0; glyph < glyph_count; ++glyph) glyphs[glyph] = glyph;
  nominal_advances_.resize(glyph_count);
  hb_font_get_glyph_h_advances(hb_font_, glyph_count, glyphs.data(), sizeof(hb_codepoint_t),
                               nominal_advances_.data(), sizeof(int32_t));
  hb_font_extents_t extents{};
  hb_font_get_h_extents(hb_font_, &extents);
  ascender_ = extents.ascender;
  descender_ = extents.descender;
  line_gap_ = extents.line_gap;

  simple_glyphs_.assign(kSimpleLimit, 0);
  hb_set_t* rule_glyphs = CollectRuleGlyphs(hb_face_);
  for (char32_t character = 0; character < kSimpleLimit; ++character) {
    hb_codepoint_t glyph = 0;
    if (IsPlainCharacter(character) && hb_font_get_nominal_glyph(hb_font_, character, &glyph) && glyph != 0 &&
        glyph < glyph_count && !hb_set_has(rule_glyphs, glyph)) {
      simple_glyphs_[character] = glyph;
    }
  }
  hb_set_destroy(rule_glyphs);
}

FontFace::~FontFace() {
  hb_font_destroy(hb_font_);
  hb_face_destroy(hb_face_);
  hb_blob_destroy(blob_);
}

Shaper::Shaper(bool may_skip_shaping) : buffer_(hb_buffer_create()), may_skip_shaping_(may_skip_shaping) {}

Shaper::~Shaper() {
  hb_buffer_destroy(buffer_);
}

FontService::~FontService() = default;

uint32_t FontService::FaceIndex(const engine::FontSpec& font) {
  for (const ResolvedSpec& resolved : resolved_) {
    if (resolved.is_bold == font.is_bold && resolved.is_italic == font.is_italic &&
        vb::SameName(resolved.family, font.family)) {
      return resolved.face;
    }
  }
  uint32_t face = Resolve(font.family, font.is_bold, font.is_italic);
  resolved_.push_back(ResolvedSpec{font.family, font.is_bold, font.is_italic, face});
  return face;
}

uint32_t FontService::Resolve(const std::string& family, bool is_bold, bool is_italic) {
  FontLocation location = LocateFont(family, is_bold, is_italic);
  // "Arial" and "Helvetica" land on the same file: open it once.
  for (uint32_t i = 0; i < faces_.size(); ++i) {
    if (faces_[i]->file() == location.file && faces_[i]->index_in_file() == location.index_in_file) return i;
  }
  faces_.push_back(std::make_unique<FontFace>(location.file, location.index_in_file, location.family));
  return static_cast<uint32_t>(faces_.size() - 1);
}

void Shaper::ShapeInto(const FontFace& face, std::string_view text, ShapedRun& run) {
  static const hb_feature_t kNoKerning = [] {
    hb_feature_t feature{};
    hb_feature_from_string("-kern", -1, &feature);
    return feature;
  }();
  hb_buffer_clear_contents(buffer_);
  hb_buffer_add_utf8(buffer_, text.data(), static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
  hb_buffer_guess_segment_properties(buffer_);
  hb_shape(face.hb_font(), buffer_, &kNoKerning, 1);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer_, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer_, &count);
  run.glyphs.resize(count);
  run.advance = 0;
  run.is_nominal = true;
  for (unsigned i = 0; i < count; ++i) {
    Glyph& glyph = run.glyphs[i];
    glyph.id = infos[i].codepoint;
    glyph.cluster = infos[i].cluster;
    glyph.x_advance = positions[i].x_advance;
    glyph.x_offset = positions[i].x_offset;
    glyph.y_offset = positions[i].y_offset;
    run.advance += glyph.x_advance;
    if (glyph.x_offset != 0 || glyph.y_offset != 0 || glyph.id >= face.glyph_count() ||
        glyph.x_advance != face.nominal_advance(glyph.id)) {
      run.is_nominal = false;
    }
  }
}

bool Shaper::MapDirectly(const FontFace& face, std::string_view text, ShapedRun& run) {
  // One glyph a byte at most: the run is sized once and trimmed to what was written.
  if (run.glyphs.size() < text.size()) run.glyphs.resize(text.size());
  Glyph* const first = run.glyphs.data();
  Glyph* out = first;
  int32_t advance_sum = 0;
  for (size_t position = 0; position < text.size();) {
    const size_t cluster = position;
    const uint32_t glyph = face.NextSimpleGlyph(text, position);
    if (glyph == 0) return false;
    const int32_t advance = face.nominal_advance(glyph);
    *out++ = Glyph{glyph, static_cast<uint32_t>(cluster), advance, 0, 0};
    advance_sum += advance;
  }
  run.glyphs.resize(static_cast<size_t>(out - first));
  run.advance = advance_sum;
  run.is_nominal = true;
  return true;
}

const ShapedRun& Shaper::Shape(const FontFace& face, uint32_t face_index, std::string_view text) {
  if (may_skip_shaping_ && MapDirectly(face, text, uncached_)) return uncached_;
  if (text.size() > kLongestCachedText) {
    ShapeInto(face, text, uncached_);
    return uncached_;
  }
  if (face_index >= caches_.size()) caches_.resize(face_index + 1);
  RunCache& cache = caches_[face_index];
  if (auto hit = cache.current.find(text); hit != cache.current.end()) return hit->second;
  if (auto old = cache.previous.find(text); old != cache.previous.end()) {
    auto node = cache.previous.extract(old);
    if (cache.current.size() >= kGenerationEntries) {
      cache.previous = std::move(cache.current);
      cache.current.clear();
    }
    return cache.current.insert(std::move(node)).position->second;
  }
  if (cache.current.size() >= kGenerationEntries) {
    cache.previous = std::move(cache.current);
    cache.current.clear();
  }
  ShapedRun& run = cache.current.try_emplace(std::string(text)).first->second;
  ShapeInto(face, text, run);
  return run;
}

int32_t Shaper::Advance(const FontFace& face, uint32_t face_index, std::string_view text) {
  if (may_skip_shaping_) {
    int32_t advance = 0;
    size_t position = 0;
    while (position < text.size()) {
      const uint32_t glyph = face.NextSimpleGlyph(text, position);
      if (glyph == 0) break;
      advance += face.nominal_advance(glyph);
    }
    if (position == text.size()) return advance;
  }
  return Shape(face, face_index, text).advance;
}

double FontService::WidthTwips(const engine::FontSpec& font, std::string_view text) {
  uint32_t face_index = FaceIndex(font);
  const FontFace& face = *faces_[face_index];
  // Width of the widest line; the engine measures wrapped lines one at a time, but a caption may hold breaks.
  double widest = 0;
  vb::ForEachLine(text, [&](std::string_view line) {
    widest = std::max(widest, face.ToTwips(shaper_.Advance(face, face_index, line), font.size_points));
  });
  return widest;
}

engine::FontMetrics FontService::Metrics(const engine::FontSpec& font) {
  const FontFace& face = *faces_[FaceIndex(font)];
  engine::FontMetrics metrics;
  metrics.ascent_twips = face.ToTwips(face.ascender(), font.size_points);
  metrics.line_height_twips =
      face.ToTwips(face.ascender() - face.descender() + face.line_gap(), font.size_points);
  return metrics;
}

}  // namespace vob::render
