// The fill over a small grouped listing: event order, group breaks, sums, paging, repeats, records and
// errors.
#include "platform/engine/report_fill.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "engine_test_support.h"
#include "platform/vb/conversions.h"
#include "platform/vb/error.h"

namespace vob::engine {
namespace {

using testing::Column;
using testing::Dump;
using testing::ItemsOf;
using testing::MemoryRows;
using testing::RunToModel;
using testing::TestReport;

constexpr const char* kAmount = "#,##0.00;(#,##0.00)";

constexpr SectionRow kSections[] = {
    {kPageHeader, 200}, {kBannerHeader, 200}, {kGroupHeader1, 200, "Group"},
    {kDetail, 200},     {kGroupFooter1, 200}, {kBannerFooter, 200},
    {kPageFooter, 200},
};

//  section          control          kind         left top width height field / caption  format
constexpr ControlRow kControls[] = {
    {kBannerHeader, "lblAmount", kLabel, 2000, 0, 1000, 200, "Amount"},
    {kGroupHeader1, "txtGroup", kText, 0, 0, 2000, 200, "Group"},
    {kDetail, "txtId", kText, 0, 0, 1000, 200, "Id"},
    {kDetail, "txtAmount", kText, 2000, 0, 1000, 200, "Amount", kAmount, Align::kRight},
    {kDetail, "dataMain", kData},
    {kGroupFooter1, "txtGroupTotal", kGroupSum, 2000, 0, 1000, 200, "Amount", kAmount, Align::kRight},
    {kBannerFooter, "txtTotal", kReportSum, 2000, 0, 1000, 200, "Amount", kAmount, Align::kRight},
    {kPageFooter, "txtPage", kPageNumber, 0, 0, 500, 200},
    {kPageFooter, "txtPages", kPageCount, 600, 0, 500, 200},
};

std::shared_ptr<data::Recordset> Rows(const std::vector<std::vector<vb::Variant>>& rows) {
  return MemoryRows({{"Group", data::FieldType::kText},
                     {"Id", data::FieldType::kLong},
                     {"Amount", data::FieldType::kCurrency}},
                    rows);
}

vb::Variant Money(double amount) {
  return vb::Variant(vb::Currency::FromDouble(amount));
}

// Records every handler; footers note the row they show and whether the recordset has moved to its end.
class TracingReport final : public TestReport {
 public:
  TracingReport() : TestReport(kSections, kControls) {}
  void ActiveReport_ReportStart() override { trace.push_back("ReportStart"); }
  void ActiveReport_FetchData(bool&) override { trace.push_back("FetchData " + Id()); }
  void ActiveReport_PageStart() override { trace.push_back("PageStart"); }
  void ActiveReport_PageEnd() override { trace.push_back("PageEnd"); }
  void ActiveReport_ReportEnd() override { trace.push_back("ReportEnd"); }
  void PageHeader_Format() override { trace.push_back("PageHeader_Format"); }
  void PageHeader_BeforePrint() override { trace.push_back("PageHeader_BeforePrint"); }
  void BannerHeader_Format() override { trace.push_back("BannerHeader_Format"); }
  void BannerHeader_BeforePrint() override { trace.push_back("BannerHeader_BeforePrint"); }
  void GroupHeader1_Format() override { trace.push_back("GroupHeader1_Format " + Id()); }
  void GroupHeader1_BeforePrint() override { trace.push_back("GroupHeader1_BeforePrint"); }
  void Detail_Format() override { trace.push_back("Detail_Format " + Id()); }
  void Detail_BeforePrint() override { trace.push_back("Detail_BeforePrint"); }
  void GroupFooter1_Format() override {
    bool eof = Controls<DataControl>("dataMain").recordset().eof();
    trace.push_back("GroupFooter1_Format " + Id() + (eof ? " eof" : "") + " " +
                    Controls<TextBox>("txtGroupTotal").text());
  }
  void GroupFooter1_BeforePrint() override { trace.push_back("GroupFooter1_BeforePrint"); }
  void BannerFooter_Format() override { trace.push_back("BannerFooter_Format"); }
  void BannerFooter_BeforePrint() override { trace.push_back("BannerFooter_BeforePrint"); }
  void PageFooter_Format() override { trace.push_back("PageFooter_Format"); }
  void PageFooter_BeforePrint() override { trace.push_back("PageFooter_BeforePrint"); }

