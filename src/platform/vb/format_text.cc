// Text patterns ("@@@-@@@@", "(@@@) @@@-@@@@", ">&&&"), compiled and applied.
// Placeholders take characters from the right unless "!" says otherwise; characters are UTF-8 sequences.
#include <cctype>
#include <vector>

#include "platform/vb/conversions.h"
#include "platform/vb/format_internal.h"

namespace vob::vb {
namespace {

void AddLiteral(TextSection& section, std::string_view text) {
  AppendLiteral(section.ops, section.literals, text);
}

// Byte offsets where each character of a UTF-8 text starts, and the text's size at the end.
std::vector<size_t> CharacterStarts(std::string_view text) {
  std::vector<size_t> starts;
  starts.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  starts.push_back(text.size());
  return starts;
}

std::string ApplySection(const TextSection& section, std::string_view text) {
  const std::vector<size_t> starts = CharacterStarts(text);
  const int64_t characters = static_cast<int64_t>(starts.size()) - 1;
  const int64_t placeholders = section.placeholders;
  // Appends the characters [first, last) of the text.
  const auto append_characters = [&](std::string& out, int64_t first, int64_t last) {
    if (first < last) out.append(text, starts[first], starts[last] - starts[first]);
  };

  std::string out;
  int64_t placeholder = 0;
  for (const TextOp& op : section.ops) {
    if (op.kind == TextOpKind::kLiteral) {
      out.append(section.literals, op.literal_begin, op.literal_length);
      continue;
    }
    // A long text puts its extra characters at the first placeholder (at the last one when filling from
    // the left), so no character is ever lost.
    int64_t first = 0, last = 0;
    if (section.fills_from_left) {
      first = placeholder;
      last = placeholder == placeholders - 1 ? characters : std::min(placeholder + 1, characters);
    } else {
      const int64_t shift = characters - placeholders;
      first = placeholder == 0 ? 0 : placeholder + shift;
      last = placeholder + shift + 1;
      first = std::max<int64_t>(first, 0);
    }
    if (first < last) {
      append_characters(out, first, last);
    } else if (op.kind == TextOpKind::kCharacterOrBlank) {
      out += ' ';
    }
    ++placeholder;
  }
  // Without placeholders the whole text follows the literals.
  if (placeholders == 0) out += text;

  // "<" and ">" change the whole result, literals included.
  if (section.text_case == TextCase::kLower) {
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  } else if (section.text_case == TextCase::kUpper) {
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

}  // namespace

bool HasTextPlaceholder(std::string_view pattern) {
  std::string_view ignored;
  for (size_t index = 0; index < pattern.size();) {
    const char c = pattern[index];
    if (c == '"' || c == '\\') {
      index = ReadQuotedOrEscaped(pattern, index, ignored);
      continue;
    }
    if (c == '@' || c == '&' || c == '<' || c == '>' || c == '!') return true;
    ++index;
  }
  return false;
}

TextPlan CompileText(std::string_view pattern) {
  TextPlan plan;
  plan.sections.emplace_back();
  for (size_t index = 0; index < pattern.size();) {
    TextSection& section = plan.sections.back();
    const char c = pattern[index];
    switch (c) {
      case ';':
        if (plan.sections.size() == 2) ThrowPatternError(pattern, index, "more than two sections");
        plan.sections.emplace_back();
        ++index;
        break;
      case '"':
      case '\\': {
        std::string_view literal;
        index = ReadQuotedOrEscaped(pattern, index, literal);
        AddLiteral(section, literal);
        break;
      }
      case '@':
      case '&': {
        TextOp op;
        op.kind = c == '@' ? TextOpKind::kCharacterOrBlank : TextOpKind::kCharacterOrNothing;
        section.ops.push_back(op);
        ++section.placeholders;
        ++index;
        break;
      }
      case '<':  // the last of "<" and ">" wins
        section.text_case = TextCase::kLower;
        ++index;
        break;
      case '>':
        section.text_case = TextCase::kUpper;
        ++index;
        break;
      case '!':
        section.fills_from_left = true;
        ++index;
        break;
      default:
        AddLiteral(section, pattern.substr(index, 1));
        ++index;
        break;
    }
  }
  return plan;
}

std::string ApplyText(const TextPlan& plan, const Variant& value) {
  // The second section, when there is one, is for Null and the empty text.
  const bool has_empty_section = plan.sections.size() == 2;
  if (value.is_null()) return has_empty_section ? ApplySection(plan.sections[1], {}) : std::string();
  const std::string text = value.is_string() ? value.str() : GeneralText(value);
  if (text.empty() && has_empty_section) return ApplySection(plan.sections[1], {});
  return ApplySection(plan.sections[0], text);
}

}  // namespace vob::vb
