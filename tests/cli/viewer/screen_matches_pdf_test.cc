// The screen shows what the PDF prints: demo reports' first pages drawn by poppler (pdftoppm) from the PDF
// and by the project's own PNG writer, at 72, 96 and 150 dpi, have the ink of every text line in the same
// box.
#include <cairo.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/run_options.h"
#include "platform/engine/run.h"
#include "platform/render/cairo_painter.h"
#include "platform/render/output_file.h"
#include "platform/render/page_image_writer.h"
#include "platform/render/pdf_writer.h"
#include "platform/render/text_lines.h"
#include "platform/vb/date.h"
#include "reports/demo_runs.h"

namespace vob::cli {
namespace {

// A grey picture, one byte a pixel, 0 black.
struct Gray {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  bool IsInk(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] < 128; }
};

struct Box {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
  bool is_empty() const { return right < left; }
};

// Poppler places glyph bitmaps one pixel row higher than cairo at every resolution (a rasterizer's rounding
// convention, not a difference in points), so centres agree to a pixel and a little.
constexpr double kCentreTolerance = 1.1;

Gray ReadPgm(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  int max_value = 0;
  Gray gray;
  file >> magic >> gray.width >> gray.height >> max_value;
  file.get();
  gray.pixels.resize(static_cast<size_t>(gray.width) * gray.height);
  file.read(reinterpret_cast<char*>(gray.pixels.data()), static_cast<std::streamsize>(gray.pixels.size()));
  EXPECT_TRUE(magic == "P5" && max_value == 255 && file) << path;
  return gray;
}

Gray ReadPng(const std::filesystem::path& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  EXPECT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS) << path;
  Gray gray{cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface), {}};
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < gray.height; ++y) {
    for (int x = 0; x < gray.width; ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, data + static_cast<size_t>(y) * stride + 4 * x, 4);
      const int luma = (((pixel >> 16) & 0xFF) * 30 + ((pixel >> 8) & 0xFF) * 59 + (pixel & 0xFF) * 11) / 100;
      gray.pixels.push_back(static_cast<uint8_t>(luma));
    }
  }
  cairo_surface_destroy(surface);
  return gray;
}

Box InkIn(const Gray& gray, const Box& area) {
  Box ink{area.right + 1, area.bottom + 1, area.left - 1, area.top - 1};
  for (int y = std::max(area.top, 0); y <= std::min(area.bottom, gray.height - 1); ++y) {
    for (int x = std::max(area.left, 0); x <= std::min(area.right, gray.width - 1); ++x) {
      if (!gray.IsInk(x, y)) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x), std::max(ink.bottom, y)};
    }
  }
  return ink.right < ink.left ? Box{} : ink;
}

// The darkness-weighted centre of the ink in an area, robust against how each renderer shades glyph edges.
std::pair<double, double> InkCentre(const Gray& gray, const Box& area) {
  double sum = 0, x_sum = 0, y_sum = 0;
  for (int y = std::max(area.top, 0); y <= std::min(area.bottom, gray.height - 1); ++y) {
    for (int x = std::max(area.left, 0); x <= std::min(area.right, gray.width - 1); ++x) {
      const double weight = 255 - gray.pixels[static_cast<size_t>(y) * gray.width + x];
      sum += weight;
      x_sum += weight * x;
      y_sum += weight * y;
    }
  }
  return sum == 0 ? std::pair(0.0, 0.0) : std::pair(x_sum / sum, y_sum / sum);
}

