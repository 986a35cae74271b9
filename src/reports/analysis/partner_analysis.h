// The design shared by sales by customer and purchases by vendor: the documents of a date range with their
// signed gross, tax and total, grouped by billing group and partner. The twins differ only in their Design
// table.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "framework/listing_report.h"

namespace vob::reports {

class PartnerAnalysis : public ListingReport {
 public:
  // What one twin names differently; every other row, handler and step is common.
  struct Design {
    std::string_view select_text;  // "SELECT ARInvoiceHeader.*, Customers.* "
    std::string_view from_text;    // "FROM ARInvoiceHeader INNER JOIN Customers ON ... "
    std::string_view where_text;   // "WHERE (((ARInvoiceHeader.InvoiceType) In (...)) AND ... Between #"
    std::string_view order_text;   // "Order by Customers.billgroup, ARInvoiceheader.CustomerID; "
    std::string_view positive_types[2];    // counted +1: "INV", "SLS"
    std::string_view negative_types[2];    // counted -1: "RET", "SLC"
    std::string_view title;                // Label14
    std::string_view group_caption;        // Label2
    std::string_view partner_break;        // GroupHeader2's break: "ARInvoiceHeader.CustomerID"
    std::string_view name_field;           // the partner name's bound field: "customers.Name"
    std::string_view detail_name_control;  // "Field21"
    std::string_view footer_name_control;  // "Field20"
    // Purchases store the name controls ahead of the line's other controls; only the stored order changes.
    bool names_stored_first;
    // Sales forget the printed name on every new page; purchases only where the billing-group header repeats,
    // and index a partner only on its first header, not on its repetitions.
    bool forgets_name_each_page;
    std::span<const ParamRow> params;
  };

  void ActiveReport_DataInitialize() override;
  void ActiveReport_ReportStart() override;
  void ActiveReport_FetchData(bool& eof) override;
  void ActiveReport_PageStart() override;
  void Detail_BeforePrint() override;
  void GroupHeader1_Format() override;
  void GroupHeader2_Format() override;

 protected:
  explicit PartnerAnalysis(const Design& design);

 private:
  // The amount times the document's sign; a Null amount stays Null.
  static Variant Signed(const Variant& amount, int sign);

  const Design& design_;
  // The partner whose name printed last; its further lines leave the name out.
  std::string mPrintedName;
};

}  // namespace vob::reports
