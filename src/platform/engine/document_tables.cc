// Interning of fonts and names for the document being filled.
#include "platform/engine/document_tables.h"

#include <algorithm>
#include <atomic>

#include "platform/vb/format.h"

namespace vob::engine {
namespace {

// Report objects are used on one thread at a time, but serials must still differ between threads.
std::atomic<uint64_t> last_serial{0};

uint64_t NextSerial() {
  return ++last_serial;
}

}  // namespace

DocumentTables::DocumentTables(std::string report_key, std::string title) : serial_(NextSerial()) {
  info_.report_key = std::move(report_key);
  info_.title = std::move(title);
  info_.names.emplace_back();
  name_indices_.emplace("", 0);
}

uint32_t DocumentTables::FontIndex(const FontSpec& font) {
  for (size_t index = 0; index < info_.fonts.size(); ++index) {
    if (info_.fonts[index] == font) return static_cast<uint32_t>(index);
  }
  info_.fonts.push_back(font);
  return static_cast<uint32_t>(info_.fonts.size() - 1);
}

uint32_t DocumentTables::NameIndex(std::string_view name) {
  auto [found, is_new] =
      name_indices_.try_emplace(std::string(name), static_cast<uint32_t>(info_.names.size()));
  if (is_new) info_.names.emplace_back(name);
  return found->second;
}

const DocumentTables::AsciiWidths& DocumentTables::MeasureWidths(uint32_t font_index,
                                                                 TextMeasurer& measurer) {
  if (ascii_widths_.size() <= font_index) ascii_widths_.resize(font_index + 1);
  auto widths = std::make_unique<AsciiWidths>();
  widths->by_byte.fill(-1);
  for (char c = ' '; c <= '~'; ++c) {
    auto width = static_cast<float>(measurer.WidthTwips(info_.fonts[font_index], {&c, 1}));
    widths->by_byte[static_cast<unsigned char>(c)] = width;
    widths->widest = std::max(widths->widest, width);
  }
  ascii_widths_[font_index] = std::move(widths);
  return *ascii_widths_[font_index];
}

uint32_t DocumentTables::NewPageCountSlot(std::string output_format) {
  slots_.push_back(Slot{false, std::move(output_format)});
  return static_cast<uint32_t>(slots_.size() - 1);
}

uint32_t DocumentTables::NewPageNumberSlot(std::string output_format) {
  slots_.push_back(Slot{true, std::move(output_format)});
  has_page_number_slots_ = true;
  return static_cast<uint32_t>(slots_.size() - 1);
}

void DocumentTables::ResolvePageNumbers(Page& page) const {
  if (!has_page_number_slots_) return;
  for (PageItem& item : page.items) {
    if (item.deferred == kNotDeferred || !slots_[item.deferred].is_page_number) continue;
    item.text = vb::Format(vb::Variant(page.number), slots_[item.deferred].output_format);
    item.deferred = kNotDeferred;
  }
}

std::vector<std::string> DocumentTables::DeferredTexts(int page_count) const {
  std::vector<std::string> texts;
  for (const Slot& slot : slots_)
    texts.push_back(slot.is_page_number ? "" : vb::Format(vb::Variant(page_count), slot.output_format));
  return texts;
}

}  // namespace vob::engine
