// Reading-order text dump.
// Line heights are estimated from the font size (1.15 em, the Liberation fonts' own spacing), so the dump
// needs no font files and reads the same on any machine.
#include "platform/render/text_dump.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/render/clean_text.h"
#include "platform/vb/lines.h"

namespace vob::render {
namespace {

struct TextLine {
  int32_t top;  // twips
  int32_t left;
  int32_t pitch;  // line height, twips
  std::string_view text;
};

void CollectLines(const engine::PageModel& model, const engine::Page& page, std::vector<TextLine>& lines) {
  for (const engine::PageItem& item : page.items) {
    if (item.kind != engine::ItemKind::kText || item.text.empty()) continue;
    const int32_t pitch = static_cast<int32_t>(model.font(item.font).size_points * 23);
    int32_t top = item.top;
    vb::ForEachLine(item.text, [&](std::string_view line) {
      if (line.find_first_not_of(' ') != std::string_view::npos)
        lines.push_back(TextLine{top, item.left, pitch, line});
      top += pitch;
    });
  }
}

}  // namespace

void WriteTextDump(const engine::PageModel& model, std::ostream& out) {
  const size_t count =
      model.page_count() > 0 ? static_cast<size_t>(model.page_count()) : model.pages().size();
  std::vector<TextLine> lines;
  for (const engine::Page& page : model.pages()) {
    out << "--- page " << page.number << " of " << count << " ---\n";
    lines.clear();
    CollectLines(model, page, lines);
    std::stable_sort(lines.begin(), lines.end(),
                     [](const TextLine& a, const TextLine& b) { return a.top < b.top; });
    for (size_t row_start = 0; row_start < lines.size();) {
      // A row: lines starting within half a line of the row's first line.
      size_t row_end = row_start + 1;
      while (row_end < lines.size() &&
             lines[row_end].top - lines[row_start].top < lines[row_start].pitch / 2) {
        ++row_end;
      }
      std::stable_sort(lines.begin() + static_cast<std::ptrdiff_t>(row_start),
                       lines.begin() + static_cast<std::ptrdiff_t>(row_end),
                       [](const TextLine& a, const TextLine& b) { return a.left < b.left; });
      for (size_t i = row_start; i < row_end; ++i) {
        if (i > row_start) out << "  ";
        if (IsCleanText(lines[i].text)) {
          out << lines[i].text;
        } else {
          out << CleanText(lines[i].text);  // bytes from the books: stays UTF-8 text
        }
      }
      out << '\n';
      row_start = row_end;
    }
  }
}

}  // namespace vob::render
