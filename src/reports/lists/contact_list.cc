// The list layout and handlers both twins run: the SQL chosen by the sort key, its caption in the banner, and
// the contact-field fetch that formats each row's postal code and phone numbers.
#include "reports/lists/contact_list.h"

#include <string>

#include "framework/standard_layout.h"

namespace vob::reports {
namespace {

// Six columns: id, group, the name and address block, the phones, the sales person and the balance.
constexpr int32_t kIdLeft = 0, kIdWidth = 1300;
constexpr int32_t kGroupLeft = 1350, kGroupWidth = 1100;
constexpr int32_t kNameLeft = 2500, kNameWidth = 3300;
constexpr int32_t kCityWidth = 1700, kStateLeft = 4250, kStateWidth = 400, kZipLeft = 4700, kZipWidth = 1100;
constexpr int32_t kPhoneLabelLeft = 5900, kPhoneLabelWidth = 400, kPhoneLeft = 6300, kPhoneWidth = 1300;
constexpr int32_t kSalesPersonLeft = 7700, kSalesPersonWidth = 1500;
constexpr int32_t kBalanceLeft = 9300, kBalanceWidth = kPrintWidth - kBalanceLeft;

constexpr int32_t kSortTop = kCompanyHeaderHeight + 60;
constexpr int32_t kCaptionTop = kSortTop + kLineHeight + 120;
constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;
// Name, two address lines and the city line; the phones take the first three.
constexpr int32_t kLine2 = kLineHeight, kLine3 = 2 * kLineHeight, kLine4 = 3 * kLineHeight;

constexpr SectionRow kSections[] = {
    {kBannerHeader, kRuleTop + 160},
    {kDetail, 4 * kLineHeight + 80},
    {kBannerFooter, 0},
};

// clang-format off
//  section         control            kind    left              top          width              height       caption / field             format                   align          font
constexpr ControlRow kLayout[] = {
    {kBannerHeader, "Label2",          kLabel, 0,                kSortTop,    900,               kLineHeight, "Sorted by:",               {},                      Align::kLeft,  kCaptionFont},
    {kBannerHeader, "txtSortby",       kText,  950,              kSortTop,    2500,              kLineHeight, {},                         {},                      Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label4",          kLabel, kGroupLeft,       kCaptionTop, kGroupWidth,       kLineHeight, "Group",                    {},                      Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label5",          kLabel, kNameLeft,        kCaptionTop, kNameWidth,        kLineHeight, "Name / Contact / Address", {},                      Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label6",          kLabel, kPhoneLabelLeft,  kCaptionTop, 1700,              kLineHeight, "Phone / Fax",              {},                      Align::kLeft,  kCaptionFont},
    {kBannerHeader, "Label8",          kLabel, kBalanceLeft,     kCaptionTop, kBalanceWidth,     kLineHeight, "Current Balance",          {},                      Align::kRight, kCaptionFont},
    {kBannerHeader, "Line2",           kLine,  0,                kRuleTop,    kPrintWidth,       0},
    {kBannerHeader, "lblBlank",        kLabel, 0,                kRuleTop + 20, 100,             120},

    {kDetail,       "txtBillGroup",    kText,  kGroupLeft,       0,           kGroupWidth,       kLineHeight, "BillGroup",                {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtName",         kText,  kNameLeft,        0,           kNameWidth,        kLineHeight, "Name",                     {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtAddress1",     kText,  kNameLeft,        kLine2,      kNameWidth,        kLineHeight, "Address1",                 {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtAddress2",     kText,  kNameLeft,        kLine3,      kNameWidth,        kLineHeight, "Address2",                 {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtCity",         kText,  kNameLeft,        kLine4,      kCityWidth,        kLineHeight, "City",                     {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtState",        kText,  kStateLeft,       kLine4,      kStateWidth,       kLineHeight, "State",                    {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtZip",          kText,  kZipLeft,         kLine4,      kZipWidth,         kLineHeight, "fldZip",                   {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "Label9",          kLabel, kPhoneLabelLeft,  0,           kPhoneLabelWidth,  kLineHeight, "Ph 1",                     {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "Label10",         kLabel, kPhoneLabelLeft,  kLine2,      kPhoneLabelWidth,  kLineHeight, "Ph 2",                     {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "Label11",         kLabel, kPhoneLabelLeft,  kLine3,      kPhoneLabelWidth,  kLineHeight, "Fax",                      {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtPhone1",       kText,  kPhoneLeft,       0,           kPhoneWidth,       kLineHeight, "fldPhone1",                {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtPhone2",       kText,  kPhoneLeft,       kLine2,      kPhoneWidth,       kLineHeight, "fldPhone2",                {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtFax",          kText,  kPhoneLeft,       kLine3,      kPhoneWidth,       kLineHeight, "fldFax",                   {},                      Align::kLeft,  kBodyFont},
    {kDetail,       "txtCurrentBalance", kText, kBalanceLeft,    0,           kBalanceWidth,     kLineHeight, "CurrentBalance",           "$#,##0.00;($#,##0.00)", Align::kRight, kBodyFont},
};
// clang-format on

// The columns of the sales person, which only the customer list has.
// clang-format off
constexpr ControlRow kSalesPersonRows[] = {
    {kBannerHeader, "Label7",          kLabel, kSalesPersonLeft, kCaptionTop, kSalesPersonWidth, kLineHeight, "Sales Person",             {},                      Align::kLeft,  kCaptionFont},
    {kDetail,       "txtSalesPerson",  kText,  kSalesPersonLeft, 0,           kSalesPersonWidth, kLineHeight, "SalesPerson",              {},                      Align::kLeft,  kBodyFont},
};

constexpr std::string_view kSortKeys[] = {"id", "name", "group"};
//  index  kind                label                                   example  second example  values
constexpr ParamRow kParams[] = {
    {1,      ParamKind::kChoice, "Sort order: id, name or group (any case)", "name",  "group",        kSortKeys},
};
// clang-format on

}  // namespace

ContactList::ContactList(const Design& design) : design_(design) {
  Declare(kSections, kLayout);
  DeclareParams(kParams);
  // clang-format off
  const ControlRow id_rows[] = {
      {kBannerHeader, "Label3",          kLabel, kIdLeft,          kCaptionTop, kIdWidth,          kLineHeight, design.caption_by_id,       {},                      Align::kLeft,  kCaptionFont},
      {kDetail,       design.id_control, kText,  kIdLeft,          0,           kIdWidth,          kLineHeight, design.id_field,            {},                      Align::kLeft,  kBodyFont},
  };
  // clang-format on
  Declare({}, id_rows);
  if (design.has_sales_person) Declare({}, kSalesPersonRows);
}

// A key other than the three leaves the source empty: the engine then opens no data, and the list prints its
// banner and page footer without rows. That is no error, so a host that passes a stray key gets an empty list
// rather than a failed run.
void ContactList::ActiveReport_DataInitialize() {
  const std::string key = vb::LCase(ReportParam(1));
  std::string sql;
  if (key == "id") {
    sql = design_.sql_by_id;
  } else if (key == "name") {
    sql = design_.sql_by_name;
  } else if (key == "group") {
    sql = design_.sql_by_group;
  }
  SetMainSql(std::move(sql));
  contact_fields_.Add(*this);
}

void ContactList::ActiveReport_ReportStart() {
  ListingReport::ActiveReport_ReportStart();
  const std::string key = vb::LCase(ReportParam(1));
  auto& sorted_by = Controls<TextBox>("txtSortby");
  if (key == "id") {
    sorted_by.set_text(std::string(design_.caption_by_id));
  } else if (key == "name") {
    sorted_by.set_text(std::string(design_.caption_by_name));
  } else if (key == "group") {
    sorted_by.set_text(std::string(design_.caption_by_group));
  }
  Controls<TextBox>("txtCurrentBalance").set_output_format(Settings().CurrencyFormat);
}

void ContactList::ActiveReport_FetchData(bool& /*eof*/) {
  if (const data::Recordset* row = CurrentRow()) contact_fields_.Fetch(*this, *row);
}

}  // namespace vob::reports
