// Interning of fonts and names for the document being filled.
#include "platform/engine/document_tables.h"

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

uint32_t DocumentTables::NewPageCountSlot(std::string output_format) {
  page_count_formats_.push_back(std::move(output_format));
  return static_cast<uint32_t>(page_count_formats_.size() - 1);
}

std::vector<std::string> DocumentTables::DeferredTexts(int page_count) const {
  std::vector<std::string> texts;
  for (const std::string& format : page_count_formats_)
    texts.push_back(vb::Format(vb::Variant(page_count), format));
  return texts;
}

}  // namespace vob::engine
