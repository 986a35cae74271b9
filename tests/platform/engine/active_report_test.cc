// The layout tables a report declares, and its lookups by name: the refusals, with messages that name what
// is wrong. What the tables build, and groups found by the names a layout gives them, every demo run's page
// dump shows.
#include "platform/engine/active_report.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/vb/error.h"

namespace vob::engine {
namespace {

// Declares whatever rows a case gives it.
class DeclaredReport final : public ActiveReport {
 public:
  DeclaredReport(std::span<const SectionRow> sections, std::span<const ControlRow> controls) {
    Declare(sections, controls);
  }
};

constexpr SectionRow kSections[] = {{kGroupHeader1, 200, "CustomerID"}, {kDetail, 200}};
constexpr ControlRow kControls[] = {
    {kGroupHeader1, "txtId", kText, 0, 0, 1000, 200, "CustomerID"},
    {kDetail, "imgLogo", kImage, 0, 0, 500, 500},
    {kDetail, "dataMain", kData, 0, 0, 0, 0, "SELECT * FROM Customers"},
};

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
