// Where section instances land on pages: footers with their last line, page numbers of the page printed on,
// sections taller than a page, label columns across and down.
#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace vob::engine {
namespace {

using testing::Dump;
using testing::ItemsOf;
using testing::MemoryRows;
using testing::RunToModel;
using testing::TestReport;

// Letter with 1-inch margins: the body runs from 1440 + 200 (page header) + 200 (banner) to 15840 - 1440 -
// 200 (page footer), 61 lines of 200.
constexpr SectionRow kSections[] = {
    {kPageHeader, 200}, {kBannerHeader, 200}, {kGroupHeader1, 200, "Group"},
    {kDetail, 200},     {kGroupFooter1, 200}, {kBannerFooter, 200},
    {kPageFooter, 200},
};

//  section          control          kind          left top width height field
constexpr ControlRow kControls[] = {
    {kBannerHeader, "lblId", kLabel, 0, 0, 1000, 200, "Id"},
    {kGroupHeader1, "txtGroup", kText, 0, 0, 1000, 200, "Group"},
    {kDetail, "txtId", kText, 0, 0, 1000, 200, "Id"},
    {kDetail, "txtOnPage", kPageNumber, 2000, 0, 1000, 200},
    {kDetail, "dataMain", kData},
    {kGroupFooter1, "txtGroupTotal", kGroupSum, 0, 0, 1000, 200, "Id"},
    {kBannerFooter, "txtTotal", kReportSum, 0, 0, 1000, 200, "Id"},
    {kPageFooter, "txtPage", kPageNumber, 0, 0, 500, 200, "", "\"Page \"0"},
};

// Rows 1..count, the first group_a of them in group A, the rest in B.
std::shared_ptr<data::Recordset> Rows(int count, int group_a) {
  std::vector<std::vector<vb::Variant>> rows;
  for (int id = 1; id <= count; ++id) rows.push_back({id <= group_a ? "A" : "B", id});
  return MemoryRows({{"Group", data::FieldType::kText}, {"Id", data::FieldType::kLong}}, rows);
}

// The texts of page 2 below the repeated banner, without the page number columns.
std::vector<std::string> BodyOfPage2(const PageModel& model) {
  std::vector<std::string> body;
  for (const std::string& line : Dump(model, 1)) {
    if (line.starts_with("lblId=") || line.starts_with("txtOnPage=") || line.starts_with("txtPage="))
      continue;
    body.push_back(line);
  }
  body.resize(std::min<size_t>(body.size(), 4));
  return body;
}

TEST(GroupFooter, StaysWithLastRowAtPageEnd) {
  struct Case {
    int rows, group_a;
    std::vector<std::string> page2;
  };
  const Case kCases[] = {
      // Header and 60 lines fill page 1: the footer takes line 60 with it.
      {61, 60, {"txtId=60", "txtGroupTotal=1830", "txtGroup=B", "txtId=61"}},
      // The group footer fits; the banner footer (the outermost group's) takes the last line and the footer.
      {59, 59, {"txtId=59", "txtGroupTotal=1770", "txtTotal=1770"}},
      // The last line is the first of its group: its header goes over with it.
      {58, 57, {"txtGroup=B", "txtId=58", "txtGroupTotal=58", "txtTotal=1711"}},
      // Line 61 goes over by itself; the footer follows it as ever.
      {62, 61, {"txtId=61", "txtGroupTotal=1891", "txtGroup=B", "txtId=62"}},
  };
  for (const Case& c : kCases) {
    TestReport report(kSections, kControls);
    report.rows = Rows(c.rows, c.group_a);
    PageModel model = RunToModel(report);
    ASSERT_EQ(model.pages().size(), 2u) << c.rows;
    EXPECT_EQ(BodyOfPage2(model), c.page2) << c.rows;
    // What moved sits under the banner (item 0), where page 2's body begins.
    EXPECT_EQ(model.pages()[1].items.at(1).top, 1440 + 400) << c.rows;
  }
}

TEST(PageNumber, ShowsThePageItIsPrintedOnOutsideHeaderAndFooter) {
  TestReport report(kSections, kControls);
  report.rows = Rows(130, 130);
  PageModel model = RunToModel(report);
  ASSERT_EQ(model.pages().size(), 3u);
  for (size_t page = 0; page < 3; ++page) {
    std::string number = std::to_string(page + 1);
    for (const PageItem& item : ItemsOf(model, page, "txtOnPage")) ASSERT_EQ(item.text, number) << page;
    EXPECT_EQ(ItemsOf(model, page, "txtPage").at(0).text, "Page " + number);
  }
  // Row 61 was bound while page 1 was open, then went over to page 2.
  EXPECT_EQ(ItemsOf(model, 1, "txtId").at(0).text, "61");
}

// A kept group header over one detail line whose note is taller than an empty page.
class TallNoteReport final : public TestReport {
 public:
  TallNoteReport() : TestReport(kTallSections, kTallControls) {
    Sections(kGroupHeader1).set_keeps_together(true);
  }
  static constexpr SectionRow kTallSections[] = {{kGroupHeader1, 200, "Group"}, {kDetail, 200}};
  static constexpr ControlRow kTallControls[] = {
      {kGroupHeader1, "txtGroup", kText, 0, 0, 1000, 200, "Group"},
      {kDetail, "txtNote", kText, 0, 0, 3000, 200, "Note", "", Align::kLeft, {}, kCanGrow},
      {kDetail, "dataMain", kData},
  };
};

TEST(KeepTogether, SplitsASectionTallerThanAnEmptyPage) {
  std::string tall;
  for (int line = 1; line <= 150; ++line) tall += (line > 1 ? "\n" : "") + std::to_string(line);
  TallNoteReport report;
  report.rows = MemoryRows({{"Group", data::FieldType::kText}, {"Note", data::FieldType::kText}},
                           {{"A", "short"}, {"B", tall}});
  PageModel model = RunToModel(report);
  // 150 lines of 160 twips: the note starts under B's header on page 1 (77 lines) rather than leaving the
  // header alone there, and goes on over page 2.
  ASSERT_EQ(model.pages().size(), 2u);
  EXPECT_EQ(Dump(model, 0).at(2), "txtGroup=B");
  std::vector<PageItem> notes = ItemsOf(model, 0, "txtNote");
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[1].top, 1440 + 600);
  EXPECT_EQ(notes[1].text.substr(0, 2), "1\n");
  std::string last = ItemsOf(model, 1, "txtNote").at(0).text;
  EXPECT_EQ(last.substr(last.rfind('\n') + 1), "150");
}

