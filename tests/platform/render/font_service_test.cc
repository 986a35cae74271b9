// Font resolution, widths against the fonts' own advance widths, metrics and wrapping.
// Expected widths are sums of the Liberation fonts' hmtx advances (units per em 2048), read with FreeType.
#include "platform/render/font_service.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/render/render_error.h"

namespace vob::render {
namespace {

using engine::FontSpec;

FontSpec Font(std::string family, bool is_bold = false, bool is_italic = false, float size = 8) {
  return FontSpec{std::move(family), size, is_bold, is_italic};
}

TEST(FontService, ResolvesReportFamiliesToLiberationFaces) {
  struct Case {
    FontSpec font;
    std::string file_ending;
  };
  const Case kCases[] = {
      {Font("Arial"), "/LiberationSans-Regular.ttf"},
      {Font("arial"), "/LiberationSans-Regular.ttf"},
      {Font("ARIAL", true), "/LiberationSans-Bold.ttf"},
      {Font("Arial", false, true), "/LiberationSans-Italic.ttf"},
      {Font("Arial", true, true), "/LiberationSans-BoldItalic.ttf"},
      {Font("helvetica"), "/LiberationSans-Regular.ttf"},
      {Font("Times New Roman"), "/LiberationSerif-Regular.ttf"},
      {Font("times new roman", true), "/LiberationSerif-Bold.ttf"},
      {Font("Courier New"), "/LiberationMono-Regular.ttf"},
      {Font("Liberation Sans"), "/LiberationSans-Regular.ttf"},
      {Font("sans-serif"), "/LiberationSans-Regular.ttf"},
  };
  FontService service;
  for (const Case& c : kCases) {
    const std::string& file = service.face(service.FaceIndex(c.font)).file();
    EXPECT_TRUE(file.ends_with(c.file_ending))
        << c.font.family << " bold=" << c.font.is_bold << " italic=" << c.font.is_italic << " gave " << file;
  }
  EXPECT_EQ(service.FaceIndex(Font("Arial")), service.FaceIndex(Font("Helvetica")));
}

TEST(FontService, RejectsFamiliesItCannotFind) {
  struct Case {
    FontSpec font;
    std::string message;
  };
  const Case kCases[] = {
      {Font("NoSuchFamily"), "font not found: \"NoSuchFamily\""},
      {Font("Wingdings Extra", true, true), "font not found: \"Wingdings Extra\" bold italic"},
      {Font(""), "font not found: no family name given"},
  };
  FontService service;
  for (const Case& c : kCases) {
    try {
      service.WidthTwips(c.font, "x");
      ADD_FAILURE() << c.font.family << " was accepted";
    } catch (const RenderError& error) {
      EXPECT_EQ(error.what(), c.message);
    }
  }
}

TEST(FontService, MeasuresWithTheFontsAdvanceWidths) {
  struct Case {
    FontSpec font;
    std::string text;
    int font_units;  // sum of advances
  };
  const Case kCases[] = {
      {Font("Arial"), "Amount", 1366 + 1706 + 1139 * 3 + 569},
      {Font("Arial"), "Page 1 of 9", 1366 + 1139 * 3 + 569 * 3 + 1139 + 1139 + 569 + 1139},
      {Font("Arial"), "WiM", 1933 + 455 + 1706},
      {Font("Arial", true), "Amount", 1479 + 1821 + 1251 * 3 + 682},
      {Font("Times New Roman"), "Amount", 1479 + 1593 + 1024 * 3 + 569},
      {Font("Courier New"), "WiM 19", 1229 * 6},
      {Font("Arial"), "", 0},
      // Kerning stays off: "AV" and "To" are kerned pairs in the font.
      {Font("Arial"), "AV", 1366 + 1366},
      // A line break measures the widest line.
      {Font("Arial"), "Wi\nWiM", 1933 + 455 + 1706},
  };
  FontService service;
  for (const Case& c : kCases) {
    double expected = c.font_units * 8.0 * 20 / 2048;
    EXPECT_NEAR(service.WidthTwips(c.font, c.text), expected, 1e-9)
        << c.font.family << " \"" << c.text << "\"";
    EXPECT_NEAR(service.WidthTwips(c.font, c.text), expected, 1e-9) << c.text << " (cached)";
  }
  EXPECT_NEAR(service.WidthTwips(Font("Arial", false, false, 10), "Amount"), 7058 * 10.0 * 20 / 2048, 1e-9);
}

TEST(FontService, TakesMetricsFromTheHorizontalHeader) {
  FontService service;
  // Liberation Sans: ascender 1854, descender -434, line gap 67 of 2048.
  engine::FontMetrics sans = service.Metrics(Font("Arial"));
  EXPECT_NEAR(sans.ascent_twips, 1854 * 160.0 / 2048, 1e-9);
  EXPECT_NEAR(sans.line_height_twips, (1854 + 434 + 67) * 160.0 / 2048, 1e-9);
  // Liberation Serif at 10 pt: 1825, -443, 87.
  engine::FontMetrics serif = service.Metrics(Font("Times New Roman", false, false, 10));
  EXPECT_NEAR(serif.ascent_twips, 1825 * 200.0 / 2048, 1e-9);
  EXPECT_NEAR(serif.line_height_twips, (1825 + 443 + 87) * 200.0 / 2048, 1e-9);
}

TEST(FontService, WrapsAtBlanksWithinTheWidth) {
  // Courier New: every glyph is 1229 units, 96.015625 twips at 8 pt, so widths count characters.
  constexpr double kCharacter = 1229 * 160.0 / 2048;
  struct Case {
    std::string text;
    double characters;
    std::vector<std::string> lines;
  };
  const Case kCases[] = {
      {"Hartley Farm Supply Inc.", 12.5, {"Hartley Farm", "Supply Inc."}},
      {"Hartley Farm Supply Inc.", 24, {"Hartley Farm Supply Inc."}},
      {"Hartley Farm Supply Inc.", 11.9, {"Hartley", "Farm Supply", "Inc."}},
      {"Extraordinarily long", 5, {"Extraordinarily", "long"}},
      {"two\nlines", 40, {"two", "lines"}},
      {"", 10, {""}},
  };
  FontService service;
  for (const Case& c : kCases) {
    EXPECT_EQ(service.Wrap(Font("Courier New"), c.text, c.characters * kCharacter), c.lines)
        << c.text << " in " << c.characters << " characters";
  }
}

TEST(FontService, MapsPlainLatinTextExactlyAsHarfBuzzShapesIt) {
  // Every character below U+0250 alone and in running text, through the direct path and through HarfBuzz.
  std::vector<std::string> texts = {"Hartley Farm Supply Inc.", "Schäfer Café, Núñez & Lefèvre", "(1,234.56)",
                                    "fi fl ffi AV To Wa",
                                    "a\xC2\xAD"
                                    "b",
                                    "x\xE2\x80\x94"
                                    "y",
                                    "\xC3",
                                    // Overlong forms of '#' and DEL are not characters, never "#".
                                    "a\xC0\xA3"
                                    "b",
                                    "\xC1\xBF", "tab\there", ""};
  std::string all;
  for (char32_t c = 0x20; c < 0x250; ++c) {
    std::string one =
        c < 0x80 ? std::string(1, static_cast<char>(c))
                 : std::string{static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    texts.push_back(one);
    all += one;
  }
  texts.push_back(all);
  FontService direct, shaped(false);
  for (const FontSpec& font : {Font("Arial"), Font("Arial", true, true), Font("Times New Roman"),
                               Font("Times New Roman", true), Font("Courier New")}) {
    const uint32_t direct_face = direct.FaceIndex(font), shaped_face = shaped.FaceIndex(font);
    for (const std::string& text : texts) {
      const ShapedRun& a = direct.Shape(direct_face, text);
      std::vector<uint32_t> direct_glyphs, shaped_glyphs;
      for (const Glyph& glyph : a.glyphs) {
        direct_glyphs.insert(direct_glyphs.end(),
                             {glyph.id, glyph.cluster, static_cast<uint32_t>(glyph.x_advance)});
      }
      const int32_t direct_advance = a.advance;
      const bool is_direct_nominal = a.is_nominal;
      const ShapedRun& b = shaped.Shape(shaped_face, text);
      for (const Glyph& glyph : b.glyphs) {
        shaped_glyphs.insert(shaped_glyphs.end(),
                             {glyph.id, glyph.cluster, static_cast<uint32_t>(glyph.x_advance)});
      }
      EXPECT_EQ(direct_glyphs, shaped_glyphs) << font.family << " \"" << text << "\"";
      EXPECT_EQ(direct_advance, b.advance) << font.family << " \"" << text << "\"";
      EXPECT_EQ(is_direct_nominal, b.is_nominal) << font.family << " \"" << text << "\"";
    }
  }
}

TEST(FontService, ShapedRunsSurviveManyDistinctTexts) {
  // More distinct texts than the cache keeps must still shape right, and a text seen early shapes the same.
  FontService service;
  uint32_t face = service.FaceIndex(Font("Arial"));
  const int32_t early = service.Shape(face, "Amount\u0301").advance;
  for (int i = 0; i < 40000; ++i) {
    // A combining accent keeps the texts on HarfBuzz and in the cache.
    std::string text = std::to_string(i) + "\u0301";
    ASSERT_EQ(service.Shape(face, text).glyphs.size(), text.size() - 1) << text;
  }
  EXPECT_EQ(service.Shape(face, "Amount\u0301").advance, early);
}

}  // namespace
}  // namespace vob::render
