// The finished pages a report fill produces: positioned text, rectangles, lines and images, in twips.
// Plain data, read by the renderers and nothing else; the engine hands pages out one at a time (PageSink).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vob::engine {

inline constexpr int32_t kTwipsPerInch = 1440;
inline constexpr int32_t kTwipsPerPoint = 20;

struct Color {
  uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(Color, Color) = default;
};

enum class Align : uint8_t { kLeft = 0, kRight = 1, kCenter = 2 };

// A font as a report names it; the font service resolves the family ("Arial" to Liberation Sans).
struct FontSpec {
  std::string family = "Arial";
  float size_points = 8;
  bool is_bold = false;
  bool is_italic = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// A decoded picture with its original bytes, so that a PDF writer can pass JPEG through unchanged.
struct Picture {
  enum class Encoding : uint8_t { kJpeg, kOther };
  Encoding encoding = Encoding::kOther;
  std::string encoded;  // the file's bytes
  int width_pixels = 0, height_pixels = 0;
  std::vector<uint8_t> rgba;  // width * height * 4, straight (not premultiplied) alpha
};

enum class ItemKind : uint8_t { kText, kRect, kLine, kImage };

// Where a value is known only when its scope closes ("Page N of M"): the item's text is replaced at the
// end of the document by the slot's final text (DocumentEnd::deferred_texts).
inline constexpr uint32_t kNotDeferred = UINT32_MAX;

// One positioned item. Boxes are left, top, width, height in twips from the page's top-left corner.
//
// | field          | text                         | rect          | line                    | image |
// |----------------|------------------------------|---------------|-------------------------|----------------|
// | box            | the control's box            | the area      | from (left,top) to      | the control |
// |                |                              |               | (left+width, top+height)| | | text |
// lines separated by '\n',     | -             | -                       | -              | | | already
// wrapped by the engine|               |                         |                | | font, align    | used
// | -             | -                       | -              | | color          | text colour | fill colour
// | stroke colour           | -              | | line_twips     | -                            | - | stroke
// width            | -              | | picture        | -                            | -             | - |
// used; stretch  | |                |                              |               | | or clip        | |
// hyperlink      | link target text, exactly    | -             | -                       | -              |
// | section/control| names for dumps (indices into PageModel names)                                      |
struct PageItem {
  ItemKind kind = ItemKind::kText;
  Align align = Align::kLeft;
  bool is_stretched = false;  // images: stretch to the box (true) or clip at natural size
  int32_t left = 0, top = 0, width = 0, height = 0;
  Color color;
  int32_t line_twips = 15;
  uint32_t font = 0;     // index into the document's fonts
  uint32_t section = 0;  // index into the document's names
  uint32_t control = 0;  // index into the document's names
  uint32_t deferred = kNotDeferred;
  std::string text;
  std::string hyperlink;
  std::shared_ptr<const Picture> picture;
};

struct Page {
  int number = 1;  // 1-based
  int32_t width = 12240, height = 15840;
  std::vector<PageItem> items;  // in drawing order: shading first, then what stands on it
};

struct TocEntry {
  std::string text;               // the entry's own text (the last level)
  std::vector<std::string> path;  // all levels, outermost first ("A\B" gives {"A", "B"})
  int level = 0;                  // 0 for top-level entries
  int page = 1;                   // 1-based page the entry lands on
};

// Known before the first page: shared tables the items index into.
struct DocumentInfo {
  std::string report_key;  // "chaccts"
  std::string title;
  std::vector<FontSpec> fonts;     // grows as pages arrive; an item's font index is always valid by then
  std::vector<std::string> names;  // section and control names; index 0 is ""
};

struct DocumentEnd {
  int page_count = 0;
  std::vector<TocEntry> toc;
  std::vector<std::string> deferred_texts;  // by slot
};

// Receives pages as the fill completes them, so that a long report streams to its output.
// Calls: Begin once, AddPage per page in order, End once; a failed run calls none after the failure and the
// sink's owner discards what it wrote.
class PageSink {
 public:
  virtual ~PageSink() = default;
  virtual void Begin(const DocumentInfo& info) = 0;
  // info is the same object as in Begin; its tables may have grown.
  virtual void AddPage(const DocumentInfo& info, Page page) = 0;
  virtual void End(const DocumentInfo& info, const DocumentEnd& end) = 0;
};

// Keeps every page in memory and resolves deferred texts at End: what dumps, tests and PNG/SVG read.
class PageModel final : public PageSink {
 public:
  void Begin(const DocumentInfo& info) override { info_ = info; }
  void AddPage(const DocumentInfo& info, Page page) override {
    info_ = info;
    pages_.push_back(std::move(page));
  }
  void End(const DocumentInfo& info, const DocumentEnd& end) override;

  const DocumentInfo& info() const { return info_; }
  const std::vector<Page>& pages() const { return pages_; }
  const std::vector<TocEntry>& toc() const { return end_.toc; }
  int page_count() const { return end_.page_count; }
  std::string_view name(uint32_t index) const { return info_.names.at(index); }
  const FontSpec& font(uint32_t index) const { return info_.fonts.at(index); }

 private:
  DocumentInfo info_;
  DocumentEnd end_;
  std::vector<Page> pages_;
};

}  // namespace vob::engine
