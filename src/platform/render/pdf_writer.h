// Writes a report's pages as PDF while the engine produces them: each page's content goes to the file as it
// arrives, fonts (as subsets), deferred texts, the outline and the page tree follow at End.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/engine/page_model.h"
#include "platform/render/font_service.h"

namespace vob::render {

struct PdfOptions {
  // The document's /CreationDate; none when absent. The writer reads no clock, so equal input gives equal
  // bytes.
  std::optional<std::chrono::sys_seconds> creation_time;
  // Pages are drawn, compressed and written on a second thread while the engine fills the next ones, once
  // the writer has been at work background_after (pages before then are drawn on the caller's thread); the
  // bytes are the same either way. A run that ends sooner gains next to nothing in time from the thread and
  // pays for handing pages over in CPU (a third more on a customer list of 360 pages), which a host running
  // reports side by side feels.
  bool writes_in_background = true;
  std::chrono::milliseconds background_after{30};
  // Sees every byte of the file as it is written, in order, on the thread that writes (the second one, for
  // the pages once it runs): a printer can take the document while the report still runs. What
  // it throws fails the writer as a full disk does.
  std::function<void(std::string_view bytes)> copy_bytes = nullptr;
};

// A PageSink that writes a PDF file. The file appears at path only when End succeeds; until then it is a
// temporary next to it, removed when the writer is destroyed without End.
// Throws RenderError naming the file (cannot write) or the font (cannot find) from any call.
class PdfWriter final : public engine::PageSink {
 public:
  PdfWriter(FontService& fonts, std::string path, PdfOptions options = {});
  // Writes the same bytes into *bytes instead, all at once when End succeeds; no file is made.
  PdfWriter(FontService& fonts, std::string* bytes, PdfOptions options = {});
  ~PdfWriter() override;

  void Begin(const engine::DocumentInfo& info) override;
  void AddPage(const engine::DocumentInfo& info, engine::Page page) override;
  void End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Writes a finished page model as PDF (its deferred texts are already resolved).
void WritePdf(const engine::PageModel& model, FontService& fonts, const std::string& path,
              const PdfOptions& options = {});

}  // namespace vob::render
