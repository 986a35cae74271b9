// The Jet functions the translator knows, each with its result kind and its spelling on each database.
// A function not in this table is refused by name rather than passed through.
#pragma once

#include <string_view>

#include "platform/data/value_kind.h"

namespace vob::data {

struct JetFunction {
  enum ResultKind { kLikeFirst, kLikeSecond, kAverage, kText, kLong, kDate };
  std::string_view name;
  int min_arguments, max_arguments;
  ResultKind result;
  // "$1".."$3" stand for the translated arguments, "$*" for all of them joined by ", ".
  // "$today" and "$now" stand for the run clock's date and time as a date literal.
  std::string_view sqlite_text, postgres_text;
};

// Looks a function up by name regardless of case; nullptr when the dialect function is not supported.
const JetFunction* FindJetFunction(std::string_view name);

}  // namespace vob::data
