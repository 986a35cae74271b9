// Chooses the output by the path's extension and writes it: .pdf, .png and .svg (one file per page: out.png
// gives out-1.png, out-2.png, ...), .txt (text dump), .json (JSON dump), "-" for the text dump on stdout, and
// the data exports .csv and .xlsx, which take the run's records rather than its pages.
// Every file is written under a temporary name and renamed only when all of the output is complete.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/engine/page_model.h"
#include "platform/engine/record_sink.h"
#include "platform/render/export_table.h"
#include "platform/render/font_service.h"
#include "platform/render/page_image_writer.h"
#include "platform/render/pdf_writer.h"

namespace vob::render {

enum class OutputKind { kPdf, kPng, kSvg, kText, kJson, kStandardOutput, kCsv, kXlsx };

struct RenderOptions {
  double dots_per_inch = kDefaultDpi;  // PNG only
  PdfOptions pdf;
  ExportOptions exports;  // CSV and XLSX
};

// Throws RenderError naming the path when its extension is none of the above (compared without case).
OutputKind OutputKindOf(std::string_view path);

// The name of page N's file for the per-page outputs: "out/report.png", 2 -> "out/report-2.png".
std::string PageFilePath(std::string_view path, int page_number);

// Writes a finished model to path; "-" writes the text dump to standard_output.
void RenderToPath(const engine::PageModel& model, FontService& fonts, const std::string& path,
                  const RenderOptions& options = {}, std::ostream* standard_output = nullptr);

// True when the output can take pages while the engine produces them (PDF); the others need a PageModel.
bool CanStream(std::string_view path);
// A sink that writes path as the pages arrive. REQUIRES: CanStream(path).
std::unique_ptr<engine::PageSink> OpenStreamingSink(FontService& fonts, const std::string& path,
                                                    const RenderOptions& options = {});

// True for the data exports (.csv, .xlsx): the run goes to OpenRecordExport's sink, its pages nowhere.
bool IsRecordExport(std::string_view path);
// A sink that writes path from the run's records; the file appears when its End has run.
// REQUIRES: IsRecordExport(path).
std::unique_ptr<engine::RecordSink> OpenRecordExport(const std::string& path,
                                                     const RenderOptions& options = {});

}  // namespace vob::render
