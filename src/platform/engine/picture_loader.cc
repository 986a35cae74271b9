// Picture files through gdk-pixbuf's loader, fed from the bytes read here so that the bytes can be kept.
// Pixels are converted to straight RGBA rows without padding, whatever the pixbuf's own layout.
#include "platform/engine/picture_loader.h"

#include <errno.h>
#include <fcntl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/vb/error.h"
#include "platform/vb/lazy_library.h"

namespace vob::engine {
namespace {

// GLib's calls come with gdk-pixbuf, loaded on first use (gdk_pixbuf_functions.cc); by the time a loader
// exists, both libraries are loaded.
void FreeError(GError* error) {
  static const auto free_error =
      reinterpret_cast<decltype(&g_error_free)>(vb::LazySymbol("libglib-2.0.so.0", "g_error_free"));
  free_error(error);
}
void Unref(gpointer object) {
  static const auto unref =
      reinterpret_cast<decltype(&g_object_unref)>(vb::LazySymbol("libgobject-2.0.so.0", "g_object_unref"));
  unref(object);
}

// Owns a loader and whatever error it reported.
struct PixbufLoad {
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
  GError* error = nullptr;
  ~PixbufLoad() {
    if (error != nullptr) FreeError(error);
    Unref(loader);
  }
};

bool IsJpeg(const std::string& bytes) {
  return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

// One message for whatever is not a picture we load, so that the answer does not tell a missing file from a
// present one that is something else.
[[noreturn]] void RaiseNoPicture(const std::string& path) {
  vb::Raise(vb::kInvalidPicture,
            path + " (not a picture file of at most " + std::to_string(kMaxPictureBytes >> 20) + " MB)");
}

struct FileCloser {
  int fd;
  ~FileCloser() { close(fd); }
};

// The file's bytes: a regular file within the size cap only. Opened without blocking, so that a FIFO can
// neither hang the run nor feed it forever, and checked on the open file before anything is read.
std::string ReadPictureFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) RaiseNoPicture(path);
  FileCloser closer{fd};
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
      static_cast<uint64_t>(status.st_size) > kMaxPictureBytes) {
    RaiseNoPicture(path);
  }
  std::string bytes(static_cast<size_t>(status.st_size), '\0');
  size_t filled = 0;
  while (filled < bytes.size()) {  // a file that shrinks while read ends early; one that grows is cut
    const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    filled += static_cast<size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace

std::shared_ptr<const Picture> LoadPicture(const std::string& path) {
  auto picture = std::make_shared<Picture>();
  picture->encoded = ReadPictureFile(path);

  PixbufLoad load;
  const auto* bytes = reinterpret_cast<const guchar*>(picture->encoded.data());
  // A failed write closes the loader itself; only a loader that took every byte is closed here.
  bool is_written = gdk_pixbuf_loader_write(load.loader, bytes, picture->encoded.size(), &load.error);
  bool is_read = is_written && gdk_pixbuf_loader_close(load.loader, &load.error);
  GdkPixbuf* pixbuf = is_read ? gdk_pixbuf_loader_get_pixbuf(load.loader) : nullptr;
  if (pixbuf == nullptr) RaiseNoPicture(path);

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
