// Report object to output file: render options, the streaming PDF sink or the in-memory page model.
// A PDF in memory goes through the same streaming writer as the file, so it is byte for byte the file.
#include "manager/report_output.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/engine/run.h"
#include "platform/render/font_service.h"
#include "platform/render/pdf_writer.h"
#include "platform/render/render_output.h"
#include "platform/vb/date.h"

namespace vob {
namespace {

// Forwards to the output and keeps the page count the run ends with.
class PageCounter final : public engine::PageSink {
 public:
  explicit PageCounter(engine::PageSink& output) : output_(output) {}
  void Begin(const engine::DocumentInfo& info) override { output_.Begin(info); }
  void AddPage(const engine::DocumentInfo& info, engine::Page page) override {
    output_.AddPage(info, std::move(page));
  }
  void End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) override {
    output_.End(info, end);
    page_count_ = end.page_count;
  }
  int page_count() const { return page_count_; }

 private:
  engine::PageSink& output_;
  int page_count_ = 0;
};

// Tells progress the pages done: the first page at once, then ten times a second at most, then the final
// count once the output behind it is complete.
class ProgressSink final : public engine::PageSink {
 public:
  ProgressSink(engine::PageSink& output, const std::function<void(int, bool)>& progress)
      : output_(output), progress_(progress) {}
  void Begin(const engine::DocumentInfo& info) override { output_.Begin(info); }
  void AddPage(const engine::DocumentInfo& info, engine::Page page) override {
    const int number = page.number;
    output_.AddPage(info, std::move(page));
    const auto now = std::chrono::steady_clock::now();
    if (now >= next_call_) {
      next_call_ = now + std::chrono::milliseconds(100);
      progress_(number, false);
    }
  }
  void End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) override {
    output_.End(info, end);
    progress_(end.page_count, true);
  }

 private:
  engine::PageSink& output_;
  const std::function<void(int, bool)>& progress_;
  std::chrono::steady_clock::time_point next_call_;
};

// Where a data export runs, the pages are laid out as for print and then dropped.
class DroppedPages final : public engine::PageSink {
 public:
  void Begin(const engine::DocumentInfo&) override {}
  void AddPage(const engine::DocumentInfo&, engine::Page) override {}
  void End(const engine::DocumentInfo&, const engine::DocumentEnd&) override {}
};

render::RenderOptions RenderOptionsFor(const ReportOutputOptions& options) {
  render::RenderOptions render_options;
  render_options.dots_per_inch = options.dots_per_inch;
  render_options.exports = options.exports;
  render_options.exports.run_date = vb::Now();
  render_options.pdf.copy_bytes = options.copy_pdf_bytes;
  if (options.stamps_creation_time) {
    const double now = vb::Now();
    const auto seconds = static_cast<int64_t>(std::llround((now - 25569.0) * 86400.0));  // 25569: 1970-01-01
    render_options.pdf.creation_time = std::chrono::sys_seconds(std::chrono::seconds(seconds));
  }
  return render_options;
}

// The faces a thread opened, and the texts it shaped, kept for its next run: a host runs many small reports,
// and opening a face (its advances and layout rules) costs more than laying out a one-page report. A PDF
// numbers its fonts by first use in its own run, so a kept service gives the bytes a fresh one gives.
render::FontService& ThreadFonts() {
  thread_local render::FontService fonts;
  return fonts;
}

// Runs the report into `output`, telling the caller's progress when there is one.
int RunInto(engine::ActiveReport& report, render::FontService& fonts, engine::PageSink& output,
            const ReportOutputOptions& options, engine::RecordSink* records = nullptr) {
  PageCounter counter(output);
  std::unique_ptr<engine::PageSink> observer;
  if (options.observe_pages) observer = options.observe_pages(counter);
  engine::PageSink& observed = observer ? *observer : counter;
  std::optional<ProgressSink> progress;
  if (options.progress) progress.emplace(observed, options.progress);
  const engine::RunContext context{fonts, progress ? static_cast<engine::PageSink&>(*progress) : observed,
                                   options.report_key, options.title, options.cancel_requested};
  if (records != nullptr) {
    engine::Run(report, context, *records);
  } else {
    engine::Run(report, context);
  }
  return counter.page_count();
}

}  // namespace

int RunReportToPath(engine::ActiveReport& report, const std::string& path, const ReportOutputOptions& options,
                    std::ostream* standard_output) {
  render::OutputKindOf(path);  // an unknown extension fails before the report runs
  const render::RenderOptions render_options = RenderOptionsFor(options);
  render::FontService& fonts = ThreadFonts();
  if (render::IsRecordExport(path)) {
    std::unique_ptr<engine::RecordSink> records = render::OpenRecordExport(path, render_options);
    DroppedPages pages;
    return RunInto(report, fonts, pages, options, records.get());
  }
  if (render::CanStream(path)) {
    std::unique_ptr<engine::PageSink> sink = render::OpenStreamingSink(fonts, path, render_options);
    return RunInto(report, fonts, *sink, options);
  }
  engine::PageModel model;
  const int page_count = RunInto(report, fonts, model, options);
  render::RenderToPath(model, fonts, path, render_options, standard_output);
  return page_count;
}

PdfDocument RunReportToPdf(engine::ActiveReport& report, const ReportOutputOptions& options,
                           bool keeps_bytes) {
  const render::RenderOptions render_options = RenderOptionsFor(options);
  render::FontService& fonts = ThreadFonts();
  PdfDocument document;
  render::PdfWriter writer(fonts, keeps_bytes ? &document.bytes : nullptr, render_options.pdf);
  document.page_count = RunInto(report, fonts, writer, options);
  return document;
}

}  // namespace vob
