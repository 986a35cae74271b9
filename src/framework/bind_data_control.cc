// Data control binding.
#include "framework/bind_data_control.h"

#include "settings/report_settings.h"

namespace vob {

void BindDataControl(engine::DataControl& dc) {
  dc.set_connection_string(Settings().ConnString);
  dc.set_timeout_seconds(30);
}

}  // namespace vob
