// Emits backend SQL from the parsed statement, inferring value kinds from the catalog where meaning depends
// on them. SQLite compares text with COLLATE NOCASE; PostgreSQL compares lower() of text and sorts Nulls
// first.
#include "platform/data/jet_translator.h"

#include <cctype>

#include "platform/data/jet_functions.h"
#include "platform/data/jet_like.h"
#include "platform/data/jet_parser.h"
#include "platform/data/jet_tokenizer.h"
#include "platform/data/sql_error.h"
#include "platform/data/value_text.h"
#include "platform/vb/date.h"
#include "platform/vb/names.h"

namespace vob::data {
namespace {

class Translator {
 public:
  Translator(std::string_view jet_sql, SqlDialect dialect, Catalog& catalog)
      : jet_sql_(jet_sql), dialect_(dialect), catalog_(catalog) {}

  TranslatedStatement Translate() {
    const JetSelect select = ParseJetSelect(jet_sql_);
    for (const auto& table : select.from) CollectTables(*table);
    std::vector<std::string> names;
    for (const TableName& table : result_.tables) names.push_back(table.table);
    catalog_.LookUp(names);

    std::string& sql = result_.sql;
    sql = "SELECT ";
    if (select.is_distinct) sql += "DISTINCT ";
    int unnamed_count = 0;
    for (size_t i = 0; i < select.items.size(); ++i) {
      if (i > 0) sql += ", ";
      const JetSelectItem& item = select.items[i];
      if (item.kind == JetSelectItem::kAllColumns) {
        sql += "*";
        continue;
      }
      if (item.kind == JetSelectItem::kTableColumns) {
        sql += Name(item.table) + ".*";
        continue;
      }
      sql += Emit(*item.expression);
      const bool is_computed = item.expression->kind != JetExpr::kColumn;
      if (is_computed) result_.computed_kinds.push_back(Kind(*item.expression));
      if (!item.alias.empty()) {
        sql += " AS " + Name(item.alias);
      } else if (is_computed) {
        // Unnamed expressions are known as Expr1000, Expr1001, ... as the dialect names them.
        sql += " AS " + Name("Expr" + std::to_string(1000 + unnamed_count++));
      }
    }
    if (!select.from.empty()) {
      sql += " FROM ";
      for (size_t i = 0; i < select.from.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += EmitTable(*select.from[i]);
      }
    }
    if (select.where) sql += " WHERE " + Emit(*select.where);
    if (!select.group_by.empty()) {
      sql += " GROUP BY ";
      for (size_t i = 0; i < select.group_by.size(); ++i)
        sql += (i > 0 ? ", " : "") + Emit(*select.group_by[i]);
    }
    if (select.having) sql += " HAVING " + Emit(*select.having);
    if (!select.order_by.empty()) {
      sql += " ORDER BY ";
      for (size_t i = 0; i < select.order_by.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += EmitOrderItem(select.order_by[i], select.is_distinct);
      }
      if (!select.is_distinct && select.group_by.empty() && !select.having && !HasAggregate(select)) {
        for (const std::string& key : StoredOrderKeys()) sql += ", " + key;
      }
    }
    if (select.top >= 0) sql += " LIMIT " + std::to_string(select.top);
    if (!parameter_texts_.empty()) NumberParameters();
    return std::move(result_);
  }

 private:
  [[noreturn]] void Fail(const std::string& message, const JetExpr& at) const {
    throw SqlError(message + " at column " + std::to_string(at.offset + 1), std::string(jet_sql_));
  }

  void CollectTables(const JetTableRef& table) {
    if (table.kind == JetTableRef::kJoin) {
      CollectTables(*table.left);
      CollectTables(*table.right);
      return;
    }
    result_.tables.push_back({table.alias.empty() ? table.name : table.alias, table.name});
  }

  // The base table a qualifier names: an alias or table of the FROM clause, else the qualifier itself.
  std::string BaseTable(const std::string& qualifier) const {
    for (const TableName& table : result_.tables) {
      if (vb::SameName(table.written, qualifier)) return table.table;
    }
    return qualifier;
  }

  // ---- names and literals ----

  std::string Name(std::string_view name) const {
    std::string quoted = "\"";
    for (char c : name) {
      // PostgreSQL tables and columns are created unquoted, so their names are lower case.
      if (dialect_ == SqlDialect::kPostgres)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (c == '"') quoted += '"';
      quoted += c;
    }
    return quoted + "\"";
  }

