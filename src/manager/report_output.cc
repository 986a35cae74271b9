// Report object to output file: render options, the streaming PDF sink or the in-memory page model.
// A PDF in memory is written to a private temporary folder and read back, so it is byte for byte the file.
#include "manager/report_output.h"

#include <stdlib.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "platform/engine/run.h"
#include "platform/render/font_service.h"
#include "platform/render/render_error.h"
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

// Runs the report into `output`, through the caller's observer when there is one.
int RunInto(engine::ActiveReport& report, render::FontService& fonts, engine::PageSink& output,
            const ReportOutputOptions& options, engine::RecordSink* records = nullptr) {
  PageCounter counter(output);
  std::unique_ptr<engine::PageSink> observer;
  if (options.observe_pages) observer = options.observe_pages(counter);
  const engine::RunContext context{fonts, observer ? *observer : counter, options.report_key, options.title};
  if (records != nullptr) {
    engine::Run(report, context, *records);
  } else {
    engine::Run(report, context);
  }
  return counter.page_count();
}

// A folder of its own under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vobreports-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw render::RenderError("cannot create a temporary folder like " + pattern + ": " +
                                std::error_code(errno, std::generic_category()).message());
    }
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

int RunReportToPath(engine::ActiveReport& report, const std::string& path, const ReportOutputOptions& options,
                    std::ostream* standard_output) {
  render::OutputKindOf(path);  // an unknown extension fails before the report runs
  const render::RenderOptions render_options = RenderOptionsFor(options);
  render::FontService fonts;
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
  TemporaryFolder folder;
  const std::string path = (folder.path() / "report.pdf").string();
  PdfDocument document;
  document.page_count = RunReportToPath(report, path, options);
  if (!keeps_bytes) return document;
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  if (!error) document.bytes.resize(size);
  if (error || !file.read(document.bytes.data(), static_cast<std::streamsize>(size))) {
    throw render::RenderError("cannot read back the PDF written to " + path);
  }
  return document;
}

}  // namespace vob
