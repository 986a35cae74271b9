// Defines the factory a report's row in the key table calls: VOB_DEFINE_REPORT(rptChaccts) in the report's
// module, VOB_REPORT("chaccts", rptChaccts) in manager/report_list.inc.
#pragma once

#include "platform/engine/active_report.h"

#define VOB_DEFINE_REPORT(class_name)                 \
  namespace vob {                                     \
  engine::ReportHandle Create_##class_name() {        \
    return engine::MakeReport<reports::class_name>(); \
  }                                                   \
  }