 private:
  std::string Id() { return vb::GeneralText(Fields("Id").value()); }
};

TEST(ReportFill, CallsHandlersInTheContractOrder) {
  auto report = MakeReport<TracingReport>();
  auto& tracing = static_cast<TracingReport&>(*report);
  tracing.rows = Rows({{"A", 1, Money(10)}, {"A", 2, Money(20.5)}, {"B", 3, Money(-5)}});
  RunToModel(*report);
  const std::vector<std::string> expected = {
      "DataInitialize",
      "ReportStart",
      "FetchData 1",
      "BannerHeader_Format",
      "PageStart",
      "PageHeader_Format",
      "PageHeader_BeforePrint",
      "BannerHeader_BeforePrint",
      "GroupHeader1_Format 1",
      "GroupHeader1_BeforePrint",
      "Detail_Format 1",
      "Detail_BeforePrint",
      "FetchData 2",
      "Detail_Format 2",
      "Detail_BeforePrint",
      "FetchData 3",
      "GroupFooter1_Format 2 30.50",  // the group's last row, the recordset already on row 3
      "GroupFooter1_BeforePrint",
      "GroupHeader1_Format 3",
      "GroupHeader1_BeforePrint",
      "Detail_Format 3",
      "Detail_BeforePrint",
      "GroupFooter1_Format 3 eof (5.00)",
      "GroupFooter1_BeforePrint",
      "BannerFooter_Format",
      "BannerFooter_BeforePrint",
      "PageFooter_Format",
      "PageFooter_BeforePrint",
      "PageEnd",
      "ReportEnd",
  };
  EXPECT_EQ(tracing.trace, expected);
}

// An unbound field added before the data is bound moves behind the columns when it is: a handler asking for
// it by the same literal before and after still reaches it, not the column now in its old slot.
class NoteReport final : public TestReport {
 public:
  NoteReport() : TestReport(kSections, kControls) {}
  static constexpr const char* kNote = "Note";
  void ActiveReport_DataInitialize() override {
    TestReport::ActiveReport_DataInitialize();
    Fields().Add(kNote);
    Fields(kNote).set_value("kept");
  }
  void Detail_Format() override { notes.push_back(vb::GeneralText(Fields(kNote).value())); }
  std::vector<std::string> notes;
};

TEST(ReportFill, FindsUnboundFieldsAfterTheDataIsBound) {
  auto report = MakeReport<NoteReport>();
  auto& noting = static_cast<NoteReport&>(*report);
  noting.rows = Rows({{"A", 1, Money(10)}, {"B", 2, Money(20)}});
  RunToModel(*report);
  EXPECT_EQ(noting.notes, (std::vector<std::string>{"kept", "kept"}));
}

// A listing whose group header adds a table-of-contents entry and links to its group. A group header that
// starts a page in its own Format, as the chart of accounts' does, is pinned by that report's demo page dump.
class GroupedReport final : public TestReport {
 public:
  explicit GroupedReport(std::string_view break_field) : TestReport(kSections, kControls) {
    Sections(kGroupHeader1).set_break_field(std::string(break_field));
  }
  void GroupHeader1_Format() override {
    auto& group = Controls<TextBox>("txtGroup");
    TOC().Add("Groups\\" + group.text());
    group.set_hyperlink("R:group;" + group.text());
  }
};

TEST(ReportFill, BreaksGroupsOnBareAndQualifiedNames) {
  for (std::string_view field : {"Group", "group", "Rows.Group"}) {
    GroupedReport report(field);
    report.rows = Rows({{"A", 1, Money(1)}, {"B", 2, Money(2)}, {"B", 3, Money(3)}, {"A", 4, Money(4)}});
    PageModel model = RunToModel(report);
    std::vector<std::string> groups;
    for (const PageItem& item : ItemsOf(model, 0, "txtGroup"))
      groups.push_back(item.text + " " + item.hyperlink);
    EXPECT_EQ(groups, (std::vector<std::string>{"A R:group;A", "B R:group;B", "A R:group;A"})) << field;
    std::vector<std::string> totals;
    for (const PageItem& item : ItemsOf(model, 0, "txtGroupTotal")) totals.push_back(item.text);
    EXPECT_EQ(totals, (std::vector<std::string>{"1.00", "5.00", "4.00"})) << field;
    EXPECT_EQ(ItemsOf(model, 0, "txtTotal").at(0).text, "10.00") << field;
  }
}

// Records the repeat flag of each group header instance. How repeated headers print, flag and all, the
// partner analyses' demo page dumps show.
class RepeatingReport final : public TestReport {
 public:
  RepeatingReport() : TestReport(kSections, kControls) { Sections(kGroupHeader1).set_repeats(true); }
  void GroupHeader1_Format() override {
    repeats.push_back(Sections(kGroupHeader1).is_repeating());
    Controls<TextBox>("txtGroup")
        .set_text(Fields("Group").value().str() + (repeats.back() ? " (continued)" : ""));
  }
  std::vector<bool> repeats;
};

TEST(ReportFill, KeepsAGroupHeaderWithItsFirstLineWhenAsked) {
  for (bool keeps_together : {false, true}) {
    GroupedReport report("Group");
    report.Sections(kGroupHeader1).set_keeps_together(keeps_together);
    // Page 1 holds 61 lines under the banner: group A takes 60, so B's header gets the last one.
    std::vector<std::vector<vb::Variant>> rows;
    for (int id = 1; id <= 60; ++id) rows.push_back({id <= 58 ? "A" : "B", id, Money(1)});
    report.rows = Rows(rows);
    PageModel model = RunToModel(report);
    EXPECT_EQ(ItemsOf(model, 0, "txtGroup").size(), keeps_together ? 1u : 2u) << keeps_together;
    EXPECT_EQ(Dump(model, 1).at(1), keeps_together ? "txtGroup=B" : "txtId=59") << keeps_together;
  }
}

TEST(ReportFill, KeepsAGroupHeaderWithItsFooterWhenDetailsAreHidden) {
  GroupedReport report("Id");
  report.Sections(kGroupHeader1).set_keeps_together(true);
  report.Sections(kDetail).set_visible(false);  // a summary: one header and one total per group
  std::vector<std::vector<vb::Variant>> rows;
  for (int id = 1; id <= 200; ++id) rows.push_back({"A", id, Money(1)});
  report.rows = Rows(rows);
  PageModel model = RunToModel(report);
  ASSERT_GT(model.pages().size(), 1u);
  for (size_t page = 0; page < model.pages().size(); ++page) {
    EXPECT_EQ(ItemsOf(model, static_cast<int>(page), "txtGroup").size(),
              ItemsOf(model, static_cast<int>(page), "txtGroupTotal").size())
        << "page " << page + 1 << " splits a group from its total";
  }
}

// Writes each record as "Section(group value) cell cell ...": a cell is its value, 'text' when a handler set
// the text, "-" when the box did not print.
class RecordingSink final : public RecordSink {
 public:
  void Begin(const DocumentInfo&, const RecordLayout& layout) override {
    row_section = layout.row_section;
    for (const RecordControl& box : layout.boxes) boxes.push_back(box.name);
  }
  void AddRecord(const Record& record) override {
    std::string line(SectionName(record.section));
    if (record.group_value != nullptr) line += "(" + vb::GeneralText(*record.group_value) + ")";
    for (const RecordCell& cell : record.cells) {
      line += " " + (!cell.is_visible   ? std::string("-")
                     : cell.is_text_set ? "'" + *cell.text + "'"
                                        : vb::GeneralText(*cell.value));
    }
    records.push_back(line);
  }
  void End() override { records.push_back("End"); }

