// Jet Like patterns: "*" any run of characters, "?" one character, "#" one digit, "[a-c]" and "[!a-c]" lists.
// Matching ignores letter case (ASCII), as text comparisons in the dialect do.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vob::data {

class JetLikePattern {
 public:
  // Throws SqlError "invalid Like pattern ..." for an unclosed "[" list, a range out of order or a pattern
  // that is not UTF-8. Text to match may hold any bytes; one that is not UTF-8 matches only "?", "*" and
  // negated lists.
  explicit JetLikePattern(std::string_view pattern);

  bool Matches(std::string_view text) const;
  // The same pattern as an anchored POSIX regular expression, for a case-insensitive "~*" match.
  std::string ToRegex() const;

 private:
  struct Range {
    char32_t first, last;
  };
  struct Element {
    enum Kind { kLiteral, kAnyOne, kAnyRun, kDigit, kList } kind;
    char32_t literal = 0;
    bool is_negated = false;
    std::vector<Range> ranges;
  };
  bool MatchesOne(const Element& element, char32_t c) const;

  std::vector<Element> elements_;
};

}  // namespace vob::data
