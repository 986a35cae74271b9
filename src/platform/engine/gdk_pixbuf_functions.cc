// The gdk-pixbuf functions the picture loader calls, defined here to load gdk-pixbuf on the first call: runs
// without pictures never load it (see platform/vb/lazy_library.h).
#include <gdk-pixbuf/gdk-pixbuf.h>

#include "platform/vb/lazy_library.h"

namespace {

constexpr char kGdkPixbuf[] = "libgdk_pixbuf-2.0.so.0";

}  // namespace

gboolean gdk_pixbuf_get_has_alpha(const GdkPixbuf* pixbuf) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_get_has_alpha, pixbuf);
}
int gdk_pixbuf_get_height(const GdkPixbuf* pixbuf) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_get_height, pixbuf);
}
int gdk_pixbuf_get_n_channels(const GdkPixbuf* pixbuf) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_get_n_channels, pixbuf);
}
int gdk_pixbuf_get_rowstride(const GdkPixbuf* pixbuf) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_get_rowstride, pixbuf);
}
int gdk_pixbuf_get_width(const GdkPixbuf* pixbuf) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_get_width, pixbuf);
}
gboolean gdk_pixbuf_loader_close(GdkPixbufLoader* loader, GError** error) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_loader_close, loader, error);
}
GdkPixbuf* gdk_pixbuf_loader_get_pixbuf(GdkPixbufLoader* loader) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_loader_get_pixbuf, loader);
}
GdkPixbufLoader* gdk_pixbuf_loader_new(void) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_loader_new);
}
gboolean gdk_pixbuf_loader_write(GdkPixbufLoader* loader, const guchar* buf, gsize count, GError** error) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_loader_write, loader, buf, count, error);
}
const guint8* gdk_pixbuf_read_pixels(const GdkPixbuf* pixbuf) {
  VOB_LAZY_CALL(kGdkPixbuf, gdk_pixbuf_read_pixels, pixbuf);
}
