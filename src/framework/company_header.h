// The company header subreports: the report title with the masthead text (rptHeader0), the logo (rptHeader1)
// or both (rptHeader2). Report start picks one by LogoOption and shows it in the banner's subHeader control.
#pragma once

#include <cstdint>

#include "framework/report_api.h"

namespace vob::reports {

// One design, three variants that differ only in what their Detail shows.
class CompanyHeader : public ActiveReport {
 public:
  struct Design {
    bool shows_masthead;
    bool shows_logo;
    const char* data_control;  // "datasub" or "dataSub", as each variant's layout names it
  };

  void ActiveReport_ReportStart() override;
  void ActiveReport_DataInitialize() override;

 protected:
  explicit CompanyHeader(const Design& design);

 private:
  void LoadLogo();
  const Design& design_;
};

class rptHeader0 final : public CompanyHeader {
 public:
  rptHeader0();
};

class rptHeader1 final : public CompanyHeader {
 public:
  rptHeader1();
};

class rptHeader2 final : public CompanyHeader {
 public:
  rptHeader2();
};

// A new header object for a logo option: 0, 1 or 2; none for any other value.
ReportHandle MakeCompanyHeader(int16_t logo_option);

}  // namespace vob::reports
