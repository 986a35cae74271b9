// Page items as bytes: unsigned LEB128 for counts and indices, zigzag LEB128 for positions, length-prefixed
// texts. Deflate (libdeflate, a fast level) does the rest: a listing's pages repeat their positions,
// fonts and names on every line.
#include "cli/viewer/packed_pages.h"

#include <libdeflate.h>

#include <stdexcept>
#include <string_view>

namespace vob::cli::viewer {
namespace {

constexpr int kDeflateLevel = 4;

void PutNumber(std::string& out, uint64_t value) {
  while (value >= 0x80) {
    out += static_cast<char>((value & 0x7F) | 0x80);
    value >>= 7;
  }
  out += static_cast<char>(value);
}

void PutSigned(std::string& out, int64_t value) {
  PutNumber(out, (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63));
}

void PutText(std::string& out, std::string_view text) {
  PutNumber(out, text.size());
  out += text;
}

// Reads what the Put functions wrote; a short or damaged stream is a bug of ours, never of the input.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Number() {
    uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
      const auto byte = static_cast<uint8_t>(Byte());
      value |= static_cast<uint64_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return value;
    }
  }
  int64_t Signed() {
    const uint64_t value = Number();
    return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
  }
  std::string Text() {
    const size_t size = Number();
    if (size > bytes_.size() - at_) throw std::logic_error("packed page cut short");
    std::string text(bytes_.substr(at_, size));
    at_ += size;
    return text;
  }
  char Byte() {
    if (at_ >= bytes_.size()) throw std::logic_error("packed page cut short");
    return bytes_[at_++];
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* decompressor) const { libdeflate_free_decompressor(decompressor); }
};

libdeflate_decompressor& ThreadDecompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
      libdeflate_alloc_decompressor());
  return *decompressor;
}

}  // namespace

PackedPages::PackedPages() : compressor_(libdeflate_alloc_compressor(kDeflateLevel)) {
  if (compressor_ == nullptr) throw std::bad_alloc();
}

PackedPages::~PackedPages() {
  libdeflate_free_compressor(compressor_);
}

void PackedPages::Add(const engine::Page& page) {
  std::string& out = scratch_;
  out.clear();
  PutNumber(out, page.items.size());
  for (const engine::PageItem& item : page.items) {
    out += static_cast<char>(static_cast<uint8_t>(item.kind) | static_cast<uint8_t>(item.align) << 2 |
                             (item.is_stretched ? 0x10 : 0));
    PutSigned(out, item.left);
    PutSigned(out, item.top);
    PutSigned(out, item.width);
    PutSigned(out, item.height);
    out += static_cast<char>(item.color.red);
    out += static_cast<char>(item.color.green);
    out += static_cast<char>(item.color.blue);
    PutSigned(out, item.line_twips);
    PutNumber(out, item.font);
    PutNumber(out, item.section);
    PutNumber(out, item.control);
    PutNumber(out, item.deferred == engine::kNotDeferred ? 0 : uint64_t{item.deferred} + 1);
    PutText(out, item.text);
    PutText(out, item.hyperlink);
    uint32_t picture = 0;
    if (item.picture) {
      auto [it, is_new] = picture_index_.try_emplace(item.picture.get(), pictures_.size() + 1);
      if (is_new) {
        pictures_.push_back(item.picture);
        bytes_ += sizeof(engine::Picture) + item.picture->encoded.size() + item.picture->rgba.size();
      }
      picture = it->second;
    }
    PutNumber(out, picture);
  }
  Packed packed{std::string(libdeflate_deflate_compress_bound(compressor_, out.size()), '\0'),
                static_cast<uint32_t>(out.size()), page.number, page.width, page.height};
  packed.deflated.resize(libdeflate_deflate_compress(compressor_, out.data(), out.size(),
                                                     packed.deflated.data(), packed.deflated.size()));
  packed.deflated.shrink_to_fit();
  bytes_ += sizeof(Packed) + packed.deflated.capacity();
  pages_.push_back(std::move(packed));
}

engine::Page PackedPages::Get(size_t index) const {
  const Packed& packed = pages_.at(index);
  std::string bytes(packed.size, '\0');
  if (libdeflate_deflate_decompress(&ThreadDecompressor(), packed.deflated.data(), packed.deflated.size(),
                                    bytes.data(), bytes.size(), nullptr) != LIBDEFLATE_SUCCESS) {
    throw std::logic_error("packed page does not inflate");
  }
  Reader in(bytes);
  engine::Page page;
  page.number = packed.number;
  page.width = packed.width;
  page.height = packed.height;
  page.items.resize(in.Number());
  for (engine::PageItem& item : page.items) {
    const auto flags = static_cast<uint8_t>(in.Byte());
    item.kind = static_cast<engine::ItemKind>(flags & 0x3);
    item.align = static_cast<engine::Align>((flags >> 2) & 0x3);
    item.is_stretched = (flags & 0x10) != 0;
    item.left = static_cast<int32_t>(in.Signed());
    item.top = static_cast<int32_t>(in.Signed());
    item.width = static_cast<int32_t>(in.Signed());
    item.height = static_cast<int32_t>(in.Signed());
    item.color.red = static_cast<uint8_t>(in.Byte());
    item.color.green = static_cast<uint8_t>(in.Byte());
    item.color.blue = static_cast<uint8_t>(in.Byte());
    item.line_twips = static_cast<int32_t>(in.Signed());
    item.font = static_cast<uint32_t>(in.Number());
    item.section = static_cast<uint32_t>(in.Number());
    item.control = static_cast<uint32_t>(in.Number());
    const uint64_t deferred = in.Number();
    item.text = in.Text();
    item.hyperlink = in.Text();
    if (deferred != 0) {
      const auto slot = static_cast<uint32_t>(deferred - 1);
      if (slot < deferred_texts_.size()) {
        item.text = deferred_texts_[slot];
      } else {
        item.deferred = slot;
      }
    }
    if (const uint64_t picture = in.Number(); picture != 0) item.picture = pictures_.at(picture - 1);
  }
  return page;
}

}  // namespace vob::cli::viewer
