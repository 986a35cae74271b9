// A hand-written scanner for the Jet dialect; one switch on the current character.
// Quotes inside texts are doubled (''), as the dialect escapes them; "#" always opens a date literal.
#include "platform/data/jet_tokenizer.h"

#include <cctype>

#include "platform/data/sql_error.h"
#include "platform/vb/names.h"

namespace vob::data {
namespace {

bool IsWordStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsWordChar(char c) {
  return IsWordStart(c) || std::isdigit(static_cast<unsigned char>(c));
}
bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string Column(size_t offset) {
  return "column " + std::to_string(offset + 1);
}

}  // namespace

bool JetToken::IsKeyword(std::string_view keyword) const {
  return kind == kWord && vb::SameName(text, keyword);
}

std::vector<JetToken> TokenizeJet(std::string_view sql) {
  std::vector<JetToken> tokens;
  const std::string quoted(sql);
  size_t position = 0;
  while (position < sql.size()) {
    const char c = sql[position];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++position;
      continue;
    }
    JetToken token;
    token.offset = position;
    if (IsWordStart(c)) {
      token.kind = JetToken::kWord;
      while (position < sql.size() && IsWordChar(sql[position])) token.text += sql[position++];
    } else if (IsDigit(c) || (c == '.' && position + 1 < sql.size() && IsDigit(sql[position + 1]))) {
      token.kind = JetToken::kNumber;
      while (position < sql.size() && IsDigit(sql[position])) token.text += sql[position++];
      if (position < sql.size() && sql[position] == '.') {
        token.text += sql[position++];
        while (position < sql.size() && IsDigit(sql[position])) token.text += sql[position++];
      }
      if (position < sql.size() && (sql[position] == 'e' || sql[position] == 'E')) {
        size_t exponent = position + 1;
        if (exponent < sql.size() && (sql[exponent] == '+' || sql[exponent] == '-')) ++exponent;
        if (exponent < sql.size() && IsDigit(sql[exponent])) {
          while (position < exponent) token.text += sql[position++];
          while (position < sql.size() && IsDigit(sql[position])) token.text += sql[position++];
        }
      }
      if (position < sql.size() && IsWordStart(sql[position])) {
        throw SqlError(
            "unexpected '" + std::string(1, sql[position]) + "' after a number at " + Column(position),
            quoted);
      }
    } else if (c == '\'' || c == '"') {
      token.kind = JetToken::kText;
      ++position;
      bool is_closed = false;
      while (position < sql.size()) {
        if (sql[position] == c) {
          if (position + 1 < sql.size() && sql[position + 1] == c) {
            token.text += c;
            position += 2;
            continue;
          }
          ++position;
          is_closed = true;
          break;
        }
        token.text += sql[position++];
      }
      if (!is_closed) throw SqlError("unterminated text literal starting at " + Column(token.offset), quoted);
    } else if (c == '#') {
      token.kind = JetToken::kDate;
      const size_t end = sql.find('#', position + 1);
      if (end == std::string_view::npos) {
        throw SqlError("unterminated date literal starting at " + Column(token.offset), quoted);
      }
      token.text = sql.substr(position + 1, end - position - 1);
      position = end + 1;
    } else if (c == '[') {
      token.kind = JetToken::kBracketName;
      const size_t end = sql.find(']', position + 1);
      if (end == std::string_view::npos) {
        throw SqlError("unterminated bracketed name starting at " + Column(token.offset), quoted);
      }
      token.text = sql.substr(position + 1, end - position - 1);
      if (token.text.empty()) throw SqlError("empty bracketed name at " + Column(token.offset), quoted);
      position = end + 1;
    } else if (c == '<' || c == '>') {
      token.kind = JetToken::kOperator;
      token.text = c;
      ++position;
      if (position < sql.size() && (sql[position] == '=' || (c == '<' && sql[position] == '>'))) {
        token.text += sql[position++];
      }
    } else if (c == '=' || c == '+' || c == '-' || c == '*' || c == '/' || c == '&' || c == '\\' ||
               c == '^') {
      token.kind = JetToken::kOperator;
      token.text = c;
      ++position;
    } else if (c == '(' || c == ')' || c == ',' || c == '.' || c == ';') {
      token.kind = JetToken::kPunctuation;
      token.text = c;
      ++position;
    } else if (c == '?') {
      throw SqlError("query parameters (?) are not supported, at " + Column(position), quoted);
    } else {
      throw SqlError("unexpected character '" + std::string(1, c) + "' at " + Column(position), quoted);
    }
    token.end = position;
    tokens.push_back(std::move(token));
  }
  JetToken end;
  end.offset = end.end = sql.size();
  tokens.push_back(end);
  return tokens;
}

}  // namespace vob::data
