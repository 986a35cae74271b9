// The PDF page sink: pages stream out as they come; what needs the whole document waits for End.
// Deferred texts ("Page N of M") are form XObjects whose content is written after the last page.
// In the background the pages are drawn in the order given, first in, first out, so the thread's timing can
// change when bytes reach the disk but never which bytes or where.
#include "platform/render/pdf_writer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/render/pdf_content.h"
#include "platform/render/pdf_faces.h"
#include "platform/render/pdf_fonts.h"
#include "platform/render/pdf_images.h"
#include "platform/render/pdf_outline.h"
#include "platform/render/pdf_output.h"
#include "platform/render/render_error.h"

namespace vob::render {
namespace {

// One form per deferred slot and way of showing it; pages that show a slot alike share the form.
struct FormKey {
  uint32_t slot, font;
  engine::Align align;
  int32_t width, height;
  uint8_t red, green, blue;
  auto operator<=>(const FormKey&) const = default;
};

// Page items the caller may queue ahead of the drawing thread (a page of a listing has about 700), so a slow
// disk holds the fill back instead of letting pages pile up in memory.
constexpr size_t kMostQueuedItems = 16384;
// The drawing thread is woken once this many items wait rather than for every page: a short page takes less
// time to draw than a wake-up and a sleep cost. A caller held back for room is woken once the queue is down
// to half, for the same reason.
constexpr size_t kBatchItems = 2048;

// A page for the drawing thread, with the document's fonts it has not been given yet.
struct PageJob {
  engine::Page page;
  std::vector<PdfFont> fonts;
};

struct Link {
  int64_t left, bottom, right, top;
  size_t item;
  uint32_t object;
};

std::string PdfDate(std::chrono::sys_seconds time) {
  auto days = std::chrono::floor<std::chrono::days>(time);
  std::chrono::year_month_day date(days);
  std::chrono::hh_mm_ss clock(time - days);
  char text[32];
  std::snprintf(text, sizeof text, "D:%04d%02u%02u%02d%02d%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

}  // namespace

struct PdfWriter::State {
  State(FontService& font_service, OutputFile file, PdfOptions pdf_options)
      : fonts(font_service),
        options(std::move(pdf_options)),
        faces(fonts.may_skip_shaping()),
        output(std::move(file), options.copy_bytes),
        pdf_fonts(faces, output),
        images(output),
        content(faces, pdf_fonts) {
    catalog = output.Reserve();
    pages = output.Reserve();
    resources = output.Reserve();
  }
  ~State() {
    if (worker.joinable()) StopBackground(/*abandon=*/true);
  }

  // The caller's side.
  void Submit(const engine::DocumentInfo& info, engine::Page page);
  // The document's fonts not yet given to the drawing side, resolved.
  std::vector<PdfFont> TakeNewFonts(const engine::DocumentInfo& info);
  void StopBackground(bool abandon);
  // The drawing side: on the background thread while it runs, else on the caller's.
  void DrawInBackground();
  void Draw(PageJob& job);
  void AddPage(const engine::Page& page);
  void WriteForms(const engine::DocumentEnd& end);
  void End(const engine::DocumentInfo& info, const engine::DocumentEnd& end);

  FontService& fonts;
  PdfOptions options;
  size_t fonts_given = 0;  // of the document's, to the drawing side
  PdfFaces faces;
  PdfOutput output;
  PdfFonts pdf_fonts;
  PdfImages images;
  PdfContent content;
  uint32_t catalog = 0, pages = 0, resources = 0;
  std::vector<uint32_t> page_objects;
  std::vector<int32_t> page_heights;
  std::map<FormKey, uint32_t> form_slots;
  std::vector<std::pair<FormKey, uint32_t>> forms;  // by slot: key and object
  std::vector<Link> links;                          // of the page being written
  PdfBuffer buffer;
  bool has_ended = false;

  // The queue between the two sides.
  std::mutex mutex;
  std::condition_variable has_work, has_room;
  std::deque<PageJob> queue;
  size_t queued_items = 0;
  // Drawn pages, freed by the caller: its allocator then never waits for the drawing thread's frees.
  std::vector<engine::Page> drawn;
  bool is_closing = false, is_abandoned = false, is_caller_waiting = false;
  std::exception_ptr failure;
  // Whether a caller held back for room may go on: the one condition it waits for and is woken by.
  bool MayCallerGoOn() const { return queued_items <= kMostQueuedItems / 2 || failure; }
  std::thread worker;
  const std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

std::vector<PdfFont> PdfWriter::State::TakeNewFonts(const engine::DocumentInfo& info) {
  std::vector<PdfFont> resolved = ResolveFonts(fonts, info, fonts_given);
  fonts_given = info.fonts.size();
  return resolved;
}

void PdfWriter::State::Submit(const engine::DocumentInfo& info, engine::Page page) {
  PageJob job{std::move(page), TakeNewFonts(info)};
  if (!worker.joinable()) {
    if (!options.writes_in_background ||
        std::chrono::steady_clock::now() - started < options.background_after) {
      Draw(job);
      return;
    }
    worker = std::thread(&State::DrawInBackground, this);
  }
  const size_t items = job.page.items.size();
  bool is_batch_full = false;
  std::vector<engine::Page> freed;
  {
    std::unique_lock lock(mutex);
    if (queued_items >= kMostQueuedItems) {
      is_caller_waiting = true;
      has_room.wait(lock, [&] { return MayCallerGoOn(); });
      is_caller_waiting = false;
    }
    if (failure) std::rethrow_exception(failure);
    is_batch_full = queued_items < kBatchItems && queued_items + items >= kBatchItems;
    queued_items += items;
    queue.push_back(std::move(job));
    freed.swap(drawn);
  }
  if (is_batch_full) has_work.notify_one();
}

void PdfWriter::State::DrawInBackground() {
  std::unique_lock lock(mutex);
  while (true) {
    if (queue.empty()) has_work.wait(lock, [&] { return queued_items >= kBatchItems || is_closing; });
    if (queue.empty()) return;
    PageJob job = std::move(queue.front());
    queue.pop_front();
    const size_t items = job.page.items.size();
    const bool is_wanted = !failure && !is_abandoned;
    lock.unlock();
    std::exception_ptr error;
    if (is_wanted) {
      try {
        Draw(job);
      } catch (...) {
        error = std::current_exception();
      }
    }
    lock.lock();
    drawn.push_back(std::move(job.page));
    if (error) failure = error;
    queued_items -= items;
    if (is_caller_waiting && MayCallerGoOn()) has_room.notify_one();
  }
}

void PdfWriter::State::StopBackground(bool abandon) {
  {
    std::lock_guard lock(mutex);
    is_closing = true;
    is_abandoned = abandon;
  }
  has_work.notify_one();
  worker.join();
}

void PdfWriter::State::Draw(PageJob& job) {
  for (const PdfFont& font : job.fonts) faces.Add(font);
  AddPage(job.page);
}

void PdfWriter::State::AddPage(const engine::Page& page) {
  const int64_t height = MilliFromTwips(page.height);
  content.Reset(true);
  links.clear();
  for (size_t index = 0; index < page.items.size(); ++index) {
    const engine::PageItem& item = page.items[index];
    switch (item.kind) {
      case engine::ItemKind::kText:
        if (item.deferred != engine::kNotDeferred) {
          FormKey key{item.deferred, item.font,      item.align,       item.width,
                      item.height,   item.color.red, item.color.green, item.color.blue};
          auto [found, is_new] = form_slots.try_emplace(key, static_cast<uint32_t>(forms.size()));
          if (is_new) forms.emplace_back(key, output.Reserve());
          content.Form(item, found->second, height);
        } else if (!item.text.empty()) {
          content.Text(item, item.text, MilliFromTwips(item.left), height - MilliFromTwips(item.top));
        }
        if (!item.hyperlink.empty()) {
          int64_t left = MilliFromTwips(item.left), top = height - MilliFromTwips(item.top);
          links.push_back(Link{left, top - MilliFromTwips(item.height), left + MilliFromTwips(item.width),
                               top, index, 0});
        }
        break;
      case engine::ItemKind::kRect:
        content.Rect(item, height);
        break;
      case engine::ItemKind::kLine:
        content.Line(item, height);
        break;
      case engine::ItemKind::kImage:
        if (item.picture != nullptr) content.Image(item, images.Slot(item.picture), height);
        break;
    }
  }
  const uint32_t contents = output.Reserve(), page_object = output.Reserve();
  for (Link& link : links) link.object = output.Reserve();
  output.WritePageStream(contents, "", content.Finish());

  buffer.Clear();
  buffer << "<</Type/Page/Parent ";
  buffer.Ref(pages) << "/MediaBox[0 0 ";
  buffer.Milli(MilliFromTwips(page.width)) << ' ';
  buffer.Milli(height) << "]/Resources ";
  buffer.Ref(resources) << "/Contents ";
  buffer.Ref(contents);
  if (!links.empty()) {
    buffer << "/Annots[";
    for (const Link& link : links) buffer.Ref(link.object) << ' ';
    buffer << ']';
  }
  buffer << ">>";
  output.WriteObject(page_object, buffer.view());
  for (const Link& link : links) {
    buffer.Clear();
    buffer << "<</Type/Annot/Subtype/Link/Rect[";
    buffer.Milli(link.left) << ' ';
    buffer.Milli(link.bottom) << ' ';
    buffer.Milli(link.right) << ' ';
    buffer.Milli(link.top) << "]/Border[0 0 0]/P ";
    buffer.Ref(page_object) << "/A<</S/URI/URI";
    // Drill-down targets are identifiers ("C001", "R:jobinfo;J01") handed back to the host byte for byte.
    buffer.LiteralString(page.items[link.item].hyperlink) << ">>>>";
    output.WriteObject(link.object, buffer.view());
  }
  page_objects.push_back(page_object);
  page_heights.push_back(page.height);
}

void PdfWriter::State::WriteForms(const engine::DocumentEnd& end) {
  for (const auto& [key, object] : forms) {
    if (key.slot >= end.deferred_texts.size()) {
      throw RenderError("deferred text " + std::to_string(key.slot) + " has no final text (" +
                        std::to_string(end.deferred_texts.size()) + " given) in " + output.target());
    }
    engine::PageItem item;
    item.align = key.align;
    item.width = key.width;
    item.height = key.height;
    item.font = key.font;
    item.color = engine::Color{key.red, key.green, key.blue};
    content.Reset(false);
    const std::string& text = end.deferred_texts[key.slot];
    content.Text(item, text, 0, 0);
    // The box grows to whatever the final text covers, so a long page count is never clipped.
    PdfContent::Box box = content.last_text_box();
    box.left = std::min<int64_t>(box.left, 0);
    box.right = std::max<int64_t>(box.right, MilliFromTwips(key.width));
    box.bottom = std::min<int64_t>(box.bottom, -MilliFromTwips(key.height));
    box.top = std::max<int64_t>(box.top, 0);
    buffer.Clear();
    buffer << "/Type/XObject/Subtype/Form/BBox[";
    buffer.Milli(box.left - 1000) << ' ';
    buffer.Milli(box.bottom - 1000) << ' ';
    buffer.Milli(box.right + 1000) << ' ';
    buffer.Milli(box.top + 1000) << "]/Resources ";
    buffer.Ref(resources);
    std::string dictionary(buffer.view());
    output.WritePageStream(object, dictionary, content.Finish());
  }
}

void PdfWriter::State::End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) {
  if (worker.joinable()) {
    StopBackground(/*abandon=*/false);
    if (failure) std::rethrow_exception(failure);
  }
  // The deferred texts may use fonts no page did.
  for (const PdfFont& font : TakeNewFonts(info)) faces.Add(font);
  if (page_objects.empty()) {
    // A document needs a page to open; an empty report shows one blank Letter page.
    AddPage(engine::Page{});
  }
  WriteForms(end);
  pdf_fonts.WriteAll();

  buffer.Clear();
  buffer << "<<";
  if (pdf_fonts.count() != 0) {
    buffer << "/Font<<";
    for (uint32_t slot = 0; slot < pdf_fonts.count(); ++slot) {
      buffer << "/F";
      buffer.Int(slot) << ' ';
      buffer.Ref(pdf_fonts.object(slot));
    }
    buffer << ">>";
  }
  if (!forms.empty() || images.count() != 0) {
    buffer << "/XObject<<";
    for (uint32_t slot = 0; slot < forms.size(); ++slot) {
      buffer << "/D";
      buffer.Int(slot) << ' ';
      buffer.Ref(forms[slot].second);
    }
    for (uint32_t slot = 0; slot < images.count(); ++slot) {
      buffer << "/I";
      buffer.Int(slot) << ' ';
      buffer.Ref(images.object(slot));
    }
    buffer << ">>";
  }
  buffer << ">>";
  output.WriteObject(resources, buffer.view());

  buffer.Clear();
  buffer << "<</Type/Pages/Count ";
  buffer.Int(static_cast<int64_t>(page_objects.size())) << "/Kids[";
  for (uint32_t page : page_objects) buffer.Ref(page) << ' ';
  buffer << "]>>";
  output.WriteObject(pages, buffer.view());

  uint32_t outline = WriteOutline(output, end.toc, page_objects, page_heights);
  buffer.Clear();
  buffer << "<</Type/Catalog/Pages ";
  buffer.Ref(pages);
  if (outline != 0) {
    buffer << "/Outlines ";
    buffer.Ref(outline) << "/PageMode/UseOutlines";
  }
  buffer << ">>";
  output.WriteObject(catalog, buffer.view());

  uint32_t document_info = output.Reserve();
  buffer.Clear();
  buffer << "<<";
  if (!info.title.empty()) (buffer << "/Title ").TextString(info.title);
  if (!info.report_key.empty()) (buffer << "/Subject ").TextString(info.report_key);
  buffer << "/Producer(vobreports)";
  if (options.creation_time) buffer << "/CreationDate" << '(' << PdfDate(*options.creation_time) << ')';
  buffer << ">>";
  output.WriteObject(document_info, buffer.view());
  output.Finish(catalog, document_info);
  has_ended = true;
}

PdfWriter::PdfWriter(FontService& fonts, std::string path, PdfOptions options)
    : state_(std::make_unique<State>(fonts, OutputFile(std::move(path)), std::move(options))) {}

PdfWriter::PdfWriter(FontService& fonts, std::string* bytes, PdfOptions options)
    : state_(std::make_unique<State>(fonts, OutputFile(bytes, "the PDF in memory"), std::move(options))) {}

PdfWriter::~PdfWriter() = default;

void PdfWriter::Begin(const engine::DocumentInfo&) {}

void PdfWriter::AddPage(const engine::DocumentInfo& info, engine::Page page) {
  if (state_->has_ended) throw RenderError("page added after the end of " + state_->output.target());
  state_->Submit(info, std::move(page));
}

void PdfWriter::End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) {
  if (state_->has_ended) throw RenderError("document ended twice: " + state_->output.target());
  state_->End(info, end);
}

void WritePdf(const engine::PageModel& model, FontService& fonts, const std::string& path,
              const PdfOptions& options) {
  PdfWriter writer(fonts, path, options);
  writer.Begin(model.info());
  for (const engine::Page& page : model.pages()) writer.AddPage(model.info(), page);
  engine::DocumentEnd end;
  end.page_count = model.page_count();
  end.toc = model.toc();
  writer.End(model.info(), end);
}

}  // namespace vob::render
