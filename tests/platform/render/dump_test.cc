// The text and JSON dumps of the sample document: exact text, and the JSON's field names and null rules.
// The JSON is the format golden report files are kept in, so its shape is pinned here field by field.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "platform/render/json_dump.h"
#include "platform/render/text_dump.h"
#include "sample_document.h"

namespace vob::render {
namespace {

std::vector<std::string> Keys(const nlohmann::ordered_json& object) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.push_back(key);
  return keys;
}

TEST(TextDump, ListsEachVisualLineInReadingOrder) {
  sample::SampleDocument document = sample::MakeSampleDocument();
  // Two lines in one item, and a text that shares the title's line from further left, 3 twips lower.
  document.pages[1].items.push_back(sample::TextItem(3, 5, "first line\nsecond line", 7000, 1440, 2000));
  document.pages[1].items.push_back(sample::TextItem(1, 2, "Printed:", 100, 723, 600));
  std::ostringstream out;
  WriteTextDump(document.Model(), out);
  EXPECT_EQ(out.str(),
            "--- page 1 of 2 ---\n"
            "Chart of Accounts\n"
            "1000  Cash in Bank\n"
            "1100  Accounts Receivable\n"
            "1200  Inventory\n"
            "Page 1 of  2\n"
            "--- page 2 of 2 ---\n"
            "Printed:  Chart of Accounts\n"
            "2000  Accounts Payable  first line\n"
            "3000  Owner's Equity  second line\n"
            "4000  Sales\n"
            "Page 2 of  2\n");
}

TEST(JsonDump, HasTheAgreedShape) {
  std::ostringstream out;
  WriteJsonDump(sample::MakeSampleDocument().Model(), out);
  nlohmann::ordered_json json = nlohmann::ordered_json::parse(out.str());

  EXPECT_EQ(Keys(json), (std::vector<std::string>{"report", "pages", "toc"}));
  EXPECT_EQ(json["report"], "chaccts");
  ASSERT_EQ(json["pages"].size(), 2u);
  const nlohmann::ordered_json& page = json["pages"][0];
  EXPECT_EQ(Keys(page), (std::vector<std::string>{"number", "width", "height", "items"}));
  EXPECT_EQ(page["number"], 1);
  EXPECT_EQ(page["width"], 12240);
  const std::vector<std::string> kItemKeys{"kind", "section", "control", "text",  "left",
                                           "top",  "width",   "height",  "align", "font",
                                           "size", "bold",    "italic",  "fill",  "hyperlink"};
  struct Case {
    size_t index;
    std::string expected;  // the item, compact
  };
  const Case kCases[] = {
      {0, R"({"kind":"rect","section":"Detail","control":"","text":null,"left":720,"top":1640,"width":10800,)"
          R"("height":200,"align":null,"font":null,"size":null,"bold":null,"italic":null,"fill":"#F0F0F0",)"
          R"("hyperlink":null})"},
      {1,
       R"({"kind":"text","section":"PageHeader","control":"lblTitle","text":"Chart of Accounts","left":720,)"
       R"("top":720,"width":10800,"height":200,"align":"center","font":"Arial","size":12.0,"bold":true,)"
       R"("italic":false,"fill":null,"hyperlink":null})"},
      {2, R"({"kind":"line","section":"PageHeader","control":"Line1","text":null,"left":720,"top":1200,)"
          R"("width":10800,"height":0,"align":null,"font":null,"size":null,"bold":null,"italic":null,)"
          R"("fill":null,"hyperlink":null})"},
      {3, R"({"kind":"text","section":"Detail","control":"txtAccountNo","text":"1000","left":720,"top":1440,)"
          R"("width":1000,"height":200,"align":"left","font":"Arial","size":8.0,"bold":false,"italic":false,)"
          R"("fill":null,"hyperlink":"C001"})"},
      // The deferred page count arrives resolved.
      {10, R"({"kind":"text","section":"PageFooter","control":"txtPageCount","text":"2","left":10000,)"
           R"("top":14400,"width":1520,"height":200,"align":"right","font":"Arial","size":8.0,"bold":false,)"
           R"("italic":false,"fill":null,"hyperlink":null})"},
  };
  for (const Case& c : kCases) {
    ASSERT_LT(c.index, page["items"].size());
    EXPECT_EQ(Keys(page["items"][c.index]), kItemKeys) << c.index;
    EXPECT_EQ(page["items"][c.index].dump(), c.expected) << c.index;
  }
  ASSERT_EQ(json["toc"].size(), 3u);
  EXPECT_EQ(json["toc"][1].dump(), R"({"text":"Cash in Bank","level":1,"page":1})");
  // One item per line, so a golden file's diff shows the item that moved.
  EXPECT_NE(out.str().find("\n    {\"kind\":\"text\",\"section\":\"Detail\",\"control\":\"txtAccountNo\""),
            std::string::npos);
}

}  // namespace
}  // namespace vob::render
