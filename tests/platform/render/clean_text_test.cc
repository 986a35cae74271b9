// Texts with any bytes, as the text outputs write them; and the same page drawn twice as SVG.
#include "platform/render/clean_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/render/cairo_painter.h"
#include "platform/render/page_image_writer.h"
#include "platform/render/render_output.h"
#include "sample_document.h"

namespace vob::render {
namespace {

TEST(CleanText, KeepsUtf8AndLineBreaksDropsControlsReplacesStrayBytes) {
  struct Case {
    const char* what;
    std::string text, expected;
  };
  const Case kCases[] = {
      {"plain text and UTF-8 pass", "Caf\xC3\xA9 <b>&amp;</b> \xE2\x82\xAC",
       "Caf\xC3\xA9 <b>&amp;</b> \xE2\x82\xAC"},
      {"tab and line ends stay", "a\tb\r\nc", "a\tb\r\nc"},
      {"C0 controls and DEL go",
       std::string("A\x01\x0b\x0c\x1f\x7f"
                   "B\0C",
                   9),
       "ABC"},
      {"Latin-1 bytes read as U+FFFD", "Caf\xE9", "Caf\xEF\xBF\xBD"},
      {"an overlong form is no character", "\xC0\xA3", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"an encoded surrogate is no character", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"C1 controls and noncharacters go",
       "a\xC2\x85"
       "b\xEF\xBF\xBE"
       "c\xEF\xBF\xBF",
       "abc"},
      {"a cut sequence at the end", "ab\xE2\x82", "ab\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CleanText(c.text), c.expected) << c.what;
    EXPECT_EQ(IsCleanText(c.text), c.text == c.expected) << c.what;
  }
}

TEST(SvgPages, AreTheSameBytesEachTimeInOneProcess) {
  engine::PageModel model = sample::MakeSampleDocument().Model();
  FontService fonts;
  CairoPainter painter(fonts);
  const std::string first = SvgOfPage(painter, model, model.pages()[1]);
  SvgOfPage(painter, model, model.pages()[0]);
  EXPECT_EQ(SvgOfPage(painter, model, model.pages()[1]), first);
  EXPECT_NE(first.find("id=\"surface1\""), std::string::npos) << first.substr(0, 400);
}

size_t OpenDescriptors() {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) (void)entry, ++count;
  return count;
}

// A report whose export has no columns (a check, a label sheet drawn freely) writes an empty sheet.
TEST(XlsxExport, KeepsNoFileOpenAfterAnExportWithoutColumns) {
  const std::filesystem::path folder = sample::ScratchFolder("xlsx-descriptors");
  engine::DocumentInfo info;
  info.report_key = "check";
  const engine::RecordLayout layout;
  const size_t before = OpenDescriptors();
  for (int run = 0; run < 20; ++run) {
    std::unique_ptr<engine::RecordSink> sink = OpenRecordExport((folder / "check.xlsx").string());
    sink->Begin(info, layout);
    sink->End();
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_TRUE(std::filesystem::exists(folder / "check.xlsx"));
}

}  // namespace
}  // namespace vob::render
