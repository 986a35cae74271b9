// Loading pictures: decoded pixels, kept bytes, JPEG recognised, and the classic errors for what is no
// picture.
#include "platform/engine/picture_loader.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/vb/error.h"

namespace vob::engine {
namespace {

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "picture-" + std::to_string(getpid()) + "-" + name;
}

// A 3 x 2 picture, red with one blue pixel, saved in a format gdk-pixbuf writes.
std::string SavePicture(const std::string& name, const char* type) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, false, 8, 3, 2);
  gdk_pixbuf_fill(pixbuf, 0xFF000000);
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  pixels[2] = 255;  // the first pixel's blue
  pixels[0] = 0;
  std::string path = TempPath(name);
  EXPECT_TRUE(gdk_pixbuf_save(pixbuf, path.c_str(), type, nullptr, nullptr));
  g_object_unref(pixbuf);
  return path;
}

TEST(LoadPicture, DecodesPixelsAndKeepsTheBytes) {
  std::string png = SavePicture("logo.png", "png");
  auto picture = LoadPicture(png);
  EXPECT_EQ(picture->width_pixels, 3);
  EXPECT_EQ(picture->height_pixels, 2);
  ASSERT_EQ(picture->rgba.size(), 3u * 2 * 4);
  EXPECT_EQ((std::vector<uint8_t>(picture->rgba.begin(), picture->rgba.begin() + 8)),
            (std::vector<uint8_t>{0, 0, 255, 255, 255, 0, 0, 255}));
  EXPECT_EQ(picture->encoding, Picture::Encoding::kOther);
  std::ifstream file(png, std::ios::binary);
  EXPECT_EQ(picture->encoded, std::string(std::istreambuf_iterator<char>(file), {}));

  EXPECT_EQ(LoadPicture(SavePicture("logo.jpg", "jpeg"))->encoding, Picture::Encoding::kJpeg);
}

TEST(LoadPicture, RaisesTheClassicErrorsForWhatIsNoPicture) {
  std::string text = TempPath("notes.bmp");
  std::ofstream(text) << "not a picture";
  std::string empty = TempPath("empty.png");
  std::ofstream{empty};
  struct Case {
    std::string path;
    int number;
  };
  const Case kCases[] = {
      {text, vb::kInvalidPicture}, {empty, vb::kInvalidPicture}, {TempPath("none.png"), 53}};
  for (const Case& c : kCases) {
    try {
      LoadPicture(c.path);
      ADD_FAILURE() << c.path << ": loaded";
    } catch (const vb::Error& error) {
      EXPECT_EQ(error.number(), c.number) << c.path;
      EXPECT_NE(std::string(error.what()).find(c.path), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace vob::engine
