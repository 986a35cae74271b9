// The engine finds sections, controls and fields by name as the value layer matches names.
#pragma once

#include "platform/vb/names.h"

namespace vob::engine {

using vb::LowerAscii;
using vb::NameEqual;
using vb::NameHash;
using vb::NameMap;
using vb::SameName;

}  // namespace vob::engine
