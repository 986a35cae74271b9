// The transaction documents' sections, lifecycle and handlers, which every document runs as its Design says.
// Report start reads the row dataMain stands on before the first fetch: the engine has opened the query then.
#include "framework/document_report.h"

#include "common/lookups.h"
#include "common/text_format.h"
#include "framework/company_header.h"
#include "framework/document_layout.h"
#include "framework/standard_layout.h"

namespace vob::reports {

// The columns of an address block; every document table names its copies of the party's address alike.
struct DocumentReport::AddressColumns {
  std::string_view name, contact, address1, address2, city, state, zip;  // contact empty: no contact line
};
const DocumentReport::AddressColumns DocumentReport::kBillTo = {"Name", "Contact", "Address1", "Address2",
                                                                "city", "State",   "zipcode"};
const DocumentReport::AddressColumns DocumentReport::kShipTo = {
    "ShiptoName", {}, "ShiptoAddress1", "ShiptoAddress2", "Shiptocity", "ShiptoState", "Shiptozipcode"};

namespace {

constexpr const char* kLineBreak = "\r\n";

// The page number sits on the left of the footer's last row of totals.
// clang-format off
constexpr engine::ControlRow PageNumberRow(std::string_view name, engine::ControlKind kind, int32_t left,
                                           int32_t width, std::string_view caption, Align align, int row) {
  return {kPageFooter, name, kind, left, document::TotalRowTop(row), width, kLineHeight, caption, {}, align, kBodyFont};
}
// clang-format on

}  // namespace

DocumentReport::DocumentReport(const Design& design,
                               std::initializer_list<std::span<const ControlRow>> layouts)
    : design_(design) {
  page_settings().left_margin = kMarginTwips;
  page_settings().right_margin = kMarginTwips;
  page_settings().top_margin = kMarginTwips;
  page_settings().bottom_margin = kMarginTwips;
  set_print_width(kPrintWidth);

  const int page_row = design.total_rows > 0 ? design.total_rows - 1 : 0;
  const int32_t notes_height = design.has_notes ? 60 + kLineHeight + 60 : 0;
  const SectionRow sections[] = {
      {kReportHeader, 0},
      {kPageHeader, 0},
      {kBannerHeader, document::kHeaderHeight},
      {kGroupHeader1, 0, design.break_field},
      {kDetail, kLineHeight},
      {kGroupFooter1, notes_height},
      {kBannerFooter, 0},
      {kPageFooter, document::FooterHeight(design.total_rows)},
      {kReportFooter, 0},
  };
  // clang-format off
  //  section         control            kind         left  top  width        height       caption / field
  const ControlRow common[] = {
      {kBannerHeader, "subHeader",       kSubreport,  0,    0,   kPrintWidth, kCompanyHeaderHeight},
      {kDetail,       "dataMain",        kData,       0,    0,   0,           0},
      PageNumberRow(  "Label1",          kLabel,      0,         400,         "Page",  Align::kLeft,   page_row),
      PageNumberRow(  "txtPagenumber",   kPageNumber, 400,       400,         {},      Align::kCenter, page_row),
      PageNumberRow(  "lblOf",           kLabel,      800,       200,         "of",    Align::kLeft,   page_row),
      PageNumberRow(  "txtPageCount",    kPageCount,  1000,      400,         {},      Align::kCenter, page_row),
  };
  const ControlRow notes[] = {
      {kGroupFooter1, "txtNotes",        kText,       0,    60,  kPrintWidth, kLineHeight, "Notes", {}, Align::kLeft, kBodyFont, kCanGrow},
  };
  // clang-format on
  Declare(sections, common);
  if (design.has_notes) Declare({}, notes);
  for (std::span<const ControlRow> layout : layouts) Declare({}, layout);
  DeclareParams(design.params);
  // One caption prints over the unit price and the discount; an export names the two columns apart.
  for (const auto& [control, column] :
       {std::pair{"txtSalesPrice", "Unit Price"}, std::pair{"txtCost", "Unit Price"},
        std::pair{"txtDiscount", "Discount"}}) {
    if (auto* box = dynamic_cast<TextBox*>(Sections("Detail").FindControl(control)))
      box->set_column_name(column);
  }
}

void DocumentReport::ActiveReport_DataInitialize() {
  std::string sql(design_.select_text);
  sql += design_.from_text;
  sql += design_.where_text;
  sql += ReportParam(1);
  sql += "));";
  SetMainSql(std::move(sql));
  if (design_.looks_up_terms) Fields().Add("TermsDescription");
  if (design_.looks_up_message) Fields().Add("MessageText");
  if (!design_.returned_field.empty()) Fields().Add(design_.returned_field);
}

void DocumentReport::ActiveReport_ReportStart() {
  printer().paper_size = engine::kPaperLetter;
  printer().orientation = engine::kPortrait;
  Controls<Subreport>("subHeader").set_report(MakeCompanyHeader(Settings().LogoOption));
  for (const OutputFormat& format : design_.formats) {
    const std::string& pattern = format.setting == FormatSetting::kDate       ? Settings().DateFormat
                                 : format.setting == FormatSetting::kCurrency ? Settings().CurrencyFormat
                                                                              : Settings().PriceFormat;
    Controls<TextBox>(format.control).set_output_format(pattern);
  }

  // From here on a failing statement is skipped: a Null where text is needed, or no row at all (an unknown
  // document number), leaves the blocks, terms and message as far as they got, which is empty.
  const data::Recordset& row = dataMain().recordset();
  if (!design_.sold_to_control.empty()) mSoldTo = ComposeAddressBlock(kBillTo);
  if (!design_.ship_to_control.empty()) mShipTo = ComposeAddressBlock(kShipTo);
  if (design_.looks_up_terms) {
    vb::ResumeNext([&] { mTermsDescription.clear(); },
                   [&] {
                     const Variant& code = row.Fields("TermCode");
                     if (!vb::IsNull(code)) mTermsDescription = GetTermsDescription(vb::CStr(code));
                   });
  }
  if (design_.looks_up_message) {
    vb::ResumeNext([&] { mMessageText.clear(); },
                   [&] {
                     const Variant& number = row.Fields("MessageNo");
                     if (!vb::IsNull(number)) mMessageText = GetMessageText(vb::CLng(number));
                   });
  }
}

std::string DocumentReport::ComposeAddressBlock(const AddressColumns& columns) {
  const data::Recordset& row = dataMain().recordset();
  std::string block;
  std::string work;
  // One address line: read into the emptied work text (a Null leaves it empty); appended unless blank.
  auto append_line = [&](std::string_view column) {
    vb::ResumeNext([&] { work.clear(); }, [&] { work = vb::CStr(row.Fields(column)); },
                   [&] {
                     if (!vb::Trim(work).empty()) block += kLineBreak + work;
                   });
  };
  vb::ResumeNext([&] { block = vb::CStr(row.Fields(columns.name)); });
  if (!columns.contact.empty()) append_line(columns.contact);
  append_line(columns.address1);
  append_line(columns.address2);
  // The city line is always there, separators included, whatever city and state hold; it is one statement,
  // so that without a row (an unknown document) the block stays empty.
  vb::ResumeNext(
      [&] {
        block += kLineBreak + vb::GeneralText(row.Fields(columns.city)) + ", " +
                 vb::GeneralText(row.Fields(columns.state)) + " ";
      },
      [&] { work.clear(); }, [&] { work = vb::CStr(row.Fields(columns.zip)); },
      [&] { work = vb::Trim(work); }, [&] { block += FormatZip(work); });
  return block;
}

void DocumentReport::ActiveReport_FetchData(bool& /*eof*/) {
  if (design_.looks_up_terms) Fields("TermsDescription").set_value(mTermsDescription);
  if (design_.looks_up_message) Fields("MessageText").set_value(mMessageText);
  if (!design_.returned_field.empty()) {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    const Variant& quantity = row->Fields(design_.returned_column);
    Fields(design_.returned_field).set_value(vb::IsNull(quantity) ? quantity : Variant(-vb::CDbl(quantity)));
  }
}

void DocumentReport::ShowAddressBlocks() {
  if (!design_.sold_to_control.empty()) Controls<TextBox>(design_.sold_to_control).set_text(mSoldTo);
  if (!design_.ship_to_control.empty()) Controls<TextBox>(design_.ship_to_control).set_text(mShipTo);
}

void DocumentReport::PageHeader_Format() {
  if (design_.sets_blocks_per_page) ShowAddressBlocks();
}

void DocumentReport::BannerHeader_Format() {
  if (!design_.sets_blocks_per_page) ShowAddressBlocks();
}

// The visibility set here holds for this line only: the next line sets it again. A document that shows every
// discount runs the engine's default handler, so that its lines are not laid out twice.
void DocumentReport::Detail_BeforePrint() {
  if (!design_.hides_zero_discount) return ActiveReport::Detail_BeforePrint();
  const data::Recordset* row = CurrentRow();
  if (row == nullptr) return;
  // A Null discount is not 0: the field shows, empty.
  const Variant& discount = row->Fields("discount");
  Controls<TextBox>("txtDiscount").set_visible(vb::IsNull(discount) || vb::CDbl(discount) != 0);
}

void DocumentReport::ActiveReport_ReportEnd() {
  vb::ResumeNext([&] { Controls<Subreport>("subHeader").set_report(nullptr); });
}

}  // namespace vob::reports
