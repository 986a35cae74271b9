// The parts of printing that need no server: the media name a page's size gives, and page ranges.
#include "platform/render/cups_printer.h"

#include <gtest/gtest.h>

namespace vob::render {
namespace {

TEST(MediaForPage, NamesThePaperInEitherOrientation) {
  //   width   height  media
  const struct {
    int32_t width, height;
    const char* media;
  } kCases[] = {
      {12240, 15840, "na_letter_8.5x11in"},  // Letter, what listings, documents and checks print on
      {15840, 12240, "na_letter_8.5x11in"},  // landscape Letter is still Letter stock
      {11906, 16838, "iso_a4_210x297mm"},    // A4, as paper size 9 lays it out
      {16838, 11906, "iso_a4_210x297mm"},   {12240, 20160, "na_legal_8.5x14in"},
      {5760, 8640, "na_index-4x6_4x6in"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(MediaForPage(c.width, c.height), c.media) << c.width << " x " << c.height;
  }
}

TEST(MediaForPage, GivesStockNoStandardMatchesACustomSize) {
  const std::string media = MediaForPage(12240, 5040);  // a 8.5 x 3.5 in check
  EXPECT_TRUE(media.starts_with("custom_")) << media;
  EXPECT_NE(media.find("_3.5x8.5in"), std::string::npos)
      << media;  // the short side first, as PWG names sizes
}

TEST(ParsePageRanges, ReadsPagesAndRanges) {
  using Ranges = std::vector<std::pair<int, int>>;
  EXPECT_EQ(ParsePageRanges("1-3,5"), (Ranges{{1, 3}, {5, 5}}));
  EXPECT_EQ(ParsePageRanges("7"), (Ranges{{7, 7}}));
  EXPECT_EQ(ParsePageRanges("2-2,10-12"), (Ranges{{2, 2}, {10, 12}}));
  for (const char* bad :
       {"", "0", "3-1", "1,", ",1", "1-", "-2", "a", "1 - 3", "1-3-5", "99999999999", "+1"}) {
    EXPECT_THROW(ParsePageRanges(bad), PrintError) << '"' << bad << '"';
  }
}

}  // namespace
}  // namespace vob::render
