// Line wrapping on top of a measurer's widths, shared by every implementation.
#include "platform/engine/text_measurer.h"

#include "platform/vb/lines.h"

namespace vob::engine {

std::vector<std::string> TextMeasurer::Wrap(const FontSpec& font, std::string_view text, double width_twips) {
  std::vector<std::string> lines;
  vb::ForEachLine(text, [&](std::string_view paragraph) {
    // Most paragraphs fit on one line: one measurement instead of one per word. Widths only grow as words
    // are added, so the word-by-word pass would give the same single line.
    std::string_view whole = paragraph.substr(0, paragraph.find_last_not_of(' ') + 1);
    const bool fits = WidthTwips(font, whole) <= width_twips;
    std::string line;
    if (fits) line.assign(whole);
    size_t position = fits ? paragraph.size() : 0;
    while (position < paragraph.size()) {
      size_t word_end = paragraph.find(' ', position);
      if (word_end == std::string_view::npos) word_end = paragraph.size();
      std::string candidate = line;
      candidate.append(paragraph.substr(position, word_end - position));
      if (!line.empty() && WidthTwips(font, candidate) > width_twips) {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(std::move(line));
        line.assign(paragraph.substr(position, word_end - position));
      } else {
        line = std::move(candidate);
      }
      // Carry the blanks after the word along; they are dropped if the line breaks there.
      size_t next = word_end;
      while (next < paragraph.size() && paragraph[next] == ' ') ++next;
      line.append(paragraph.substr(word_end, next - word_end));
      position = next;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
  });
  return lines;
}

}  // namespace vob::engine
