// Format(value, pattern): picks the pattern's kind (named, date, text or numeric), compiles it once per
// thread and applies it. The kind is decided on the whole pattern, so a stray date letter makes a date
// pattern.
#include "platform/vb/format.h"

#include <fmt/format.h>

#include <functional>
#include <unordered_map>

#include "platform/vb/conversions.h"
#include "platform/vb/format_internal.h"
#include "platform/vb/names.h"

namespace vob::vb {
namespace {

struct NamedFormat {
  std::string_view name;
  PlanKind kind;
  std::string_view pattern;  // what it means in en-US
  std::string_view true_word = {}, false_word = {};
};

// clang-format off
//  name               kind                      en-US pattern              words
constexpr NamedFormat kNamedFormats[] = {
    {"General Number",   PlanKind::kGeneralNumber, ""},
    {"Currency",         PlanKind::kNumber,        "$#,##0.00;($#,##0.00)"},
    {"Fixed",            PlanKind::kNumber,        "0.00"},
    {"Standard",         PlanKind::kNumber,        "#,##0.00"},
    {"Percent",          PlanKind::kNumber,        "0.00%"},
    {"Scientific",       PlanKind::kNumber,        "0.00E+00"},
    {"Yes/No",           PlanKind::kBooleanWords,  "",                        "Yes", "No"},
    {"True/False",       PlanKind::kBooleanWords,  "",                        "True", "False"},
    {"On/Off",           PlanKind::kBooleanWords,  "",                        "On", "Off"},
    {"General Date",     PlanKind::kDate,          "c"},
    {"Long Date",        PlanKind::kDate,          "dddd, mmmm d, yyyy"},
    {"Medium Date",      PlanKind::kDate,          "dd-mmm-yy"},
    {"Short Date",       PlanKind::kDate,          "m/d/yyyy"},
    {"Long Time",        PlanKind::kDate,          "h:nn:ss AM/PM"},
    {"Medium Time",      PlanKind::kDate,          "hh:nn AM/PM"},
    {"Short Time",       PlanKind::kDate,          "hh:nn"},
};
// clang-format on

const NamedFormat* FindNamedFormat(std::string_view pattern) {
  for (const NamedFormat& named : kNamedFormats) {
    if (SameName(named.name, pattern)) return &named;
  }
  return nullptr;
}

std::string ApplyBooleanWords(const FormatPlan& plan, const Variant& value) {
  if (value.is_null()) return {};
  DecimalDigits number;
  if (!NumericValueOf(value, number)) return GeneralText(value);  // text that is no number stays as it is
  return std::string(number.is_zero() ? plan.false_word : plan.true_word);
}

struct PatternHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
};

// Per thread, so the hot path takes no lock. Node-based, so references handed out stay valid.
struct ProgramCache {
  std::unordered_map<std::string, FormatProgram, PatternHash, std::equal_to<>> programs;
  const std::string* last_pattern = nullptr;  // a report formats column after column with few patterns
  const FormatProgram* last_program = nullptr;
};

}  // namespace

void ThrowPatternError(std::string_view pattern, size_t index, std::string_view what) {
  throw FormatError(fmt::format("format pattern \"{}\", column {}: {}", pattern, index + 1, what));
}

size_t ReadQuotedOrEscaped(std::string_view pattern, size_t index, std::string_view& literal) {
  if (pattern[index] == '\\') {
    if (index + 1 == pattern.size()) ThrowPatternError(pattern, index, "backslash at the end");
    literal = pattern.substr(index + 1, 1);
    return index + 2;
  }
  const size_t closing = pattern.find('"', index + 1);
  if (closing == std::string_view::npos) ThrowPatternError(pattern, index, "quote without its closing quote");
  literal = pattern.substr(index + 1, closing - index - 1);
  return closing + 1;
}

FormatProgram::FormatProgram(std::unique_ptr<const FormatPlan> plan) : plan_(std::move(plan)) {}
FormatProgram::FormatProgram(FormatProgram&&) noexcept = default;
FormatProgram& FormatProgram::operator=(FormatProgram&&) noexcept = default;
FormatProgram::~FormatProgram() = default;

FormatProgram FormatProgram::Compile(std::string_view pattern) {
  auto plan = std::make_unique<FormatPlan>();
  std::string_view meaning = pattern;
  plan->kind = PlanKind::kNumber;
  if (const NamedFormat* named = FindNamedFormat(pattern)) {
    plan->kind = named->kind;
    plan->true_word = named->true_word;
    plan->false_word = named->false_word;
    meaning = named->pattern;
  } else if (pattern.empty()) {
    plan->kind = PlanKind::kGeneral;
  } else if (HasDateToken(pattern)) {
    plan->kind = PlanKind::kDate;
  } else if (HasTextPlaceholder(pattern)) {
    plan->kind = PlanKind::kText;
  }
  switch (plan->kind) {
    case PlanKind::kNumber:
      plan->number = CompileNumber(meaning);
      break;
    case PlanKind::kDate:
      plan->date = CompileDate(meaning);
      break;
    case PlanKind::kText:
      plan->text = CompileText(meaning);
      break;
    default:
      break;
  }
  return FormatProgram(std::move(plan));
}

std::string FormatProgram::Apply(const Variant& value) const {
  const FormatPlan& plan = *plan_;
  switch (plan.kind) {
    case PlanKind::kGeneral:
      return GeneralText(value);
    case PlanKind::kGeneralNumber:
      return value.is_null() ? std::string() : GeneralText(NumberVariantOf(value));
    case PlanKind::kBooleanWords:
      return ApplyBooleanWords(plan, value);
    case PlanKind::kNumber:
      return ApplyNumber(plan.number, value);
    case PlanKind::kDate:
      return ApplyDate(plan.date, value);
    case PlanKind::kText:
      return ApplyText(plan.text, value);
  }
  return {};
}

const FormatProgram& CachedFormat(std::string_view pattern) {
  thread_local ProgramCache cache;
  if (cache.last_pattern != nullptr && *cache.last_pattern == pattern) return *cache.last_program;
  auto found = cache.programs.find(pattern);
  if (found == cache.programs.end()) {
    // Compile first: a pattern that fails is not remembered, so it fails the same way every time.
    FormatProgram program = FormatProgram::Compile(pattern);
    found = cache.programs.emplace(std::string(pattern), std::move(program)).first;
  }
  cache.last_pattern = &found->first;
  cache.last_program = &found->second;
  return found->second;
}

std::string Format(const Variant& value, std::string_view pattern) {
  if (pattern.empty()) return GeneralText(value);
  return CachedFormat(pattern).Apply(value);
}

}  // namespace vob::vb
