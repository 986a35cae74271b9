// A byte buffer for PDF syntax: numbers through std::to_chars, names, literal and text strings.
// Coordinates travel as integer thousandths of a point, so output never depends on floating-point printing.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace vob::render {

class PdfBuffer {
 public:
  void Clear() { size_ = 0; }
  bool empty() const { return size_ == 0; }
  size_t size() const { return size_; }
  std::string_view view() const { return {data_.get(), size_}; }

  // Room for count more bytes at the returned address; Commit says how many were written.
  char* Reserve(size_t count) {
    if (capacity_ - size_ < count) Grow(count);
    return data_.get() + size_;
  }
  void Commit(size_t count) { size_ += count; }

  PdfBuffer& operator<<(std::string_view text) {
    if (text.empty()) return *this;  // an empty view may hold no address, which memcpy must not get
    std::memcpy(Reserve(text.size()), text.data(), text.size());
    size_ += text.size();
    return *this;
  }
  PdfBuffer& operator<<(char c) {
    *Reserve(1) = c;
    ++size_;
    return *this;
  }
  PdfBuffer& Int(int64_t value) {
    char* out = Reserve(24);
    size_ += static_cast<size_t>(std::to_chars(out, out + 24, value).ptr - out);
    return *this;
  }
  // A number given in thousandths: 36000 -> "36", -12500 -> "-12.5", 556152 -> "556.152".
  PdfBuffer& Milli(int64_t thousandths);
  // An object reference "12 0 R".
  PdfBuffer& Ref(uint32_t object) {
    Int(object);
    return *this << " 0 R";
  }
  // (bytes) with the delimiters, the backslash and bytes outside printable ASCII escaped; bytes kept exactly.
  PdfBuffer& LiteralString(std::string_view bytes);
  // A text string for people (titles, outline entries): literal when plain ASCII, else UTF-16BE in hex.
  PdfBuffer& TextString(std::string_view utf8);
  PdfBuffer& Hex(uint32_t value, int digits);

 private:
  void Grow(size_t count);

  std::unique_ptr<char[]> data_;
  size_t size_ = 0, capacity_ = 0;
};

// Thousandths of a point from twips: 1 twip = 1/20 point = 50 thousandths.
inline int64_t MilliFromTwips(int64_t twips) {
  return twips * 50;
}

// Decodes one UTF-8 character and advances; a byte that is not UTF-8 reads as U+FFFD, as in the JSON dump.
char32_t NextCodePoint(std::string_view text, size_t& position);

}  // namespace vob::render
