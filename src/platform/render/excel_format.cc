// Translation of output formats into spreadsheet number formats, one pass over the pattern.
// Quoted runs and backslash escapes mean the same in both languages and are copied as they stand.
#include "platform/render/excel_format.h"

#include <cctype>
#include <vector>

#include "platform/vb/names.h"

namespace vob::render {
namespace {

constexpr std::string_view kShortDate = "m/d/yyyy";
constexpr std::string_view kGeneralDate = "m/d/yyyy h:mm:ss AM/PM";
constexpr std::string_view kLongTime = "h:mm:ss AM/PM";

struct NamedFormat {
  std::string_view name;
  CellKind kind;
  std::string_view number_format;
};

// clang-format off
//  name               kind               spreadsheet format
constexpr NamedFormat kNamedFormats[] = {
    {"General Number", CellKind::kNumber, ""},
    {"Currency",       CellKind::kNumber, "$#,##0.00;($#,##0.00)"},
    {"Fixed",          CellKind::kNumber, "0.00"},
    {"Standard",       CellKind::kNumber, "#,##0.00"},
    {"Percent",        CellKind::kNumber, "0.00%"},
    {"Scientific",     CellKind::kNumber, "0.00E+00"},
    {"Yes/No",         CellKind::kNumber, "\"Yes\";\"Yes\";\"No\""},
    {"True/False",     CellKind::kNumber, "\"True\";\"True\";\"False\""},
    {"On/Off",         CellKind::kNumber, "\"On\";\"On\";\"Off\""},
    {"General Date",   CellKind::kDate,   kGeneralDate},
    {"Long Date",      CellKind::kDate,   "dddd, mmmm d, yyyy"},
    {"Medium Date",    CellKind::kDate,   "dd-mmm-yy"},
    {"Short Date",     CellKind::kDate,   kShortDate},
    {"Long Time",      CellKind::kDate,   kLongTime},
    {"Medium Time",    CellKind::kDate,   "hh:mm AM/PM"},
    {"Short Time",     CellKind::kDate,   "hh:mm"},
};
// clang-format on

bool StartsWithIgnoringCase(std::string_view text, size_t index, std::string_view prefix) {
  return text.size() - index >= prefix.size() && vb::SameName(text.substr(index, prefix.size()), prefix);
}

// The index after the quoted run or escape at pattern[index]; an unterminated one runs to the end.
size_t SkipLiteral(std::string_view pattern, size_t index) {
  if (pattern[index] == '\\') return std::min(index + 2, pattern.size());
  const size_t closing = pattern.find('"', index + 1);
  return closing == std::string_view::npos ? pattern.size() : closing + 1;
}

// Length of an AM/PM marker at pattern[index] ("AM/PM", "A/P", "AMPM", any case), or 0.
size_t MarkerLength(std::string_view pattern, size_t index) {
  for (std::string_view marker : {"am/pm", "ampm", "a/p"}) {
    if (StartsWithIgnoringCase(pattern, index, marker)) return marker.size();
  }
  return 0;
}

bool IsDateLetter(char c) {
  switch (vb::LowerAscii(c)) {
    case 'c':
    case 'd':
    case 'w':
    case 'm':
    case 'q':
    case 'y':
    case 'h':
    case 'n':
    case 's':
    case 't':
      return true;
    default:
      return false;
  }
}

// Which language the pattern speaks, decided on the whole pattern as the formatter does.
CellKind KindOf(std::string_view pattern) {
  bool has_text_placeholder = false;
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '"' || c == '\\') {
      i = SkipLiteral(pattern, i);
      continue;
    }
    if (MarkerLength(pattern, i) > 0 || IsDateLetter(c)) return CellKind::kDate;
    if (c == '@' || c == '&' || c == '<' || c == '>' || c == '!') has_text_placeholder = true;
    ++i;
  }
  return has_text_placeholder ? CellKind::kText : CellKind::kNumber;
}

// Numeric sections read alike, except that an empty section borrows the first (with a minus for a
// negative) where a spreadsheet would print nothing, and the fourth section is for Null, not text.
std::string TranslateNumber(std::string_view pattern) {
  std::vector<std::string_view> sections;
  size_t begin = 0;
  for (size_t i = 0; i <= pattern.size();) {
    if (i == pattern.size() || pattern[i] == ';') {
      sections.push_back(pattern.substr(begin, i - begin));
      begin = ++i;
    } else if (pattern[i] == '"' || pattern[i] == '\\') {
      i = SkipLiteral(pattern, i);
    } else {
      ++i;
    }
  }
  if (sections.size() > 3) sections.resize(3);
  if (sections.size() == 1) return std::string(sections[0]);
  std::string translated;
  for (size_t i = 0; i < sections.size(); ++i) {
    if (i > 0) translated += ';';
    if (!sections[i].empty()) {
      translated += sections[i];
    } else {
      translated += (i == 1 ? "-" : "") + std::string(sections[0]);
    }
  }
  return translated;
}

// Date tokens renamed one run of letters at a time; false for a token the spreadsheet has no form of.
bool TranslateDate(std::string_view pattern, std::string& out) {
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '"' || c == '\\') {
      const size_t end = SkipLiteral(pattern, i);
      out += pattern.substr(i, end - i);
      i = end;
      continue;
    }
    if (const size_t marker = MarkerLength(pattern, i); marker > 0) {
      const std::string_view written = pattern.substr(i, marker);
      out += vb::SameName(written, "ampm") ? "AM/PM" : std::string(written);
      i += marker;
      continue;
    }
    if (!IsDateLetter(c)) {
      // Separators and blanks print as they stand; any other letter is quoted so it stays a literal.
      const bool is_letter = std::isalpha(static_cast<unsigned char>(c)) != 0;
      if (is_letter) out += '\\';
      out += c;
      ++i;
      continue;
    }
    const char token = vb::LowerAscii(c);
    size_t run = 1;
    while (i + run < pattern.size() && vb::LowerAscii(pattern[i + run]) == token) ++run;
    i += run;
    switch (token) {
      case 'c':
        out += kGeneralDate;
        break;
      case 'd':
        if (run <= 4) {
          out.append(run, 'd');
        } else {
          out += run == 5 ? kShortDate : std::string_view("dddd, mmmm d, yyyy");
        }
        break;
      case 'm':
        out.append(std::min<size_t>(run, 4), 'm');
        break;
      case 'n':
        out.append(std::min<size_t>(run, 2), 'm');  // minutes: "m" after an hour reads as the minute
        break;
      case 'y':
        if (run == 1) return false;  // day of the year
        out += run >= 3 ? "yyyy" : "yy";
        break;
      case 'h':
      case 's':
        out.append(std::min<size_t>(run, 2), token);
        break;
      case 't':
        if (run != 5) return false;
        out += kLongTime;
        break;
      default:  // w, ww, q: weekday number, week and quarter
        return false;
    }
  }
  return true;
}

}  // namespace

ExcelFormat TranslateFormat(std::string_view pattern) {
  for (const NamedFormat& named : kNamedFormats) {
    if (vb::SameName(named.name, pattern)) return {named.kind, std::string(named.number_format)};
  }
  if (pattern.empty()) return {};
  switch (KindOf(pattern)) {
    case CellKind::kDate: {
      std::string translated;
      if (!TranslateDate(pattern, translated)) translated = kShortDate;
      return {CellKind::kDate, std::move(translated)};
    }
    case CellKind::kText:
      return {CellKind::kText, "@"};
    default:
      return {CellKind::kNumber, TranslateNumber(pattern)};
  }
}

}  // namespace vob::render
