// Binds a layout's data control to the database of the settings, replacing its design-time connection.
#pragma once

#include "platform/engine/controls.h"

namespace vob {

// Connection string := ConnString, time-out := 30 seconds. The source is left to the caller.
void BindDataControl(engine::DataControl& dc);

}  // namespace vob
