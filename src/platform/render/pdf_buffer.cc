// PDF number and string syntax.
// Text strings use UTF-16BE with a byte-order mark whenever a character falls outside ASCII.
#include "platform/render/pdf_buffer.h"

namespace vob::render {

PdfBuffer& PdfBuffer::Milli(int64_t thousandths) {
  if (thousandths < 0) {
    bytes_.push_back('-');
    thousandths = -thousandths;
  }
  Int(thousandths / 1000);
  int fraction = static_cast<int>(thousandths % 1000);
  if (fraction != 0) {
    char digits[4] = {'.', static_cast<char>('0' + fraction / 100),
                      static_cast<char>('0' + fraction / 10 % 10), static_cast<char>('0' + fraction % 10)};
    size_t length = 4;
    while (digits[length - 1] == '0') --length;
    bytes_.append(digits, length);
  }
  return *this;
}

PdfBuffer& PdfBuffer::LiteralString(std::string_view bytes) {
  bytes_.push_back('(');
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '(' || c == ')' || c == '\\') {
      bytes_.push_back('\\');
      bytes_.push_back(c);
    } else if (byte < 0x20 || byte >= 0x7F) {
      // Octal keeps the exact byte and stops readers from normalising line ends.
      char escape[4] = {'\\', static_cast<char>('0' + (byte >> 6)),
                        static_cast<char>('0' + ((byte >> 3) & 7)), static_cast<char>('0' + (byte & 7))};
      bytes_.append(escape, 4);
    } else {
      bytes_.push_back(c);
    }
  }
  bytes_.push_back(')');
  return *this;
}

PdfBuffer& PdfBuffer::Hex(uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) bytes_.push_back(kDigits[(value >> shift) & 15]);
  return *this;
}

PdfBuffer& PdfBuffer::TextString(std::string_view utf8) {
  bool is_ascii = true;
  for (char c : utf8) is_ascii = is_ascii && static_cast<unsigned char>(c) < 0x80;
  if (is_ascii) return LiteralString(utf8);
  bytes_.append("<FEFF");
  for (size_t position = 0; position < utf8.size();) {
    char32_t code = NextCodePoint(utf8, position);
    if (code >= 0x10000) {
      Hex(0xD800 + ((code - 0x10000) >> 10), 4);
      Hex(0xDC00 + (code & 0x3FF), 4);
    } else {
      Hex(code, 4);
    }
  }
  bytes_.push_back('>');
  return *this;
}

char32_t NextCodePoint(std::string_view text, size_t& position) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(position);
  int extra = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
  char32_t code = lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    if (position + i >= text.size() || (byte(position + i) & 0xC0) != 0x80) {
      extra = 0;
      break;
    }
    code = (code << 6) | (byte(position + i) & 0x3F);
  }
  if (extra == 0) {
    ++position;
    return lead;
  }
  position += 1 + extra;
  return code;
}

}  // namespace vob::render
