// The main data control's binding and current row, shared by every report.
#include "framework/report_base.h"

#include "framework/bind_data_control.h"

namespace vob::reports {

void ReportBase::SetMainSql(std::string sql) {
  DataControl& data = dataMain();
  BindDataControl(data);
  data.set_source(std::move(sql));
}

const data::Recordset* ReportBase::CurrentRow() {
  DataControl& data = dataMain();
  if (!data.has_recordset() || data.recordset().eof()) return nullptr;
  return &data.recordset();
}

}  // namespace vob::reports
