// Picture files through gdk-pixbuf's loader, fed from the bytes read here so that the bytes can be kept.
// Pixels are converted to straight RGBA rows without padding, whatever the pixbuf's own layout.
#include "platform/engine/picture_loader.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <fstream>
#include <iterator>

#include "platform/vb/error.h"

namespace vob::engine {
namespace {

// Owns a loader and whatever error it reported.
struct PixbufLoad {
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
  GError* error = nullptr;
  ~PixbufLoad() {
    if (error != nullptr) g_error_free(error);
    g_object_unref(loader);
  }
};

bool IsJpeg(const std::string& bytes) {
  return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

}  // namespace

std::shared_ptr<const Picture> LoadPicture(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) vb::Raise(vb::kFileNotFound, path);
  auto picture = std::make_shared<Picture>();
  picture->encoded.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());

  PixbufLoad load;
  const auto* bytes = reinterpret_cast<const guchar*>(picture->encoded.data());
  // A failed write closes the loader itself; only a loader that took every byte is closed here.
  bool is_written = gdk_pixbuf_loader_write(load.loader, bytes, picture->encoded.size(), &load.error);
  bool is_read = is_written && gdk_pixbuf_loader_close(load.loader, &load.error);
  GdkPixbuf* pixbuf = is_read ? gdk_pixbuf_loader_get_pixbuf(load.loader) : nullptr;
  if (pixbuf == nullptr) vb::Raise(vb::kInvalidPicture, path);

  int width = gdk_pixbuf_get_width(pixbuf);
  int height = gdk_pixbuf_get_height(pixbuf);
  int channels = gdk_pixbuf_get_n_channels(pixbuf);
  int stride = gdk_pixbuf_get_rowstride(pixbuf);
  bool has_alpha = gdk_pixbuf_get_has_alpha(pixbuf);
  const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
  picture->width_pixels = width;
  picture->height_pixels = height;
  picture->rgba.resize(static_cast<size_t>(width) * height * 4);
  uint8_t* out = picture->rgba.data();
  for (int y = 0; y < height; ++y) {
    const guchar* row = pixels + static_cast<ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x, out += 4) {
      const guchar* pixel = row + static_cast<ptrdiff_t>(x) * channels;
      out[0] = pixel[0];
      out[1] = pixel[1];
      out[2] = pixel[2];
      out[3] = has_alpha ? pixel[3] : 255;
    }
  }
  picture->encoding = IsJpeg(picture->encoded) ? Picture::Encoding::kJpeg : Picture::Encoding::kOther;
  return picture;
}

}  // namespace vob::engine
