// Image XObjects for the PDF writer.
// A JPEG's colour space is read from its frame header, since the decoded Picture no longer says.
#include "platform/render/pdf_images.h"

#include <string>

#include "platform/render/pdf_buffer.h"
#include "platform/render/render_error.h"

namespace vob::render {
namespace {

struct JpegFrame {
  int components = 0;
  bool is_adobe = false;  // Adobe APP14: CMYK data is stored inverted
};

// Walks the JPEG markers up to the first start-of-frame.
JpegFrame ReadJpegFrame(std::string_view bytes) {
  JpegFrame frame;
  auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() < 4 || at(0) != 0xFF || at(1) != 0xD8) return frame;
  size_t position = 2;
  while (position + 4 <= bytes.size()) {
    if (at(position) != 0xFF) return frame;
    unsigned char marker = at(position + 1);
    if (marker == 0xFF) {
      ++position;
      continue;
    }
    size_t length = (static_cast<size_t>(at(position + 2)) << 8) | at(position + 3);
    bool is_frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (is_frame && position + 9 < bytes.size()) {
      frame.components = at(position + 9);
      return frame;
    }
    if (marker == 0xEE && bytes.substr(position + 4, 5) == "Adobe") frame.is_adobe = true;
    position += 2 + length;
  }
  return frame;
}

}  // namespace

uint32_t PdfImages::Slot(const std::shared_ptr<const engine::Picture>& picture) {
  auto found = slots_.find(picture.get());
  if (found != slots_.end()) return found->second.second;
  uint32_t object = picture->encoding == engine::Picture::Encoding::kJpeg && !picture->encoded.empty()
                        ? WriteJpeg(*picture)
                        : WritePixels(*picture);
  uint32_t slot = static_cast<uint32_t>(objects_.size());
  objects_.push_back(object);
  slots_.emplace(picture.get(), std::make_pair(picture, slot));
  return slot;
}

uint32_t PdfImages::WriteJpeg(const engine::Picture& picture) {
  JpegFrame frame = ReadJpegFrame(picture.encoded);
  const char* space = frame.components == 1   ? "/DeviceGray"
                      : frame.components == 3 ? "/DeviceRGB"
                      : frame.components == 4 ? "/DeviceCMYK"
                                              : nullptr;
  if (space == nullptr || picture.width_pixels <= 0 || picture.height_pixels <= 0) {
    throw RenderError("cannot read the JPEG header of a " + std::to_string(picture.width_pixels) + "x" +
                      std::to_string(picture.height_pixels) + " picture");
  }
  PdfBuffer dictionary;
  dictionary << "/Type/XObject/Subtype/Image/Width ";
  dictionary.Int(picture.width_pixels) << "/Height ";
  dictionary.Int(picture.height_pixels) << "/ColorSpace" << space << "/BitsPerComponent 8";
  if (frame.components == 4 && frame.is_adobe) dictionary << "/Decode[1 0 1 0 1 0 1 0]";
  dictionary << "/Filter/DCTDecode";
  uint32_t object = output_.Reserve();
  output_.WriteRawStream(object, dictionary.view(), picture.encoded);
  return object;
}

uint32_t PdfImages::WritePixels(const engine::Picture& picture) {
  const size_t pixels =
      static_cast<size_t>(picture.width_pixels) * static_cast<size_t>(picture.height_pixels);
  if (pixels == 0 || picture.rgba.size() != pixels * 4) {
    throw RenderError("picture of " + std::to_string(picture.width_pixels) + "x" +
                      std::to_string(picture.height_pixels) + " pixels has " +
                      std::to_string(picture.rgba.size()) + " bytes of RGBA");
  }
  std::string rgb(pixels * 3, '\0'), alpha(pixels, '\0');
  bool is_opaque = true;
  for (size_t i = 0; i < pixels; ++i) {
    rgb[3 * i] = static_cast<char>(picture.rgba[4 * i]);
    rgb[3 * i + 1] = static_cast<char>(picture.rgba[4 * i + 1]);
    rgb[3 * i + 2] = static_cast<char>(picture.rgba[4 * i + 2]);
    alpha[i] = static_cast<char>(picture.rgba[4 * i + 3]);
    is_opaque = is_opaque && picture.rgba[4 * i + 3] == 255;
  }
  PdfBuffer size;
  size << "/Width ";
  size.Int(picture.width_pixels) << "/Height ";
  size.Int(picture.height_pixels) << "/BitsPerComponent 8";

  uint32_t mask = 0;
  if (!is_opaque) {
    mask = output_.Reserve();
    PdfBuffer dictionary;
    dictionary << "/Type/XObject/Subtype/Image" << size.view() << "/ColorSpace/DeviceGray";
    output_.WriteStream(mask, dictionary.view(), alpha);
  }
  PdfBuffer dictionary;
  dictionary << "/Type/XObject/Subtype/Image" << size.view() << "/ColorSpace/DeviceRGB";
  if (mask != 0) (dictionary << "/SMask ").Ref(mask);
  uint32_t object = output_.Reserve();
  output_.WriteStream(object, dictionary.view(), rgb);
  return object;
}

}  // namespace vob::render
