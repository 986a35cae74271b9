// The common lifecycle of listings and analyses: standard sections and page footer, the company header
// attached at report start and released at report end, the run date stamped in every page footer.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/report_base.h"

namespace vob::reports {

class ListingReport : public ReportBase {
 public:
  // Printer setting 1 and the company header chosen by LogoOption. Reports with steps of their own override
  // this and call it first.
  void ActiveReport_ReportStart() override;
  // txtDate := now in DateTimeFormat; the engine fills page number and count.
  void PageFooter_Format() override;
  // With errors ignored: unload the header shown by subHeader and clear it.
  void ActiveReport_ReportEnd() override;

 protected:
  // Declares PageHeader, BannerHeader with subHeader, Detail with dataMain, and the standard page footer on
  // Letter paper with half-inch margins; the report then declares its own sections and controls.
  ListingReport();

  // The heading's date range: txtBegDate := FormatMediumDate(ReportParams(1)), and the end control
  // (txtEndDate unless the layout names it otherwise) := FormatMediumDate(ReportParams(2)). Call at report
  // start.
  void ShowDateRange(std::string_view end_control = "txtEndDate");

  // Alternate-row shading: an even counter shades the section with (240, 240, 240), an odd one clears it;
  // then the counter moves on. Only the counter's parity matters, so it may wrap past 32767.
  static void ShadeAlternateRows(Section& section, int16_t& row_counter);
};

}  // namespace vob::reports
