// A recursive-descent parser over the tokens, one function per precedence level of the dialect:
// Or < And < Not < comparisons (=, Like, Between, In, Is) < & < + - < Mod < * / < unary minus.
#include "platform/data/jet_parser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "platform/data/jet_date_literal.h"
#include "platform/data/jet_tokenizer.h"
#include "platform/data/sql_error.h"

namespace vob::data {
namespace {

// Words that end or join clauses and so can never be a bare column or table name.
constexpr std::array<std::string_view, 36> kReservedWords = {
    "select",  "from", "where",    "group",       "by",   "having", "order", "as",   "on",
    "inner",   "left", "right",    "outer",       "join", "and",    "or",    "not",  "like",
    "between", "in",   "is",       "null",        "true", "false",  "asc",   "desc", "mod",
    "union",   "into", "distinct", "distinctrow", "top",  "exists", "xor",   "full", "cross"};

// Far deeper than any report's expression, far shallower than the stack allows.
constexpr int kMaxDepth = 200;

bool IsReserved(const JetToken& token) {
  if (token.kind != JetToken::kWord) return false;
  for (std::string_view word : kReservedWords) {
    if (token.IsKeyword(word)) return true;
  }
  return false;
}

class Parser {
 public:
  explicit Parser(std::string_view sql) : sql_(sql), tokens_(TokenizeJet(sql)) {}

  JetSelect ParseStatement() {
    if (!Peek().IsKeyword("select")) {
      if (Peek().kind == JetToken::kEnd) Fail("empty SQL text");
      Fail("only SELECT statements can run, not \"" + Describe(Peek()) + "\"");
    }
    Advance();
    JetSelect select;
    if (Accept("distinct")) {
      select.is_distinct = true;
    } else if (!Accept("distinctrow")) {
      Accept("all");
    }
    if (Accept("top")) {
      if (Peek().kind != JetToken::kNumber ||
          Peek().text.find_first_not_of("0123456789") != std::string::npos) {
        Fail("expected a whole number after TOP");
      }
      select.top = std::stoll(Advance().text);
      if (Peek().IsKeyword("percent")) Fail("TOP ... PERCENT is not supported");
    }
    do {
      select.items.push_back(ParseSelectItem());
    } while (AcceptPunctuation(","));
    if (Peek().IsKeyword("into")) Fail("SELECT ... INTO writes a table and cannot run");
    if (Accept("from")) {
      do {
        select.from.push_back(ParseTableExpression());
      } while (AcceptPunctuation(","));
    }
    if (Accept("where")) select.where = ParseExpression();
    if (Accept("group")) {
      Expect("by");
      do {
        select.group_by.push_back(ParseExpression());
      } while (AcceptPunctuation(","));
    }
    if (Accept("having")) select.having = ParseExpression();
    if (Accept("order")) {
      Expect("by");
      do {
        JetOrderItem item;
        item.expression = ParseExpression();
        if (Accept("desc")) {
          item.is_descending = true;
        } else {
          Accept("asc");
        }
        select.order_by.push_back(std::move(item));
      } while (AcceptPunctuation(","));
    }
    while (AcceptPunctuation(";")) {
    }
    if (Peek().kind != JetToken::kEnd) {
      if (Peek().IsKeyword("union")) Fail("UNION is not supported");
      const size_t offset = Peek().offset;
      std::string_view rest = sql_.substr(offset);
      while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\n' ||
                               rest.back() == '\r' || rest.back() == ';')) {
        rest.remove_suffix(1);
      }
      throw SqlError("text after the end of the statement at column " + std::to_string(offset + 1) + ": \"" +
                         std::string(rest) + "\"",
                     std::string(sql_));
    }
    return select;
  }

 private:
  const JetToken& Peek(size_t ahead = 0) const {
    return tokens_[std::min(index_ + ahead, tokens_.size() - 1)];
  }
  const JetToken& Advance() {
    const JetToken& token = tokens_[index_];
    if (index_ + 1 < tokens_.size()) ++index_;
    return token;
  }
  bool Accept(std::string_view keyword) {
    if (!Peek().IsKeyword(keyword)) return false;
    Advance();
    return true;
  }
  bool AcceptPunctuation(std::string_view text) {
    if (!Peek().Is(JetToken::kPunctuation, text)) return false;
    Advance();
    return true;
  }
  bool AcceptOperator(std::string_view text) {
    if (!Peek().Is(JetToken::kOperator, text)) return false;
    Advance();
    return true;
  }
  void Expect(std::string_view keyword) {
    if (!Accept(keyword)) Fail("expected " + Upper(keyword));
  }
  void ExpectPunctuation(std::string_view text) {
    if (!AcceptPunctuation(text)) Fail("expected \"" + std::string(text) + "\"");
  }

