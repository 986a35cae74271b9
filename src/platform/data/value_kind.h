// The kinds of value a column yields, and how declared column types map onto them on both databases.
// The schema declares CURRENCY, DATETIME, YESNO, TEXT, LONG, DOUBLE (SQLite) or their PostgreSQL equivalents.
#pragma once

#include <string_view>

namespace vob::data {

enum class ValueKind { kUnknown, kText, kLong, kDouble, kCurrency, kDate, kBoolean };

// A declared type as SQLite keeps it ("CURRENCY", "TEXT(50)", "DATETIME") or as PostgreSQL's format_type
// writes it ("numeric(19,4)", "timestamp without time zone", "character varying(50)"), matched regardless of
// case. Numeric types with at most four decimals are Currency, with more (or none given) Double.
// Unrecognised types are kUnknown: such values are read by how they are stored.
ValueKind KindFromDeclaredType(std::string_view declared_type);

}  // namespace vob::data
