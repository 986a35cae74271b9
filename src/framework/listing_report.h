// The common lifecycle of listings and analyses: standard sections and page footer, the company header
// attached at report start and released at report end, the run date stamped in every page footer.
#pragma once

#include <cstdint>

#include "framework/report_api.h"

namespace vob::reports {

class ListingReport : public ActiveReport {
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

  DataControl& dataMain() { return Controls<DataControl>("dataMain"); }
  // Text of a report parameter, ReportParams(index); Subscript out of range (9) before the first reset.
  static const std::string& ReportParam(int index) { return Settings().ReportParam(index); }

  // Alternate-row shading: an even counter shades the section with (240, 240, 240), an odd one clears it;
  // then the counter moves on. Only the counter's parity matters, so it may wrap past 32767.
  static void ShadeAlternateRows(Section& section, int16_t& row_counter);
  // The same, toggling only the background style and keeping the section's colour.
  static void ToggleBackStyle(Section& section, int16_t& row_counter);
};

}  // namespace vob::reports
