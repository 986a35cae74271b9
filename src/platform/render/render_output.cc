// Output selection by extension.
// Per-page outputs keep every page's temporary until the last page is drawn, so a failure leaves none of
// them.
#include "platform/render/render_output.h"

#include <iostream>
#include <vector>

#include "platform/render/cairo_painter.h"
#include "platform/render/csv_export.h"
#include "platform/render/json_dump.h"
#include "platform/render/output_file.h"
#include "platform/render/render_error.h"
#include "platform/render/text_dump.h"
#include "platform/render/xlsx_export.h"
#include "platform/vb/names.h"

namespace vob::render {
namespace {

// A stream that writes into an OutputFile; the dumps are written through std::ostream.
class OutputFileBuffer final : public std::streambuf {
 public:
  explicit OutputFileBuffer(OutputFile& file) : file_(file) { setp(buffer_, buffer_ + sizeof buffer_); }
  ~OutputFileBuffer() override = default;
  void Flush() {
    file_.Write(pbase(), static_cast<size_t>(pptr() - pbase()));
    setp(buffer_, buffer_ + sizeof buffer_);
  }

 protected:
  int_type overflow(int_type c) override {
    Flush();
    if (c != traits_type::eof()) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    if (count > epptr() - pptr()) {
      Flush();
      file_.Write(data, static_cast<size_t>(count));
    } else {
      std::copy(data, data + count, pptr());
      pbump(static_cast<int>(count));
    }
    return count;
  }

 private:
  OutputFile& file_;
  char buffer_[1 << 16];
};

template <typename WriteFunction>
void WriteThroughStream(const std::string& path, WriteFunction write) {
  OutputFile file(path);
  auto buffer = std::make_unique<OutputFileBuffer>(file);
  std::ostream stream(buffer.get());
  // The stream must not swallow a failed write: RenderError from the file passes through.
  stream.exceptions(std::ios::badbit);
  write(stream);
  buffer->Flush();
  file.Commit();
}

}  // namespace

OutputKind OutputKindOf(std::string_view path) {
  if (path == "-") return OutputKind::kStandardOutput;
  if (vb::EndsWithIgnoringCase(path, ".pdf")) return OutputKind::kPdf;
  if (vb::EndsWithIgnoringCase(path, ".png")) return OutputKind::kPng;
  if (vb::EndsWithIgnoringCase(path, ".svg")) return OutputKind::kSvg;
  if (vb::EndsWithIgnoringCase(path, ".txt")) return OutputKind::kText;
  if (vb::EndsWithIgnoringCase(path, ".json")) return OutputKind::kJson;
  if (vb::EndsWithIgnoringCase(path, ".csv")) return OutputKind::kCsv;
  if (vb::EndsWithIgnoringCase(path, ".xlsx")) return OutputKind::kXlsx;
  throw RenderError("unknown output type for " + std::string(path) +
                    ": expected .pdf, .png, .svg, .txt, .json, .csv, .xlsx or - for standard output");
}

std::string PageFilePath(std::string_view path, int page_number) {
  size_t dot = path.rfind('.');
  size_t slash = path.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) dot = path.size();
  return std::string(path.substr(0, dot)) + "-" + std::to_string(page_number) + std::string(path.substr(dot));
}

bool CanStream(std::string_view path) {
  return path != "-" && OutputKindOf(path) == OutputKind::kPdf;
}

std::unique_ptr<engine::PageSink> OpenStreamingSink(FontService& fonts, const std::string& path,
                                                    const RenderOptions& options) {
  if (!CanStream(path)) throw RenderError("cannot stream pages to " + path + ": only PDF output streams");
  return std::make_unique<PdfWriter>(fonts, path, options.pdf);
}

bool IsRecordExport(std::string_view path) {
  if (path == "-") return false;
  const OutputKind kind = OutputKindOf(path);
  return kind == OutputKind::kCsv || kind == OutputKind::kXlsx;
}

std::unique_ptr<engine::RecordSink> OpenRecordExport(const std::string& path, const RenderOptions& options) {
  if (!IsRecordExport(path))
    throw RenderError("cannot export records to " + path + ": only CSV and XLSX take them");
  if (OutputKindOf(path) == OutputKind::kCsv) return std::make_unique<CsvExport>(path, options.exports);
  return std::make_unique<XlsxExport>(path, options.exports);
}

void RenderToPath(const engine::PageModel& model, FontService& fonts, const std::string& path,
                  const RenderOptions& options, std::ostream* standard_output) {
  switch (OutputKindOf(path)) {
    case OutputKind::kPdf:
      WritePdf(model, fonts, path, options.pdf);
      return;
    case OutputKind::kPng:
    case OutputKind::kSvg: {
      if (model.pages().empty()) throw RenderError("no pages to write to " + path);
      const bool is_png = OutputKindOf(path) == OutputKind::kPng;
      CairoPainter painter(fonts);
      std::vector<OutputFile> files;
      files.reserve(model.pages().size());
      for (const engine::Page& page : model.pages()) {
        OutputFile& file = files.emplace_back(PageFilePath(path, page.number));
        if (is_png) {
          WritePng(painter, model, page, file, options.dots_per_inch);
        } else {
          WriteSvg(painter, model, page, file);
        }
      }
      for (OutputFile& file : files) file.Commit();
      return;
    }
    case OutputKind::kText:
      WriteThroughStream(path, [&](std::ostream& out) { WriteTextDump(model, out); });
      return;
    case OutputKind::kJson:
      WriteThroughStream(path, [&](std::ostream& out) { WriteJsonDump(model, out); });
      return;
    case OutputKind::kCsv:
    case OutputKind::kXlsx:
      throw RenderError("cannot write " + path +
                        " from pages: a data export is written while the report runs");
    case OutputKind::kStandardOutput: {
      std::ostream& out = standard_output != nullptr ? *standard_output : std::cout;
      WriteTextDump(model, out);
      out.flush();
      if (!out) throw RenderError("cannot write the text dump to standard output");
      return;
    }
  }
}

}  // namespace vob::render
