// The peer listing (/work/shared/peers/README.md) as a vobreports report: the listing benchmark writes it as
// PDF, the viewer benchmark serves it. Reads LISTING.sqlite's one table in id order.
#pragma once

#include <algorithm>
#include <string>

#include "platform/engine/active_report.h"

// The layout tables name the engine's section and control kinds unqualified, as report files do.
namespace vob::bench::listing {

using namespace engine;

// Half-inch margins on Letter; rows of 10 pt with the text's baseline 8 pt below the row's top (the font's
// ascent is 7.24 pt, so texts sit 15 twips down); 69 rows fit between the page header and the page footer at
// 746 pt.
constexpr int32_t kMargin = 720;
constexpr int32_t kRow = 200;
constexpr int32_t kTextTop = 15;
constexpr int32_t kTextHeight = kRow - kTextTop;
constexpr int32_t kAmountLeft = 9800;
constexpr const char* kAmount = "#,##0.00;(#,##0.00)";

class rptListing final : public ActiveReport {
 public:
  explicit rptListing(std::string database) : database_(std::move(database)) {
    Declare(kSections, kLayout);
    PageSettings& page = page_settings();
    page.top_margin = page.bottom_margin = page.left_margin = page.right_margin = kMargin;
  }

  void ActiveReport_DataInitialize() override {
    auto& data = Controls<DataControl>("dataMain");
    data.set_connection_string("Provider=SQLite;Data Source=" + database_ + ";");
    data.set_source("SELECT grp, c1, c2, c3, c4, c5, c6, c7, c8, amount FROM rows ORDER BY id");
  }
  void GroupHeader1_Format() override {
    mLineInGroup = 0;
    ++mGroupCount;
  }
  // Every other line of a group, the second first, stands on a grey band.
  void Detail_Format() override {
    Sections(kDetail).set_back_style(mLineInGroup++ % 2 == 1 ? kBackStyleOpaque : kBackStyleTransparent);
    ++mRowCount;
  }

  // Pages as the peers count them: every row and every group's header and footer is one line, 69 to a page.
  int ExpectedPages() const { return std::max(1L, (mRowCount + 2 * mGroupCount + 68) / 69); }

 private:
  static constexpr SectionRow kSections[] = {
      {kPageHeader, 1000 - kMargin}, {kGroupHeader1, kRow, "grp"}, {kDetail, kRow, "", 0, {235, 235, 235}},
      {kGroupFooter1, kRow},         {kPageFooter, kRow},
  };
  //  section         control        kind         left  top        width height       field / caption  format
  static constexpr ControlRow kLayout[] = {
      {kPageHeader, "lblAccount", kLabel, 0, kTextTop, 880, kTextHeight, "Account"},
      {kPageHeader, "lblName", kLabel, 880, kTextTop, 2480, kTextHeight, "Name"},
      {kPageHeader, "lblContact", kLabel, 3360, kTextTop, 1240, kTextHeight, "Contact"},
      {kPageHeader, "lblCity", kLabel, 4600, kTextTop, 1000, kTextHeight, "City"},
      {kPageHeader, "lblDate", kLabel, 5600, kTextTop, 920, kTextHeight, "Date"},
      {kPageHeader, "lblReference", kLabel, 6520, kTextTop, 1040, kTextHeight, "Reference"},
      {kPageHeader, "lblTerms", kLabel, 7560, kTextTop, 720, kTextHeight, "Terms"},
      {kPageHeader, "lblMemo", kLabel, 8280, kTextTop, 1520, kTextHeight, "Memo"},
      {kPageHeader, "lblAmount", kLabel, kAmountLeft, kTextTop, 1000, kTextHeight, "Amount", "",
       Align::kRight},
      {kPageHeader, "lineRule", kLine, 0, 260, 10800, 0},
      {kGroupHeader1, "txtGroup", kText, 0, kTextTop, 3000, kTextHeight, "grp", "\"Group \"0"},
      {kDetail, "txtAccount", kText, 0, kTextTop, 880, kTextHeight, "c1"},
      {kDetail, "txtName", kText, 880, kTextTop, 2480, kTextHeight, "c2"},
      {kDetail, "txtContact", kText, 3360, kTextTop, 1240, kTextHeight, "c3"},
      {kDetail, "txtCity", kText, 4600, kTextTop, 1000, kTextHeight, "c4"},
      {kDetail, "txtDate", kText, 5600, kTextTop, 920, kTextHeight, "c5"},
      {kDetail, "txtReference", kText, 6520, kTextTop, 1040, kTextHeight, "c6"},
      {kDetail, "txtTerms", kText, 7560, kTextTop, 720, kTextHeight, "c7"},
      {kDetail, "txtMemo", kText, 8280, kTextTop, 1520, kTextHeight, "c8"},
      {kDetail, "txtAmount", kText, kAmountLeft, kTextTop, 1000, kTextHeight, "amount", kAmount,
       Align::kRight},
      {kDetail, "dataMain", kData},
      {kGroupFooter1, "txtGroupTotal", kText, 0, kTextTop, 3000, kTextHeight, "grp", "\"Total group \"0"},
      {kGroupFooter1, "txtSum", kGroupSum, kAmountLeft, kTextTop, 1000, kTextHeight, "amount", kAmount,
       Align::kRight},
      {kPageFooter, "lblPage", kLabel, 0, kTextTop, 420, kTextHeight, "Page"},
      {kPageFooter, "txtPage", kPageNumber, 420, kTextTop, 600, kTextHeight, "", "0 \"of\""},
      {kPageFooter, "txtPages", kPageCount, 1020, kTextTop, 600, kTextHeight},
  };

  std::string database_;
  int16_t mLineInGroup = 0;
  long mRowCount = 0, mGroupCount = 0;
};

}  // namespace vob::bench::listing

namespace vob::bench {
using listing::rptListing;
}  // namespace vob::bench
