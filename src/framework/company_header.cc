// Company header subreports: title, masthead from CompanyProfile, logo sized to the header's height.
#include "framework/company_header.h"

#include <filesystem>

#include "framework/bind_data_control.h"
#include "framework/standard_layout.h"
#include "platform/engine/picture_loader.h"
#include "platform/vb/error.h"

namespace vob::reports {
namespace {

constexpr int32_t kLogoHeight = 1080;
constexpr int32_t kTitleHeight = 400;

//                                     height
constexpr SectionRow kSections[] = {
    {kReportHeader, 0},
    {kDetail, kTitleHeight + 20 + kLineHeight},
    {kReportFooter, 120},
};
constexpr SectionRow kLogoSections[] = {
    {kReportHeader, 0},
    {kDetail, kLogoHeight + 60},
    {kReportFooter, 120},
};

//  section        control        kind     left  top           width        height        text / field
constexpr ControlRow kTitleOnly[] = {
    {kDetail, "rptTitle", kLabel, 0, 0, kPrintWidth, kTitleHeight, "Label1", {}, Align::kCenter, kTitleFont},
    {kDetail,
     "txtMastHead",
     kText,
     0,
     kTitleHeight + 20,
     kPrintWidth,
     kLineHeight,
     "MastHead",
     {},
     Align::kCenter,
     kMastHeadFont,
     kCanGrow},
    {kDetail, "datasub", kData, 0, 0, 0, 0, "Select * from CompanyProfile"},
    {kReportFooter, "Line1", kLine, 0, 60, kPrintWidth, 0},
};
constexpr ControlRow kTitleAndLogo[] = {
    {kDetail, "Image1", kImage, 0, 0, 2880, kLogoHeight},
    {kDetail,
     "rptTitle",
     kLabel,
     0,
     340,
     kPrintWidth,
     kTitleHeight,
     "Label1",
     {},
     Align::kCenter,
     kTitleFont},
    {kDetail, "datasub", kData, 0, 0, 0, 0, "Select * from CompanyProfile"},
    {kReportFooter, "Line1", kLine, 0, 60, kPrintWidth, 0},
};
constexpr ControlRow kTitleMastHeadAndLogo[] = {
    {kDetail, "Image1", kImage, 0, 0, 2880, kLogoHeight},
    {kDetail, "rptTitle", kLabel, 0, 0, kPrintWidth, kTitleHeight, "Label1", {}, Align::kCenter, kTitleFont},
    {kDetail,
     "txtMastHead",
     kText,
     2880,
     kTitleHeight + 20,
     kPrintWidth - 2 * 2880,
     kLineHeight,
     "MastHead",
     {},
     Align::kCenter,
     kMastHeadFont,
     kCanGrow},
    {kDetail, "dataSub", kData, 0, 0, 0, 0, "Select * from CompanyProfile"},
    {kReportFooter, "Line1", kLine, 0, 60, kPrintWidth, 0},
};

constexpr CompanyHeader::Design kHeader0{true, false, "datasub"};
constexpr CompanyHeader::Design kHeader1{false, true, "datasub"};
constexpr CompanyHeader::Design kHeader2{true, true, "dataSub"};

}  // namespace

CompanyHeader::CompanyHeader(const Design& design) : design_(design) {
  set_print_width(kPrintWidth);
  // Its title, masthead and logo come from the settings and the company's profile, the same on every page.
  set_prints_alike(true);
}

rptHeader0::rptHeader0() : CompanyHeader(kHeader0) {
  Declare(kSections, kTitleOnly);
}
rptHeader1::rptHeader1() : CompanyHeader(kHeader1) {
  Declare(kLogoSections, kTitleAndLogo);
}
rptHeader2::rptHeader2() : CompanyHeader(kHeader2) {
  Declare(kLogoSections, kTitleMastHeadAndLogo);
}

void CompanyHeader::ActiveReport_ReportStart() {
  Controls<Label>("rptTitle").set_caption(Settings().ReportTitle);
}

void CompanyHeader::ActiveReport_DataInitialize() {
  BindDataControl(Controls<DataControl>(design_.data_control));
  if (design_.shows_logo) LoadLogo();
}

// Fits the logo to the control's height: a logo no taller than the control prints at its own size, a taller
// one is stretched to the control's height with its width scaled to keep its proportions.
void CompanyHeader::LoadLogo() {
  const ReportSettings& settings = Settings();
  Image& image = Controls<Image>("Image1");
  std::error_code ignored;
  if (!std::filesystem::exists(settings.LogoFile, ignored) || settings.LogoWidth == 0) return;
  if (image.height() == 0) vb::Raise(vb::kDivisionByZero, "logo height over Image1");
  const float ratio = settings.LogoHeight / static_cast<float>(image.height());
  if (ratio <= 1) {
    image.set_size_mode(engine::kSizeModeClip);
    image.set_width(static_cast<int32_t>(vb::RoundHalfEven(settings.LogoWidth)));
  } else {
    image.set_size_mode(engine::kSizeModeStretch);
    image.set_width(static_cast<int32_t>(vb::RoundHalfEven(settings.LogoWidth / ratio)));
  }
  image.set_picture(engine::LoadPicture(settings.LogoFile));
}

ReportHandle MakeCompanyHeader(int16_t logo_option) {
  switch (logo_option) {
    case 0:
      return engine::MakeReport<rptHeader0>();
    case 1:
      return engine::MakeReport<rptHeader1>();
    case 2:
      return engine::MakeReport<rptHeader2>();
    default:
      return nullptr;
  }
}

}  // namespace vob::reports
