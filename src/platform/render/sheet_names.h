// Worksheet names a spreadsheet accepts, made from any text: a group's key, a report's title.
// Rules: 1 to 31 characters, none of [ ] : * ? / \, no apostrophe first or last, not "History" (reserved),
// and unique in the workbook without regard to case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vob::render {

class SheetNames {
 public:
  // A valid name not given out before, as close to wanted as the rules allow: forbidden characters become
  // "_", an empty text "Blank", a long one is cut at 31 characters, a repeat gets " (2)", " (3)", ...
  std::string Add(std::string_view wanted);

 private:
  std::vector<std::string> used_;  // lower case
};

}  // namespace vob::render
