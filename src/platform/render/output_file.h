// A file written under a temporary name next to its target and renamed into place only by Commit.
// Dropping it without Commit deletes the temporary, and so does a stop signal once RemoveTemporariesOnStop
// ran.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace vob::render {

struct PendingPath;  // output_file.cc

class OutputFile {
 public:
  // Creates "<target>.XXXXXX" in the target's folder; throws RenderError naming the target when it cannot.
  explicit OutputFile(std::string target);
  // An output held in memory: *bytes receives all of it at Commit and nothing before; no file is made.
  // With bytes null the output is dropped as written (for a caller that sees it on its way). name stands for
  // the target in messages.
  OutputFile(std::string* bytes, std::string name);
  ~OutputFile();
  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&&) = delete;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Throws RenderError naming the target when the disk refuses the bytes.
  void Write(const void* data, size_t size);
  void Write(std::string_view text) { Write(text.data(), text.size()); }

  // Flushes, closes and renames the temporary onto the target. REQUIRES: not committed yet.
  void Commit();

  const std::string& target() const { return target_; }
  const std::string& temporary_path() const { return temporary_; }

 private:
  [[noreturn]] void Fail(const char* what) const;

  std::string target_;
  std::string temporary_;
  bool is_in_memory_ = false;
  std::string* memory_target_ = nullptr;  // where an output in memory goes, gathered in memory_ until then
  std::string memory_;
  std::FILE* file_ = nullptr;
  bool is_committed_ = false;
  PendingPath* pending_ = nullptr;  // the temporary's entry for the stop signal handler
};

// Installs handlers for SIGINT, SIGTERM and SIGHUP (those not ignored) that delete every temporary not
// committed yet, then end the process by the same signal. For programs, not libraries: call once from main.
void RemoveTemporariesOnStop();

}  // namespace vob::render
