// Building a report from its layout tables, finding sections, controls and fields by name, and the refusals.
#include "platform/engine/active_report.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/vb/error.h"
#include "platform/vb/names.h"

namespace vob::engine {
namespace {

// Declares whatever rows a case gives it.
class DeclaredReport final : public ActiveReport {
 public:
  DeclaredReport(std::span<const SectionRow> sections, std::span<const ControlRow> controls) {
    Declare(sections, controls);
  }
};

constexpr SectionRow kSections[] = {
    {kBannerHeader, 300},
    {kGroupHeader1, 200, "Customers.CustomerID", kRepeat | kKeepTogether},
    {kDetail, 200, "", kOpaque, {240, 240, 240}},
};

constexpr ControlRow kControls[] = {
    {kBannerHeader, "lblName", kLabel, 0, 0, 2000, 200, "Name", "", Align::kCenter, {"Arial", 10, true}},
    {kGroupHeader1, "txtId", kText, 0, 0, 1000, 200, "CustomerID", "@@@-@@@"},
    {kGroupFooter1, "txtTotal", kGroupSum, 0, 0, 1000, 200, "Amount", "#,##0.00"},
    {kDetail, "imgLogo", kImage, 0, 0, 500, 500},
    {kDetail, "dataMain", kData, 0, 0, 0, 0, "SELECT * FROM Customers"},
};

TEST(ActiveReport, BuildsSectionsAndControlsFromTheTables) {
  DeclaredReport report(kSections, kControls);
  EXPECT_EQ(report.Sections("bannerheader").repeats(), true);  // the banner repeats unless told otherwise
  EXPECT_EQ(report.Sections("BannerFooter").height(), 0);      // partners come with their headers
  Section& group = report.Sections(kGroupHeader1);
  EXPECT_EQ(group.break_field(), "Customers.CustomerID");
  EXPECT_TRUE(group.repeats());
  EXPECT_TRUE(group.keeps_together());
  EXPECT_EQ(report.Sections(kDetail).back_style(), kBackStyleOpaque);
  EXPECT_EQ(report.Sections(kDetail).back_color(), (Color{240, 240, 240}));

  auto& name = report.Controls<Label>("LBLNAME");
  EXPECT_EQ(name.caption(), "Name");
  EXPECT_EQ(name.font(), (FontSpec{"Arial", 10, true, false}));
  EXPECT_EQ(name.alignment(), Align::kCenter);
  auto& id = report.Controls<TextBox>("txtid");
  EXPECT_EQ(id.data_field(), "CustomerID");
  EXPECT_EQ(id.output_format(), "@@@-@@@");
  EXPECT_EQ(id.font(), (FontSpec{"Arial", 8, false, false}));  // the default font
  EXPECT_EQ(report.Controls<TextBox>("txtTotal").summary(), TextBox::Summary::kGroup);
  EXPECT_EQ(&report.Controls("txtTotal").section(), &report.Sections(kGroupFooter1));
  EXPECT_EQ(report.Controls<DataControl>("dataMain").source(), "SELECT * FROM Customers");
  EXPECT_EQ(report.print_width(), 12240 - 2 * 1440);
  report.printer().paper_size = kPaperA4;
  report.page_settings().orientation = kLandscape;
  EXPECT_EQ(report.paper_width(), 16838);
  EXPECT_EQ(report.print_width(), 16838 - 2 * 1440);
}

TEST(ActiveReport, RejectsLayoutsThatDoNotHoldTogether) {
  struct Case {
    std::vector<SectionRow> sections;
    std::vector<ControlRow> controls;
    const char* message;
  };
  const Case kCases[] = {
      {{{kDetail, 200}},
       {{kPageFooter, "txtPage", kPageNumber}},
       "DeclaredReport: control \"txtPage\" is in section \"PageFooter\", which the layout does not declare"},
      {{{kDetail, 200}},
       {{kDetail, "txtA", kText}, {kDetail, "TXTA", kText}},
       "DeclaredReport has two controls named \"TXTA\""},
      {{{kDetail, 200, "", kRepeat}}, {}, "Detail: kRepeat and kKeepTogether are for group headers"},
      {{{kDetail, 200, "Group"}}, {}, "Detail: only group headers have a break field"},
      {{{kDetail, 200, "", kCanGrow}}, {}, "Detail: sections always grow; kCanGrow is for controls"},
      {{{kDetail, 200}},
       {{kDetail, "txtA", kText, 0, 0, 0, 0, "", "", Align::kLeft, {}, kNewPageAfter}},
       "DeclaredReport: control \"txtA\" takes only kHidden and kCanGrow"},
      {{{.section = kDetail, .height = 200, .name = "GroupHeader1"}},
       {},
       "Detail: only a group may take another name, that of a group section of its kind"},
      {{{.section = kGroupHeader1, .name = "GroupFooter2"}},
       {},
       "GroupHeader1: only a group may take another name, that of a group section of its kind"},
      {{{.section = kGroupHeader1, .name = "GroupHeader2"}, {kGroupHeader2}},
       {},
       "DeclaredReport has two sections named \"GroupHeader2\""},
  };
  for (const Case& c : kCases) {
    try {
      DeclaredReport report(c.sections, c.controls);
      ADD_FAILURE() << c.message << ": accepted";
    } catch (const LayoutError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

// A stored layout whose outer group is GroupHeader2: the groups nest by id and answer to their names.
TEST(ActiveReport, FindsGroupsByTheNamesTheLayoutGivesThem) {
  const SectionRow sections[] = {
      {.section = kGroupHeader1, .break_field = "CustomerID", .name = "GroupHeader2"},
      {.section = kGroupHeader2, .break_field = "ItemCode", .name = "GroupHeader1"},
      {kDetail, 200},
      {.section = kGroupFooter2, .name = "GroupFooter1"},
      {.section = kGroupFooter1, .name = "GroupFooter2"},
  };
  DeclaredReport report(sections, {});
  const std::pair<const char*, SectionId> kNames[] = {
      {"GroupHeader2", kGroupHeader1},
      {"groupheader1", kGroupHeader2},
      {"GroupFooter1", kGroupFooter2},
      {"GroupFooter2", kGroupFooter1},
      {"Detail", kDetail},
  };
  for (const auto& [name, id] : kNames) {
    EXPECT_EQ(&report.Sections(name), &report.Sections(id)) << name;
    EXPECT_TRUE(vb::SameName(report.Sections(name).name(), name)) << name;
  }
  EXPECT_EQ(report.Sections("GroupHeader2").break_field(), "CustomerID");
}

TEST(ActiveReport, NamesWhatALookupCannotFind) {
  DeclaredReport report(kSections, kControls);
  struct Case {
    std::function<void()> lookup;
    const char* message;
  };
  const Case kCases[] = {
      {[&] { report.Controls("txtMissing"); }, "DeclaredReport has no control named \"txtMissing\""},
      {[&] { report.Controls<Label>("txtId"); }, "txtId is a TextBox, not a Label"},
      {[&] { report.Sections("ReportHeader"); }, "DeclaredReport has no section named \"ReportHeader\""},
      {[&] { report.Sections(kDetail).Controls("txtId"); }, "Detail has no control named \"txtId\""},
      {[&] { report.Sections(kDetail).AddControl(kLabel, "IMGLOGO"); },
       "Detail has a control named \"IMGLOGO\" already"},
      {[&] { report.Controls<DataControl>("dataMain").recordset(); },
       "dataMain has no open recordset (the engine opens it after ActiveReport_DataInitialize)"},
  };
  for (const Case& c : kCases) {
    try {
      c.lookup();
      ADD_FAILURE() << c.message << ": found";
    } catch (const LayoutError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

TEST(ActiveReport, KeepsUnboundFieldsByNameInAnyCase) {
  DeclaredReport report(kSections, kControls);
  report.Fields().Add("fldZip");
  report.Fields("FLDZIP").set_value("12345");
  report.Fields().Add("fldzip");  // the same field: the value stays
  EXPECT_EQ(report.Fields().Count(), 1);
  EXPECT_EQ(report.Fields("fldZip").value(), vb::Variant("12345"));
  try {
    report.Fields("fldPhone");
    ADD_FAILURE() << "unknown field accepted";
  } catch (const vb::Error& error) {
    EXPECT_EQ(error.number(), vb::kSubscriptOutOfRange);
    EXPECT_STREQ(error.what(), "Subscript out of range: no field \"fldPhone\"");
  }
}

}  // namespace
}  // namespace vob::engine
