// Runs a report object and writes its output: the one path from a report object to a file, shared by the
// command line and the C interface so that both write the same bytes for the same run.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/engine/active_report.h"
#include "platform/engine/page_model.h"
#include "platform/render/export_table.h"
#include "platform/render/page_image_writer.h"

namespace vob {

struct ReportOutputOptions {
  std::string report_key;  // names the run in the output's document info ("trbalance")
  std::string title;
  double dots_per_inch = render::kDefaultDpi;  // PNG only
  // The PDF then carries vb::Now() as its creation date; set it only with a pinned clock, so that the
  // same run gives the same bytes.
  bool stamps_creation_time = false;
  // CSV and XLSX; their run date is always the run's clock (vb::Now()).
  render::ExportOptions exports;
  // Sees the pages on their way to the output (printing opens its job at the first page). The sink it returns
  // must forward every call to `output`. May be empty.
  std::function<std::unique_ptr<engine::PageSink>(engine::PageSink& output)> observe_pages;
  // PDF only: sees the file's bytes as they are written (render::PdfOptions::copy_bytes). May be empty.
  std::function<void(std::string_view bytes)> copy_pdf_bytes;
  // Told the pages done while the run goes on, on the running thread: when the first page is done, then at
  // most ten times a second, and once more with the final count (is_final) when the output is complete.
  // A listing makes thousands of pages a second, so a call for each would cost more than some pages. May be
  // empty.
  std::function<void(int pages_done, bool is_final)> progress;
  // Once this is true (set from any thread, or from progress) the run stops before its next row or page and
  // throws engine::RunCancelled, leaving no output.
  const std::atomic<bool>* cancel_requested = nullptr;
};

// Runs the report and writes the output `path` names by its extension: .pdf (streamed while the report
// runs), .png and .svg (one file per page), .txt, .json, .csv and .xlsx (the printed rows as data, written
// while the report runs), or "-" for the text dump on standard_output (std::cout when null). Returns the page
// count. Throws the run's error (engine::RunError names report, handler and SQL) or render::RenderError, for
// an unknown extension before the report runs; a failed run leaves no output file behind.
int RunReportToPath(engine::ActiveReport& report, const std::string& path, const ReportOutputOptions& options,
                    std::ostream* standard_output = nullptr);

struct PdfDocument {
  std::string bytes;
  int page_count = 0;
};

// Runs the report into a PDF held in memory, the same bytes RunReportToPath writes to a .pdf path; no file
// is made. Without keeps_bytes they are dropped as written (bytes stays empty): for a caller that takes them
// from options.copy_pdf_bytes.
PdfDocument RunReportToPdf(engine::ActiveReport& report, const ReportOutputOptions& options,
                           bool keeps_bytes = true);

}  // namespace vob
