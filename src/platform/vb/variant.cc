// Variant type queries.
#include "platform/vb/variant.h"

namespace vob::vb {

bool Variant::is_numeric_type() const {
  switch (type()) {
    case VarType::kBoolean:
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kSingle:
    case VarType::kDouble:
    case VarType::kCurrency:
    case VarType::kDate:
      return true;
    default:
      return false;
  }
}

}  // namespace vob::vb
