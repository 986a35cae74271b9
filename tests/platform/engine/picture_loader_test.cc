// Loading pictures: decoded pixels, kept bytes, JPEG recognised, and the classic errors for what is no
// picture.
#include "platform/engine/picture_loader.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
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

// Whatever is not a picture file within the cap gets one number and one message: the answer never tells a
// missing file from a present one, and nothing that could block or never end (FIFO, device) is read.
TEST(LoadPicture, RefusesWhatIsNoPictureFileAlike) {
  std::string text = TempPath("notes.bmp");
  std::ofstream(text) << "not a picture";
  std::string empty = TempPath("empty.png");
  std::ofstream{empty};
  std::string fifo = TempPath("fifo.png");
  unlink(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string huge = TempPath("huge.png");  // sparse: the cap is checked before reading
  std::ofstream{huge};
  ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kMaxPictureBytes) + 1), 0);
  const std::string kPaths[] = {text, empty,       TempPath("none.png"), fifo,
                                huge, "/dev/zero", ::testing::TempDir()};
  for (const std::string& path : kPaths) {
    try {
      LoadPicture(path);
      ADD_FAILURE() << path << ": loaded";
    } catch (const vb::Error& error) {
      EXPECT_EQ(error.number(), vb::kInvalidPicture) << path;
      std::string message = error.what();
      const size_t at = message.find(path);
      ASSERT_NE(at, std::string::npos) << message;
      message.erase(at, path.size());
      EXPECT_EQ(message, "Invalid picture:  (not a picture file of at most 20 MB)") << path;
    }
  }
  unlink(fifo.c_str());
  unlink(huge.c_str());
}

}  // namespace
}  // namespace vob::engine
