// Prints a report object through CUPS: runs it into a PDF and submits that as one job whose media is the
// report's paper. Shared by the command line and the C interface, so both send the bytes `run -o` writes.
#pragma once

#include <string>
#include <string_view>

#include "manager/report_output.h"
#include "platform/engine/active_report.h"
#include "platform/render/cups_printer.h"

namespace vob {

struct PrintRequest {
  std::string printer;  // empty: the CUPS default destination
  int copies = 1;
  std::string sides;   // empty: the printer's default
  std::string pages;   // "1-3,5"; empty: every page
  bool waits = false;  // until the job has completed
};

struct PrintedReport {
  render::PrintJob job;
  int page_count = 0;
};

// The sides a job may ask for.
inline constexpr std::string_view kPrintSides[] = {"one-sided", "two-sided-long-edge",
                                                   "two-sided-short-edge"};

// Throws render::PrintError naming what is wrong: copies below 1, sides not one of kPrintSides, pages that
// ParsePageRanges refuses.
void CheckPrintRequest(const PrintRequest& request);

// The request that options describe: "name=value" pairs separated by ';' or new lines, names copies, sides,
// pages, printer and wait (wait=1 waits for the job), blanks around names and values ignored. Throws
// render::PrintError for an unknown name, a pair without '=', or a value CheckPrintRequest refuses.
PrintRequest ParsePrintOptions(std::string_view options);

// Runs the report and prints its PDF, sent to CUPS while it is written, so that printing costs little more
// than writing the file. The job's name is options.title (or the report key). Throws the run's errors as
// RunReportToPdf does, and render::PrintError for no server, an unknown, stopped or refusing printer (before
// the report runs), pages outside the report, and (with request.waits) a job that was aborted, cancelled or
// stopped. A failed run or pages outside it cancel the job and purge it: nothing is left queued.
PrintedReport PrintReport(engine::ActiveReport& report, const ReportOutputOptions& options,
                          const PrintRequest& request);

// Submits a finished PDF of page_count pages whose first page is width x height twips, as PrintReport does:
// for a host that keeps its runs (the viewer) and prints one again without running it.
PrintedReport PrintPdf(std::string_view pdf, int page_count, int32_t width_twips, int32_t height_twips,
                       const std::string& title, const PrintRequest& request);

}  // namespace vob
