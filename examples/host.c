/* A host of libVOBADOReports2 in C: runs one report into a file, as `vobreports run` does.
   Build it with pkg-config: cc host.c $(pkg-config --cflags --libs vobreports) -o vobreports-host
   Run it: vobreports-host "Provider=SQLite;Data Source=demo.sqlite;" trbalance trbalance.pdf \
               1=04/01/2024 2=06/30/2024 3=202404 4=202406 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vobreports/vob_c_api.h>

static int Fail(const char* what) {
  fprintf(stderr, "vobreports-host: %s: %s\n", what, vob_last_error());
  return 1;
}

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: %s CONNECTION_STRING REPORT_KEY OUTPUT [INDEX=VALUE...]\n", argv[0]);
    return 2;
  }
  vob_object* manager = NULL;
  if (vob_create_object("VOBADOReports2.rptManager", &manager) != VOB_OK) return Fail("create");
  int status = 0;
  vob_object* report = NULL;
  /* reset comes before the first parameter: it creates them. */
  if (vob_manager_set_data_source(manager, argv[1]) != VOB_OK || vob_manager_reset(manager) != VOB_OK) {
    status = Fail("settings");
    goto done;
  }
  for (int i = 4; i < argc; ++i) {
    const char* equals = strchr(argv[i], '=');
    if (equals == NULL || vob_manager_set_rept_param(manager, (int16_t)atoi(argv[i]), equals + 1) != VOB_OK) {
      status = Fail(argv[i]);
      goto done;
    }
  }
  if (vob_manager_get_report(manager, argv[2], &report) != VOB_OK) {
    status = Fail("get report");
  } else if (report == NULL) {
    fprintf(stderr, "vobreports-host: no report has the key %s\n", argv[2]);
    status = 1;
  } else if (vob_report_run_to_file(report, argv[3]) != VOB_OK) {
    status = Fail(argv[2]);
  } else {
    int32_t pages = 0;
    vob_report_page_count(report, &pages);
    printf("%s: %d pages (library %s)\n", argv[3], (int)pages, VOB_VERSION);
  }
done:
  vob_release(report);
  vob_release(manager);
  return status;
}
