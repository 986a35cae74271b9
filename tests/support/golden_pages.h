// Compares a report's pages with a reviewed JSON page dump under tests/reports/golden/, so that a change in
// what a report prints shows up as a diff of the items that moved. VOB_UPDATE_GOLDEN=1 rewrites the files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/render/json_dump.h"

namespace vob::testing {

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The lines between the common head and tail of the two texts, "-" expected and "+" actual, at most
// max_lines of each, with the line number where they part.
inline std::string LineDiff(const std::string& expected, const std::string& actual, size_t max_lines = 12) {
  const std::vector<std::string> old_lines = SplitLines(expected), new_lines = SplitLines(actual);
  size_t head = 0;
  while (head < old_lines.size() && head < new_lines.size() && old_lines[head] == new_lines[head]) ++head;
  size_t tail = 0;
  while (tail < old_lines.size() - head && tail < new_lines.size() - head &&
         old_lines[old_lines.size() - 1 - tail] == new_lines[new_lines.size() - 1 - tail])
    ++tail;
  std::ostringstream diff;
  diff << "from line " << head + 1 << ": " << old_lines.size() - head - tail << " golden lines became "
       << new_lines.size() - head - tail << "\n";
  auto show = [&](const std::vector<std::string>& lines, char mark) {
    const size_t end = lines.size() - tail;
    for (size_t i = head; i < end && i < head + max_lines; ++i) diff << mark << lines[i] << "\n";
    if (end - head > max_lines) diff << mark << "... " << end - head - max_lines << " more\n";
  };
  show(old_lines, '-');
  show(new_lines, '+');
  return diff.str();
}

// Expects the JSON page dump of model to equal tests/reports/golden/<name>.json; with VOB_UPDATE_GOLDEN set,
// writes the file instead (review the diff before committing it).
inline void ExpectMatchesGolden(const engine::PageModel& model, std::string_view name) {
  std::ostringstream dump;
  render::WriteJsonDump(model, dump);
  const std::filesystem::path path =
      std::filesystem::path(VOB_SOURCE_DIR) / "tests/reports/golden" / (std::string(name) + ".json");
  if (std::getenv("VOB_UPDATE_GOLDEN") != nullptr) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << dump.str();
    return;
  }
  std::ifstream golden(path, std::ios::binary);
  if (!golden) {
    ADD_FAILURE() << "no golden page dump " << path << "; run with VOB_UPDATE_GOLDEN=1 to write it";
    return;
  }
  std::ostringstream expected;
  expected << golden.rdbuf();
  if (dump.str() != expected.str()) {
    ADD_FAILURE() << name << " differs from " << path << " " << LineDiff(expected.str(), dump.str())
                  << "rerun with VOB_UPDATE_GOLDEN=1 after a deliberate change";
  }
}

}  // namespace vob::testing
