// The peer listing (/work/shared/peers/README.md) as a vobreports report, filled by the engine and written by
// the PDF writer as pages arrive. It checks its own result: the page count the peers' row arithmetic
// predicts.
//
// Usage: listing LISTING.sqlite OUT.pdf        the whole listing as PDF
//        listing LISTING.sqlite OUT.csv|.xlsx  the whole listing exported as data (the pages are dropped)
//        listing LISTING.sqlite --png OUT.png  page 1 only, as PNG at 72 dpi
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "cli/font_cache.h"
#include "listing_report.h"
#include "platform/engine/active_report.h"
#include "platform/engine/run.h"
#include "platform/render/cairo_painter.h"
#include "platform/render/font_locator.h"
#include "platform/render/font_service.h"
#include "platform/render/output_file.h"
#include "platform/render/page_image_writer.h"
#include "platform/render/pdf_writer.h"
#include "platform/render/render_output.h"

namespace vob::bench {
namespace {

using namespace engine;

// Where the listing is exported as data, its pages are laid out and dropped.
class DroppedPages final : public PageSink {
 public:
  void Begin(const DocumentInfo&) override {}
  void AddPage(const DocumentInfo&, Page) override {}
  void End(const DocumentInfo&, const DocumentEnd&) override {}
};

// Passes pages on and remembers the page count the engine gave at End.
class CountingSink final : public PageSink {
 public:
  explicit CountingSink(PageSink& next) : next_(next) {}
  void Begin(const DocumentInfo& info) override { next_.Begin(info); }
  void AddPage(const DocumentInfo& info, Page page) override { next_.AddPage(info, std::move(page)); }
  void End(const DocumentInfo& info, const DocumentEnd& end) override {
    page_count = end.page_count;
    next_.End(info, end);
  }
  int page_count = 0;

 private:
  PageSink& next_;
};

int Main(int argc, char** argv) {
  bool is_png = argc == 4 && std::strcmp(argv[2], "--png") == 0;
  if (argc != 3 && !is_png) {
    std::fprintf(stderr, "usage: %s LISTING.sqlite OUT.pdf | %s LISTING.sqlite --png OUT.png\n", argv[0],
                 argv[0]);
    return 2;
  }
  // Fonts are found as `vobreports run` finds them: from its cache when the fonts have not changed, else by
  // fontconfig on a thread of its own while the report opens its database.
  render::UseFontCache(cli::FontCacheSettingsFromEnvironment());
  render::StartFontDiscovery();
  render::FontService fonts;
  rptListing report(argv[1]);
  if (is_png) {
    PageModel model;
    Run(report, RunContext{fonts, model, "listing", "Listing"});
    render::CairoPainter painter(fonts);
    render::OutputFile file(argv[3]);
    render::WritePng(painter, model, model.pages().at(0), file, 72);
    file.Commit();
    return 0;
  }
  DroppedPages dropped;
  std::unique_ptr<PageSink> writer;
  std::unique_ptr<RecordSink> records;
  if (render::IsRecordExport(argv[2])) {
    records = render::OpenRecordExport(argv[2]);
  } else {
    writer = std::make_unique<render::PdfWriter>(fonts, argv[2]);
  }
  CountingSink sink(writer ? *writer : dropped);
  if (records) {
    Run(report, RunContext{fonts, sink, "listing", "Listing"}, *records);
  } else {
    Run(report, RunContext{fonts, sink, "listing", "Listing"});
  }
  if (sink.page_count != report.ExpectedPages()) {
    std::fprintf(stderr, "listing: %d pages, the peers' arithmetic gives %d\n", sink.page_count,
                 report.ExpectedPages());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace vob::bench

int main(int argc, char** argv) {
  try {
    return vob::bench::Main(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "listing: %s\n", error.what());
    return 1;
  }
}
