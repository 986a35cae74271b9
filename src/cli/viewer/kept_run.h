// One report run of the viewer: the page sink its thread fills and the packed pages every later request
// reads. Pages are readable while the run goes on; paging, searching and downloads never run the report
// again.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <shared_mutex>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/run_options.h"
#include "cli/viewer/packed_pages.h"
#include "cli/viewer/packed_records.h"
#include "platform/engine/page_model.h"
#include "platform/render/font_service.h"

namespace vob::cli::viewer {

enum class RunState { kRunning, kDone, kFailed, kCancelled };

// Thread-safe: the run's thread writes pages while any number of request threads read them.
class KeptRun final : public engine::PageSink {
 public:
  KeptRun(int id, RunOptions options) : id_(id), options_(std::move(options)) {}

  int id() const { return id_; }

  // Called on the run's thread as the run grows (every few pages), so that the owner can keep its memory
  // bound while a long run goes on. Set before the run starts.
  void set_on_growth(std::function<void()> on_growth) { on_growth_ = std::move(on_growth); }
  const RunOptions& options() const { return options_; }

  // The engine's calls. AddPage throws once Cancel was called, which ends the run at its next page.
  void Begin(const engine::DocumentInfo& info) override;
  void AddPage(const engine::DocumentInfo& info, engine::Page page) override;
  void End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) override;

  // Where the run's thread sends the printed rows, for the CSV and XLSX downloads.
  engine::RecordSink& records() { return records_; }

  // The run's thread reports how it ended when it ended without End: the error as `run` prints it.
  void Fail(std::string message);
  void Cancel() { is_cancel_asked_ = true; }
  bool is_cancel_asked() const { return is_cancel_asked_; }
  RunState state() const { return state_; }

  // {"id", "key", "title", "state", "pages" (so far), "width", "height" (page 1, points), "error", "toc"
  // (once done: [{"text", "level", "page"}]), "drilldown", "params" ({"1": TEXT, ...}, as the run was given
  // them), "kept_bytes" (what the run holds)}.
  nlohmann::ordered_json Status() const;

  // Page `number` (from 1) as SVG with a text layer: one <text> per text line, placed where the glyphs are,
  // carrying data-line (its index among the page's lines) and data-link (the item's hyperlink). Empty when
  // the page does not exist (yet).
  std::string PageSvg(int number, render::FontService& fonts) const;

  // Every line holding `query` as {"page", "line", "count"}, in page order: compared without ASCII case, and
  // with each run of blanks (in the line and in the query) taken as one blank.
  nlohmann::ordered_json Search(const std::string& query) const;

  // The finished run as PDF, text dump, JSON dump, CSV or XLSX ("pdf", "txt", "json", "csv", "xlsx"), the
  // bytes `run -o` writes for it. REQUIRES: state() is kDone.
  std::string Download(const std::string& kind, render::FontService& fonts) const;

  // The memory the run holds: its packed pages, pictures and document tables.
  size_t bytes() const { return bytes_ + records_.bytes(); }

 private:
  const int id_;
  const RunOptions options_;
  // The JSON dump of the whole run, written a chunk of pages at a time.
  std::string JsonInChunks() const;

  mutable std::shared_mutex mutex_;  // guards document_, pages_, error_
  engine::PageModel document_;       // the document's tables, contents and page count; no pages
  PackedPages pages_;
  PackedRecords records_;
  double run_date_ = 0;
  std::function<void()> on_growth_;  // the clock when the run began, for the workbook's properties
  std::string error_;
  std::atomic<RunState> state_ = RunState::kRunning;
  std::atomic<size_t> bytes_ = 0;
  std::atomic<bool> is_cancel_asked_ = false;
};

// `text` in the form search compares: ASCII letters in lower case, each run of spaces and tabs one space.
std::string SearchForm(std::string_view text);

// Removes the folders downloads are being written in, for a process about to end by a signal.
void RemoveScratchFolders();

}  // namespace vob::cli::viewer
