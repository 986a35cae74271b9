// The transaction documents' one design: a document chosen by its internal number in ReportParams(1), its
// header joined to its lines, address blocks composed from the first row at report start, the header's totals
// in every page footer. Each document is its layout table and a Design naming what it has of the rest.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "framework/report_base.h"

namespace vob::reports {

class DocumentReport : public ReportBase {
 public:
  // The setting a control takes its output format from at report start.
  enum class FormatSetting { kDate, kCurrency, kPrice };
  struct OutputFormat {
    std::string_view control;
    FormatSetting setting;
  };

  // What one document names or has; every handler below is common to all seven.
  struct Design {
    // The query: the three pieces, ReportParams(1) as given (a number, unquoted) and "));".
    std::string_view select_text;  // "SELECT ARInvoiceHeader.*, ARInvoiceDetail.* "
    std::string_view from_text;    // "FROM (ARInvoiceHeader INNER JOIN ARInvoiceDetail ON ...) "
    std::string_view where_text;   // "WHERE (((ARInvoiceHeader.InvoiceNo)= "
    std::string_view break_field;  // GroupHeader1: "ARInvoiceHeader.InvoiceNo"
    std::span<const OutputFormat> formats;
    // The controls that show the bill-to block (mSoldTo: sold to, received from, order placed with) and the
    // ship-to block (mShipTo: ship to, shipped from); empty for a block the document does not print.
    std::string_view sold_to_control = {};
    std::string_view ship_to_control = {};
    bool sets_blocks_per_page = false;  // PageHeader_Format shows the blocks rather than BannerHeader_Format
    bool looks_up_terms = false;        // mTermsDescription, carried by the field "TermsDescription"
    bool looks_up_message = false;      // mMessageText, carried by the field "MessageText"
    bool hides_zero_discount = false;   // Detail_BeforePrint hides txtDiscount on lines without a discount
    // A field holding the negated quantity of a column ("fldRetQty" from "ordered"); empty for none.
    std::string_view returned_field = {};
    std::string_view returned_column = {};
    bool has_notes = false;  // GroupFooter1 prints txtNotes under the lines
    int total_rows = 0;      // rows of totals in the page footer, which sets its height
    std::span<const ParamRow> params;
  };

  void ActiveReport_DataInitialize() override;
  // The common start, the output formats, then with errors ignored statement by statement: the address
  // blocks from the row dataMain stands on (the document's first), the terms and the message.
  void ActiveReport_ReportStart() override;
  void ActiveReport_FetchData(bool& eof) override;
  void PageHeader_Format() override;
  void BannerHeader_Format() override;
  void Detail_BeforePrint() override;
  // With errors ignored: unload the header shown by subHeader and clear it.
  void ActiveReport_ReportEnd() override;

 protected:
  // Declares the sections, subHeader, dataMain, the page number in the footer and txtNotes, then the
  // document's own layout tables. REQUIRES: design outlives the object (a static constexpr table).
  DocumentReport(const Design& design, std::initializer_list<std::span<const ControlRow>> layouts);

 private:
  struct AddressColumns;
  static const AddressColumns kBillTo;
  static const AddressColumns kShipTo;
  // Name; contact (bill-to only), address lines 1 and 2 when not blank; city, ", ", state, " " and the
  // formatted ZIP code; lines joined by CR LF. A statement that fails leaves what was composed before it.
  std::string ComposeAddressBlock(const AddressColumns& columns);
  void ShowAddressBlocks();

  const Design& design_;
  std::string mSoldTo;
  std::string mShipTo;
  std::string mTermsDescription;
  std::string mMessageText;
};

}  // namespace vob::reports
