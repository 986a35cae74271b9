// Report object to print job: the run's PDF, the first page's size for the media, the request checked before
// the report runs and the pages checked against the run before anything is queued.
#include "manager/report_print.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <utility>

#include "platform/vb/names.h"

namespace vob {
namespace {

using render::PrintError;

struct PaperSize {
  int32_t width_twips = engine::Page().width, height_twips = engine::Page().height;
  bool is_known = false;
};

// Forwards every page and notes the size of the first; a report's pages share their paper.
class FirstPageSize final : public engine::PageSink {
 public:
  FirstPageSize(engine::PageSink& output, PaperSize& size) : output_(output), size_(size) {}
  void Begin(const engine::DocumentInfo& info) override { output_.Begin(info); }
  void AddPage(const engine::DocumentInfo& info, engine::Page page) override {
    if (!size_.is_known) size_ = {page.width, page.height, true};
    output_.AddPage(info, std::move(page));
  }
  void End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) override {
    output_.End(info, end);
  }

 private:
  engine::PageSink& output_;
  PaperSize& size_;
};

// The caller's observer over the size recorder, owning both.
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
  if (!request.pages.empty()) {
    for (const auto& [first, last] : render::ParsePageRanges(request.pages)) {
      if (last > page_count) {
        throw PrintError("pages \"" + request.pages + "\" reach page " + std::to_string(last) +
                         " of a report of " + std::to_string(page_count) +
                         (page_count == 1 ? " page" : " pages"));
      }
    }
  }
  render::PrintJobOptions job_options;
  job_options.printer = request.printer;
  job_options.job_name = title;
  job_options.media = render::MediaForPage(width_twips, height_twips);
  job_options.copies = request.copies;
  job_options.sides = request.sides;
  job_options.page_ranges = request.pages;
  PrintedReport printed;
  printed.job = render::SubmitPdf(pdf, job_options);
  printed.page_count = page_count;
  printed.media = job_options.media;
  if (request.waits) render::WaitForJob(printed.job);
  return printed;
}

PrintedReport PrintReport(engine::ActiveReport& report, const ReportOutputOptions& options,
                          const PrintRequest& request) {
  CheckPrintRequest(request);  // a bad request fails before the report runs
  PaperSize size;
  ReportOutputOptions run_options = options;
  run_options.observe_pages = [&size,
                               &options](engine::PageSink& output) -> std::unique_ptr<engine::PageSink> {
    auto recorder = std::make_unique<FirstPageSize>(output, size);
    std::unique_ptr<engine::PageSink> observer;
    if (options.observe_pages) observer = options.observe_pages(*recorder);
    return std::make_unique<ObservedPages>(std::move(recorder), std::move(observer));
  };
  const PdfDocument document = RunReportToPdf(report, run_options);
  return PrintPdf(document.bytes, document.page_count, size.width_twips, size.height_twips,
                  options.title.empty() ? options.report_key : options.title, request);
}

}  // namespace vob
