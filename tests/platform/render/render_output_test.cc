// Output selection by extension, per-page files, PNG size and agreement with the PDF, SVG, failures.
// The PNG is compared with poppler's rendering of our own PDF at the same resolution: same glyphs, same
// places.
#include "platform/render/render_output.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/render/render_error.h"
#include "sample_document.h"

namespace vob::render {
namespace {

struct PngSize {
  int width = 0, height = 0;
};

PngSize ReadPngSize(const std::filesystem::path& path) {
  std::string bytes = sample::ReadFile(path);
  auto big = [&](size_t offset) {
    int value = 0;
    for (size_t i = offset; i < offset + 4 && i < bytes.size(); ++i)
      value = value << 8 | static_cast<uint8_t>(bytes[i]);
    return value;
  };
  return bytes.size() > 24 && bytes.substr(1, 3) == "PNG" ? PngSize{big(16), big(20)} : PngSize{};
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(RenderOutput, ChoosesTheOutputByExtension) {
  std::filesystem::path folder = sample::ScratchFolder("outputs");
  engine::PageModel model = sample::MakeSampleDocument().Model();
  FontService fonts;
  for (std::string name : {"report.pdf", "report.PNG", "report.svg", "report.txt", "report.json"}) {
    RenderToPath(model, fonts, (folder / name).string());
  }
  EXPECT_EQ(FilesIn(folder),
            (std::vector<std::string>{"report-1.PNG", "report-1.svg", "report-2.PNG", "report-2.svg",
                                      "report.json", "report.pdf", "report.txt"}));
  EXPECT_EQ(sample::ReadFile(folder / "report.pdf").substr(0, 8), "%PDF-1.7");
  EXPECT_EQ(sample::ReadFile(folder / "report.txt").substr(0, 19), "--- page 1 of 2 ---");
  EXPECT_EQ(sample::ReadFile(folder / "report.json").substr(0, 22), "{\"report\": \"chaccts\",\n");
  std::string svg = sample::ReadFile(folder / "report-2.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("width=\"612pt\" height=\"792pt\""), std::string::npos) << svg.substr(0, 300);

  std::ostringstream standard_output;
  RenderToPath(model, fonts, "-", {}, &standard_output);
  EXPECT_EQ(standard_output.str(), sample::ReadFile(folder / "report.txt"));

  struct Case {
    std::string path;
    std::string page_file;
  };
  const Case kNames[] = {
      {"out.png", "out-3.png"}, {"a.b/out", "a.b/out-3"}, {"dir/x.y.svg", "dir/x.y-3.svg"}};
  for (const Case& c : kNames) EXPECT_EQ(PageFilePath(c.path, 3), c.page_file) << c.path;
}

TEST(RenderOutput, DrawsPngAtTheChosenResolution) {
  std::filesystem::path folder = sample::ScratchFolder("png");
  engine::PageModel model = sample::MakeSampleDocument().Model();
  FontService fonts;
  struct Case {
    double dpi;
    PngSize size;
  };
  const Case kCases[] = {{96, {816, 1056}}, {72, {612, 792}}, {150, {1275, 1650}}};
  for (const Case& c : kCases) {
    RenderOptions options;
    options.dots_per_inch = c.dpi;
    std::string path = (folder / ("at" + std::to_string(static_cast<int>(c.dpi)) + ".png")).string();
    RenderToPath(model, fonts, path, options);
    PngSize size = ReadPngSize(PageFilePath(path, 1));
    EXPECT_EQ(size.width, c.size.width) << c.dpi << " dpi";
    EXPECT_EQ(size.height, c.size.height) << c.dpi << " dpi";
  }
}

TEST(RenderOutput, PngMatchesThePdfPixelForPixel) {
  std::filesystem::path folder = sample::ScratchFolder("agreement");
  engine::PageModel model = sample::MakeSampleDocument().Model();
  FontService fonts;
  RenderToPath(model, fonts, (folder / "page.png").string());
  RenderToPath(model, fonts, (folder / "page.pdf").string());
  int status = -1;
  sample::RunCommand("pdftoppm -f 1 -l 1 -r 96 -png '" + (folder / "page.pdf").string() + "' '" +
                         (folder / "poppler").string() + "'",
                     &status);
  ASSERT_EQ(status, 0);
  std::string poppler_file;
  for (const std::string& name : FilesIn(folder)) {
    if (name.starts_with("poppler")) poppler_file = (folder / name).string();
  }
  cairo_surface_t* ours = cairo_image_surface_create_from_png((folder / "page-1.png").c_str());
  cairo_surface_t* theirs = cairo_image_surface_create_from_png(poppler_file.c_str());
  ASSERT_EQ(cairo_surface_status(ours), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_surface_status(theirs), CAIRO_STATUS_SUCCESS) << poppler_file;
  const int width = cairo_image_surface_get_width(ours), height = cairo_image_surface_get_height(ours);
  ASSERT_EQ(width, cairo_image_surface_get_width(theirs));
  ASSERT_EQ(height, cairo_image_surface_get_height(theirs));
  auto grey = [](cairo_surface_t* surface, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
    return static_cast<int>(((pixel >> 16 & 255) + (pixel >> 8 & 255) + (pixel & 255)) / 3);
  };
  // Rasterisers differ in anti-aliasing and in rounding glyph positions to pixels, so a dark pixel of one
  // picture only needs ink within a pixel of it in the other. A wrong glyph or a shifted line fails that.
  auto unmatched = [&](cairo_surface_t* from, cairo_surface_t* to, int& dark) {
    int count = 0;
    for (int y = 1; y + 1 < height; ++y) {
      for (int x = 1; x + 1 < width; ++x) {
        if (grey(from, x, y) >= 100) continue;
        ++dark;
        bool is_matched = false;
        for (int dy = -1; dy <= 1 && !is_matched; ++dy) {
          for (int dx = -1; dx <= 1 && !is_matched; ++dx) is_matched = grey(to, x + dx, y + dy) < 192;
        }
        count += !is_matched;
      }
    }
    return count;
  };
  int our_dark = 0, their_dark = 0;
  const int ours_unmatched = unmatched(ours, theirs, our_dark);
  const int theirs_unmatched = unmatched(theirs, ours, their_dark);
  cairo_surface_destroy(ours);
  cairo_surface_destroy(theirs);
  EXPECT_GT(our_dark, 1000) << "the page should show text";
  EXPECT_EQ(ours_unmatched, 0) << "of " << our_dark << " dark pixels in the PNG";
  EXPECT_EQ(theirs_unmatched, 0) << "of " << their_dark << " dark pixels in poppler's picture of the PDF";
}

TEST(RenderOutput, FailsWithoutLeavingFiles) {
  std::filesystem::path folder = sample::ScratchFolder("failures");
  FontService fonts;
  sample::SampleDocument document = sample::MakeSampleDocument();
  document.info.fonts[0].family = "Missing Family";
  engine::PageModel model = document.Model();
  struct Case {
    std::string name;
    std::string message;
  };
  const Case kCases[] = {
      {"report.doc", "unknown output type for " + (folder / "report.doc").string() +
                         ": expected .pdf, .png, .svg, .txt, .json, .csv, .xlsx or - for standard output"},
      {"report.xlsx", "cannot write " + (folder / "report.xlsx").string() +
                          " from pages: a data export is written while the report runs"},
      {"report.pdf", "font not found: \"Missing Family\""},
      {"report.png", "font not found: \"Missing Family\""},
      {"report.svg", "font not found: \"Missing Family\""},
      {"missing/report.txt", "cannot create a temporary file for " +
                                 (folder / "missing/report.txt").string() + ": No such file or directory"},
  };
  for (const Case& c : kCases) {
    try {
      RenderToPath(model, fonts, (folder / c.name).string());
      ADD_FAILURE() << c.name << " was written";
    } catch (const RenderError& error) {
      EXPECT_EQ(error.what(), c.message) << c.name;
    }
  }
  EXPECT_TRUE(FilesIn(folder).empty()) << FilesIn(folder).front();
}

}  // namespace
}  // namespace vob::render