  static std::string TextLiteral(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
      if (c == '\'') quoted += '\'';
      quoted += c;
    }
    return quoted + "'";
  }

  std::string DateLiteral(double serial) const {
    const std::string text = TextLiteral(FormatIsoDateTime(serial));
    return dialect_ == SqlDialect::kPostgres ? "TIMESTAMP " + text : text;
  }

  // ---- value kinds ----

  ValueKind ColumnKind(const JetExpr& column) {
    if (!column.table.empty()) {
      return catalog_.ColumnKind(BaseTable(column.table), column.text).value_or(ValueKind::kUnknown);
    }
    for (const TableName& table : result_.tables) {
      if (std::optional<ValueKind> kind = catalog_.ColumnKind(table.table, column.text)) return *kind;
    }
    return ValueKind::kUnknown;
  }

  ValueKind Kind(const JetExpr& expr) {
    switch (expr.kind) {
      case JetExpr::kColumn:
        return ColumnKind(expr);
      case JetExpr::kText:
        return ValueKind::kText;
      case JetExpr::kNumber:
        return expr.text.find_first_of(".eE") == std::string::npos ? ValueKind::kLong : ValueKind::kDouble;
      case JetExpr::kDate:
        return ValueKind::kDate;
      case JetExpr::kBoolean:
      case JetExpr::kNot:
      case JetExpr::kCompare:
      case JetExpr::kAnd:
      case JetExpr::kOr:
      case JetExpr::kLike:
      case JetExpr::kBetween:
      case JetExpr::kIn:
      case JetExpr::kIsNull:
        return ValueKind::kBoolean;
      case JetExpr::kNull:
      case JetExpr::kStar:
        return ValueKind::kUnknown;
      case JetExpr::kNegate:
        return Kind(*expr.operands[0]);
      case JetExpr::kArithmetic:
        return ArithmeticKind(expr);
      case JetExpr::kFunction:
        return FunctionKind(expr);
    }
    return ValueKind::kUnknown;
  }

  ValueKind ArithmeticKind(const JetExpr& expr) {
    if (expr.text == "&") return ValueKind::kText;
    const ValueKind left = Kind(*expr.operands[0]);
    const ValueKind right = Kind(*expr.operands[1]);
    if (expr.text == "+" && left == ValueKind::kText && right == ValueKind::kText) return ValueKind::kText;
    if (expr.text == "/") return ValueKind::kDouble;
    if (left == ValueKind::kDouble || right == ValueKind::kDouble) return ValueKind::kDouble;
    if (left == ValueKind::kCurrency || right == ValueKind::kCurrency) return ValueKind::kCurrency;
    if (left == ValueKind::kDate || right == ValueKind::kDate) return ValueKind::kDate;
    if (left == ValueKind::kLong && right == ValueKind::kLong) return ValueKind::kLong;
    return ValueKind::kUnknown;
  }

  ValueKind FunctionKind(const JetExpr& call) {
    const JetFunction* function = FindJetFunction(call.text);
    const int count = static_cast<int>(call.operands.size());
    // A wrong argument count is reported by EmitFunction; the kind must not read arguments that are missing.
    if (function == nullptr || count < function->min_arguments || count > function->max_arguments)
      return ValueKind::kUnknown;
    switch (function->result) {
      case JetFunction::kLikeFirst:
        return Kind(*call.operands[0]);
      case JetFunction::kLikeSecond: {
        const ValueKind second = Kind(*call.operands[1]);
        return second != ValueKind::kUnknown ? second : Kind(*call.operands[2]);
      }
      case JetFunction::kAverage:
        return Kind(*call.operands[0]) == ValueKind::kCurrency ? ValueKind::kCurrency : ValueKind::kDouble;
      case JetFunction::kText:
        return ValueKind::kText;
      case JetFunction::kLong:
        return ValueKind::kLong;
      case JetFunction::kDate:
        return ValueKind::kDate;
    }
    return ValueKind::kUnknown;
  }

  // A comparison is of text when one side is text and the others are text or of unknown kind. PostgreSQL's
  // lower() needs text; SQLite's collation also serves operands of unknown kind, and is left off numbers and
  // dates so that their indexes (of the binary collation) stay usable.
  bool IsTextComparison(const std::vector<const JetExpr*>& operands) {
    bool has_text = false, has_other = false;
    for (const JetExpr* operand : operands) {
      const ValueKind kind = Kind(*operand);
      has_text |= kind == ValueKind::kText;
      has_other |= kind != ValueKind::kText && kind != ValueKind::kUnknown;
    }
    if (has_other) return false;
    return has_text || dialect_ == SqlDialect::kSqlite;
  }

