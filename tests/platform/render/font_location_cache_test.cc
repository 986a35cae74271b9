#include "platform/render/font_location_cache.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace vob::render {
namespace {

FontLocationFile Sample(const std::string& font_file) {
  FontLocationFile contents;
  contents.context = "LANG=C.UTF-8\n\tHOME=/home/a\\b";
  contents.fonts.push_back({"Arial", false, false, {font_file, 0, "Liberation Sans"}});
  contents.fonts.push_back({"Fam\tily\n\\ \xff\xfe", true, true, {"/odd\tpath\n\\\x80.ttf", 3, "Déclaré"}});
  return contents;
}

class FontLocationCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("vob-font-cache-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    font_ = (folder_ / "font.ttf").string();
    std::ofstream(font_) << "glyphs";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
  std::string font_;
};

TEST_F(FontLocationCacheTest, ReadsBackWhatItWroteWhateverTheBytes) {
  FontLocationFile contents = Sample(font_);
  contents.stamps = {StampOf(font_), StampOf((folder_ / "missing.conf").string())};
  ASSERT_TRUE(contents.stamps[0].exists);
  ASSERT_FALSE(contents.stamps[1].exists);
  std::optional<FontLocationFile> back = ParseFontLocations(FormatFontLocations(contents));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->context, contents.context);
  EXPECT_EQ(back->stamps, contents.stamps);
  ASSERT_EQ(back->fonts.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(back->fonts[i].family, contents.fonts[i].family);
    EXPECT_EQ(back->fonts[i].is_bold, contents.fonts[i].is_bold);
    EXPECT_EQ(back->fonts[i].is_italic, contents.fonts[i].is_italic);
    EXPECT_EQ(back->fonts[i].location.file, contents.fonts[i].location.file);
    EXPECT_EQ(back->fonts[i].location.index_in_file, contents.fonts[i].location.index_in_file);
    EXPECT_EQ(back->fonts[i].location.family, contents.fonts[i].location.family);
  }
}

TEST_F(FontLocationCacheTest, RefusesATextItDidNotWrite) {
  const std::string good = FormatFontLocations(Sample(font_));
  ASSERT_TRUE(ParseFontLocations(good).has_value());
  const std::string kHead = "vobreports font locations 1\ncontext\tc\n";
  const std::string kCases[] = {
      "",
      good.substr(0, good.size() - 4),                               // cut short
      good + "font\tArial\t0\t0\t/a.ttf\t0\tArial\n",                // after the end
      "vobreports font locations 0" + good.substr(good.find('\n')),  // another format
      kHead + "stamp\t/a\t1\t2\t3\n" + "end\n",                      // too few fields
      kHead + "stamp\t/a\t1\tx\t3\t4\n" + "end\n",                   // not a number
      kHead + "stamp\t/a\tgone\n" + "end\n",
      kHead + "font\tArial\t2\t0\t/a.ttf\t0\tArial\n" + "end\n",    // a flag neither 0 nor 1
      kHead + "font\tAr\\ial\t0\t0\t/a.ttf\t0\tArial\n" + "end\n",  // an unknown escape
      kHead + "color\tred\n" + "end\n",
      "vobreports font locations 1\nend\n",  // no context
  };
  for (const std::string& text : kCases) EXPECT_FALSE(ParseFontLocations(text).has_value()) << text;
}

TEST_F(FontLocationCacheTest, AnswersOnlyWhileEveryStampHolds) {
  const std::string path = (folder_ / "cache" / "vobreports" / "font-locations").string();
  const std::string conf = (folder_ / "user.conf").string();
  FontLocationFile contents = Sample(font_);
  contents.stamps = {StampOf(font_), StampOf(conf)};
  ASSERT_TRUE(WriteFontLocations(path, contents));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_ / "cache" / "vobreports"), {}), 1);

  std::optional<std::vector<RememberedFont>> fonts = ReadCurrentFontLocations(path, contents.context);
  ASSERT_TRUE(fonts.has_value());
  EXPECT_EQ(fonts->size(), 2u);
  EXPECT_FALSE(ReadCurrentFontLocations(path, "LANG=de_DE.UTF-8").has_value());
  EXPECT_FALSE(ReadCurrentFontLocations(path + ".none", contents.context).has_value());

  std::ofstream(conf) << "<fontconfig/>";  // a configuration file appears
  EXPECT_FALSE(ReadCurrentFontLocations(path, contents.context).has_value());
  contents.stamps = {StampOf(font_), StampOf(conf)};
  ASSERT_TRUE(WriteFontLocations(path, contents));
  ASSERT_TRUE(ReadCurrentFontLocations(path, contents.context).has_value());

  std::ofstream(font_, std::ios::app) << "more";  // the font file changes
  EXPECT_FALSE(ReadCurrentFontLocations(path, contents.context).has_value());
}

TEST_F(FontLocationCacheTest, WriteFailsQuietlyWhereNoFolderCanBe) {
  EXPECT_FALSE(WriteFontLocations(font_ + "/under/a/file", Sample(font_)));
}

}  // namespace
}  // namespace vob::render
