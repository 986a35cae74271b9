// Column captions from layouts shaped like the reports': stacked headings, spacers, row labels, columns a
// box spans, group keys, repeats.
#include "platform/render/export_columns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vob::render {
namespace {

using engine::RecordControl;
using engine::RecordLayout;
using namespace engine;  // section ids

struct Control {
  SectionId section;
  bool is_label;
  const char* name;
  int32_t left, top, width;
  const char* caption = "";  // a label's caption; a box's column name
  const char* field = "";
};

RecordLayout LayoutOf(SectionId row_section, int group_count, std::initializer_list<Control> controls) {
  RecordLayout layout;
  layout.row_section = row_section;
  layout.group_count = group_count;
  for (const Control& control : controls) {
    RecordControl record{control.section,
                         control.name,
                         control.caption,
                         control.left,
                         control.top,
                         control.width,
                         240,
                         control.field,
                         1};
    const bool is_value = control.section == kPageHeader || control.section == kBannerHeader;
    (control.is_label ? layout.labels : is_value ? layout.values : layout.boxes).push_back(record);
  }
  return layout;
}

std::vector<std::string> Captions(const RecordLayout& layout) {
  std::vector<std::string> captions;
  for (const ExportColumn& column : RowColumns(layout)) captions.push_back(column.caption);
  return captions;
}

constexpr bool kLabel = true, kBox = false;

TEST(RowColumns, NamesEachColumnByTheCaptionPrintedAboveIt) {
  struct Case {
    const char* what;
    RecordLayout layout;
    std::vector<std::string> expected;
  };
  const Case kCases[] = {
      {"trial balance: stacked headings qualify repeats, a blank spacer and a date line name nothing",
       LayoutOf(kGroupFooter1, 1,
                {{kBannerHeader, kLabel, "lblBegDate", 0, 300, 1400, "Beginning Date:"},
                 {kBannerHeader, kLabel, "Label4", 0, 660, 900, "Account"},
                 {kBannerHeader, kLabel, "Label7", 4080, 660, 2200, "Beginning Balance"},
                 {kBannerHeader, kLabel, "Label17", 6320, 660, 2200, "Report Period"},
                 {kBannerHeader, kLabel, "Label3", 0, 900, 900, "Number"},
                 {kBannerHeader, kLabel, "Label16", 900, 900, 3080, "Name"},
                 {kBannerHeader, kLabel, "Label11", 4080, 900, 1080, "Debit"},
                 {kBannerHeader, kLabel, "Label12", 5200, 900, 1080, "Credit"},
                 {kBannerHeader, kLabel, "Label19", 6320, 900, 1080, "Debit"},
                 {kBannerHeader, kLabel, "Label20", 7440, 900, 1080, "Credit"},
                 {kBannerHeader, kLabel, "lblBlank", 0, 1180, 100},
                 {kGroupFooter1, kBox, "Field1", 0, 0, 800},
                 {kGroupFooter1, kBox, "txtAccountName", 900, 0, 3080},
                 {kGroupFooter1, kBox, "Field8", 4080, 0, 1080},
                 {kGroupFooter1, kBox, "Field9", 5200, 0, 1080},
                 {kGroupFooter1, kBox, "Field10", 6320, 0, 1080},
                 {kGroupFooter1, kBox, "Field11", 7440, 0, 1080}}),
       {"Number", "Name", "Beginning Balance Debit", "Beginning Balance Credit", "Report Period Debit",
        "Report Period Credit"}},
      {"aging: the row label of the group's key heads no column; a box across three headings is unnamed",
       LayoutOf(kDetail, 1,
                {{kBannerHeader, kLabel, "Label3", 0, 0, 1300, "Invoice / Pmt No"},
                 {kBannerHeader, kLabel, "Label4", 1350, 0, 700, "Type"},
                 {kBannerHeader, kLabel, "Label5", 2100, 0, 1000, "For"},
                 {kBannerHeader, kLabel, "Label8", 5350, 0, 1050, "Amount"},
                 {kGroupHeader1, kLabel, "Label2", 0, 80, 900, "Customer:"},
                 {kGroupHeader1, kBox, "Field1", 950, 80, 1500},
                 {kGroupHeader1, kBox, "Field2", 2500, 80, 5000},
                 {kDetail, kBox, "txtInvoiceNumber", 0, 0, 1300},
                 {kDetail, kBox, "txtSpan", 750, 0, 2400},
                 {kDetail, kBox, "txtNetAmount", 5350, 0, 1050}}),
       {"Customer", "Field2", "Invoice / Pmt No", "Span", "Amount"}},
      {"a narrow right-aligned caption over a wide box, a page header's captions, a two-line caption",
       LayoutOf(kDetail, 0,
                {{kPageHeader, kLabel, "lblAmount", 9800, 15, 600, "Amount"},
                 {kPageHeader, kLabel, "lblCity", 4600, 15, 1000, "Postal\nCode :"},
                 {kDetail, kBox, "txtCity", 4600, 15, 1000},
                 {kDetail, kBox, "txtAmount", 9000, 15, 1400}}),
       {"Postal Code", "Amount"}},
      {"a label beside the box in its own row section is no heading; names repeat with numbers",
       LayoutOf(kDetail, 0,
                {{kDetail, kLabel, "lblPhone", 0, 0, 600, "Phone"},
                 {kDetail, kBox, "txtPhone", 600, 0, 1000},
                 {kBannerHeader, kLabel, "lblTotal", 2000, 0, 1000, "Total"},
                 {kBannerHeader, kLabel, "lblTotal2", 3000, 0, 1000, "total"},
                 {kDetail, kBox, "txtA", 2000, 0, 1000},
                 {kDetail, kBox, "txtB", 3000, 0, 1000}}),
       {"Phone", "Total", "total 2"}},
      {"a document: a terms box, the date line and one caption over two columns name none of them",
       LayoutOf(kDetail, 0,
                {{kBannerHeader, kLabel, "lblEndDate", 2400, 300, 1100, "Ending Date:"},
                 {kBannerHeader, kLabel, "Label11", 6000, 600, 1500, "Terms"},
                 {kBannerHeader, kLabel, "Label17", 7000, 1200, 2200, "Unit Price Discount"},
                 {kBannerHeader, kLabel, "Label13", 0, 1200, 600, "Code       Description"},
                 {kBannerHeader, kBox, "txtEndDate", 3500, 300, 900},
                 {kBannerHeader, kBox, "Field1", 6000, 840, 1500},
                 {kDetail, kBox, "txtItem", 0, 0, 280},
                 {kDetail, kBox, "txtAccountName", 2500, 0, 3000},
                 {kDetail, kBox, "txtSalesPrice", 7000, 0, 1300},
                 {kDetail, kBox, "Field3", 8400, 0, 800, "Discount"}}),
       {"Code", "Account Name", "Sales Price", "Discount"}},
      {"two lines under two heading lines; a row's own label; a generic box named by its field",
       LayoutOf(kGroupFooter1, 1,
                {{kBannerHeader, kLabel, "Label7", 5800, 0, 1000, "on Hand"},
                 {kBannerHeader, kLabel, "Label13", 5800, 240, 1000, "Minimum"},
                 {kGroupFooter1, kLabel, "Label9", 2000, 0, 1200, "Net change  for"},
                 {kGroupFooter1, kBox, "txtAccountNo", 3250, 0, 800},
                 {kGroupFooter1, kBox, "txtOnHand", 5800, 0, 1000},
                 {kGroupFooter1, kBox, "Field15", 4100, 0, 1500, "", "GLAccountsHeader.AccountName"},
                 {kGroupFooter1, kBox, "Field12", 5800, 240, 1000}}),
       {"Account No", "on Hand", "Account Name", "Minimum"}},
      {"a caption of three parts over a stack of three boxes names them in turn",
       LayoutOf(kDetail, 0,
                {{kBannerHeader, kLabel, "Label3", 1000, 0, 3000, "Name / Contact / Address"},
                 {kDetail, kBox, "txtName", 1000, 0, 3000},
                 {kDetail, kBox, "txtContact", 1000, 240, 3000},
                 {kDetail, kBox, "txtAddress1", 1000, 480, 3000}}),
       {"Name", "Contact", "Address"}},
  };
  for (const Case& c : kCases) EXPECT_EQ(Captions(c.layout), c.expected) << c.what;
}

TEST(NumberRepeats, NumbersAfterTheFirstIgnoringCase) {
  std::vector<std::string> captions = {"Amount", "amount", "Amount 2", "Amount", "Date"};
  NumberRepeats(captions);
  EXPECT_EQ(captions, (std::vector<std::string>{"Amount", "amount 2", "Amount 2 2", "Amount 3", "Date"}));
}

}  // namespace
}  // namespace vob::render
