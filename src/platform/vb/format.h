// Compiles format patterns such as "#,##0.00;(#,##0.00)" into small programs, then applies them.
// Compile once per pattern text; Apply is const and safe from any thread. The language is en-US.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/vb/variant.h"

namespace vob::vb {

class FormatError : public vob::Error {
 public:
  using vob::Error::Error;
};

struct FormatPlan;  // defined in format_internal.h

class FormatProgram {
 public:
  // Throws FormatError naming the pattern and the column of the first character that does not fit.
  static FormatProgram Compile(std::string_view pattern);
  // Null gives "" unless the pattern has a section for Null; text the pattern cannot read comes back
  // unchanged. A date pattern given a number outside the date range raises Overflow (6). Cases:
  // format_test.cc. REQUIRES: *this was not moved from.
  std::string Apply(const Variant& value) const;

  FormatProgram(FormatProgram&&) noexcept;
  FormatProgram& operator=(FormatProgram&&) noexcept;
  ~FormatProgram();

 private:
  explicit FormatProgram(std::unique_ptr<const FormatPlan> plan);
  std::unique_ptr<const FormatPlan> plan_;
};

// Compiles on first sight, then reuses (a per-thread cache); the reference stays valid for the thread's life.
// Entries are never dropped: reports use a few dozen patterns, not one per value.
const FormatProgram& CachedFormat(std::string_view pattern);

// Format(value, pattern) as report handlers write it; an empty pattern gives the general format.
std::string Format(const Variant& value, std::string_view pattern = {});

}  // namespace vob::vb
