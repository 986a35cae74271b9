// Errors of the renderers and the font service: a font that cannot be found, an output that cannot be
// written. The message names the font or the file involved, so a failed export says what to fix.
#pragma once

#include "platform/error.h"

namespace vob::render {

class RenderError : public vob::Error {
 public:
  using vob::Error::Error;
};

}  // namespace vob::render
