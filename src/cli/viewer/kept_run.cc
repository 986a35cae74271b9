// The kept run: pages packed as they arrive, unpacked to be drawn, searched and written out on request under
// a shared lock. A page read before the run ends shows its deferred texts ("of M") still open; End fills them
// in.
#include "cli/viewer/kept_run.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

#include <fmt/format.h>

#include "platform/error.h"
#include "platform/render/cairo_painter.h"
#include "platform/render/json_dump.h"
#include "platform/render/page_image_writer.h"
#include "platform/render/pdf_writer.h"
#include "platform/render/render_error.h"
#include "platform/render/render_output.h"
#include "platform/render/text_dump.h"
#include "platform/render/text_lines.h"
#include "platform/vb/date.h"
#include "platform/vb/lines.h"
#include "platform/vb/names.h"
#include "platform/vb/utf8.h"

namespace vob::cli::viewer {
namespace {

// Thrown from AddPage to stop a cancelled run; the engine passes it on as a RunError.
class Cancelled : public vob::Error {
 public:
  Cancelled() : vob::Error("cancelled") {}
};

const char* StateName(RunState state) {
  switch (state) {
    case RunState::kRunning:
      return "running";
    case RunState::kDone:
      return "done";
    case RunState::kFailed:
      return "failed";
    case RunState::kCancelled:
      return "cancelled";
  }
  return "";
}

size_t HeapBytes(const std::string& text) {
  return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

size_t TableBytes(const engine::DocumentInfo& info) {
  size_t bytes =
      info.fonts.capacity() * sizeof(engine::FontSpec) + info.names.capacity() * sizeof(std::string);
  for (const engine::FontSpec& font : info.fonts) bytes += HeapBytes(font.family);
  for (const std::string& name : info.names) bytes += HeapBytes(name);
  return bytes;
}

// Text for an XML attribute or element: markup escaped, and whatever is not a character XML allows (bytes
// that are not UTF-8, control characters) written as U+FFFD, so that the page always parses.
void AppendEscaped(std::string& out, std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    const char32_t c = vb::DecodeUtf8(text, at);
    if (vb::IsStrayByte(c) || (c < 0x20 && c != '\t') || c == 0xFFFE || c == 0xFFFF) {
      out += "\xEF\xBF\xBD";  // U+FFFD
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.append(text.substr(start, at - start));
    }
  }
}

// The scratch folders that exist now, so that a stop signal can remove them before the process ends.
std::mutex scratch_mutex;
std::set<std::filesystem::path> scratch_folders;

// A folder of its own for writing the PDF, removed with what is in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vobreports-view-XXXXXX").string();
    std::lock_guard lock(scratch_mutex);
    if (mkdtemp(pattern.data()) == nullptr) throw render::RenderError("cannot create " + pattern);
    path_ = pattern;
    scratch_folders.insert(path_);
  }
  ~ScratchFolder() {
    std::lock_guard lock(scratch_mutex);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    scratch_folders.erase(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string ReadBack(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  if (!file) throw render::RenderError("cannot read back the download written to " + path.string());
  return std::move(bytes).str();
}

}  // namespace

void RemoveScratchFolders() {
  scratch_mutex.lock();  // held for good: the process ends, and no folder is made or removed before it does
  std::error_code ignored;
  for (const std::filesystem::path& folder : scratch_folders) std::filesystem::remove_all(folder, ignored);
  scratch_folders.clear();
}

void KeptRun::Begin(const engine::DocumentInfo& info) {
  std::unique_lock lock(mutex_);
  document_.Begin(info);
  bytes_ = TableBytes(info);
  run_date_ = vb::Now();
}

void KeptRun::AddPage(const engine::DocumentInfo& info, engine::Page page) {
  if (is_cancel_asked_) throw Cancelled();
  size_t count = 0;
  {
    std::unique_lock lock(mutex_);
    document_.Begin(info);  // the tables may have grown
    pages_.Add(page);
    bytes_ = pages_.bytes() + TableBytes(info);
    count = pages_.size();
  }
  constexpr size_t kPagesBetweenGrowthCalls = 64;
  if (on_growth_ && count % kPagesBetweenGrowthCalls == 0) on_growth_();
}

void KeptRun::End(const engine::DocumentInfo& info, const engine::DocumentEnd& end) {
  std::unique_lock lock(mutex_);
  pages_.Resolve(end.deferred_texts);
  engine::DocumentEnd kept = end;
  kept.deferred_texts.clear();
  document_.End(info, kept);
  size_t bytes = pages_.bytes() + TableBytes(info);
  for (const std::string& text : end.deferred_texts) bytes += sizeof(std::string) + HeapBytes(text);
  for (const engine::TocEntry& entry : end.toc) {
    bytes += sizeof(entry) + HeapBytes(entry.text);
    for (const std::string& part : entry.path) bytes += sizeof(std::string) + HeapBytes(part);
  }
  bytes_ = bytes;
  state_ = RunState::kDone;
}

std::string KeptRun::JsonInChunks() const {
  // The dump of each chunk of pages, its pages array spliced into the last chunk's dump, which also holds
  // the contents: the same bytes as one dump of the whole run, with one chunk unpacked at a time.
  constexpr size_t kPagesPerChunk = 256;
  constexpr std::string_view kPagesKey = "\"pages\": [";
  constexpr std::string_view kTocKey = "\"toc\": [";
  std::string spliced;
  for (size_t first = 0; first == 0 || first < pages_.size(); first += kPagesPerChunk) {
    const size_t last = std::min(first + kPagesPerChunk, pages_.size());
    const bool is_last_chunk = last == pages_.size();
    engine::PageModel chunk;
    chunk.Begin(document_.info());
    for (size_t index = first; index < last; ++index) chunk.AddPage(document_.info(), pages_.Get(index));
    chunk.End(
        document_.info(),
        {document_.page_count(), is_last_chunk ? document_.toc() : std::vector<engine::TocEntry>{}, {}});
    std::ostringstream out;
    render::WriteJsonDump(chunk, out);
    std::string dump = std::move(out).str();
    const size_t pages_start = dump.find(kPagesKey) + kPagesKey.size();
    const size_t pages_end = dump.rfind(']', dump.rfind(kTocKey));
    if (pages_start < kPagesKey.size() || pages_end == std::string::npos || pages_end < pages_start) {
      throw render::RenderError("unexpected JSON dump layout");
    }
    if (is_last_chunk) {
      std::string whole = dump.substr(0, pages_start) + spliced;
      if (!spliced.empty()) whole += ',';
      return whole + dump.substr(pages_start);
    }
    std::string pages = dump.substr(pages_start, pages_end - pages_start);
    pages.erase(pages.find_last_not_of(" \n") + 1);
    if (!spliced.empty()) spliced += ',';
    spliced += pages;
  }
  return spliced;  // not reached: the last chunk returns
}

void KeptRun::Fail(std::string message) {
  std::unique_lock lock(mutex_);
  error_ = std::move(message);
  state_ = is_cancel_asked_ ? RunState::kCancelled : RunState::kFailed;
}

nlohmann::ordered_json KeptRun::Status() const {
  std::shared_lock lock(mutex_);
  const RunState state = state_;
  nlohmann::ordered_json status = {{"id", id_},
                                   {"key", options_.key},
                                   {"title", document_.info().title},
                                   {"drilldown", options_.drilldown},
                                   {"state", StateName(state)},
                                   {"pages", pages_.size()}};
  if (pages_.size() > 0) {
    status["width"] = pages_.width(0) / static_cast<double>(engine::kTwipsPerPoint);
    status["height"] = pages_.height(0) / static_cast<double>(engine::kTwipsPerPoint);
  }
  if (state == RunState::kFailed) status["error"] = error_;
  status["params"] = nlohmann::ordered_json::object();
  for (const std::string& param : options_.params) {
    const size_t equals = param.find('=');
    if (equals != std::string::npos) status["params"][param.substr(0, equals)] = param.substr(equals + 1);
  }
  status["kept_bytes"] = bytes();
  if (state == RunState::kDone) {
    status["toc"] = nlohmann::ordered_json::array();
    for (const engine::TocEntry& entry : document_.toc()) {
      status["toc"].push_back({{"text", entry.text}, {"level", entry.level}, {"page", entry.page}});
    }
  }
  return status;
}

std::string KeptRun::PageSvg(int number, render::FontService& fonts) const {
  std::shared_lock lock(mutex_);
  if (number < 1 || static_cast<size_t>(number) > pages_.size()) return "";
  const engine::Page page = pages_.Get(static_cast<size_t>(number) - 1);
  render::CairoPainter painter(fonts);
  std::string svg = render::SvgOfPage(painter, document_, page);

  std::string layer = "<g class=\"text-layer\" fill-opacity=\"0\">\n";
  int line_index = 0;
  for (const engine::PageItem& item : page.items) {
    if (item.kind != engine::ItemKind::kText) continue;
    const float size = document_.font(item.font).size_points;
    for (const render::TextLine& line : render::PlaceTextLines(fonts, document_, item)) {
      layer += fmt::format(
          "<text x=\"{:.2f}\" y=\"{:.2f}\" textLength=\"{:.2f}\" lengthAdjust=\"spacingAndGlyphs\" "
          "font-size=\"{}\" data-top=\"{:.2f}\" data-height=\"{:.2f}\" data-line=\"{}\"",
          line.left_points, line.baseline_points, line.width_points, size,
          line.baseline_points - line.ascent_points, line.ascent_points + line.descent_points, line_index++);
      if (!item.hyperlink.empty()) {
        layer += " data-link=\"";
        AppendEscaped(layer, item.hyperlink);
        layer += '"';
      }
      layer += '>';
      AppendEscaped(layer, line.text);
      layer += "</text>\n";
    }
  }
  layer += "</g>\n";
  const size_t close = svg.rfind("</svg>");
  svg.insert(close == std::string::npos ? svg.size() : close, layer);
  return svg;
}

std::string SearchForm(std::string_view text) {
  std::string form;
  form.reserve(text.size());
  for (char c : text) {
    const bool is_blank = c == ' ' || c == '\t';
    if (is_blank && !form.empty() && form.back() == ' ') continue;
    form += is_blank ? ' ' : (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return form;
}

nlohmann::ordered_json KeptRun::Search(const std::string& query) const {
  nlohmann::ordered_json hits = nlohmann::ordered_json::array();
  const std::string needle = SearchForm(query);
  if (needle.empty()) return hits;
  std::shared_lock lock(mutex_);
  for (size_t index = 0; index < pages_.size(); ++index) {
    const engine::Page page = pages_.Get(index);
    int line_index = 0;
    for (const engine::PageItem& item : page.items) {
      if (item.kind != engine::ItemKind::kText) continue;
      vb::ForEachLine(item.text, [&](std::string_view line) {
        if (line.empty()) return;  // the text layer holds the non-empty lines only
        const std::string form = SearchForm(line);
        int count = 0;
        for (size_t at = form.find(needle); at != std::string::npos;
             at = form.find(needle, at + needle.size())) {
          ++count;
        }
        if (count > 0) hits.push_back({{"page", page.number}, {"line", line_index}, {"count", count}});
        ++line_index;
      });
    }
  }
  return hits;
}

std::string KeptRun::Download(const std::string& kind, render::FontService& fonts) const {
  std::shared_lock lock(mutex_);
  if (kind == "txt" || kind == "json") {
    std::ostringstream out;
    if (kind == "txt") {
      // The text dump is page by page, so one page is unpacked at a time.
      for (size_t index = 0; index < pages_.size(); ++index) {
        engine::PageModel one;
        one.Begin(document_.info());
        one.AddPage(document_.info(), pages_.Get(index));
        one.End(document_.info(), {document_.page_count(), {}, {}});
        render::WriteTextDump(one, out);
      }
    } else {
      return JsonInChunks();
    }
    return std::move(out).str();
  }
  if (kind == "csv" || kind == "xlsx") {
    render::RenderOptions render_options;
    render_options.exports = options_.exports;
    render_options.exports.run_date = run_date_;
    ScratchFolder folder;
    const std::filesystem::path path = folder.path() / ("report." + kind);
    records_.Replay(*render::OpenRecordExport(path.string(), render_options));
    return ReadBack(path);
  }
  render::PdfOptions pdf_options;
  if (!options_.today.empty() || !options_.now.empty()) {  // a pinned clock stamps the PDF, as `run` does
    const auto seconds = static_cast<int64_t>(std::llround((vb::Now() - 25569.0) * 86400.0));  // 1970-01-01
    pdf_options.creation_time = std::chrono::sys_seconds(std::chrono::seconds(seconds));
  }
  ScratchFolder folder;
  const std::filesystem::path path = folder.path() / "report.pdf";
  {  // page by page, so that the whole document is never unpacked at once
    render::PdfWriter writer(fonts, path.string(), pdf_options);
    writer.Begin(document_.info());
    for (size_t index = 0; index < pages_.size(); ++index)
      writer.AddPage(document_.info(), pages_.Get(index));
    engine::DocumentEnd end;
    end.page_count = document_.page_count();
    end.toc = document_.toc();
    writer.End(document_.info(), end);
  }
  return ReadBack(path);
}

}  // namespace vob::cli::viewer
