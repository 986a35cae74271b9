// Section names as handlers and layouts spell them, and the header/footer pairing.
#include "platform/engine/layout.h"

#include "platform/vb/names.h"

namespace vob::engine {
namespace {

constexpr std::string_view kSectionNames[kSectionCount] = {
    "ReportHeader", "PageHeader",   "BannerHeader", "GroupHeader1", "GroupHeader2",
    "GroupHeader3", "GroupHeader4", "GroupHeader5", "GroupHeader6", "Detail",
    "GroupFooter1", "GroupFooter2", "GroupFooter3", "GroupFooter4", "GroupFooter5",
    "GroupFooter6", "BannerFooter", "PageFooter",   "ReportFooter",
};

}  // namespace

std::string_view SectionName(SectionId section) {
  return section < kSectionCount ? kSectionNames[section] : "";
}

SectionId SectionByName(std::string_view name) {
  for (int id = 0; id < kSectionCount; ++id) {
    if (vb::SameName(kSectionNames[id], name)) return static_cast<SectionId>(id);
  }
  return kSectionCount;
}

SectionId PartnerOf(SectionId section) {
  switch (section) {
    case kReportHeader:
      return kReportFooter;
    case kReportFooter:
      return kReportHeader;
    case kPageHeader:
      return kPageFooter;
    case kPageFooter:
      return kPageHeader;
    case kBannerHeader:
      return kBannerFooter;
    case kBannerFooter:
      return kBannerHeader;
    default:
      if (IsGroupHeader(section)) return GroupFooterOf(GroupLevel(section));
      if (IsGroupFooter(section)) return GroupHeaderOf(GroupLevel(section));
      return section;  // the detail has no partner
  }
}

}  // namespace vob::engine
