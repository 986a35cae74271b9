// Report object to print job: the destination checked before the report runs, the job opened at the first
// page with its paper as media and fed the PDF while it is written, the pages checked before it is finished.
#include "manager/report_print.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <utility>

#include "platform/vb/names.h"

namespace vob {
namespace {

using render::PrintError;

// Forwards every page; at the first, whose paper the report's pages share, opens the job with that media, so
// that the document goes to the printer while the report still runs.
class OpenAtFirstPage final : public engine::PageSink {
 public:
  OpenAtFirstPage(engine::PageSink& output, render::PrintJobStream& job) : output_(output), job_(job) {}
  void Begin(const engine::DocumentInfo& info) override { output_.Begin(info); }
  void AddPage(const engine::DocumentInfo& info, engine::Page page) override {
    if (!is_open_) {
      job_.Open(render::MediaForPage(page.width, page.height));
      is_open_ = true;
    }
    output_.AddPage(info, std::move(page));
  }
  void End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) override {
    output_.End(info, end);
  }

 private:
  engine::PageSink& output_;
  render::PrintJobStream& job_;
  bool is_open_ = false;
};

// The caller's observer over the job opener, owning both.
class ObservedPages final : public engine::PageSink {
 public:
  ObservedPages(std::unique_ptr<engine::PageSink> recorder, std::unique_ptr<engine::PageSink> observer)
      : recorder_(std::move(recorder)), observer_(std::move(observer)) {}
  void Begin(const engine::DocumentInfo& info) override { Front().Begin(info); }
  void AddPage(const engine::DocumentInfo& info, engine::Page page) override {
    Front().AddPage(info, std::move(page));
  }
  void End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) override {
    Front().End(info, end);
  }

 private:
  engine::PageSink& Front() { return observer_ ? *observer_ : *recorder_; }
  std::unique_ptr<engine::PageSink> recorder_, observer_;
};

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

render::PrintJobOptions JobOptionsFor(const PrintRequest& request, const std::string& title) {
  render::PrintJobOptions job_options;
  job_options.printer = request.printer;
  job_options.job_name = title;
  job_options.media =
      render::MediaForPage(engine::Page().width, engine::Page().height);  // a report of no pages
  job_options.copies = request.copies;
  job_options.sides = request.sides;
  job_options.page_ranges = request.pages;
  return job_options;
}

void CheckPagesWithin(const PrintRequest& request, int page_count) {
  if (request.pages.empty()) return;
  for (const auto& [first, last] : render::ParsePageRanges(request.pages)) {
    if (last > page_count) {
      throw PrintError("pages \"" + request.pages + "\" reach page " + std::to_string(last) +
                       " of a report of " + std::to_string(page_count) +
                       (page_count == 1 ? " page" : " pages"));
    }
  }
}

}  // namespace

void CheckPrintRequest(const PrintRequest& request) {
  if (request.copies < 1) {
    throw PrintError("copies " + std::to_string(request.copies) + " is not a number of copies (1 or more)");
  }
  if (!request.sides.empty() &&
      std::find(std::begin(kPrintSides), std::end(kPrintSides), request.sides) == std::end(kPrintSides)) {
    throw PrintError("sides \"" + request.sides +
                     "\" is not one-sided, two-sided-long-edge or two-sided-short-edge");
  }
  if (!request.pages.empty()) render::ParsePageRanges(request.pages);
}

PrintRequest ParsePrintOptions(std::string_view options) {
  PrintRequest request;
  size_t start = 0;
  while (start <= options.size()) {
    const size_t end = std::min(options.find_first_of(";\n", start), options.size());
    const std::string_view pair = Trimmed(options.substr(start, end - start));
    start = end + 1;
    if (pair.empty()) continue;
    const size_t equals = pair.find('=');
    if (equals == std::string_view::npos) {
      throw PrintError("print option \"" + std::string(pair) + "\" is not NAME=VALUE");
    }
    const std::string name = vb::LowerAscii(Trimmed(pair.substr(0, equals)));
    const std::string value(Trimmed(pair.substr(equals + 1)));
    if (name == "copies") {
      int copies = 0;
      const auto [at, error] = std::from_chars(value.data(), value.data() + value.size(), copies);
      if (value.empty() || error != std::errc() || at != value.data() + value.size()) {
        throw PrintError("copies \"" + value + "\" is not a whole number");
      }
      request.copies = copies;
    } else if (name == "sides") {
      request.sides = value;
    } else if (name == "pages") {
      request.pages = value;
    } else if (name == "printer") {
      request.printer = value;
    } else if (name == "wait") {
      if (value != "0" && value != "1") throw PrintError("wait \"" + value + "\" is not 0 or 1");
      request.waits = value == "1";
    } else {
      throw PrintError("unknown print option \"" + name + "\" (copies, sides, pages, printer, wait)");
    }
  }
  CheckPrintRequest(request);
  return request;
}

PrintedReport PrintPdf(std::string_view pdf, int page_count, int32_t width_twips, int32_t height_twips,
                       const std::string& title, const PrintRequest& request) {
  CheckPrintRequest(request);
  CheckPagesWithin(request, page_count);
  render::PrintJobOptions job_options = JobOptionsFor(request, title);
  job_options.media = render::MediaForPage(width_twips, height_twips);
  PrintedReport printed;
  printed.job = render::SubmitPdf(pdf, job_options);
  printed.page_count = page_count;
  if (request.waits) render::WaitForJob(printed.job);
  return printed;
}

PrintedReport PrintReport(engine::ActiveReport& report, const ReportOutputOptions& options,
                          const PrintRequest& request) {
  CheckPrintRequest(request);  // a bad request, a missing or stopped printer fail before the report runs
  const std::string title = options.title.empty() ? options.report_key : options.title;
  render::PrintJobStream job(JobOptionsFor(request, title));
  ReportOutputOptions run_options = options;
  run_options.observe_pages = [&job,
                               &options](engine::PageSink& output) -> std::unique_ptr<engine::PageSink> {
    auto recorder = std::make_unique<OpenAtFirstPage>(output, job);
    std::unique_ptr<engine::PageSink> observer;
    if (options.observe_pages) observer = options.observe_pages(*recorder);
    return std::make_unique<ObservedPages>(std::move(recorder), std::move(observer));
  };
  run_options.copy_pdf_bytes = [&job](std::string_view bytes) { job.Write(bytes); };
  PrintedReport printed;
  try {
    printed.page_count = RunReportToPdf(report, run_options, /*keeps_bytes=*/false).page_count;
  } catch (...) {
    // The writer reports a failed send as its own failure; the printer's words say more.
    if (const std::exception_ptr failure = job.failure()) std::rethrow_exception(failure);
    throw;
  }
  CheckPagesWithin(request, printed.page_count);  // else the job, unfinished, is cancelled and purged
  printed.job = job.Finish();
  if (request.waits) render::WaitForJob(printed.job);
  return printed;
}

}  // namespace vob