  // ---- expressions ----

  std::string Emit(const JetExpr& expr) {
    switch (expr.kind) {
      case JetExpr::kColumn:
        return expr.table.empty() ? Name(expr.text) : Name(expr.table) + "." + Name(expr.text);
      case JetExpr::kText:
        return TextLiteral(expr.text);
      case JetExpr::kNumber:
        return expr.text;
      case JetExpr::kDate:
        return DateLiteral(expr.date_serial);
      case JetExpr::kBoolean:
        if (dialect_ == SqlDialect::kPostgres) return expr.boolean_value ? "TRUE" : "FALSE";
        return expr.boolean_value ? "1" : "0";
      case JetExpr::kNull:
        return "NULL";
      case JetExpr::kStar:
        return "*";
      case JetExpr::kNegate:
        return "(-" + Emit(*expr.operands[0]) + ")";
      case JetExpr::kNot:
        return "(NOT " + Emit(*expr.operands[0]) + ")";
      case JetExpr::kAnd:
        return "(" + Emit(*expr.operands[0]) + " AND " + Emit(*expr.operands[1]) + ")";
      case JetExpr::kOr:
        return "(" + Emit(*expr.operands[0]) + " OR " + Emit(*expr.operands[1]) + ")";
      case JetExpr::kArithmetic:
        return EmitArithmetic(expr);
      case JetExpr::kCompare:
        return EmitCompare(expr);
      case JetExpr::kLike:
        return EmitLike(expr);
      case JetExpr::kBetween:
      case JetExpr::kIn:
        return EmitBetweenOrIn(expr);
      case JetExpr::kIsNull:
        return "(" + Emit(*expr.operands[0]) + (expr.is_negated ? " IS NOT NULL)" : " IS NULL)");
      case JetExpr::kFunction:
        return EmitFunction(expr);
    }
    Fail("unsupported expression", expr);
  }

  std::string EmitArithmetic(const JetExpr& expr) {
    const std::string left = Emit(*expr.operands[0]);
    const std::string right = Emit(*expr.operands[1]);
    const bool is_postgres = dialect_ == SqlDialect::kPostgres;
    if (expr.text == "&") {
      // "&" reads a Null as an empty text.
      if (is_postgres) return "concat(" + left + ", " + right + ")";
      return "(coalesce(" + left + ", '') || coalesce(" + right + ", ''))";
    }
    if (expr.text == "+" && ArithmeticKind(expr) == ValueKind::kText)
      return "(" + left + " || " + right + ")";
    if (expr.text == "Mod")
      return is_postgres ? "mod(" + left + ", " + right + ")" : "(" + left + " % " + right + ")";
    if (expr.text == "/") {
      // The dialect's "/" always divides as fractions, even for two whole numbers.
      return "(CAST(" + left + (is_postgres ? " AS double precision) / " : " AS REAL) / ") + right + ")";
    }
    return "(" + left + " " + expr.text + " " + right + ")";
  }

  // The left operand of a comparison, made to compare text without regard to case.
  std::string Caseless(const JetExpr& operand, bool is_text) {
    if (!is_text) return Emit(operand);
    return dialect_ == SqlDialect::kSqlite ? Emit(operand) + " COLLATE NOCASE" : Lowered(operand);
  }
  // Any other operand: PostgreSQL lowers both sides; SQLite's collation on the left operand covers both.
  std::string CaselessOther(const JetExpr& operand, bool is_text) {
    if (dialect_ == SqlDialect::kPostgres && is_text) return Lowered(operand);
    return Emit(operand);
  }
  // PostgreSQL: a text literal becomes a parameter; lower() gives it its type, as it would the literal.
  // The operands of one expression are emitted in no fixed order, so the text first holds a mark (kMark, the
  // literal's index, kMark) that NumberParameters turns into $1, $2, ... in reading order.
  std::string Lowered(const JetExpr& operand) {
    if (operand.kind != JetExpr::kText) return "lower(" + Emit(operand) + ")";
    parameter_texts_.push_back(operand.text);
    return "lower(" + std::string(1, kMark) + std::to_string(parameter_texts_.size() - 1) + kMark + ")";
  }

