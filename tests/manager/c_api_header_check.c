/* Compiles the C interface's header as strict C99: hosts include it from C, not C++. */
#include "manager/c_api/vob_c_api.h"

vob_result vob_header_check(vob_object* report, int32_t* pages) {
  return vob_report_page_count(report, pages);
}
