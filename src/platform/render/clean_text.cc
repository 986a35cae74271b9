#include "platform/render/clean_text.h"

#include "platform/vb/utf8.h"

namespace vob::render {
namespace {

bool IsDropped(char32_t c) {
  if (c < 0x20) return c != '\t' && c != '\n' && c != '\r';
  return (c >= 0x7F && c <= 0x9F) || c == 0xFFFE || c == 0xFFFF;
}

}  // namespace

bool IsCleanText(std::string_view text) {
  for (size_t position = 0; position < text.size();) {
    const auto byte = static_cast<unsigned char>(text[position]);
    if (byte >= 0x20 && byte < 0x7F) {  // the common case, one byte at a time
      ++position;
      continue;
    }
    const char32_t c = vb::DecodeUtf8(text, position);
    if (vb::IsStrayByte(c) || IsDropped(c)) return false;
  }
  return true;
}

std::string CleanText(std::string_view text) {
  if (IsCleanText(text)) return std::string(text);
  std::string clean;
  clean.reserve(text.size() + 8);
  for (size_t position = 0; position < text.size();) {
    const char32_t c = vb::DecodeUtf8(text, position);
    if (vb::IsStrayByte(c)) {
      clean += "\xEF\xBF\xBD";
    } else if (!IsDropped(c)) {
      vb::AppendUtf8(clean, c);
    }
  }
  return clean;
}

}  // namespace vob::render