  SectionId row_section = kSectionCount;
  std::vector<std::string> boxes, records;
};

// Hides the second line, then the third's id, and writes the last group's total by hand in BeforePrint.
class HidingReport final : public TestReport {
 public:
  HidingReport() : TestReport(kSections, kControls) {}
  void Detail_Format() override {
    const int32_t id = Fields("Id").value().long_value();
    Sections(kDetail).set_visible(id != 2);
    Controls<TextBox>("txtId").set_visible(id != 3);
  }
  void GroupFooter1_BeforePrint() override {
    if (Fields("Group").value().str() == "B") Controls<TextBox>("txtGroupTotal").set_text("none");
  }
};

TEST(ReportFill, HandsPrintedSectionsToTheRecordSink) {
  HidingReport report;
  report.rows = Rows({{"A", 1, Money(1)}, {"A", 2, Money(2)}, {"B", 3, Money(3)}});
  testing::FixedWidthMeasurer measurer;
  PageModel model;
  RecordingSink records;
  engine::Run(report, RunContext{measurer, model, "test", "Test"}, records);
  EXPECT_EQ(records.row_section, kDetail);
  EXPECT_EQ(records.boxes,
            (std::vector<std::string>{"txtGroup", "txtId", "txtAmount", "txtGroupTotal", "txtTotal"}));
  EXPECT_EQ(records.records, (std::vector<std::string>{"GroupHeader1(A) A", "Detail 1 1", "GroupFooter1 3",
                                                       "GroupHeader1(B) B", "Detail - 3",
                                                       "GroupFooter1 'none'", "BannerFooter 6", "End"}));
}

// A summary's group footers are its rows, as the receivable aging's export shows (export_test.py); a group
// header printed again on a new page is no record of its own.
TEST(ReportFill, SkipsRepeatedGroupHeadersInTheRecords) {
  RepeatingReport report;  // group A's header prints again on page 2
  std::vector<std::vector<vb::Variant>> rows;
  for (int id = 1; id <= 100; ++id) rows.push_back({id <= 90 ? "A" : "B", id, Money(id)});
  report.rows = Rows(rows);
  testing::FixedWidthMeasurer measurer;
  PageModel model;
  RecordingSink records;
  engine::Run(report, RunContext{measurer, model, "test", "Test"}, records);
  ASSERT_EQ(report.repeats.size(), 3u);
  EXPECT_EQ(std::count_if(records.records.begin(), records.records.end(),
                          [](const std::string& line) { return line.starts_with("GroupHeader1"); }),
            2);
}

TEST(ReportFill, PrintsAnEmptyReportOnOnePage) {
  GroupedReport report("Group");
  report.rows = Rows({});
  PageModel model = RunToModel(report);
  ASSERT_EQ(model.pages().size(), 1u);
  EXPECT_EQ(Dump(model, 0),
            (std::vector<std::string>{"lblAmount=Amount", "txtTotal=0.00", "txtPage=1", "txtPages=1"}));
  EXPECT_EQ(report.trace,
            (std::vector<std::string>{"DataInitialize"}));  // no FetchData at the end of the data
}

// Without a data control the handler supplies rows by clearing eof; a run twice keeps the report's variables.
class UnboundReport final : public ActiveReport {
 public:
  UnboundReport() {
    static constexpr SectionRow kRows[] = {{kDetail, 200}};
    static constexpr ControlRow kTexts[] = {{kDetail, "txtRow", kText, 0, 0, 1000, 200, "fldRow"}};
    Declare(kRows, kTexts);
  }
  void ActiveReport_DataInitialize() override { Fields().Add("fldRow"); }
  void ActiveReport_FetchData(bool& eof) override {
    if (mRowsThisRun == 3) return;
    Fields("FLDROW").set_value(++mRowCount);
    ++mRowsThisRun;
    eof = false;
  }
  void ActiveReport_ReportEnd() override { mRowsThisRun = 0; }
  int mRowCount = 0, mRowsThisRun = 0;
};

TEST(ReportFill, RunsUnboundAndKeepsReportVariablesBetweenRuns) {
  UnboundReport report;
  EXPECT_EQ(Dump(RunToModel(report), 0), (std::vector<std::string>{"txtRow=1", "txtRow=2", "txtRow=3"}));
  EXPECT_EQ(Dump(RunToModel(report), 0), (std::vector<std::string>{"txtRow=4", "txtRow=5", "txtRow=6"}));
}

// The rows of one group, shown under each master row by a subreport that report start adds.
class ItemsSubreport final : public TestReport {
 public:
  ItemsSubreport() : TestReport(kItemSections, kItemControls) {}
  void ActiveReport_ReportStart() override { trace.push_back("ReportStart"); }
  void ActiveReport_ReportEnd() override { trace.push_back("ReportEnd"); }
  void ActiveReport_Terminate() override { *terminated = true; }
  static constexpr SectionRow kItemSections[] = {{kReportHeader, 200}, {kDetail, 200}};
  static constexpr ControlRow kItemControls[] = {
      {kReportHeader, "lblItems", kLabel, 0, 0, 1000, 200, "Items"},
      {kDetail, "txtItem", kText, 200, 0, 1000, 200, "Group"},
      {kDetail, "dataMain", kData},
  };
  bool* terminated = nullptr;
};

class MasterReport final : public TestReport {
 public:
  MasterReport() : TestReport(kMasterSections, kMasterControls) {}
  void ActiveReport_ReportStart() override {
    auto& control = Sections(kDetail).AddControl(kSubreport, "srptItems");
    control.set_top(200);
    control.set_width(print_width());
    control.set_height(100);
    auto subreport = MakeReport<ItemsSubreport>();
    auto& items = static_cast<ItemsSubreport&>(*subreport);
    std::vector<std::vector<vb::Variant>> rows;
    for (const std::string& name : item_names) rows.push_back({name, 1, Money(0)});
    items.rows = Rows(rows);
    items.terminated = &is_subreport_terminated;
    static_cast<Subreport&>(control).set_report(std::move(subreport));
  }
  void ActiveReport_ReportEnd() override { Controls<Subreport>("SRPTITEMS").set_report(nullptr); }
  static constexpr SectionRow kMasterSections[] = {{kDetail, 400}};
  static constexpr ControlRow kMasterControls[] = {
      {kDetail, "txtId", kText, 0, 0, 1000, 200, "Id"},
      {kDetail, "lineBelow", kLine, 0, 300, 1000, 0},
      {kDetail, "dataMain", kData},
  };
  bool is_subreport_terminated = false;
  std::vector<std::string> item_names;
};

// A subreport with its own data in a section that grows with it, as the profiles' locations are (their demo
// page dumps show where the rows land); here its rows run over a page.
TEST(Subreport, GrowsToHoldItsRowsOverPages) {
  MasterReport report;
  report.rows = Rows({{"A", 1, Money(0)}});
  for (int item = 1; item <= 100; ++item) report.item_names.push_back(std::to_string(item));
  PageModel model = RunToModel(report);
  // 100 rows of 200 twips under a caption: the one detail instance goes on over two pages, cut between rows.
  ASSERT_EQ(model.pages().size(), 2u);
  std::vector<std::string> printed;
  for (size_t page = 0; page < 2; ++page) {
    for (const PageItem& item : ItemsOf(model, page, "txtItem")) {
      printed.push_back(item.text);
      EXPECT_LE(item.top + item.height, 15840 - 1440) << item.text;
    }
  }
  EXPECT_EQ(printed, report.item_names);
  EXPECT_GT(ItemsOf(model, 1, "lineBelow").at(0).top, ItemsOf(model, 1, "txtItem").back().top);
  EXPECT_TRUE(report.is_subreport_terminated);
}

// Fails in the handler a test names.
class FailingReport final : public TestReport {
 public:
  explicit FailingReport(std::string handler)
      : TestReport(kSections, kControls), handler_(std::move(handler)) {}
  void ActiveReport_DataInitialize() override {
    TestReport::ActiveReport_DataInitialize();
    if (handler_ == "DataInitialize") vb::Raise(vb::kSubscriptOutOfRange);
    if (handler_ == "dataMain") {
      auto& data = Controls<DataControl>("dataMain");
      data.set_recordset(nullptr);
      const std::string empty = ::testing::TempDir() + "empty-" + std::to_string(getpid()) + ".sqlite";
      std::ofstream{empty};  // an empty file is a database without tables
      data.set_connection_string("Provider=SQLite;Data Source=" + empty + ";");
      data.set_source("SELECT * FROM Nowhere");
    }
    if (handler_ == "binding") Controls<TextBox>("txtId").set_data_field("Identifier");
  }
  void Detail_Format() override {
    if (handler_ == "Detail_Format") vb::CLng(Fields("Group").value());
  }

