// What both back-order reports share: the invoice lines with a quantity still back-ordered, their query
// sorted the twin's way, the invoice date in the settings' format and alternate-row shading. Each twin
// declares its own grouping and columns.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/listing_report.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class BackOrderReport : public ListingReport {
 public:
  void ActiveReport_DataInitialize() override;
  void ActiveReport_ReportStart() override;
  void Detail_Format() override;

 protected:
  // where_text: the condition and sort, "WHERE (((ARInvoiceDetail.Backordered)>0)) Order by ...;".
  BackOrderReport(std::string_view where_text, std::span<const SectionRow> sections,
                  std::span<const ControlRow> controls);

  // The columns both twins print, from the invoice number on to the right margin.
  static constexpr int32_t kNumberLeft = 4400, kNumberWidth = 1300;
  static constexpr int32_t kDateLeft = 5800, kDateWidth = 1000;
  static constexpr int32_t kQuantityWidth = 1200;
  static constexpr int32_t kShippedLeft = kPrintWidth - kQuantityWidth;
  static constexpr int32_t kOrderedLeft = kShippedLeft - kQuantityWidth - 100;
  static constexpr int32_t kBackorderedLeft = kOrderedLeft - kQuantityWidth - 100;
  static constexpr int32_t kCaptionTop = 80;
  static constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;
  static constexpr int32_t kTotalTop = 60;

 private:
  std::string_view where_text_;
  // Detail sections formatted by this object, never reset: a second run continues the alternation.
  int16_t mRowCount = 0;
};

}  // namespace vob::reports
