// Sheet names: cleaned, cut to length on a character boundary, then numbered until unused.
// Length counts UTF-8 characters; the spreadsheet counts UTF-16 units, which differ only beyond the BMP.
#include "platform/render/sheet_names.h"

#include <algorithm>

#include "platform/vb/names.h"

namespace vob::render {
namespace {

constexpr size_t kMaxCharacters = 31;

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The first `characters` UTF-8 characters of text.
std::string CutToCharacters(std::string text, size_t characters) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsContinuationByte(text[i])) continue;
    if (count++ == characters) {
      text.resize(i);
      break;
    }
  }
  return text;
}

// No blank or apostrophe at the end, where a cut may leave one.
std::string TrimEnd(std::string text) {
  while (!text.empty() && (text.back() == '\'' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

std::string SheetNames::Add(std::string_view wanted) {
  std::string base;
  for (char c : wanted) {
    const bool is_forbidden = std::string_view("[]:*?/\\").find(c) != std::string_view::npos;
    const bool is_control = static_cast<unsigned char>(c) < 0x20;
    base += is_forbidden || is_control ? '_' : c;
  }
  while (!base.empty() && (base.front() == '\'' || base.front() == ' ')) base.erase(0, 1);
  while (!base.empty() && (base.back() == '\'' || base.back() == ' ')) base.pop_back();
  if (base.empty()) base = "Blank";
  if (vb::LowerAscii(base) == "history") base += " (1)";
  std::string name = TrimEnd(CutToCharacters(base, kMaxCharacters));
  for (int number = 2; std::find(used_.begin(), used_.end(), vb::LowerAscii(name)) != used_.end(); ++number) {
    const std::string suffix = " (" + std::to_string(number) + ")";
    name = TrimEnd(CutToCharacters(base, kMaxCharacters - suffix.size())) + suffix;
  }
  used_.push_back(vb::LowerAscii(name));
  return name;
}

}  // namespace vob::render
