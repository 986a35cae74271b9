// LoadPicture: a picture file decoded for the page model, its bytes kept so that a PDF can embed JPEG as is.
// Decoding is gdk-pixbuf's (BMP, JPEG, GIF, PNG and whatever else its loaders read).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/engine/page_model.h"

namespace vob::engine {

// The largest picture file read; a larger one is refused before any of it is read.
inline constexpr uint64_t kMaxPictureBytes = uint64_t{20} << 20;

// Reads regular files of at most kMaxPictureBytes only. Raises vb::Error 481 (Invalid picture), with the same
// message, for a file that is missing, unreadable, not a regular file, too large or not a picture.
std::shared_ptr<const Picture> LoadPicture(const std::string& path);

}  // namespace vob::engine