// A sheet of labels set up as the label report does at report start: 3 across, 10 down, 1-inch pitch, a new
// column after every tenth label.
class LabelSheetReport final : public TestReport {
 public:
  LabelSheetReport() : TestReport(kLabelSections, kLabelControls) {}
  void ActiveReport_ReportStart() override {
    PageSettings& page = page_settings();
    page.top_margin = 720;
    page.left_margin = 270;
    page.right_margin = page.bottom_margin = 0;
    set_print_width(3960 * 3 - 50);
    Section& detail = Sections(kDetail);
    detail.set_height(1440);
    detail.set_columns(3);
    detail.set_column_spacing(3960 - 3780);
    Controls("txtLabel").set_width(3780);
  }
  void Detail_Format() override {
    if (mNumberDown == 0) return;
    mRowCount = (mRowCount + 1) % mNumberDown;
    Sections(kDetail).set_new_column(mRowCount == 0 ? 2 : 0);
  }
  static constexpr SectionRow kLabelSections[] = {{kDetail, 1000}};
  static constexpr ControlRow kLabelControls[] = {
      {kDetail, "txtLabel", kText, 0, 0, 1000, 1440, "Id"},
      {kDetail, "dataMain", kData},
  };
  int mRowCount = 0, mNumberDown = 10;
};

TEST(Columns, FillLabelSheetsAcrossAndDownAndNeverSplitALabel) {
  // A new column on request after every tenth label, or none: the eleventh would cross the page's bottom.
  for (int number_down : {10, 0}) {
    LabelSheetReport report;
    report.mNumberDown = number_down;
    report.rows = Rows(35, 35);
    PageModel model = RunToModel(report);
    ASSERT_EQ(model.pages().size(), 2u) << number_down;
    std::vector<PageItem> page1 = ItemsOf(model, 0, "txtLabel");
    ASSERT_EQ(page1.size(), 30u) << number_down;
    // Columns are (11830 - 2 * 180) / 3 = 3823 wide and 4003 apart.
    const int32_t kLefts[] = {270, 4273, 8276};
    for (size_t i = 0; i < page1.size(); ++i) {
      EXPECT_EQ(page1[i].text, std::to_string(i + 1));
      EXPECT_EQ(page1[i].left, kLefts[i / 10]) << page1[i].text;
      EXPECT_EQ(page1[i].top, 720 + static_cast<int32_t>(i % 10) * 1440) << page1[i].text;
      EXPECT_LE(page1[i].top + page1[i].height, 15840) << page1[i].text;
    }
    std::vector<PageItem> page2 = ItemsOf(model, 1, "txtLabel");
    ASSERT_EQ(page2.size(), 5u);
    EXPECT_EQ(page2.front().text, "31");
    EXPECT_EQ(page2.front().left, 270);
    EXPECT_EQ(page2.front().top, 720);
  }
}

}  // namespace
}  // namespace vob::engine
