// Section instances as bands: per-instance shading and visibility, text that grows, bands cut over pages.
#include "platform/engine/band_builder.h"

#include <gtest/gtest.h>

#include <array>

#include "engine_test_support.h"

namespace vob::engine {
namespace {

using testing::Column;
using testing::Dump;
using testing::ItemsOf;
using testing::MemoryRows;
using testing::RunToModel;
using testing::TestReport;

constexpr SectionRow kSections[] = {{kDetail, 200}};

//  section    control     kind    left top  width height field
constexpr ControlRow kControls[] = {
    {kDetail, "txtName", kText, 0, 0, 1000, 200, "Name"},
    {kDetail, "txtNote", kText, 1000, 0, 1000, 200, "Note", "", Align::kLeft, {}, kCanGrow},
    {kDetail, "lineUnder", kLine, 0, 200, 3000, 0},
    {kDetail, "dataMain", kData},
};

std::shared_ptr<data::Recordset> Rows(const std::vector<std::vector<vb::Variant>>& rows) {
  return MemoryRows({{"Name", data::FieldType::kText}, {"Note", data::FieldType::kText}}, rows);
}

// Shades every other line and hides a name that is "-"; both settings stay until changed again.
class ShadedReport final : public TestReport {
 public:
  ShadedReport() : TestReport(kSections, kControls) {}
  void Detail_Format() override {
    Section& detail = Sections("Detail");
    if (mRowCount % 2 == 0) {
      detail.set_back_style(kBackStyleOpaque);
      detail.set_back_color({240, 240, 240});
    } else {
      detail.set_back_style(kBackStyleTransparent);
    }
    ++mRowCount;
    if (Fields("Name").value().str() == "-") Controls("txtName").set_visible(false);
    if (Fields("Name").value().str() == "+") Controls("txtName").set_visible(true);
  }
  int mRowCount = 0;
};

TEST(BandBuilder, ShadesAndHidesPerInstance) {
  ShadedReport report;
  report.rows = Rows({{"a", ""}, {"-", ""}, {"b", ""}, {"+", ""}});
  PageModel model = RunToModel(report);
  EXPECT_EQ(Dump(model, 0),
            (std::vector<std::string>{"rect@1440", "txtName=a", "lineUnder@1640", "lineUnder@1840",
                                      "rect@1840", "lineUnder@2040", "txtName=+", "lineUnder@2240"}));
  const PageItem& shade = model.pages()[0].items[0];
  EXPECT_EQ(shade.color, (Color{240, 240, 240}));
  EXPECT_EQ(shade.width, 12240 - 2 * 1440);
  EXPECT_EQ(shade.height, 200);
}

TEST(BandBuilder, GrowsTextAndPushesWhatLiesBelow) {
  ShadedReport report;
  // 8 pt: 80 twips a character, so 12 fit the 1000 twips of txtNote; lines are 160 twips.
  report.rows = Rows({{"a", "one two three four five six"}, {"b", "short"}});
  PageModel model = RunToModel(report);
  std::vector<PageItem> notes = ItemsOf(model, 0, "txtNote");
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].text, "one two\nthree four\nfive six");
  EXPECT_EQ(notes[0].height, 480);
  std::vector<PageItem> lines = ItemsOf(model, 0, "lineUnder");
  EXPECT_EQ(lines[0].top, 1440 + 200 + 280);         // pushed down by the growth
  EXPECT_EQ(notes[1].top, 1440 + 480);               // the next row starts below the grown one
  EXPECT_EQ(model.pages()[0].items[0].height, 480);  // the shading grows with its section
}

TEST(BandBuilder, CutsABandTallerThanAPageBetweenLines) {
  ShadedReport report;
  std::string note;
  for (int line = 1; line <= 100; ++line) note += (line > 1 ? "\n" : "") + std::to_string(line);
  report.rows = Rows({{"a", note}});
  PageModel model = RunToModel(report);
  // 12960 twips of body hold 81 lines of 160; the other 19 and the rest of the band go on page 2.
  ASSERT_EQ(model.pages().size(), 2u);
  std::vector<PageItem> first = ItemsOf(model, 0, "txtNote"), second = ItemsOf(model, 1, "txtNote");
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(first[0].text.substr(first[0].text.rfind('\n') + 1), "81");
  EXPECT_EQ(second[0].text.substr(0, second[0].text.find('\n')), "82");
  EXPECT_EQ(second[0].top, 1440);
  EXPECT_EQ(ItemsOf(model, 1, "lineUnder").at(0).top, 1440 + 16000 - 12960);
  EXPECT_EQ(model.pages()[0].items[0].height, 12960);  // the shading is cut too
}

// One text box of a size the test chooses.
class BoxReport final : public TestReport {
 public:
  BoxReport(int32_t width, int32_t height)
      : TestReport(kSections,
                   std::array<ControlRow, 2>{{{kDetail, "txtBox", kText, 0, 0, width, height, "Name"},
                                              {kDetail, "dataMain", kData}}}) {}
};

TEST(TextBox, ClipsTextThatCannotGrowToItsBox) {
  // 8 pt: 80 twips a byte, lines 160 apart with the baseline 128 below their top; half a point may overhang.
  struct Case {
    const char* text;
    int32_t width, height;
    const char* printed;
  };
  const Case kCases[] = {
      {"abcdefghijklmn", 1000, 200, "abcdefghijkl"},
      {"abcdefghijklm", 1030, 200, "abcdefghijklm"},  // 10 twips over: the last glyph's blank side
      {"abcdefghijk lmn", 1000, 200, "abcdefghijk"},  // no blank left at the cut
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 500, 200, "\xC3\xA9\xC3\xA9\xC3\xA9"},  // cut between characters
      {"one\ntwo\nthree", 1000, 200, "one"},
      {"one\ntwo\nthree", 1000, 480, "one\ntwo\nthree"},
      {"one two three\nfour", 700, 300, "one two\nthree"},  // lines wrap as ever, then the box cuts
      {"one\ntwo", 1000, 0, "one"},                         // the first line always prints
      {"one  \r\ntwo ", 1000, 480, "one\ntwo"},             // line ends and trailing blanks go
      {"abcd\nefgh", 320, 480, "abcd\nefgh"},               // exactly as wide as the box
      {"one two\nx", 545, 480, "one\ntwo\nx"},              // a first line a little too wide
      {"one\nfour five six\nseven", 700, 480, "one\nfour\nfive six"},  // a middle line wraps
  };
  for (const Case& c : kCases) {
    BoxReport report(c.width, c.height);
    report.rows = Rows({{c.text, ""}});
    PageModel model = RunToModel(report);
    EXPECT_EQ(ItemsOf(model, 0, "txtBox").at(0).text, c.printed) << c.text << " in " << c.width;
  }
}

}  // namespace
}  // namespace vob::engine
