// Strict UTF-8 decoding: the well-formed byte sequences of Unicode's table 3-7, nothing else.
// The second byte's range depends on the lead, which is what rules out overlong forms and surrogates.
#include "platform/vb/utf8.h"

namespace vob::vb {

char32_t DecodeUtf8(std::string_view text, size_t& position) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(position);
  if (lead < 0x80) {
    ++position;
    return lead;
  }
  int extra = 0;
  unsigned char second_low = 0x80, second_high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    if (lead == 0xE0) second_low = 0xA0;   // below: overlong
    if (lead == 0xED) second_high = 0x9F;  // above: surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    if (lead == 0xF0) second_low = 0x90;   // below: overlong
    if (lead == 0xF4) second_high = 0x8F;  // above: past U+10FFFF
  }
  bool is_well_formed = extra > 0 && position + extra < text.size() && byte(position + 1) >= second_low &&
                        byte(position + 1) <= second_high;
  for (int i = 2; is_well_formed && i <= extra; ++i) is_well_formed = (byte(position + i) & 0xC0) == 0x80;
  if (!is_well_formed) {
    ++position;
    return kStrayByteBase + lead;
  }
  char32_t code = lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) code = (code << 6) | (byte(position + i) & 0x3F);
  position += 1 + extra;
  return code;
}

size_t FindInvalidUtf8(std::string_view text) {
  for (size_t position = 0; position < text.size();) {
    const size_t start = position;
    if (IsStrayByte(DecodeUtf8(text, position))) return start;
  }
  return std::string_view::npos;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace vob::vb
