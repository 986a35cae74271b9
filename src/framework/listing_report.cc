// Standard sections, page footer and lifecycle of listings.
#include "framework/listing_report.h"

#include "common/text_format.h"
#include "framework/company_header.h"
#include "framework/standard_layout.h"
#include "platform/vb/date.h"

namespace vob::reports {
namespace {

constexpr int32_t kFooterHeight = 300;

constexpr SectionRow kStandardSections[] = {
    {kPageHeader, 0},
    {kBannerHeader, kCompanyHeaderHeight},
    {kDetail, kLineHeight},
    {kPageFooter, kFooterHeight},
};

//  section       control          kind         left   top  width  height  caption / field
constexpr ControlRow kStandardControls[] = {
    {kBannerHeader, "subHeader", kSubreport, 0, 0, kPrintWidth, kCompanyHeaderHeight},
    {kDetail, "dataMain", kData, 0, 0, 0, 0},
    {kPageFooter, "Label1", kLabel, 0, 60, 400, kLineHeight, "Page", {}, Align::kLeft, kBodyFont},
    {kPageFooter, "txtPagenumber", kPageNumber, 400, 60, 400, kLineHeight, {}, {}, Align::kCenter, kBodyFont},
    {kPageFooter, "lblOf", kLabel, 800, 60, 200, kLineHeight, "of", {}, Align::kLeft, kBodyFont},
    {kPageFooter, "txtPageCount", kPageCount, 1000, 60, 400, kLineHeight, {}, {}, Align::kCenter, kBodyFont},
    {kPageFooter, "txtPdate", kLabel, 7800, 60, 500, kLineHeight, "Date:", {}, Align::kLeft, kBodyFont},
    {kPageFooter, "txtDate", kText, 8300, 60, 2500, kLineHeight, {}, {}, Align::kRight, kBodyFont},
};

}  // namespace

ListingReport::ListingReport() {
  page_settings().left_margin = kMarginTwips;
  page_settings().right_margin = kMarginTwips;
  page_settings().top_margin = kMarginTwips;
  page_settings().bottom_margin = kMarginTwips;
  set_print_width(kPrintWidth);
  Declare(kStandardSections, kStandardControls);
}

void ListingReport::ActiveReport_ReportStart() {
  printer().paper_size = engine::kPaperLetter;
  printer().orientation = engine::kPortrait;
  Controls<Subreport>("subHeader").set_report(MakeCompanyHeader(Settings().LogoOption));
}

void ListingReport::PageFooter_Format() {
  Controls<TextBox>("txtDate").set_text(vb::Format(Variant::Date(vb::Now()), Settings().DateTimeFormat));
}

void ListingReport::ShowDateRange(std::string_view end_control) {
  Controls<TextBox>("txtBegDate").set_text(FormatMediumDate(ReportParam(1)));
  Controls<TextBox>(end_control).set_text(FormatMediumDate(ReportParam(2)));
}

void ListingReport::ActiveReport_ReportEnd() {
  vb::ResumeNext([&] { Controls<Subreport>("subHeader").set_report(nullptr); });
}

void ListingReport::ShadeAlternateRows(Section& section, int16_t& row_counter) {
  if (row_counter % 2 == 0) {
    section.set_back_style(engine::kBackStyleOpaque);
    section.set_back_color(kShadeColor);
  } else {
    section.set_back_style(engine::kBackStyleTransparent);
  }
  row_counter = static_cast<int16_t>(static_cast<uint16_t>(row_counter) + 1);
}

}  // namespace vob::reports