  void NumberParameters() {
    std::string numbered;
    char quote = 0;  // inside '...' or "...": a mark there is the literal's own byte
    for (size_t i = 0; i < result_.sql.size(); ++i) {
      const char c = result_.sql[i];
      if (quote != 0) {
        if (c == quote) quote = 0;  // a doubled quote closes and reopens: the same either way
      } else if (c == '\'' || c == '"') {
        quote = c;
      } else if (c == kMark) {
        const size_t end = result_.sql.find(kMark, i + 1);
        result_.parameters.push_back(parameter_texts_[std::stoul(result_.sql.substr(i + 1, end - i - 1))]);
        numbered += "$" + std::to_string(result_.parameters.size());
        i = end;
        continue;
      }
      numbered += c;
    }
    result_.sql = std::move(numbered);
  }

  std::string EmitCompare(const JetExpr& expr) {
    const JetExpr& left = *expr.operands[0];
    const JetExpr& right = *expr.operands[1];
    // Yes/no columns hold 0 or any non-zero value (-1 or 1) on SQLite: compare with true as "not 0".
    if (dialect_ == SqlDialect::kSqlite && (expr.text == "=" || expr.text == "<>") &&
        (left.kind == JetExpr::kBoolean || right.kind == JetExpr::kBoolean)) {
      const JetExpr& literal = left.kind == JetExpr::kBoolean ? left : right;
      const JetExpr& value = left.kind == JetExpr::kBoolean ? right : left;
      const bool wants_true = literal.boolean_value == (expr.text == "=");
      return "(" + Emit(value) + (wants_true ? " <> 0)" : " = 0)");
    }
    const bool is_text = IsTextComparison({&left, &right});
    return "(" + Caseless(left, is_text) + " " + expr.text + " " + CaselessOther(right, is_text) + ")";
  }

  std::string EmitBetweenOrIn(const JetExpr& expr) {
    std::vector<const JetExpr*> operands;
    for (const auto& operand : expr.operands) operands.push_back(operand.get());
    const bool is_text = IsTextComparison(operands);
    std::string sql = "(" + Caseless(*expr.operands[0], is_text) + (expr.is_negated ? " NOT" : "");
    if (expr.kind == JetExpr::kBetween) {
      return sql + " BETWEEN " + CaselessOther(*expr.operands[1], is_text) + " AND " +
             CaselessOther(*expr.operands[2], is_text) + ")";
    }
    sql += " IN (";
    for (size_t i = 1; i < expr.operands.size(); ++i) {
      sql += (i > 1 ? ", " : "") + CaselessOther(*expr.operands[i], is_text);
    }
    return sql + "))";
  }

  std::string EmitLike(const JetExpr& expr) {
    const JetExpr& pattern = *expr.operands[1];
    if (pattern.kind != JetExpr::kText) Fail("Like needs a quoted pattern", pattern);
    std::optional<JetLikePattern> compiled;
    try {
      compiled.emplace(pattern.text);
    } catch (const SqlError& error) {
      throw SqlError(std::string(error.what()) + " at column " + std::to_string(pattern.offset + 1),
                     std::string(jet_sql_));
    }
    const std::string value = Emit(*expr.operands[0]);
    if (dialect_ == SqlDialect::kPostgres) {
      return "(CAST(" + value + " AS text) " + (expr.is_negated ? "!~* " : "~* ") +
             TextLiteral(compiled->ToRegex()) + ")";
    }
    const std::string call = "jet_like(" + value + ", " + TextLiteral(pattern.text) + ")";
    return expr.is_negated ? "(NOT " + call + ")" : call;
  }

