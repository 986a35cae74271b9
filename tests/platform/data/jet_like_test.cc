// Jet Like patterns: what they match, and the regular expression PostgreSQL receives for them.
#include "platform/data/jet_like.h"

#include <gtest/gtest.h>

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
