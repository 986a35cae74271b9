// Drawing and measuring on the page canvas at page start, and its refusal outside the page events.
#include "platform/engine/page_canvas.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace vob::engine {
namespace {

using testing::RunToModel;

// Draws a check face: left, right and centred texts in 9 pt bold italic, positioned by measuring a text.
class CheckFaceReport final : public ActiveReport {
 public:
  CheckFaceReport() {
    static constexpr SectionRow kRows[] = {{kDetail, 0}};
    Declare(kRows);
  }
  void ActiveReport_PageStart() override {
    PageCanvas& canvas = Canvas();
    canvas.set_font_name("Arial");
    canvas.set_font_size(9);
    canvas.set_font_bold(true);
    canvas.set_font_italic(true);
    canvas.set_text_alignment(kCanvasAlignLeft);
    step_width = canvas.TextWidth("XXXXXXXXXXXX");
    line_height = canvas.TextHeight("XXXXXXXXXXXX");
    canvas.DrawText("Vendor ID:", 360, 720);
    canvas.set_text_alignment(kCanvasAlignRight);
    canvas.DrawText("1,234.50", 5000, 720 + line_height);
    canvas.set_text_alignment(kCanvasAlignCenter);
    canvas.DrawText("two\r\nlines", 6000, 2000);
  }
  int32_t step_width = 0, line_height = 0;
};

TEST(PageCanvas, DrawsAndMeasuresAtPageStartFromThePaperCorner) {
  CheckFaceReport report;
  PageModel model = RunToModel(report);
  EXPECT_EQ(report.step_width, 12 * 90);  // 90 twips a character at 9 pt
  EXPECT_EQ(report.line_height, 180);
  const std::vector<PageItem>& items = model.pages().at(0).items;
  ASSERT_EQ(items.size(), 3u);
  struct Expected {
    std::string text;
    Align align;
    int32_t left, top, width, height;
  };
  const Expected kExpected[] = {
      {"Vendor ID:", Align::kLeft, 360, 720, 900, 180},
      {"1,234.50", Align::kRight, 5000 - 720, 900, 720, 180},  // ends at its position
      {"two\nlines", Align::kCenter, 6000 - 225, 2000, 450, 360},
  };
  for (size_t i = 0; i < items.size(); ++i) {
    const Expected& e = kExpected[i];
    EXPECT_EQ(items[i].text, e.text) << i;
    EXPECT_EQ(items[i].align, e.align) << e.text;
    EXPECT_EQ((std::vector<int32_t>{items[i].left, items[i].top, items[i].width, items[i].height}),
              (std::vector<int32_t>{e.left, e.top, e.width, e.height}))
        << e.text;
    EXPECT_EQ(model.font(items[i].font), (FontSpec{"Arial", 9, true, true})) << e.text;
  }
}

// One unbound row whose Detail_Format tries to draw.
class LateDrawingReport final : public ActiveReport {
 public:
  LateDrawingReport() {
    static constexpr SectionRow kRows[] = {{kDetail, 0}};
    Declare(kRows);
  }
  void ActiveReport_FetchData(bool& eof) override { eof = std::exchange(is_done_, true); }
  void Detail_Format() override { Canvas().DrawText("late", 0, 0); }

 private:
  bool is_done_ = false;
};

TEST(PageCanvas, RefusesToDrawOutsideThePageEvents) {
  LateDrawingReport report;
  try {
    RunToModel(report);
    ADD_FAILURE() << "no error";
  } catch (const RunError& error) {
    EXPECT_STREQ(
        error.what(),
        "LateDrawingReport, Detail_Format: Canvas.DrawText is available only in ActiveReport_PageStart "
        "and ActiveReport_PageEnd");
  }
}

}  // namespace
}  // namespace vob::engine