  std::string EmitFunction(const JetExpr& call) {
    const JetFunction* function = FindJetFunction(call.text);
    if (function == nullptr) Fail("unsupported function \"" + call.text + "\"", call);
    const int count = static_cast<int>(call.operands.size());
    if (count < function->min_arguments || count > function->max_arguments) {
      const std::string expected =
          function->min_arguments == function->max_arguments
              ? std::to_string(function->min_arguments)
              : std::to_string(function->min_arguments) + " to " + std::to_string(function->max_arguments);
      Fail("function " + std::string(function->name) + " takes " + expected + " arguments, not " +
               std::to_string(count),
           call);
    }
    std::vector<std::string> arguments;
    for (const auto& operand : call.operands) {
      if (operand->kind == JetExpr::kStar && !vb::SameName(function->name, "Count")) {
        Fail("\"*\" is only allowed in Count(*)", *operand);
      }
      arguments.push_back(Emit(*operand));
    }
    if (vb::SameName(function->name, "Nz") && arguments.size() == 1) {
      // Nz gives Empty, which reads as 0 among numbers and as "" among texts.
      const ValueKind kind = Kind(*call.operands[0]);
      const bool is_number =
          kind == ValueKind::kLong || kind == ValueKind::kDouble || kind == ValueKind::kCurrency;
      arguments.push_back(is_number ? "0" : "''");
    }

    const std::string_view pattern =
        dialect_ == SqlDialect::kPostgres ? function->postgres_text : function->sqlite_text;
    if (pattern == "$today") return DateLiteral(vb::Today());
    if (pattern == "$now") return DateLiteral(vb::Now());
    std::string sql;
    for (size_t i = 0; i < pattern.size(); ++i) {
      if (pattern[i] == '$' && i + 1 < pattern.size() && pattern[i + 1] == '*') {
        for (size_t a = 0; a < arguments.size(); ++a) sql += (a > 0 ? ", " : "") + arguments[a];
        ++i;
      } else if (pattern[i] == '$' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
                 pattern[i + 1] <= '9') {
        sql += arguments[static_cast<size_t>(pattern[i + 1] - '1')];
        ++i;
      } else {
        sql += pattern[i];
      }
    }
    return sql;
  }

  std::string EmitTable(const JetTableRef& table) {
    if (table.kind == JetTableRef::kTable) {
      return table.alias.empty() ? Name(table.name) : Name(table.name) + " AS " + Name(table.alias);
    }
    return "(" + EmitTable(*table.left) + " " + table.join_type + " JOIN " + EmitTable(*table.right) +
           " ON " + Emit(*table.condition) + ")";
  }

  static bool IsAggregate(const JetExpr& expr) {
    if (expr.kind == JetExpr::kFunction) {
      for (std::string_view name : {"Sum", "Count", "Min", "Max", "Avg", "First", "Last"}) {
        if (vb::SameName(expr.text, name)) return true;
      }
    }
    for (const auto& operand : expr.operands) {
      if (operand && IsAggregate(*operand)) return true;
    }
    return false;
  }
  static bool HasAggregate(const JetSelect& select) {
    for (const JetSelectItem& item : select.items) {
      if (item.expression && IsAggregate(*item.expression)) return true;
    }
    for (const JetOrderItem& item : select.order_by) {
      if (IsAggregate(*item.expression)) return true;
    }
    return false;
  }

  // The order rows were stored in, as far as the tables' keys tell it, to break the ORDER BY's ties.
  std::vector<std::string> StoredOrderKeys() {
    std::vector<std::string> keys;
    for (const TableName& table : result_.tables) {
      if (std::optional<std::string> key = catalog_.KeyColumn(table.table)) {
        JetOrderItem item;
        item.expression = std::make_unique<JetExpr>();
        item.expression->kind = JetExpr::kColumn;
        item.expression->text = *key;
        item.expression->table = table.written;
        keys.push_back(EmitOrderItem(item, false));
      }
    }
    return keys;
  }

  std::string EmitOrderItem(const JetOrderItem& item, bool is_distinct) {
    const JetExpr& expr = *item.expression;
    const char* direction = item.is_descending ? " DESC" : "";
    if (expr.kind == JetExpr::kNumber) return expr.text + direction;  // a position in the select list
    if (dialect_ == SqlDialect::kSqlite) {
      const ValueKind kind = Kind(expr);
      const bool may_be_text = kind == ValueKind::kText || kind == ValueKind::kUnknown;
      return Emit(expr) + (may_be_text ? " COLLATE NOCASE" : "") + direction;
    }
    // PostgreSQL sorts Nulls last unless told; the dialect sorts them as the lowest values. With DISTINCT the
    // sort key must be a selected column, so lower() is left out there.
    const bool is_text = !is_distinct && Kind(expr) == ValueKind::kText;
    return (is_text ? "lower(" + Emit(expr) + ")" : Emit(expr)) +
           (item.is_descending ? " DESC NULLS LAST" : " ASC NULLS FIRST");
  }

  std::string_view jet_sql_;
  SqlDialect dialect_;
  Catalog& catalog_;
  TranslatedStatement result_;
  static constexpr char kMark = '\x01';
  std::vector<std::string> parameter_texts_;  // in the order Lowered saw them
};

}  // namespace

TranslatedStatement TranslateJet(std::string_view jet_sql, SqlDialect dialect, Catalog& catalog) {
  return Translator(jet_sql, dialect, catalog).Translate();
}

}  // namespace vob::data
