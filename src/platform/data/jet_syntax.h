// The parsed form of a Jet-dialect SELECT: expressions, select items, table joins, ordering.
// Plain data built by the parser and read by the translator; parentheses are implied by the tree.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vob::data {

struct JetExpr {
  enum Kind {
    kColumn,   // text = column, table = qualifier as written ("" when bare)
    kText,     // text = the unescaped value
    kNumber,   // text = the digits as written
    kDate,     // date_serial
    kBoolean,  // boolean_value
    kNull,
    kStar,        // the "*" of Count(*)
    kNegate,      // -operand
    kNot,         // Not operand
    kArithmetic,  // text = "+", "-", "*", "/", "&" or "Mod"
    kCompare,     // text = "=", "<>", "<", ">", "<=", ">="
    kAnd,
    kOr,
    kLike,      // operands: value, pattern; is_negated for Not Like
    kBetween,   // operands: value, low, high
    kIn,        // operands: value, then the list
    kIsNull,    // is_negated for Is Not Null
    kFunction,  // text = name as written, operands = arguments
  };
  Kind kind = kNull;
  std::string text;
  std::string table;
  double date_serial = 0;
  bool boolean_value = false;
  bool is_negated = false;
  std::vector<std::unique_ptr<JetExpr>> operands;
  size_t offset = 0;  // where the expression starts in the SQL text
  int depth = 1;      // of the tree below and including this node
};

struct JetSelectItem {
  enum Kind { kAllColumns, kTableColumns, kExpression };
  Kind kind = kExpression;
  std::string table;  // of "Table.*"
  std::unique_ptr<JetExpr> expression;
  std::string alias;  // "" when none was written
};

struct JetTableRef {
  enum Kind { kTable, kJoin };
  Kind kind = kTable;
  std::string name;       // kTable: the table as written
  std::string alias;      // kTable: "" when none was written
  std::string join_type;  // kJoin: "INNER", "LEFT" or "RIGHT"
  std::unique_ptr<JetTableRef> left, right;
  std::unique_ptr<JetExpr> condition;
};

struct JetOrderItem {
  std::unique_ptr<JetExpr> expression;
  bool is_descending = false;
};

struct JetSelect {
  bool is_distinct = false;
  int64_t top = -1;  // -1 when there is no TOP
  std::vector<JetSelectItem> items;
  std::vector<std::unique_ptr<JetTableRef>> from;  // the comma-separated tables or joins
  std::unique_ptr<JetExpr> where;
  std::vector<std::unique_ptr<JetExpr>> group_by;
  std::unique_ptr<JetExpr> having;
  std::vector<JetOrderItem> order_by;
};

}  // namespace vob::data
