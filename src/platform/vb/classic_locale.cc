#include "platform/vb/classic_locale.h"

namespace vob::vb {
namespace {

locale_t ClassicLocale() {
  static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));  // kept for good
  return classic;
}

}  // namespace

ClassicLocaleScope::ClassicLocaleScope()
    : previous_(ClassicLocale() != static_cast<locale_t>(0) ? uselocale(ClassicLocale())
                                                            : static_cast<locale_t>(0)) {}

ClassicLocaleScope::~ClassicLocaleScope() {
  if (previous_ != static_cast<locale_t>(0)) uselocale(previous_);
}

}  // namespace vob::vb
