// The classic string functions on UTF-8 text: Trim, LCase/UCase, Left, Right, Mid and Len.
// Lengths and positions count characters, not bytes, so that a cut never splits a character in two.
#include <string>
#include <string_view>

#include "platform/vb/conversions.h"
#include "platform/vb/error.h"
#include "platform/vb/number_parse_internal.h"

namespace vob::vb {
namespace {

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A character is a byte and the continuation bytes after it; malformed text still splits somewhere sane.
size_t ByteCountOfCharacters(std::string_view text, int64_t character_count) {
  size_t offset = 0;
  for (; character_count > 0 && offset < text.size(); --character_count) {
    ++offset;
    while (offset < text.size() && IsContinuationByte(text[offset])) ++offset;
  }
  return offset;
}

[[noreturn]] void RaiseInvalidArgument(std::string_view function, std::string_view text, int64_t first,
                                       const int64_t* second = nullptr) {
  std::string detail(function);
  detail += '(' + internal::QuotedForError(text) + ", " + std::to_string(first);
  if (second != nullptr) detail += ", " + std::to_string(*second);
  detail += ')';
  Raise(kInvalidProcedureCall, detail);
}

// The Latin-1 letters are the two-byte sequences C3 80..C3 9E (capitals) and C3 A0..C3 BE (small), except
// the signs C3 97 and C3 B7; the small letter is the capital plus 0x20. Other scripts stay as they are.
std::string ChangeCase(std::string_view text, bool to_upper) {
  std::string result(text);
  for (size_t i = 0; i < result.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(result[i]);
    if (to_upper ? (c >= 'a' && c <= 'z') : (c >= 'A' && c <= 'Z')) {
      result[i] = static_cast<char>(to_upper ? c - 0x20 : c + 0x20);
    } else if (c == 0xC3 && i + 1 < result.size()) {
      const unsigned char next = static_cast<unsigned char>(result[i + 1]);
      const unsigned char first = to_upper ? 0xA0 : 0x80;
      if (next >= first && next <= first + 0x1E && next != first + 0x17)
        result[i + 1] = static_cast<char>(to_upper ? next - 0x20 : next + 0x20);
      ++i;
    }
  }
  return result;
}

}  // namespace

std::string LTrim(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
  const size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string_view TrimView(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}

std::string LCase(std::string_view text) {
  return ChangeCase(text, false);
}
std::string UCase(std::string_view text) {
  return ChangeCase(text, true);
}

std::string Left(std::string_view text, int64_t length) {
  if (length < 0) RaiseInvalidArgument("Left", text, length);
  return std::string(text.substr(0, ByteCountOfCharacters(text, length)));
}

std::string Right(std::string_view text, int64_t length) {
  if (length < 0) RaiseInvalidArgument("Right", text, length);
  const int64_t skipped = Len(text) - length;
  return std::string(skipped <= 0 ? text : text.substr(ByteCountOfCharacters(text, skipped)));
}

std::string Mid(std::string_view text, int64_t start) {
  if (start < 1) RaiseInvalidArgument("Mid", text, start);
  return std::string(text.substr(ByteCountOfCharacters(text, start - 1)));
}

std::string Mid(std::string_view text, int64_t start, int64_t length) {
  if (start < 1 || length < 0) RaiseInvalidArgument("Mid", text, start, &length);
  const std::string_view rest = text.substr(ByteCountOfCharacters(text, start - 1));
  return std::string(rest.substr(0, ByteCountOfCharacters(rest, length)));
}

int64_t Len(std::string_view text) {
  int64_t count = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (i == 0 || !IsContinuationByte(text[i])) ++count;
  return count;
}

}  // namespace vob::vb
