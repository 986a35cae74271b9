// A kept run's pages in a compact form: each page's items written as a byte stream (small numbers in few
// bytes, texts as they are) and deflated, pictures kept once however many items show them. A page is
// unpacked whenever a request reads it; about 2 % of what the page objects took for a long listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/engine/page_model.h"

struct libdeflate_compressor;

namespace vob::cli::viewer {

// Not thread-safe: the kept run guards it.
class PackedPages {
 public:
  PackedPages();
  ~PackedPages();
  PackedPages(const PackedPages&) = delete;
  PackedPages& operator=(const PackedPages&) = delete;

  void Add(const engine::Page& page);
  size_t size() const { return pages_.size(); }
  // Page `index` (from 0) as it was added, its deferred texts filled in once Resolve was called.
  engine::Page Get(size_t index) const;
  int32_t width(size_t index) const { return pages_[index].width; }
  int32_t height(size_t index) const { return pages_[index].height; }
  // The document's end: the final texts of deferred items ("of M").
  void Resolve(std::vector<std::string> deferred_texts) { deferred_texts_ = std::move(deferred_texts); }

  // The memory held: packed bytes, pictures and bookkeeping.
  size_t bytes() const { return bytes_; }

 private:
  struct Packed {
    std::string deflated;
    uint32_t size = 0;  // before deflating
    int number = 0;
    int32_t width = 0, height = 0;
  };

  std::vector<Packed> pages_;
  std::vector<std::shared_ptr<const engine::Picture>> pictures_;
  std::unordered_map<const engine::Picture*, uint32_t> picture_index_;
  std::vector<std::string> deferred_texts_;
  libdeflate_compressor* compressor_;
  std::string scratch_;  // the page being packed, kept for its capacity
  size_t bytes_ = 0;
};

}  // namespace vob::cli::viewer
