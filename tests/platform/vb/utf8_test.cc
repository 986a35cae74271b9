// Strict UTF-8 decoding: well-formed sequences at the edges of each length, and the malformed ones that a
// lenient decoder would turn into other characters (C0 A3 must not read as "#").
#include "platform/vb/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vob::vb {
namespace {

std::vector<char32_t> DecodeAll(std::string_view text) {
  std::vector<char32_t> characters;
  for (size_t position = 0; position < text.size();) characters.push_back(DecodeUtf8(text, position));
  return characters;
}

constexpr char32_t Stray(unsigned char byte) {
  return kStrayByteBase + byte;
}

TEST(Utf8, DecodesWellFormedSequencesAndKeepsStrayBytesApart) {
  struct Case {
    std::string text;
    std::vector<char32_t> expected;
  };
  const Case cases[] = {
      {"a#", {U'a', U'#'}},
      {"\xC2\x80", {0x80}},
      {"\xC3\xA9", {U'é'}},
      {"\xDF\xBF", {0x7FF}},
      {"\xE0\xA0\x80", {0x800}},
      {"\xED\x9F\xBF", {0xD7FF}},
      {"\xEF\xBF\xBD", {0xFFFD}},
      {"\xF0\x90\x80\x80", {0x10000}},
      {"\xF4\x8F\xBF\xBF", {0x10FFFF}},
      // Overlong forms of "#", "/" and U+0000.
      {"\xC0\xA3", {Stray(0xC0), Stray(0xA3)}},
      {"\xC1\xBF", {Stray(0xC1), Stray(0xBF)}},
      {"\xE0\x80\xA3", {Stray(0xE0), Stray(0x80), Stray(0xA3)}},
      {"\xE0\x9F\xBF", {Stray(0xE0), Stray(0x9F), Stray(0xBF)}},
      {"\xF0\x80\x80\xAF", {Stray(0xF0), Stray(0x80), Stray(0x80), Stray(0xAF)}},
      // Surrogates, past U+10FFFF, leads that start nothing.
      {"\xED\xA0\x80", {Stray(0xED), Stray(0xA0), Stray(0x80)}},
      {"\xF4\x90\x80\x80", {Stray(0xF4), Stray(0x90), Stray(0x80), Stray(0x80)}},
      {"\xF5\x80", {Stray(0xF5), Stray(0x80)}},
      {"\xFF", {Stray(0xFF)}},
      // Cut short, or broken by an ASCII byte that then reads as itself.
      {"\xC3", {Stray(0xC3)}},
      {"\xE2\x82", {Stray(0xE2), Stray(0x82)}},
      {"\xE2\x82#", {Stray(0xE2), Stray(0x82), U'#'}},
      {"\xC3\xA9\x80", {U'é', Stray(0x80)}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeAll(c.text), c.expected) << testing::PrintToString(c.text);
    EXPECT_EQ(FindInvalidUtf8(c.text) == std::string_view::npos,
              std::none_of(c.expected.begin(), c.expected.end(), IsStrayByte))
        << testing::PrintToString(c.text);
  }
  EXPECT_EQ(FindInvalidUtf8("ab\xC3\xA9\xC0\xA3"), 4u);
}

}  // namespace
}  // namespace vob::vb
