// Content stream operators for page items.
// Glyph ids go out as two-byte binary strings positioned with relative Td moves between rounded absolute
// positions, so long pages never drift.
#include "platform/render/pdf_content.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/vb/lines.h"

namespace vob::render {
namespace {

constexpr int64_t kMilliPerPixel = 750;  // a picture's natural size: 96 pixels an inch, 0.75 pt each

bool Touches(const PdfContent::Box& a, const PdfContent::Box& b) {
  return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

void Include(PdfContent::Box& extent, const PdfContent::Box& box) {
  extent.left = std::min(extent.left, box.left);
  extent.bottom = std::min(extent.bottom, box.bottom);
  extent.right = std::max(extent.right, box.right);
  extent.top = std::max(extent.top, box.top);
}

// An item's area in thousandths of a point, grown by pad on every side (half a stroke for lines).
PdfContent::Box BoxOf(const engine::PageItem& item, int64_t page_height, int64_t pad = 0) {
  int64_t left = MilliFromTwips(item.left), top = page_height - MilliFromTwips(item.top);
  int64_t right = left + MilliFromTwips(item.width), bottom = top - MilliFromTwips(item.height);
  return {std::min(left, right) - pad, std::min(top, bottom) - pad, std::max(left, right) + pad,
          std::max(top, bottom) + pad};
}

// Colour components as PDF numbers: thousandths of full intensity.
void AppendColor(PdfBuffer& buffer, engine::Color color) {
  buffer.Milli((color.red * 1000 + 127) / 255) << ' ';
  buffer.Milli((color.green * 1000 + 127) / 255) << ' ';
  buffer.Milli((color.blue * 1000 + 127) / 255);
}

// Font units scaled to thousandths of a point at a size in thousandths of a point, rounded.
int64_t Scale(int64_t font_units, int64_t size, uint32_t units_per_em) {
  return static_cast<int64_t>(std::llround(static_cast<double>(font_units) * static_cast<double>(size) /
                                           static_cast<double>(units_per_em)));
}

}  // namespace

void PdfContent::Reset(bool is_state_known) {
  stream_.Clear();
  graphics_.Clear();
  text_.Clear();
  has_text_ = false;
  graphics_state_ = GraphicsState{};
  if (is_state_known) {
    graphics_state_.is_fill_known = graphics_state_.is_stroke_known = true;
    graphics_state_.line_width = 1000;
  }
  current_font_slot_ = UINT32_MAX;
  current_font_size_ = 0;
}

PdfContent::FontEntry& PdfContent::Font(uint32_t index) {
  if (index >= font_entries_.size()) font_entries_.resize(index + 1);
  FontEntry& entry = font_entries_[index];
  if (!entry.is_resolved) {
    const PdfFont& font = faces_.font(index);
    entry.face = font.face_index;
    entry.slot = pdf_fonts_.Slot(entry.face);
    entry.size = std::llround(font.size_points * 1000.0);
    const FontFace& face = *font.face;
    entry.ascent = Scale(face.ascender(), entry.size, face.units_per_em());
    entry.descent = Scale(-face.descender(), entry.size, face.units_per_em());
    entry.line_height =
        Scale(face.ascender() - face.descender() + face.line_gap(), entry.size, face.units_per_em());
    entry.is_resolved = true;
  }
  return entry;
}

void PdfContent::SetFill(PdfBuffer& buffer, GraphicsState& state, engine::Color color,
                         const char* operator_name) {
  bool is_stroke = operator_name[0] == 'R';
  bool& is_known = is_stroke ? state.is_stroke_known : state.is_fill_known;
  engine::Color& current = is_stroke ? state.stroke : state.fill;
  if (is_known && current == color) return;
  if (color.red == color.green && color.green == color.blue) {
    buffer.Milli((color.red * 1000 + 127) / 255) << ' ' << (is_stroke ? "G\n" : "g\n");
  } else {
    AppendColor(buffer, color);
    buffer << ' ' << operator_name << '\n';
  }
  is_known = true;
  current = color;
}

void PdfContent::Text(const engine::PageItem& item, std::string_view text, int64_t left, int64_t top) {
  FontEntry& font = Font(item.font);
  const FontFace& face = faces_.face(font.face);
  const int64_t box_width = MilliFromTwips(item.width);
  if (!has_text_) {
    has_text_ = true;
    text_x_ = text_y_ = 0;
    text_state_ = GraphicsState{};
    text_extent_ = Box{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
  }
  if (font.slot != current_font_slot_ || font.size != current_font_size_) {
    text_ << "/F";
    text_.Int(font.slot) << ' ';
    text_.Milli(font.size) << " Tf\n";
    current_font_slot_ = font.slot;
    current_font_size_ = font.size;
  }
  SetFill(text_, text_state_, item.color, "rg");

  last_text_box_ = Box{left, top, left, top};
  int64_t baseline = top - font.ascent;
  vb::ForEachLine(text, [&](std::string_view line) {
    if (!line.empty()) {
      int32_t advance = 0;
      const bool is_known = MapKnownGlyphs(font, face, line, advance);
      const ShapedRun* run = nullptr;
      if (!is_known) {
        run = &faces_.Shape(font.face, line);
        pdf_fonts_.MarkUsed(font.slot, *run, line);
        advance = run->advance;
      }
      int64_t width = Scale(advance, font.size, face.units_per_em());
      int64_t x = left;
      if (item.align == engine::Align::kRight) x += box_width - width;
      if (item.align == engine::Align::kCenter) x += (box_width - width) / 2;
      text_.Milli(x - text_x_) << ' ';
      text_.Milli(baseline - text_y_) << " Td";
      text_x_ = x;
      text_y_ = baseline;
      if (is_known) {
        ShowKnownGlyphs();
      } else {
        ShowRun(*run, font.face);
      }
      Include(last_text_box_, Box{x, baseline - font.descent, x + width, top});
    }
    baseline -= font.line_height;
  });
  Include(text_extent_, last_text_box_);
}

namespace {

// What follows the backslash for the bytes a literal string must escape ('\r' would read as a line end); 0
// for bytes that go as they are.
constexpr auto kEscapes = [] {
  std::array<char, 256> escapes{};
  escapes['('] = '(';
  escapes[')'] = ')';
  escapes['\\'] = '\\';
  escapes['\r'] = 'r';
  return escapes;
}();

char* PutByte(char* out, uint32_t byte) {
  const char escape = kEscapes[byte];
  if (escape != 0) {
    *out++ = '\\';
    *out++ = escape;
  } else {
    *out++ = static_cast<char>(byte);
  }
  return out;
}

// Two bytes per glyph id in a literal string, escaped where needed. Returns the end.
char* PutGlyph(char* out, uint32_t glyph) {
  const uint32_t high = (glyph >> 8) & 0xFF, low = glyph & 0xFF;
  if ((kEscapes[high] | kEscapes[low]) == 0) {
    out[0] = static_cast<char>(high);
    out[1] = static_cast<char>(low);
    return out + 2;
  }
  return PutByte(PutByte(out, high), low);
}

}  // namespace

// Most report text is plain Latin whose glyphs the document has shown before: then there is nothing to shape
// (the direct mapping is what shaping gives, see FontService::Shape) and nothing new for the font subset.
bool PdfContent::MapKnownGlyphs(FontEntry& font, const FontFace& face, std::string_view line,
                                int32_t& advance) {
  if (!faces_.may_skip_shaping()) return false;
  const std::vector<uint8_t>& is_used = pdf_fonts_.used_glyphs(font.slot);
  auto is_known = [&](uint32_t glyph) { return glyph != 0 && glyph < is_used.size() && is_used[glyph] != 0; };
  if (known_bytes_.size() < line.size() * 4) known_bytes_.resize(line.size() * 4);
  // Every character of every text passes here: locals keep the loop in registers.
  char* const first = known_bytes_.data();
  char* out = first;
  int32_t advance_sum = 0;
  for (size_t position = 0; position < line.size();) {
    const auto byte = static_cast<unsigned char>(line[position]);
    if (byte < 0x80) {
      AsciiGlyph& ascii = font.ascii[byte];
      if (ascii.size == 0) {
        const uint32_t glyph = face.simple_glyph(byte);
        if (!is_known(glyph)) return false;
        ascii.size = static_cast<uint8_t>(PutGlyph(ascii.bytes, glyph) - ascii.bytes);
        ascii.advance = face.nominal_advance(glyph);
      }
      std::memcpy(out, ascii.bytes, sizeof ascii.bytes);
      out += ascii.size;
      advance_sum += ascii.advance;
      ++position;
      continue;
    }
    const uint32_t glyph = face.NextSimpleGlyph(line, position);
    if (!is_known(glyph)) return false;
    out = PutGlyph(out, glyph);
    advance_sum += face.nominal_advance(glyph);
  }
  known_size_ = static_cast<size_t>(out - first);
  advance = advance_sum;
  return true;
}

void PdfContent::ShowKnownGlyphs() {
  char* const start = text_.Reserve(known_size_ + 5);
  start[0] = '(';
  std::memcpy(start + 1, known_bytes_.data(), known_size_);
  std::memcpy(start + 1 + known_size_, ")Tj\n", 4);
  text_.Commit(known_size_ + 5);
}

void PdfContent::ShowRun(const ShapedRun& run, uint32_t face_index) {
  const FontFace& face = faces_.face(face_index);
  if (run.is_nominal) {
    if (known_bytes_.size() < run.glyphs.size() * 4) known_bytes_.resize(run.glyphs.size() * 4);
    char* out = known_bytes_.data();
    for (const Glyph& glyph : run.glyphs) out = PutGlyph(out, glyph.id);
    known_size_ = static_cast<size_t>(out - known_bytes_.data());
    ShowKnownGlyphs();
    return;
  }
  // HarfBuzz moved a glyph away from its advance: TJ adjusts in thousandths of the em, positive to the left.
  // Vertical offsets (marks above letters) are not expressed; report text is horizontal Latin.
  text_ << "[(";
  int64_t pen = 0, natural = 0;
  for (const Glyph& glyph : run.glyphs) {
    int64_t wanted = pen + glyph.x_offset;
    if (wanted != natural) {
      text_ << ')';
      text_.Milli(-Scale(wanted - natural, 1000000, face.units_per_em()));
      text_ << '(';
      natural = wanted;
    }
    char* start = text_.Reserve(4);
    text_.Commit(static_cast<size_t>(PutGlyph(start, glyph.id) - start));
    natural += glyph.id < face.glyph_count() ? face.nominal_advance(glyph.id) : 0;
    pen += glyph.x_advance;
  }
  text_ << ")]TJ\n";
}

PdfBuffer& PdfContent::GraphicsFor(const Box& box) {
  if (has_text_ && Touches(box, text_extent_)) Flush();
  return graphics_;
}

void PdfContent::Flush() {
  stream_ << graphics_.view();
  graphics_.Clear();
  if (has_text_) {
    stream_ << "BT\n" << text_.view() << "ET\n";
    text_.Clear();
    has_text_ = false;
    graphics_state_.is_fill_known = text_state_.is_fill_known;
    graphics_state_.fill = text_state_.fill;
  }
}

void PdfContent::Rect(const engine::PageItem& item, int64_t page_height) {
  PdfBuffer& out = GraphicsFor(BoxOf(item, page_height));
  SetFill(out, graphics_state_, item.color, "rg");
  out.Milli(MilliFromTwips(item.left)) << ' ';
  out.Milli(page_height - MilliFromTwips(item.top + item.height)) << ' ';
  out.Milli(MilliFromTwips(item.width)) << ' ';
  out.Milli(MilliFromTwips(item.height)) << " re f\n";
}

void PdfContent::Line(const engine::PageItem& item, int64_t page_height) {
  PdfBuffer& out = GraphicsFor(BoxOf(item, page_height, MilliFromTwips(item.line_twips) / 2 + 1));
  SetFill(out, graphics_state_, item.color, "RG");
  int64_t width = MilliFromTwips(item.line_twips);
  if (width != graphics_state_.line_width) {
    out.Milli(width) << " w\n";
    graphics_state_.line_width = width;
  }
  out.Milli(MilliFromTwips(item.left)) << ' ';
  out.Milli(page_height - MilliFromTwips(item.top)) << " m ";
  out.Milli(MilliFromTwips(item.left + item.width)) << ' ';
  out.Milli(page_height - MilliFromTwips(item.top + item.height)) << " l S\n";
}

void PdfContent::Image(const engine::PageItem& item, uint32_t slot, int64_t page_height) {
  PdfBuffer& out = GraphicsFor(BoxOf(item, page_height));
  const int64_t left = MilliFromTwips(item.left), top = page_height - MilliFromTwips(item.top);
  const int64_t width = MilliFromTwips(item.width), height = MilliFromTwips(item.height);
  out << "q\n";
  if (item.is_stretched) {
    out.Milli(width) << " 0 0 ";
    out.Milli(height) << ' ';
    out.Milli(left) << ' ';
    out.Milli(top - height) << " cm\n";
  } else {
    out.Milli(left) << ' ';
    out.Milli(top - height) << ' ';
    out.Milli(width) << ' ';
    out.Milli(height) << " re W n\n";
    int64_t natural_width = item.picture->width_pixels * kMilliPerPixel;
    int64_t natural_height = item.picture->height_pixels * kMilliPerPixel;
    out.Milli(natural_width) << " 0 0 ";
    out.Milli(natural_height) << ' ';
    out.Milli(left) << ' ';
    out.Milli(top - natural_height) << " cm\n";
  }
  out << "/I";
  out.Int(slot) << " Do\nQ\n";
}

void PdfContent::Form(const engine::PageItem& item, uint32_t slot, int64_t page_height) {
  PdfBuffer& out = GraphicsFor(BoxOf(item, page_height));
  out << "q 1 0 0 1 ";
  out.Milli(MilliFromTwips(item.left)) << ' ';
  out.Milli(page_height - MilliFromTwips(item.top)) << " cm /D";
  out.Int(slot) << " Do Q\n";
}

std::string_view PdfContent::Finish() {
  Flush();
  return stream_.view();
}

}  // namespace vob::render
