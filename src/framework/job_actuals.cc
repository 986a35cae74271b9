// Sums a job's charges by sign over a forward-only, read-only recordset of its own.
#include "framework/job_actuals.h"

#include <string>

#include "platform/data/recordset.h"
#include "platform/vb/conversions.h"
#include "settings/report_settings.h"

namespace vob::reports {

JobActuals GetJobActuals(std::string_view job_id) {
  JobActuals actuals;
  data::Recordset recordset;
  std::string sql = "Select JobCharges From JobCostDetail Where JobID = '";
  sql += job_id;
  sql += "'";
  recordset.Open(sql, Settings().ConnString, data::CursorType::kForwardOnly, data::LockType::kReadOnly);
  for (; !recordset.eof(); recordset.MoveNext()) {
    const vb::Variant& value = recordset.Fields("JobCharges");
    if (vb::IsNull(value)) continue;
    const vb::Currency charge = vb::CCur(value);
    if (charge > vb::Currency()) {
      actuals.revenue += charge;
    } else {
      actuals.cost -= charge;
    }
  }
  recordset.Close();
  return actuals;
}

}  // namespace vob::reports
