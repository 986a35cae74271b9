// Strict UTF-8 decoding for every reader that looks at characters rather than bytes.
// Overlong forms, surrogates, values past U+10FFFF and stray bytes never decode into another character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vob::vb {

// A byte that does not start a well-formed sequence decodes to kStrayByteBase + byte: U+DC80..U+DCFF, lone
// surrogates that no well-formed text decodes to, so bad bytes stay distinct from every real character and
// from each other (the byte C0 stays apart from U+00C0, and C0 A3 never reads as "#").
inline constexpr char32_t kStrayByteBase = 0xDC00;

// Decodes the character that starts at `position` and moves past it; a stray byte moves one byte.
// REQUIRES: position < text.size().
char32_t DecodeUtf8(std::string_view text, size_t& position);

inline bool IsStrayByte(char32_t c) {
  return c >= kStrayByteBase + 0x80 && c <= kStrayByteBase + 0xFF;
}

// Appends c encoded as UTF-8. REQUIRES: c is a character, not a surrogate or past U+10FFFF.
void AppendUtf8(std::string& out, char32_t c);

// The offset of the first byte that does not start a well-formed sequence, or npos when the text is UTF-8.
size_t FindInvalidUtf8(std::string_view text);

}  // namespace vob::vb
