// Names of the parameter kinds, as `vobreports params` prints them.
#include "framework/report_params.h"

namespace vob::reports {

std::string_view ParamKindName(ParamKind kind) {
  switch (kind) {
    case ParamKind::kDate:
      return "date";
    case ParamKind::kPeriod:
      return "period";
    case ParamKind::kId:
      return "id";
    case ParamKind::kNumber:
      return "number";
    case ParamKind::kText:
      return "text";
    case ParamKind::kChoice:
      return "choice";
    case ParamKind::kYesNo:
      return "yesno";
  }
  return "text";
}

}  // namespace vob::reports