bool Overlaps(const Box& a, const Box& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

engine::PageModel RunDemo(const std::string& key, render::FontService& fonts) {
  RunOptions options;
  options.key = key;
  options.database = testing::DemoConnectionString();
  const std::vector<testing::DemoRun> runs = testing::DemoRunsOf(*FindReportKey(key));
  for (const auto& [index, value] : runs.front().host.params) {
    options.params.push_back(std::to_string(index) + "=" + value);
  }
  rptManager manager;
  engine::ReportHandle report = PrepareReport(options, manager);
  engine::PageModel model;
  engine::Run(*report, {fonts, model, key, DefaultTitle(key)});
  return model;
}

TEST(ScreenMatchesPdf, TextLinesHaveTheirInkInTheSamePlaces) {
  vb::PinClock(vb::DateSerial(2024, 6, 30) + vb::TimeSerial(17, 0, 0));
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vob-screen-pdf-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  render::FontService fonts;
  render::CairoPainter painter(fonts);
  static const char* const kKeys[] = {"chaccts", "araging", "trbalance", "joblist"};
  static constexpr double kDotsPerInch[] = {72, 96, 150};
  for (const char* key : kKeys) {
    const engine::PageModel model = RunDemo(key, fonts);
    ASSERT_FALSE(model.pages().empty()) << key;
    const engine::Page& page = model.pages().front();
    const std::filesystem::path pdf = folder / (std::string(key) + ".pdf");
    render::WritePdf(model, fonts, pdf.string());
    for (double dpi : kDotsPerInch) {
      SCOPED_TRACE(std::string(key) + " at " + std::to_string(static_cast<int>(dpi)) + " dpi");
      const std::filesystem::path stem = folder / (std::string(key) + "-" + std::to_string(int(dpi)));
      const std::string command = "pdftoppm -q -gray -singlefile -f 1 -l 1 -r " + std::to_string(int(dpi)) +
                                  " '" + pdf.string() + "' '" + stem.string() + "'";
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
      const Gray poppler = ReadPgm(stem.string() + ".pgm");
      {
        render::OutputFile png(stem.string() + ".png");
        render::WritePng(painter, model, page, png, dpi);
        png.Commit();
      }
      const Gray ours = ReadPng(stem.string() + ".png");

      // Every text line's box at this resolution, two pixels wider all round, less those that lines, pictures
      // or other texts reach into (their ink would count).
      const double scale = dpi / 72;
      auto pixels = [scale](double points) { return static_cast<int>(std::floor(points * scale)); };
      std::vector<std::pair<Box, std::string>> lines;
      std::vector<Box> others;
      for (const engine::PageItem& item : page.items) {
        if (item.kind == engine::ItemKind::kText) {
          for (const render::TextLine& line : render::PlaceTextLines(fonts, model, item)) {
            lines.push_back(
                {{pixels(line.left_points) - 2, pixels(line.baseline_points - line.ascent_points) - 2,
                  pixels(line.left_points + line.width_points) + 2,
                  pixels(line.baseline_points + line.descent_points) + 2},
                 std::string(line.text)});
          }
        } else if (item.kind != engine::ItemKind::kRect) {
          others.push_back({pixels(item.left / 20.0) - 1, pixels(item.top / 20.0) - 1,
                            pixels((item.left + item.width) / 20.0) + 1,
                            pixels((item.top + item.height) / 20.0) + 1});
        }
      }
      int compared = 0;
      for (size_t i = 0; i < lines.size(); ++i) {
        const Box& area = lines[i].first;
        bool is_crowded =
            std::any_of(others.begin(), others.end(), [&](const Box& b) { return Overlaps(area, b); });
        for (size_t j = 0; j < lines.size() && !is_crowded; ++j)
          is_crowded = j != i && Overlaps(area, lines[j].first);
        if (is_crowded) continue;
        const Box expected = InkIn(poppler, area), actual = InkIn(ours, area);
        const auto [expected_x, expected_y] = InkCentre(poppler, area);
        const auto [actual_x, actual_y] = InkCentre(ours, area);
        const bool is_same = expected.is_empty() == actual.is_empty() &&
                             std::abs(expected.left - actual.left) <= 1 &&
                             std::abs(expected.right - actual.right) <= 1 &&
                             std::abs(expected_x - actual_x) <= kCentreTolerance &&
                             std::abs(expected_y - actual_y) <= kCentreTolerance;
        EXPECT_TRUE(is_same) << "\"" << lines[i].second << "\": poppler " << expected.left << " to "
                             << expected.right << ", centre " << expected_x << "," << expected_y << "; ours "
                             << actual.left << " to " << actual.right << ", centre " << actual_x << ","
                             << actual_y;
        compared += !expected.is_empty();
      }
      EXPECT_GT(compared, 10);
    }
  }
  std::filesystem::remove_all(folder);
  vb::UnpinClock();
}

}  // namespace
}  // namespace vob::cli
