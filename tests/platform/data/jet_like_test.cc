// Jet Like patterns: what they match, and the regular expression PostgreSQL receives for them.
#include "platform/data/jet_like.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/data/sql_error.h"

namespace vob::data {
namespace {

TEST(JetLikePattern, MatchesWithJetWildcardsIgnoringCase) {
  struct Case {
    const char* pattern;
    const char* text;
    bool matches;
  };
  const Case cases[] = {
      {"GL*", "gl-journal", true},
      {"GL*", "AGL", false},
      {"*", "", true},
      {"*ar*", "Receivable", false},
      {"*iv*", "Receivable", true},
      {"a*b*c", "aXbYbc", true},
      {"a*b*c", "aXbYc", true},
      {"a*b*c", "aXcYb", false},
      {"?", "é", true},
      {"??", "é", false},
      {"INV-#", "inv-7", true},
      {"INV-#", "inv-x", false},
      {"[a-c]*", "Bravo", true},
      {"[!a-c]*", "bravo", false},
      {"[!a-c]*", "delta", true},
      {"[*]*", "*star", true},
      {"[?]", "x", false},
      {"100[%]", "100%", true},
      {"a[]b", "ab", true},
      {"*.txt", "file.TXT", true},
      {"_", "x", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JetLikePattern(c.pattern).Matches(c.text), c.matches) << c.pattern << " ~ " << c.text;
  }
  EXPECT_THROW(JetLikePattern("[abc"), SqlError);
  EXPECT_THROW(JetLikePattern("[z-a]"), SqlError);
}

// Bytes that are not UTF-8 never decode into a wildcard or into a character the pattern names.
TEST(JetLikePattern, MalformedUtf8IsNeitherWildcardNorOtherCharacter) {
  struct Case {
    const char* pattern;
    const char* text;
    bool matches;
  };
  const Case cases[] = {
      {"#", "\xC0\xA3", false},  // overlong "#"
      {"?#", "\xC0\xA3", false},
      {"??", "\xC0\xA3", true},  // two stray bytes, one character each
      {"*", "\xE0\x80\xA3", true},
      {"\xC3\x80", "\xC0", false},  // the byte C0 is not U+00C0
      {"[\xC3\x80-\xEF\xBF\xBF]", "\xC0", false},
      {"[!a]", "\xC0", true},
      {"a?c", "a\xED\xA0\x80\x63", false},  // a surrogate is three stray bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JetLikePattern(c.pattern).Matches(c.text), c.matches)
        << testing::PrintToString(std::string(c.pattern)) << " ~ "
        << testing::PrintToString(std::string(c.text));
  }
  for (const char* pattern : {"\xC0\xA3", "a\xE0\x80\xA3", "[a-\xC1\xBF]", "\xC3"}) {
    EXPECT_THROW(JetLikePattern{pattern}, SqlError) << testing::PrintToString(std::string(pattern));
  }
  try {
    JetLikePattern("ab\xC0\xA3");
    ADD_FAILURE() << "a pattern that is not UTF-8 compiled";
  } catch (const SqlError& error) {
    EXPECT_STREQ(error.what(), "invalid Like pattern: byte 3 is not UTF-8");
  }
}

TEST(JetLikePattern, WritesEquivalentRegularExpressions) {
  struct Case {
    const char* pattern;
    const char* regex;
  };
  const Case cases[] = {
      {"GL*", "^gl.*$"},
      {"a.b?(c)", "^a\\.b.\\(c\\)$"},
      {"[!A-C]#", "^[^a-cA-C][0-9]$"},
      {"[-^]", "^[\\-\\^]$"},
      {"***", "^.*$"},
  };
  for (const Case& c : cases) EXPECT_EQ(JetLikePattern(c.pattern).ToRegex(), c.regex) << c.pattern;
}

}  // namespace
}  // namespace vob::data
