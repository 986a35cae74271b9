// Engine-internal: the shared tables of the document being filled (fonts, names, deferred slots), which the
// main report and its subreports all add to. Objects cache their indices per document serial.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/engine/page_model.h"
#include "platform/engine/text_measurer.h"

namespace vob::engine {

class DocumentTables {
 public:
  DocumentTables(std::string report_key, std::string title);

  const DocumentInfo& info() const { return info_; }
  // Different for every document, never 0, so that 0 can mean "not cached".
  uint64_t serial() const { return serial_; }
  uint32_t FontIndex(const FontSpec& font);
  uint32_t NameIndex(std::string_view name);
  // The widths of the printable ASCII characters in a font, measured once per document: by byte, negative
  // for every other byte; widest is the widest of them.
  struct AsciiWidths {
    std::array<float, 256> by_byte;
    float widest = 0;
  };
  const AsciiWidths& WidthsOf(uint32_t font_index, TextMeasurer& measurer) {
    if (font_index < ascii_widths_.size() && ascii_widths_[font_index] != nullptr)
      return *ascii_widths_[font_index];
    return MeasureWidths(font_index, measurer);
  }

  // A new deferred slot for a page count shown through an output format; its text is made at the end.
  uint32_t NewPageCountSlot(std::string output_format);
  // A new slot for a page number: the fill puts the number of the page the item lands on into it when the
  // page is finished (ResolvePageNumbers), so no sink ever sees one.
  uint32_t NewPageNumberSlot(std::string output_format);
  void ResolvePageNumbers(Page& page) const;
  // The texts of the page-count slots, once the page count is known (page-number slots give "").
  std::vector<std::string> DeferredTexts(int page_count) const;

 private:
  DocumentInfo info_;
  uint64_t serial_;
  std::unordered_map<std::string, uint32_t> name_indices_;
  const AsciiWidths& MeasureWidths(uint32_t font_index, TextMeasurer& measurer);

  struct Slot {
    bool is_page_number;
    std::string output_format;
  };
  std::vector<Slot> slots_;
  std::vector<std::unique_ptr<AsciiWidths>> ascii_widths_;  // by font index; null until measured
  bool has_page_number_slots_ = false;
};

// A section instance laid out: its items relative to the section's top-left corner, and its height.
struct Band {
  std::vector<PageItem> items;
  int32_t height = 0;
};

}  // namespace vob::engine
