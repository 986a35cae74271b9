// Splits Jet-dialect SQL text into tokens: words, [bracketed names], 'texts', #dates#, numbers, operators.
// Text literals come back unescaped; every token keeps its byte offset for error messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vob::data {

struct JetToken {
  enum Kind { kWord, kBracketName, kText, kDate, kNumber, kOperator, kPunctuation, kEnd };
  Kind kind = kEnd;
  std::string text;   // the word, the name inside brackets, the unescaped text, the date between "#" signs
  size_t offset = 0;  // where the token starts in the SQL text
  size_t end = 0;     // one past its last character

  // A word equal to `keyword` regardless of case (never a bracketed name: [Group] is a name).
  bool IsKeyword(std::string_view keyword) const;
  bool Is(Kind expected_kind, std::string_view expected_text) const {
    return kind == expected_kind && text == expected_text;
  }
};

// Throws SqlError quoting `sql` for an unterminated text, date or name, and for characters that have no
// meaning in the dialect. The last token is always kEnd.
std::vector<JetToken> TokenizeJet(std::string_view sql);

}  // namespace vob::data