  static std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
  }
  std::string Describe(const JetToken& token) const {
    if (token.kind == JetToken::kEnd) return "end of text";
    return std::string(sql_.substr(token.offset, token.end - token.offset));
  }
  [[noreturn]] void Fail(const std::string& message) const { FailAt(message, Peek()); }
  [[noreturn]] void FailAt(const std::string& message, const JetToken& token) const {
    throw SqlError(
        message + " at column " + std::to_string(token.offset + 1) + " near \"" + Describe(token) + "\"",
        std::string(sql_));
  }

  // A table, column or alias: a word that is not reserved, or a [bracketed name].
  bool PeekName(size_t ahead = 0) const {
    const JetToken& token = Peek(ahead);
    return token.kind == JetToken::kBracketName || (token.kind == JetToken::kWord && !IsReserved(token));
  }
  std::string ExpectName(std::string_view what) {
    if (!PeekName()) Fail("expected " + std::string(what));
    return Advance().text;
  }
  // After "Table." any word names the column, reserved or not.
  std::string ExpectQualifiedPart() {
    const JetToken& token = Peek();
    if (token.kind != JetToken::kWord && token.kind != JetToken::kBracketName) Fail("expected a column name");
    return Advance().text;
  }
  std::string OptionalAlias() {
    if (Accept("as")) return ExpectName("an alias");
    if (PeekName()) return Advance().text;
    return "";
  }

  JetSelectItem ParseSelectItem() {
    JetSelectItem item;
    if (AcceptOperator("*")) {
      item.kind = JetSelectItem::kAllColumns;
      return item;
    }
    if (PeekName() && Peek(1).Is(JetToken::kPunctuation, ".") && Peek(2).Is(JetToken::kOperator, "*")) {
      item.kind = JetSelectItem::kTableColumns;
      item.table = Advance().text;
      Advance();
      Advance();
      return item;
    }
    item.expression = ParseExpression();
    item.alias = OptionalAlias();
    return item;
  }

  std::unique_ptr<JetTableRef> ParseTableExpression() {
    std::unique_ptr<JetTableRef> left = ParseTablePrimary();
    for (int joins = 0;; ++joins) {
      if (joins > kMaxDepth) Fail("too many joins");
      std::string join_type;
      if (Accept("inner")) {
        join_type = "INNER";
      } else if (Accept("left")) {
        join_type = "LEFT";
        Accept("outer");
      } else if (Accept("right")) {
        join_type = "RIGHT";
        Accept("outer");
      } else if (Peek().IsKeyword("join") || Peek().IsKeyword("full") || Peek().IsKeyword("cross")) {
        Fail("only INNER, LEFT and RIGHT joins are supported");
      } else {
        return left;
      }
      Expect("join");
      auto join = std::make_unique<JetTableRef>();
      join->kind = JetTableRef::kJoin;
      join->join_type = join_type;
      join->left = std::move(left);
      join->right = ParseTablePrimary();
      Expect("on");
      join->condition = ParseExpression();
      left = std::move(join);
    }
  }

  std::unique_ptr<JetTableRef> ParseTablePrimary() {
    NestingGuard guard(*this);
    if (AcceptPunctuation("(")) {
      if (Peek().IsKeyword("select")) Fail("subqueries are not supported");
      std::unique_ptr<JetTableRef> inner = ParseTableExpression();
      ExpectPunctuation(")");
      return inner;
    }
    auto table = std::make_unique<JetTableRef>();
    table->name = ExpectName("a table name");
    if (Peek().Is(JetToken::kPunctuation, ".")) Fail("tables of other databases are not supported");
    table->alias = OptionalAlias();
    return table;
  }

  // Adds an operand; the tree's depth is bounded so that translating it cannot exhaust the stack.
  void Attach(JetExpr& node, std::unique_ptr<JetExpr> operand) {
    node.depth = std::max(node.depth, operand->depth + 1);
    if (node.depth > kMaxDepth) Fail("expression nested too deeply");
    node.operands.push_back(std::move(operand));
  }

  // Counts the parser's own recursion through parentheses, Not and signs.
  class NestingGuard {
   public:
    explicit NestingGuard(Parser& parser) : parser_(parser) {
      if (++parser_.nesting_ > kMaxDepth) parser_.Fail("expression nested too deeply");
    }
    ~NestingGuard() { --parser_.nesting_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

   private:
    Parser& parser_;
  };

  std::unique_ptr<JetExpr> MakeNode(JetExpr::Kind kind, size_t offset) {
    auto node = std::make_unique<JetExpr>();
    node->kind = kind;
    node->offset = offset;
    return node;
  }
  std::unique_ptr<JetExpr> MakeBinary(JetExpr::Kind kind, std::unique_ptr<JetExpr> left,
                                      std::unique_ptr<JetExpr> right, std::string text = {}) {
    auto node = MakeNode(kind, left->offset);
    node->text = std::move(text);
    Attach(*node, std::move(left));
    Attach(*node, std::move(right));
    return node;
  }

  std::unique_ptr<JetExpr> ParseExpression() {
    NestingGuard guard(*this);
    std::unique_ptr<JetExpr> left = ParseAnd();
    while (Accept("or")) left = MakeBinary(JetExpr::kOr, std::move(left), ParseAnd());
    if (Peek().IsKeyword("xor")) Fail("XOR is not supported");
    return left;
  }

  std::unique_ptr<JetExpr> ParseAnd() {
    std::unique_ptr<JetExpr> left = ParseNot();
    while (Accept("and")) left = MakeBinary(JetExpr::kAnd, std::move(left), ParseNot());
    return left;
  }

  std::unique_ptr<JetExpr> ParseNot() {
    NestingGuard guard(*this);
    if (Peek().IsKeyword("not")) {
      auto node = MakeNode(JetExpr::kNot, Advance().offset);
      Attach(*node, ParseNot());
      return node;
    }
    return ParseComparison();
  }

  std::unique_ptr<JetExpr> ParseComparison() {
    std::unique_ptr<JetExpr> left = ParseConcatenation();
    const JetToken& token = Peek();
    if (token.kind == JetToken::kOperator &&
        (token.text == "=" || token.text == "<>" || token.text == "<" || token.text == ">" ||
         token.text == "<=" || token.text == ">=")) {
      const std::string op = Advance().text;
      return MakeBinary(JetExpr::kCompare, std::move(left), ParseConcatenation(), op);
    }
    if (token.IsKeyword("is")) {
      Advance();
      auto node = MakeNode(JetExpr::kIsNull, left->offset);
      node->is_negated = Accept("not");
      Expect("null");
      Attach(*node, std::move(left));
      return node;
    }
    const bool is_negated = token.IsKeyword("not");
    const JetToken& keyword = Peek(is_negated ? 1 : 0);
    if (keyword.IsKeyword("like")) {
      if (is_negated) Advance();
      Advance();
      auto node = MakeBinary(JetExpr::kLike, std::move(left), ParseConcatenation());
      node->is_negated = is_negated;
      return node;
    }
    if (keyword.IsKeyword("between")) {
      if (is_negated) Advance();
      Advance();
      auto node = MakeNode(JetExpr::kBetween, left->offset);
      node->is_negated = is_negated;
      Attach(*node, std::move(left));
      Attach(*node, ParseConcatenation());
      Expect("and");
      Attach(*node, ParseConcatenation());
      return node;
    }
    if (keyword.IsKeyword("in")) {
      if (is_negated) Advance();
      Advance();
      auto node = MakeNode(JetExpr::kIn, left->offset);
      node->is_negated = is_negated;
      Attach(*node, std::move(left));
      ExpectPunctuation("(");
      if (Peek().IsKeyword("select")) Fail("subqueries are not supported");
      do {
        Attach(*node, ParseExpression());
      } while (AcceptPunctuation(","));
      ExpectPunctuation(")");
      return node;
    }
    return left;
  }

  std::unique_ptr<JetExpr> ParseConcatenation() {
    std::unique_ptr<JetExpr> left = ParseAdditive();
    while (AcceptOperator("&"))
      left = MakeBinary(JetExpr::kArithmetic, std::move(left), ParseAdditive(), "&");
    return left;
  }

  std::unique_ptr<JetExpr> ParseAdditive() {
    std::unique_ptr<JetExpr> left = ParseModulo();
    while (Peek().Is(JetToken::kOperator, "+") || Peek().Is(JetToken::kOperator, "-")) {
      const std::string op = Advance().text;
      left = MakeBinary(JetExpr::kArithmetic, std::move(left), ParseModulo(), op);
    }
    return left;
  }

  std::unique_ptr<JetExpr> ParseModulo() {
    std::unique_ptr<JetExpr> left = ParseMultiplicative();
    while (Accept("mod"))
      left = MakeBinary(JetExpr::kArithmetic, std::move(left), ParseMultiplicative(), "Mod");
    return left;
  }

  std::unique_ptr<JetExpr> ParseMultiplicative() {
    std::unique_ptr<JetExpr> left = ParseUnary();
    while (true) {
      if (Peek().Is(JetToken::kOperator, "\\")) Fail("integer division (\\) is not supported");
      if (!Peek().Is(JetToken::kOperator, "*") && !Peek().Is(JetToken::kOperator, "/")) return left;
      const std::string op = Advance().text;
      left = MakeBinary(JetExpr::kArithmetic, std::move(left), ParseUnary(), op);
    }
  }

  std::unique_ptr<JetExpr> ParseUnary() {
    NestingGuard guard(*this);
    if (Peek().Is(JetToken::kOperator, "-")) {
      auto node = MakeNode(JetExpr::kNegate, Advance().offset);
      Attach(*node, ParseUnary());
      return node;
    }
    if (AcceptOperator("+")) return ParseUnary();
    std::unique_ptr<JetExpr> primary = ParsePrimary();
    if (Peek().Is(JetToken::kOperator, "^")) Fail("the power operator (^) is not supported");
    return primary;
  }

  std::unique_ptr<JetExpr> ParsePrimary() {
    const JetToken& token = Peek();
    switch (token.kind) {
      case JetToken::kText: {
        auto node = MakeNode(JetExpr::kText, token.offset);
        node->text = Advance().text;
        return node;
      }
      case JetToken::kNumber: {
        auto node = MakeNode(JetExpr::kNumber, token.offset);
        node->text = Advance().text;
        return node;
      }
      case JetToken::kDate: {
        std::optional<double> serial = ParseJetDateLiteral(token.text);
        if (!serial) FailAt("invalid date literal #" + token.text + "#", token);
        auto node = MakeNode(JetExpr::kDate, Advance().offset);
        node->date_serial = *serial;
        return node;
      }
      case JetToken::kPunctuation:
        if (token.text == "(") {
          Advance();
          if (Peek().IsKeyword("select")) Fail("subqueries are not supported");
          std::unique_ptr<JetExpr> inner = ParseExpression();
          ExpectPunctuation(")");
          return inner;
        }
        break;
      case JetToken::kWord:
        if (token.IsKeyword("null")) return MakeNode(JetExpr::kNull, Advance().offset);
        if (token.IsKeyword("true") || token.IsKeyword("false")) {
          auto node = MakeNode(JetExpr::kBoolean, token.offset);
          node->boolean_value = Advance().IsKeyword("true");
          return node;
        }
        if (token.IsKeyword("exists")) Fail("subqueries are not supported");
        // Left and Right are functions as well as join words.
        if ((!IsReserved(token) || token.IsKeyword("left") || token.IsKeyword("right")) &&
            Peek(1).Is(JetToken::kPunctuation, "(")) {
          return ParseFunction();
        }
        break;
      default:
        break;
    }
    if (!PeekName()) Fail("expected a value");
    auto node = MakeNode(JetExpr::kColumn, token.offset);
    node->text = Advance().text;
    if (AcceptPunctuation(".")) {
      node->table = std::move(node->text);
      node->text = ExpectQualifiedPart();
    }
    return node;
  }

  std::unique_ptr<JetExpr> ParseFunction() {
    auto node = MakeNode(JetExpr::kFunction, Peek().offset);
    node->text = Advance().text;
    Advance();  // "("
    if (AcceptPunctuation(")")) return node;
    do {
      if (Peek().Is(JetToken::kOperator, "*") && Peek(1).Is(JetToken::kPunctuation, ")")) {
        Attach(*node, MakeNode(JetExpr::kStar, Advance().offset));
      } else {
        if (Peek().IsKeyword("distinct")) Fail("DISTINCT inside a function is not supported");
        Attach(*node, ParseExpression());
      }
    } while (AcceptPunctuation(","));
    ExpectPunctuation(")");
    return node;
  }

  std::string_view sql_;
  std::vector<JetToken> tokens_;
  size_t index_ = 0;
  int nesting_ = 0;
};

}  // namespace

JetSelect ParseJetSelect(std::string_view sql) {
  return Parser(sql).ParseStatement();
}

}  // namespace vob::data