 private:
  std::string handler_;
};

// Counts the sink's calls, to check that a failed run ends none.
class CountingSink final : public PageSink {
 public:
  void Begin(const DocumentInfo&) override { ++begins; }
  void AddPage(const DocumentInfo&, Page) override { ++pages; }
  void End(const DocumentInfo&, const DocumentEnd&) override { ++ends; }
  int begins = 0, pages = 0, ends = 0;
};

TEST(ReportFill, NamesTheReportHandlerAndClassicErrorOfAFailure) {
  struct Case {
    const char* handler;
    const char* message_start;
    int number;
  };
  const Case kCases[] = {
      {"DataInitialize", "FailingReport, ActiveReport_DataInitialize: error 9: Subscript out of range", 9},
      {"Detail_Format", "FailingReport, Detail_Format: error 13: Type mismatch", 13},
      {"binding", "FailingReport, Detail: txtId is bound to \"Identifier\", which is neither a column", 0},
      {"dataMain", "FailingReport, dataMain: ", 0},
  };
  for (const Case& c : kCases) {
    FailingReport report(c.handler);
    report.rows = Rows({{"A", 1, Money(1)}});
    testing::FixedWidthMeasurer measurer;
    CountingSink sink;
    try {
      engine::Run(report, RunContext{measurer, sink, "failing", ""});
      ADD_FAILURE() << c.handler << ": no error";
    } catch (const RunError& error) {
      EXPECT_EQ(std::string(error.what()).substr(0, std::string(c.message_start).size()), c.message_start)
          << c.handler << ": " << error.what();
      EXPECT_EQ(error.number(), c.number) << c.handler;
      if (std::string(c.handler) == "dataMain") {
        EXPECT_NE(std::string(error.what()).find("SELECT * FROM Nowhere"), std::string::npos) << error.what();
      }
    }
    EXPECT_EQ(sink.ends, 0) << c.handler;
  }
}

}  // namespace
}  // namespace vob::engine
