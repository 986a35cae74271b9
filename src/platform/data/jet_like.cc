// Jet Like patterns compiled to a list of one-character matchers and runs, matched without backtracking
// blowup. The SQLite backend matches through a registered function; PostgreSQL gets the equivalent regular
// expression.
#include "platform/data/jet_like.h"

#include "platform/data/sql_error.h"
#include "platform/vb/utf8.h"

namespace vob::data {
namespace {

// Patterns must be UTF-8; a malformed byte in the matched text reads as a stray byte (vb::DecodeUtf8), so it
// never turns into a wildcard or into a character the pattern names.
char32_t NextChar(std::string_view text, size_t& position) {
  return vb::DecodeUtf8(text, position);
}

char32_t FoldCase(char32_t c) {
  return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Characters with a meaning in a regular expression, outside and inside a bracket list.
void AppendRegexLiteral(std::string& out, char32_t c, bool in_list) {
  static constexpr std::string_view kOutside = "\\^$.|?*+()[]{}";
  static constexpr std::string_view kInside = "\\^-[]";
  const std::string_view special = in_list ? kInside : kOutside;
  if (c < 0x80 && special.find(static_cast<char>(c)) != std::string_view::npos) out += '\\';
  vb::AppendUtf8(out, c);
}

}  // namespace

JetLikePattern::JetLikePattern(std::string_view pattern) {
  if (const size_t bad = vb::FindInvalidUtf8(pattern); bad != std::string_view::npos)
    throw SqlError("invalid Like pattern: byte " + std::to_string(bad + 1) + " is not UTF-8");
  size_t position = 0;
  while (position < pattern.size()) {
    const char32_t c = NextChar(pattern, position);
    Element element;
    if (c == '*') {
      if (!elements_.empty() && elements_.back().kind == Element::kAnyRun) continue;
      element.kind = Element::kAnyRun;
    } else if (c == '?') {
      element.kind = Element::kAnyOne;
    } else if (c == '#') {
      element.kind = Element::kDigit;
    } else if (c == '[') {
      element.kind = Element::kList;
      if (position < pattern.size() && pattern[position] == '!') {
        element.is_negated = true;
        ++position;
      }
      bool is_closed = false;
      while (position < pattern.size()) {
        const char32_t first = NextChar(pattern, position);
        if (first == ']') {
          is_closed = true;
          break;
        }
        char32_t last = first;
        if (position + 1 < pattern.size() && pattern[position] == '-' && pattern[position + 1] != ']') {
          ++position;
          last = NextChar(pattern, position);
          if (last < first)
            throw SqlError("invalid Like pattern '" + std::string(pattern) + "': range out of order");
        }
        element.ranges.push_back({FoldCase(first), FoldCase(last)});
        if (FoldCase(first) != first || FoldCase(last) != last) element.ranges.push_back({first, last});
      }
      if (!is_closed) throw SqlError("invalid Like pattern '" + std::string(pattern) + "': unclosed '['");
      // "[]" in the dialect matches the empty text, which a single-character element cannot; it is dropped.
      if (element.ranges.empty() && !element.is_negated) continue;
    } else {
      element.kind = Element::kLiteral;
      element.literal = FoldCase(c);
    }
    elements_.push_back(std::move(element));
  }
}

bool JetLikePattern::MatchesOne(const Element& element, char32_t c) const {
  switch (element.kind) {
    case Element::kLiteral:
      return FoldCase(c) == element.literal;
    case Element::kAnyOne:
      return true;
    case Element::kDigit:
      return c >= '0' && c <= '9';
    case Element::kList: {
      if (vb::IsStrayByte(c)) return element.is_negated;  // a stray byte is in no list
      bool is_in = false;
      const char32_t folded = FoldCase(c);
      for (const Range& range : element.ranges) {
        is_in |= (c >= range.first && c <= range.last) || (folded >= range.first && folded <= range.last);
      }
      return is_in != element.is_negated;
    }
    case Element::kAnyRun:
      break;
  }
  return false;
}

bool JetLikePattern::Matches(std::string_view text) const {
  std::vector<char32_t> chars;
  chars.reserve(text.size());
  for (size_t position = 0; position < text.size();) chars.push_back(NextChar(text, position));

  // Greedy matching with one resume point at the last run: every other element takes exactly one character.
  size_t element_index = 0, char_index = 0;
  size_t resume_element = SIZE_MAX, resume_char = 0;
  while (char_index < chars.size()) {
    if (element_index < elements_.size() && elements_[element_index].kind == Element::kAnyRun) {
      resume_element = ++element_index;
      resume_char = char_index;
    } else if (element_index < elements_.size() && MatchesOne(elements_[element_index], chars[char_index])) {
      ++element_index;
      ++char_index;
    } else if (resume_element != SIZE_MAX) {
      element_index = resume_element;
      char_index = ++resume_char;
    } else {
      return false;
    }
  }
  while (element_index < elements_.size() && elements_[element_index].kind == Element::kAnyRun)
    ++element_index;
  return element_index == elements_.size();
}

std::string JetLikePattern::ToRegex() const {
  std::string regex = "^";
  for (const Element& element : elements_) {
    switch (element.kind) {
      case Element::kLiteral:
        AppendRegexLiteral(regex, element.literal, false);
        break;
      case Element::kAnyOne:
        regex += '.';
        break;
      case Element::kAnyRun:
        regex += ".*";
        break;
      case Element::kDigit:
        regex += "[0-9]";
        break;
      case Element::kList:
        if (element.ranges.empty()) {  // "[!]": any one character
          regex += '.';
          break;
        }
        regex += element.is_negated ? "[^" : "[";
        for (const Range& range : element.ranges) {
          AppendRegexLiteral(regex, range.first, true);
          if (range.last != range.first) {
            regex += '-';
            AppendRegexLiteral(regex, range.last, true);
          }
        }
        regex += ']';
        break;
    }
  }
  return regex + "$";
}

}  // namespace vob::data
