// Font subsetting and embedding for the PDF writer.
// Subsets keep their glyph ids (hb-subset RETAIN_GIDS), so content streams show the shaped ids unchanged.
#include "platform/render/pdf_fonts.h"

#include <hb-subset.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/render/render_error.h"

namespace vob::render {
namespace {

// More bytes than a ligature or a decomposed character needs; guards against pathological clusters.
constexpr size_t kLongestGlyphText = 32;

struct Blob {
  hb_blob_t* blob;
  explicit Blob(hb_blob_t* owned) : blob(owned) {}
  ~Blob() { hb_blob_destroy(blob); }
  Blob(const Blob&) = delete;
  Blob& operator=(const Blob&) = delete;
  std::string_view bytes() const {
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    return {data, length};
  }
};

uint32_t ReadBig(std::string_view table, size_t offset, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | static_cast<unsigned char>(table[offset + i]);
  return value;
}

// Thousandths of the em square, rounded, as PDF font dictionaries measure.
int64_t PerMille(int64_t font_units, uint32_t units_per_em) {
  int64_t scaled = font_units * 1000;
  return scaled >= 0 ? (2 * scaled + units_per_em) / (2 * units_per_em)
                     : -((-2 * scaled + units_per_em) / (2 * units_per_em));
}

std::string PostScriptName(const FontFace& face) {
  char name[128];
  unsigned length = sizeof name;
  if (hb_ot_name_get_utf8(face.hb_face(), HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &length,
                          name) == 0 ||
      length == 0) {
    return "Font";
  }
  std::string result(name, length);
  for (char& c : result) {
    if (c <= ' ' || c >= 127 || std::string_view("()<>[]{}/%#").find(c) != std::string_view::npos) c = '-';
  }
  return result;
}

}  // namespace

uint32_t PdfFonts::Slot(uint32_t face_index) {
  if (face_index >= slot_of_face_.size()) {
    slot_of_face_.resize(face_index + 1, std::numeric_limits<uint32_t>::max());
  }
  uint32_t& slot = slot_of_face_[face_index];
  if (slot == std::numeric_limits<uint32_t>::max()) {
    slot = static_cast<uint32_t>(used_.size());
    Face& face = used_.emplace_back();
    face.face_index = face_index;
    face.type0_object = output_.Reserve();
    face.is_used.assign(faces_.face(face_index).glyph_count(), 0);
  }
  return slot;
}

void PdfFonts::Remember(Face& face, const ShapedRun& run, size_t glyph_position, std::string_view text) {
  const Glyph& glyph = run.glyphs[glyph_position];
  face.is_used[glyph.id] = 1;
  // The cluster's text belongs to its first glyph; the others of the cluster copy as nothing.
  if (glyph_position > 0 && run.glyphs[glyph_position - 1].cluster == glyph.cluster) return;
  size_t end = text.size();
  for (const Glyph& other : run.glyphs) {
    if (other.cluster > glyph.cluster) end = std::min<size_t>(end, other.cluster);
  }
  if (glyph.cluster >= end) return;
  face.text.emplace_back(
      glyph.id, std::string(text.substr(glyph.cluster, std::min(end - glyph.cluster, kLongestGlyphText))));
}

void PdfFonts::WriteAll() {
  for (const Face& face : used_) Write(face);
}

void PdfFonts::Write(const Face& used) {
  const FontFace& face = faces_.face(used.face_index);
  const uint32_t units_per_em = face.units_per_em();

  hb_subset_input_t* input = hb_subset_input_create_or_fail();
  if (input == nullptr) throw RenderError("cannot subset font " + face.file());
  hb_set_t* glyphs = hb_subset_input_glyph_set(input);
  hb_set_add(glyphs, 0);
  uint64_t tag_hash = 1469598103934665603ULL;
  for (uint32_t glyph = 0; glyph < used.is_used.size(); ++glyph) {
    if (used.is_used[glyph]) {
      hb_set_add(glyphs, glyph);
      tag_hash = (tag_hash ^ glyph) * 1099511628211ULL;
    }
  }
  // Shaping is done; a PDF viewer reads only outlines and metrics. Hinting instructions (the glyphs' own,
  // fpgm, prep, cvt) go too: PDF viewers and printers rasterize without them, and they were about half of
  // each embedded font's bytes and of the time spent subsetting and compressing it.
  hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
  for (hb_tag_t tag : {HB_TAG('G', 'S', 'U', 'B'), HB_TAG('G', 'P', 'O', 'S'), HB_TAG('G', 'D', 'E', 'F')}) {
    hb_set_add(dropped, tag);
  }
  hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
  hb_face_t* subset = hb_subset_or_fail(face.hb_face(), input);
  hb_subset_input_destroy(input);
  if (subset == nullptr) throw RenderError("cannot subset font " + face.file());
  Blob program(hb_face_reference_blob(subset));
  hb_face_destroy(subset);

  Blob cff(hb_face_reference_table(face.hb_face(), HB_TAG('C', 'F', 'F', ' ')));
  const bool is_cff = !cff.bytes().empty();
  Blob head(hb_face_reference_table(face.hb_face(), HB_TAG('h', 'e', 'a', 'd')));
  Blob post(hb_face_reference_table(face.hb_face(), HB_TAG('p', 'o', 's', 't')));

  std::string name;
  for (int i = 0; i < 6; ++i) name.push_back(static_cast<char>('A' + (tag_hash >> (5 * i)) % 26));
  name += "+" + PostScriptName(face);

  const uint32_t cid_font = output_.Reserve(), descriptor = output_.Reserve(), file = output_.Reserve(),
                 to_unicode = output_.Reserve();
  PdfBuffer buffer;

  if (is_cff) {
    output_.WriteStream(file, "/Subtype/OpenType", program.bytes());
  } else {
    buffer << "/Length1 ";
    buffer.Int(static_cast<int64_t>(program.bytes().size()));
    output_.WriteStream(file, buffer.view(), program.bytes());
  }

  int64_t box[4] = {0, 0, 1000, 1000};
  if (head.bytes().size() >= 54) {
    for (int i = 0; i < 4; ++i) {
      box[i] = PerMille(static_cast<int16_t>(ReadBig(head.bytes(), 36 + 2 * i, 2)), units_per_em);
    }
  }
  int64_t italic_angle = 0;  // thousandths of a degree
  bool is_fixed_pitch = false;
  if (post.bytes().size() >= 16) {
    italic_angle = static_cast<int64_t>(static_cast<int32_t>(ReadBig(post.bytes(), 4, 4))) * 1000 / 65536;
    is_fixed_pitch = ReadBig(post.bytes(), 12, 4) != 0;
  }
  hb_position_t cap_height = face.ascender();
  hb_ot_metrics_get_position(face.hb_font(), HB_OT_METRICS_TAG_CAP_HEIGHT, &cap_height);
  buffer.Clear();
  buffer << "<</Type/FontDescriptor/FontName/" << name << "/Flags ";
  buffer.Int(32 + (is_fixed_pitch ? 1 : 0) + (italic_angle != 0 ? 64 : 0)) << "/FontBBox[";
  buffer.Int(box[0]) << ' ';
  buffer.Int(box[1]) << ' ';
  buffer.Int(box[2]) << ' ';
  buffer.Int(box[3]) << "]/ItalicAngle ";
  buffer.Milli(italic_angle) << "/Ascent ";
  buffer.Int(PerMille(face.ascender(), units_per_em)) << "/Descent ";
  buffer.Int(PerMille(face.descender(), units_per_em)) << "/CapHeight ";
  buffer.Int(PerMille(cap_height, units_per_em)) << "/StemV 80" << (is_cff ? "/FontFile3 " : "/FontFile2 ");
  buffer.Ref(file) << ">>";
  output_.WriteObject(descriptor, buffer.view());

  buffer.Clear();
  buffer << "<</Type/Font/Subtype/" << (is_cff ? "CIDFontType0" : "CIDFontType2") << "/BaseFont/" << name
         << "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/FontDescriptor ";
  buffer.Ref(descriptor) << (is_cff ? "" : "/CIDToGIDMap/Identity") << "/W[";
  // Runs of consecutive glyph ids: "first [w w w]".
  const uint32_t count = static_cast<uint32_t>(used.is_used.size());
  for (uint32_t glyph = 0; glyph < count;) {
    if (!used.is_used[glyph]) {
      ++glyph;
      continue;
    }
    buffer.Int(glyph) << '[';
    for (bool is_first = true; glyph < count && used.is_used[glyph]; ++glyph, is_first = false) {
      if (!is_first) buffer << ' ';
      buffer.Milli(PerMille(static_cast<int64_t>(face.nominal_advance(glyph)) * 1000, units_per_em));
    }
    buffer << ']';
  }
  buffer << "]>>";
  output_.WriteObject(cid_font, buffer.view());

  buffer.Clear();
  buffer << "/CIDInit/ProcSet findresource begin\n12 dict begin\nbegincmap\n"
            "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
            "/CMapName/Adobe-Identity-UCS def\n/CMapType 2 def\n"
            "1 begincodespacerange\n<0000><FFFF>\nendcodespacerange\n";
  std::vector<std::pair<uint32_t, std::string>> text = used.text;
  std::sort(text.begin(), text.end());
  // At most 100 entries per block, as the CMap format requires.
  for (size_t start = 0; start < text.size(); start += 100) {
    size_t end = std::min(text.size(), start + 100);
    buffer.Int(static_cast<int64_t>(end - start)) << " beginbfchar\n";
    for (size_t i = start; i < end; ++i) {
      buffer << '<';
      buffer.Hex(text[i].first, 4) << "><";
      std::string_view utf8 = text[i].second;
      for (size_t position = 0; position < utf8.size();) {
        char32_t code = NextCodePoint(utf8, position);
        if (code >= 0x10000) {
          buffer.Hex(0xD800 + ((code - 0x10000) >> 10), 4).Hex(0xDC00 + (code & 0x3FF), 4);
        } else {
          buffer.Hex(code, 4);
        }
      }
      buffer << ">\n";
    }
    buffer << "endbfchar\n";
  }
  buffer << "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
  output_.WriteStream(to_unicode, "", buffer.view());

  buffer.Clear();
  buffer << "<</Type/Font/Subtype/Type0/BaseFont/" << name << "/Encoding/Identity-H/DescendantFonts[";
  buffer.Ref(cid_font) << "]/ToUnicode ";
  buffer.Ref(to_unicode) << ">>";
  output_.WriteObject(used.type0_object, buffer.view());
}

}  // namespace vob::render
