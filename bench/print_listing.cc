// The peer listing through the host's two paths for print-ready output, for bench/print_bench.sh: written as
// PDF as `run -o x.pdf` writes it, or printed through CUPS as `vobreports print` prints a report.
//
// Usage: print_listing LISTING.sqlite OUT.pdf       the listing as a PDF file
//        print_listing LISTING.sqlite --print [PRINTER]   the listing as one CUPS job; prints the job id
#include <cstdio>
#include <cstring>
#include <exception>

#include "listing_report.h"
#include "manager/report_output.h"
#include "manager/report_print.h"

int main(int argc, char** argv) {
  const bool prints = argc >= 3 && std::strcmp(argv[2], "--print") == 0;
  if (argc < 3 || argc > (prints ? 4 : 3)) {
    std::fprintf(stderr, "usage: %s LISTING.sqlite OUT.pdf | %s LISTING.sqlite --print [PRINTER]\n", argv[0],
                 argv[0]);
    return 2;
  }
  try {
    vob::bench::rptListing report(argv[1]);
    vob::ReportOutputOptions options;
    options.report_key = "listing";
    options.title = "Listing";
    if (!prints) {
      vob::RunReportToPath(report, argv[2], options);
      return 0;
    }
    vob::PrintRequest request;
    if (argc == 4) request.printer = argv[3];
    std::printf("%d\n", vob::PrintReport(report, options, request).job.id);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "print_listing: %s\n", error.what());
    return 1;
  }
}
