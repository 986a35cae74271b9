// The "C" locale for the calling thread while a scope runs, whatever locale the host process set: libraries
// that print numbers with printf (libxlsxwriter) or read them with strtod follow LC_NUMERIC, and a GTK or Qt
// host sets it to the user's ("138713,29"). The process's locale is never changed, so other threads keep
// theirs.
#pragma once

#include <locale.h>

namespace vob::vb {

class ClassicLocaleScope {
 public:
  ClassicLocaleScope();
  ~ClassicLocaleScope();
  ClassicLocaleScope(const ClassicLocaleScope&) = delete;
  ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

 private:
  locale_t previous_;  // (locale_t)0 when the "C" locale could not be made: nothing to restore
};

}  // namespace vob::vb
