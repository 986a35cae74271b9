// The profile layout and handlers both twins run: the record's identity, address, phones, account and
// credit figures in the group header, its notes in the group footer, and the locations subreport that report
// start adds to the detail when the host asks for it.
#include "reports/lists/profile.h"

#include <string>

#include "framework/bind_data_control.h"
#include "framework/standard_layout.h"

namespace vob::reports {
namespace {

// The name and address block on the left, the phones and contact on the right; both profiles and their
// locations print them alike.
constexpr int32_t kRightLabelLeft = 6000, kRightLabelWidth = 800, kRightValueLeft = 6850,
                  kRightValueWidth = 3950;
constexpr int32_t kCityWidth = 2000, kStateLeft = 2050, kStateWidth = 450, kZipLeft = 2550, kZipWidth = 1300;

// The group header: identity line, the address block, a rule, then account data on the left and credit
// figures on the right, with the last purchase and payment below.
constexpr int32_t kBlockTop = 360;
constexpr int32_t kLine2 = kBlockTop + kLineHeight, kLine3 = kLine2 + kLineHeight,
                  kLine4 = kLine3 + kLineHeight;
constexpr int32_t kRuleTop = kLine4 + kLineHeight + 120;
constexpr int32_t kAccountTop = kRuleTop + 120;
constexpr int32_t kAccount2 = kAccountTop + kLineHeight, kAccount3 = kAccount2 + kLineHeight,
                  kAccount4 = kAccount3 + kLineHeight;
constexpr int32_t kLastTop = kAccount4 + kLineHeight + 120, kLast2 = kLastTop + kLineHeight;
constexpr int32_t kCaptionWidth = 1400, kValueLeft = 1450, kValueWidth = 3000;
constexpr int32_t kAmountLeft = 1450, kAmountWidth = 1400, kOnLeft = 2950, kOnWidth = 300, kDateLeft = 3300,
                  kDateWidth = 1000;
constexpr int32_t kCreditCaptionWidth = 1500, kCreditLeft = 7550, kCreditWidth = 1500;

constexpr SectionRow kSections[] = {
    {kBannerHeader, kCompanyHeaderHeight + 160},
    {kDetail, 100},  // holds only the locations subreport, which starts 100 high and grows
    {kGroupFooter1, 3 * kLineHeight + 120},
    {kBannerFooter, 0},
};

// clang-format off
//  section         control                kind    left             top          width               height       caption / field      format      align          font
constexpr ControlRow kLayout[] = {
    {kBannerHeader, "lblBlank",            kLabel, 0,               kCompanyHeaderHeight + 20, 100,  120},

    {kGroupHeader1, "Label3",              kLabel, kRightLabelLeft, 0,           kRightLabelWidth,   kLineHeight, "Group:",            {},         Align::kLeft,  kCaptionFont},
    {kGroupHeader1, "txtBillGroup",        kText,  kRightValueLeft, 0,           kRightValueWidth,   kLineHeight, "BillGroup",         {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtName",             kText,  0,               kBlockTop,   kRightLabelLeft - 100, kLineHeight, "Name",           {},         Align::kLeft,  kCaptionFont},
    {kGroupHeader1, "txtAddress1",         kText,  0,               kLine2,      kRightLabelLeft - 100, kLineHeight, "Address1",       {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtAddress2",         kText,  0,               kLine3,      kRightLabelLeft - 100, kLineHeight, "Address2",       {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtCity",             kText,  0,               kLine4,      kCityWidth,         kLineHeight, "City",              {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtState",            kText,  kStateLeft,      kLine4,      kStateWidth,        kLineHeight, "State",             {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtZip",              kText,  kZipLeft,        kLine4,      kZipWidth,          kLineHeight, "fldZip",            {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label4",              kLabel, kRightLabelLeft, kBlockTop,   kRightLabelWidth,   kLineHeight, "Phone 1:",          {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtPhone1",           kText,  kRightValueLeft, kBlockTop,   kRightValueWidth,   kLineHeight, "fldPhone1",         {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label5",              kLabel, kRightLabelLeft, kLine2,      kRightLabelWidth,   kLineHeight, "Phone 2:",          {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtPhone2",           kText,  kRightValueLeft, kLine2,      kRightValueWidth,   kLineHeight, "fldPhone2",         {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label6",              kLabel, kRightLabelLeft, kLine3,      kRightLabelWidth,   kLineHeight, "Fax:",              {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtFax",              kText,  kRightValueLeft, kLine3,      kRightValueWidth,   kLineHeight, "fldFax",            {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label7",              kLabel, kRightLabelLeft, kLine4,      kRightLabelWidth,   kLineHeight, "Contact:",          {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtContact",          kText,  kRightValueLeft, kLine4,      kRightValueWidth,   kLineHeight, "Contact",           {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Line4",               kLine,  0,               kRuleTop,    kPrintWidth,        0},
    {kGroupHeader1, "Label8",              kLabel, 0,               kAccountTop, kCaptionWidth,      kLineHeight, "Account Type:",     {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtAccountType",      kText,  kValueLeft,      kAccountTop, kValueWidth,        kLineHeight, "AccountType",       {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label9",              kLabel, 0,               kAccount2,   kCaptionWidth,      kLineHeight, "Tax ID:",           {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtTaxID",            kText,  kValueLeft,      kAccount2,   kValueWidth,        kLineHeight, "TaxID",             {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label10",             kLabel, 0,               kAccount3,   kCaptionWidth,      kLineHeight, "Tax Code:",         {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtTaxNo",            kText,  kValueLeft,      kAccount3,   kValueWidth,        kLineHeight, "TaxNo",             {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label12",             kLabel, kRightLabelLeft, kAccountTop, kCreditCaptionWidth, kLineHeight, "Credit Limit:",    {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtCreditLimit",      kText,  kCreditLeft,     kAccountTop, kCreditWidth,       kLineHeight, "CreditLimit",       kMoney,     Align::kRight, kBodyFont},
    {kGroupHeader1, "Label13",             kLabel, kRightLabelLeft, kAccount2,   kCreditCaptionWidth, kLineHeight, "Current Balance:", {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtCurrentBalance",   kText,  kCreditLeft,     kAccount2,   kCreditWidth,       kLineHeight, "CurrentBalance",    kMoney,     Align::kRight, kBodyFont},
    {kGroupHeader1, "Label14",             kLabel, kRightLabelLeft, kAccount3,   kCreditCaptionWidth, kLineHeight, "Available Credit:", {},        Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtCurrentCredit",    kText,  kCreditLeft,     kAccount3,   kCreditWidth,       kLineHeight, "CurrentCredit",     kMoney,     Align::kRight, kBodyFont},
    {kGroupHeader1, "Label15",             kLabel, 0,               kLastTop,    kCaptionWidth,      kLineHeight, "Last Purchase:",    {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label17",             kLabel, kOnLeft,         kLastTop,    kOnWidth,           kLineHeight, "on",                {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "Label16",             kLabel, 0,               kLast2,      kCaptionWidth,      kLineHeight, "Last Payment:",     {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtLastPaymentAmount", kText, kAmountLeft,     kLast2,      kAmountWidth,       kLineHeight, "LastPaymentAmount", kMoney,     Align::kRight, kBodyFont},
    {kGroupHeader1, "Label18",             kLabel, kOnLeft,         kLast2,      kOnWidth,           kLineHeight, "on",                {},         Align::kLeft,  kBodyFont},
    {kGroupHeader1, "txtLastPaymentDate",  kText,  kDateLeft,       kLast2,      kDateWidth,         kLineHeight, "LastPaymentDate",   kShortDate, Align::kLeft,  kBodyFont},

    {kGroupFooter1, "Line3",               kLine,  0,               60,          kPrintWidth,        0},
    {kGroupFooter1, "Label19",             kLabel, 0,               120,         2000,               kLineHeight, "Notes / Comments:", {},         Align::kLeft,  kCaptionFont},
    {kGroupFooter1, "txtNotes",            kText,  0,               120 + kLineHeight, kPrintWidth,  kLineHeight, "Notes",             {},         Align::kLeft,  kBodyFont,  kCanGrow},
};
// clang-format on

constexpr int32_t kLocationLine2 = kLineHeight, kLocationLine3 = 2 * kLineHeight,
                  kLocationLine4 = 3 * kLineHeight;
constexpr int32_t kLocationNameLeft = 1400, kLocationCityLeft = kLocationNameLeft;

constexpr SectionRow kLocationSections[] = {
    {kReportHeader, kLineHeight + 160},
    {kDetail, 4 * kLineHeight + 120},
    {kReportFooter, 120},
};

// clang-format off
//  section         control          kind    left                        top             width               height       caption / field    format  align         font
constexpr ControlRow kLocationLayout[] = {
    {kReportHeader, "Label1",        kLabel, 0,                          0,              3000,               kLineHeight, "Other Locations", {},     Align::kLeft, kGroupFont},
    {kReportHeader, "Line1",         kLine,  0,                          kLineHeight + 60, kPrintWidth,      0},
    {kDetail,       "txtLocation",   kText,  0,                          0,              kLocationNameLeft - 100, kLineHeight, "Location",   {},     Align::kLeft, kCaptionFont},
    {kDetail,       "txtName",       kText,  kLocationNameLeft,          0,              kRightLabelLeft - kLocationNameLeft - 100, kLineHeight, "Name", {}, Align::kLeft, kBodyFont},
    {kDetail,       "txtAddress1",   kText,  kLocationNameLeft,          kLocationLine2, kRightLabelLeft - kLocationNameLeft - 100, kLineHeight, "Address1", {}, Align::kLeft, kBodyFont},
    {kDetail,       "txtAddress2",   kText,  kLocationNameLeft,          kLocationLine3, kRightLabelLeft - kLocationNameLeft - 100, kLineHeight, "Address2", {}, Align::kLeft, kBodyFont},
    {kDetail,       "txtCity",       kText,  kLocationCityLeft,          kLocationLine4, kCityWidth,         kLineHeight, "City",            {},     Align::kLeft, kBodyFont},
    {kDetail,       "txtState",      kText,  kLocationCityLeft + kStateLeft, kLocationLine4, kStateWidth,    kLineHeight, "State",           {},     Align::kLeft, kBodyFont},
    {kDetail,       "txtZip",        kText,  kLocationCityLeft + kZipLeft, kLocationLine4, kZipWidth,        kLineHeight, "fldZip",          {},     Align::kLeft, kBodyFont},
    {kDetail,       "Label2",        kLabel, kRightLabelLeft,            0,              kRightLabelWidth,   kLineHeight, "Phone 1:",        {},     Align::kLeft, kBodyFont},
    {kDetail,       "txtPhone1",     kText,  kRightValueLeft,            0,              kRightValueWidth,   kLineHeight, "fldPhone1",       {},     Align::kLeft, kBodyFont},
    {kDetail,       "Label3",        kLabel, kRightLabelLeft,            kLocationLine2, kRightLabelWidth,   kLineHeight, "Phone 2:",        {},     Align::kLeft, kBodyFont},
    {kDetail,       "txtPhone2",     kText,  kRightValueLeft,            kLocationLine2, kRightValueWidth,   kLineHeight, "fldPhone2",       {},     Align::kLeft, kBodyFont},
    {kDetail,       "Label5",        kLabel, kRightLabelLeft,            kLocationLine3, kRightLabelWidth,   kLineHeight, "Fax:",            {},     Align::kLeft, kBodyFont},
    {kDetail,       "txtFax",        kText,  kRightValueLeft,            kLocationLine3, kRightValueWidth,   kLineHeight, "fldFax",          {},     Align::kLeft, kBodyFont},
    {kDetail,       "Label4",        kLabel, kRightLabelLeft,            kLocationLine4, kRightLabelWidth,   kLineHeight, "Contact:",        {},     Align::kLeft, kBodyFont},
    {kDetail,       "txtContact",    kText,  kRightValueLeft,            kLocationLine4, kRightValueWidth,   kLineHeight, "Contact",         {},     Align::kLeft, kBodyFont},
    {kDetail,       "dataSub",       kData},
    {kReportFooter, "Line2",         kLine,  0,                          60,             kPrintWidth,        0},
};
// clang-format on

// The host's switch for the locations: the leading number of the text, so "1" and "2 sites" switch it on and
// "0", "" or "yes" leave it off.
bool ShowsLocations() {
  return vb::Val(Settings().ReportParam(2)) > 0;
}

}  // namespace

ProfileLocations::ProfileLocations(const Design& design) : design_(design) {
  set_print_width(kPrintWidth);
  Declare(kLocationSections, kLocationLayout);
}

void ProfileLocations::ActiveReport_DataInitialize() {
  DataControl& data = Controls<DataControl>("dataSub");
  BindDataControl(data);
  data.set_source(std::string(design_.sql) + std::string(design_.where) + ReportParam(1) +
                  "') order by location;");
  contact_fields_.Add(*this);
}

void ProfileLocations::ActiveReport_FetchData(bool& /*eof*/) {
  DataControl& data = Controls<DataControl>("dataSub");
  if (!data.has_recordset() || data.recordset().eof()) return;
  contact_fields_.Fetch(*this, data.recordset());
}

Profile::Profile(const Design& design) : design_(design) {
  Declare(kSections, kLayout);
  DeclareParams(design.params);
  const SectionRow group[] = {{kGroupHeader1, kLast2 + kLineHeight + 120, design.group_break}};
  // clang-format off
  const ControlRow named_rows[] = {
      {kGroupHeader1, "Label2",             kLabel, 0,         0,        kCaptionWidth, kLineHeight, design.id_caption,        {},         Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtCustomerID",      kText,  kValueLeft, 0,        kValueWidth,  kLineHeight, design.id_field,          {},         Align::kLeft,  kGroupFont},
      {kGroupHeader1, "Label11",            kLabel, 0,         kAccount4, kCaptionWidth, kLineHeight, design.sales_caption,    {},         Align::kLeft,  kBodyFont},
      {kGroupHeader1, "txtSalesPerson",     kText,  kValueLeft, kAccount4, kValueWidth,  kLineHeight, design.sales_field,      {},         Align::kLeft,  kBodyFont},
      {kGroupHeader1, "txtLastSalesAmount", kText,  kAmountLeft, kLastTop, kAmountWidth, kLineHeight, design.last_amount_field, kMoney,    Align::kRight, kBodyFont},
      {kGroupHeader1, "txtLastSaleDate",    kText,  kDateLeft,  kLastTop,  kDateWidth,   kLineHeight, design.last_date_field,  kShortDate, Align::kLeft,  kBodyFont},
  };
  // clang-format on
  Declare(group, named_rows);
  // The dates print after a bare "on"; an export names them by what they date.
  Controls<TextBox>("txtLastSaleDate").set_column_name("Last Purchase Date");
  Controls<TextBox>("txtLastPaymentDate").set_column_name("Last Payment Date");
}

// The identifier goes into the text as the host passed it: an apostrophe in it breaks the statement, and the
// run stops with the provider's error.
void Profile::ActiveReport_DataInitialize() {
  SetMainSql(std::string(design_.sql) + std::string(design_.where) + ReportParam(1) + "');");
  contact_fields_.Add(*this);
}

void Profile::ActiveReport_ReportStart() {
  ListingReport::ActiveReport_ReportStart();
  auto* earlier = FindControl("srptLocations");  // added by an earlier run of this object
  if (earlier != nullptr) earlier->set_visible(false);
  if (ShowsLocations()) {
    // Grows to hold every location, whatever the 100 twips it starts from.
    auto& locations = static_cast<Subreport&>(
        earlier != nullptr ? *earlier : Sections(kDetail).AddControl(kSubreport, "srptLocations"));
    locations.set_left(0);
    locations.set_height(100);
    locations.set_width(print_width());
    locations.set_visible(true);
    locations.set_can_grow(true);
    locations.set_report(design_.make_locations());
  }
  for (const char* amount : {"txtCreditLimit", "txtCurrentBalance", "txtCurrentCredit", "txtLastSalesAmount",
                             "txtLastPaymentAmount"}) {
    Controls<TextBox>(amount).set_output_format(Settings().CurrencyFormat);
  }
  for (const char* date : {"txtLastPaymentDate", "txtLastSaleDate"}) {
    Controls<TextBox>(date).set_output_format(Settings().DateFormat);
  }
}

void Profile::ActiveReport_FetchData(bool& /*eof*/) {
  const data::Recordset* row = CurrentRow();
  if (row == nullptr) return;
  contact_fields_.Fetch(*this, *row);
}

// The locations control stays in the detail; only the report it shows is released.
void Profile::ActiveReport_ReportEnd() {
  ListingReport::ActiveReport_ReportEnd();
  if (!ShowsLocations()) return;
  vb::ResumeNext([&] { Sections(kDetail).Controls<Subreport>("srptlocations").set_report(nullptr); });
}

}  // namespace vob::reports
