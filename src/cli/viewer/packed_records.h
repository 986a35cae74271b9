// A kept run's printed rows for the CSV and XLSX downloads: each record's cells (value, printed text, format)
// written as bytes and deflated in blocks, then played back into an exporter as the run gave them.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "platform/engine/record_sink.h"

namespace vob::cli::viewer {

// Thread-safe: the run's thread records while a download may play back what is there.
class PackedRecords final : public engine::RecordSink {
 public:
  void Begin(const engine::DocumentInfo& info, const engine::RecordLayout& layout) override;
  void AddRecord(const engine::Record& record) override;
  void End() override;

  // Gives `sink` the calls the run gave, Begin to End. REQUIRES: End was called.
  void Replay(engine::RecordSink& sink) const;

  size_t bytes() const;

 private:
  void Seal();  // REQUIRES: mutex_ held

  mutable std::mutex mutex_;
  engine::DocumentInfo info_;
  engine::RecordLayout layout_;
  struct Block {
    std::string deflated;
    size_t size = 0;
  };
  std::vector<Block> blocks_;
  std::string open_;  // the records not sealed in a block yet
  size_t bytes_ = 0;
};

}  // namespace vob::cli::viewer
