/* Compiles the C interface's header as strict C99: hosts include it from C, not C++. */
#include "manager/c_api/vob_c_api.h"

#if VOB_VERSION_MAJOR != 1 || VOB_VERSION_MINOR < 0 || VOB_VERSION_PATCH < 0
#error "the version macros are not plain numbers"
#endif

static void vob_header_check_progress(void* user_data, int32_t pages_done) {
  (void)user_data;
  (void)pages_done;
}

vob_result vob_header_check(vob_object* report, int32_t* pages) {
  const char* version = VOB_VERSION;
  vob_progress_fn progress = vob_header_check_progress;
  vob_result result = vob_report_set_progress(report, progress, (void*)version);
  if (result == VOB_E_MISUSE || result == VOB_E_CANCELLED) return result;
  return vob_report_page_count(report, pages);
}
