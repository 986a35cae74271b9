// Parses one Jet-dialect SELECT statement (the only kind of statement the reports run) into a JetSelect.
// Anything after the statement other than ";" and blanks is refused, so one command is one statement.
#pragma once

#include <string_view>

#include "platform/data/jet_syntax.h"

namespace vob::data {

// Throws SqlError quoting `sql` and naming the construct and its column when the text is not a single
// SELECT the dialect allows (INSERT, UNION, subqueries, parameters, an invalid date literal, ...).
JetSelect ParseJetSelect(std::string_view sql);

}  // namespace vob::data
