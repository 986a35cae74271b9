// PDF number and string syntax.
// Text strings use UTF-16BE with a byte-order mark whenever a character falls outside ASCII.
#include "platform/render/pdf_buffer.h"

#include <algorithm>

#include "platform/vb/utf8.h"

namespace vob::render {

void PdfBuffer::Grow(size_t count) {
  size_t capacity = std::max<size_t>({capacity_ * 2, size_ + count, 4096});
  auto data = std::make_unique<char[]>(capacity);
  if (size_ != 0) std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}

PdfBuffer& PdfBuffer::Milli(int64_t thousandths) {
  char* const out = Reserve(32);
  char* end = out;
  if (thousandths < 0) {
    *end++ = '-';
    thousandths = -thousandths;
  }
  end = std::to_chars(end, out + 32, thousandths / 1000).ptr;
  const int fraction = static_cast<int>(thousandths % 1000);
  if (fraction != 0) {
    end[0] = '.';
    end[1] = static_cast<char>('0' + fraction / 100);
    end[2] = static_cast<char>('0' + fraction / 10 % 10);
    end[3] = static_cast<char>('0' + fraction % 10);
    end += 4;
    while (end[-1] == '0') --end;
  }
  size_ += static_cast<size_t>(end - out);
  return *this;
}

PdfBuffer& PdfBuffer::LiteralString(std::string_view bytes) {
  *this << '(';
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '(' || c == ')' || c == '\\') {
      *this << '\\' << c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      // Octal keeps the exact byte and stops readers from normalising line ends.
      const char escape[4] = {'\\', static_cast<char>('0' + (byte >> 6)),
                              static_cast<char>('0' + ((byte >> 3) & 7)),
                              static_cast<char>('0' + (byte & 7))};
      *this << std::string_view(escape, 4);
    } else {
      *this << c;
    }
  }
  return *this << ')';
}

PdfBuffer& PdfBuffer::Hex(uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) *this << kDigits[(value >> shift) & 15];
  return *this;
}

PdfBuffer& PdfBuffer::TextString(std::string_view utf8) {
  bool is_ascii = true;
  for (char c : utf8) is_ascii = is_ascii && static_cast<unsigned char>(c) < 0x80;
  if (is_ascii) return LiteralString(utf8);
  *this << "<FEFF";
  for (size_t position = 0; position < utf8.size();) {
    char32_t code = NextCodePoint(utf8, position);
    if (code >= 0x10000) {
      Hex(0xD800 + ((code - 0x10000) >> 10), 4);
      Hex(0xDC00 + (code & 0x3FF), 4);
    } else {
      Hex(code, 4);
    }
  }
  return *this << '>';
}

char32_t NextCodePoint(std::string_view text, size_t& position) {
  const char32_t code = vb::DecodeUtf8(text, position);
  return vb::IsStrayByte(code) ? 0xFFFD : code;
}

}  // namespace vob::render
