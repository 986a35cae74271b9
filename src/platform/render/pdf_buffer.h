// A byte buffer for PDF syntax: numbers through std::to_chars, names, literal and text strings.
// Coordinates travel as integer thousandths of a point, so output never depends on floating-point printing.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace vob::render {

class PdfBuffer {
 public:
  void Clear() { bytes_.clear(); }
  bool empty() const { return bytes_.empty(); }
  size_t size() const { return bytes_.size(); }
  std::string_view view() const { return bytes_; }

  PdfBuffer& operator<<(std::string_view text) {
    bytes_.append(text);
    return *this;
  }
  PdfBuffer& operator<<(char c) {
    bytes_.push_back(c);
    return *this;
  }
  PdfBuffer& Int(int64_t value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    bytes_.append(digits, result.ptr);
    return *this;
  }
  // A number given in thousandths: 36000 -> "36", -12500 -> "-12.5", 556152 -> "556.152".
  PdfBuffer& Milli(int64_t thousandths);
  // An object reference "12 0 R".
  PdfBuffer& Ref(uint32_t object) {
    Int(object);
    bytes_.append(" 0 R");
    return *this;
  }
  // (bytes) with the delimiters, the backslash and bytes outside printable ASCII escaped; bytes kept exactly.
  PdfBuffer& LiteralString(std::string_view bytes);
  // A text string for people (titles, outline entries): literal when plain ASCII, else UTF-16BE in hex.
  PdfBuffer& TextString(std::string_view utf8);
  PdfBuffer& Hex(uint32_t value, int digits);

 private:
  std::string bytes_;
};

// Thousandths of a point from twips: 1 twip = 1/20 point = 50 thousandths.
inline int64_t MilliFromTwips(int64_t twips) {
  return twips * 50;
}

// Decodes one UTF-8 character and advances; invalid bytes decode as themselves (Latin-1) so nothing is lost.
char32_t NextCodePoint(std::string_view text, size_t& position);

}  // namespace vob::render
