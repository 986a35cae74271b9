// LoadPicture: a picture file decoded for the page model, its bytes kept so that a PDF can embed JPEG as is.
// Decoding is gdk-pixbuf's (BMP, JPEG, GIF, PNG and whatever else its loaders read).
#pragma once

#include <memory>
#include <string>

#include "platform/engine/page_model.h"

namespace vob::engine {

// Raises vb::Error 53 (File not found) for a missing or unreadable file and 481 (Invalid picture) for a file
// that is not a picture.
std::shared_ptr<const Picture> LoadPicture(const std::string& path);

}  // namespace vob::engine
