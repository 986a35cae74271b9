// Declared column types to value kinds: the one table both backends and the translator agree on.
// Order matters: "DOUBLE PRECISION" must not read as a numeric with a precision.
#include "platform/data/value_kind.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <string>

namespace vob::data {
namespace {

struct KindName {
  std::string_view name;
  ValueKind kind;
};

constexpr std::array<KindName, 38> kKindNames = {{
    {"currency", ValueKind::kCurrency},
    {"money", ValueKind::kCurrency},
    {"datetime", ValueKind::kDate},
    {"date", ValueKind::kDate},
    {"timestamp", ValueKind::kDate},
    {"timestamp without time zone", ValueKind::kDate},
    {"timestamp with time zone", ValueKind::kDate},
    {"timestamptz", ValueKind::kDate},
    {"time", ValueKind::kDate},
    {"yesno", ValueKind::kBoolean},
    {"boolean", ValueKind::kBoolean},
    {"bool", ValueKind::kBoolean},
    {"bit", ValueKind::kBoolean},
    {"logical", ValueKind::kBoolean},
    {"integer", ValueKind::kLong},
    {"int", ValueKind::kLong},
    {"long", ValueKind::kLong},
    {"smallint", ValueKind::kLong},
    {"bigint", ValueKind::kLong},
    {"tinyint", ValueKind::kLong},
    {"counter", ValueKind::kLong},
    {"autoincrement", ValueKind::kLong},
    {"short", ValueKind::kLong},
    {"byte", ValueKind::kLong},
    {"double", ValueKind::kDouble},
    {"double precision", ValueKind::kDouble},
    {"float", ValueKind::kDouble},
    {"real", ValueKind::kDouble},
    {"single", ValueKind::kDouble},
    {"number", ValueKind::kDouble},
    {"text", ValueKind::kText},
    {"varchar", ValueKind::kText},
    {"character varying", ValueKind::kText},
    {"char", ValueKind::kText},
    {"character", ValueKind::kText},
    {"memo", ValueKind::kText},
    {"nvarchar", ValueKind::kText},
    {"clob", ValueKind::kText},
}};

}  // namespace

ValueKind KindFromDeclaredType(std::string_view declared_type) {
  std::string base;
  std::string arguments;
  bool in_arguments = false;
  for (char c : declared_type) {
    if (c == '(') {
      in_arguments = true;
    } else if (c == ')') {
      in_arguments = false;
    } else if (in_arguments) {
      arguments += c;
    } else {
      base += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  while (!base.empty() && base.back() == ' ') base.pop_back();
  while (!base.empty() && base.front() == ' ') base.erase(base.begin());

  if (base == "numeric" || base == "decimal") {
    const size_t comma = arguments.find(',');
    if (comma == std::string::npos) return arguments.empty() ? ValueKind::kDouble : ValueKind::kLong;
    const int scale = std::atoi(arguments.c_str() + comma + 1);
    if (scale == 0) return ValueKind::kLong;
    return scale <= 4 ? ValueKind::kCurrency : ValueKind::kDouble;
  }
  for (const KindName& entry : kKindNames) {
    if (base == entry.name) return entry.kind;
  }
  return ValueKind::kUnknown;
}

}  // namespace vob::data
