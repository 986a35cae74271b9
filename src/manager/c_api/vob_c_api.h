/* C interface of the VOBADOReports2 in-process server, for hosts written in other languages: create the
   manager, hand it the settings, get a report object, run it to a file or to PDF bytes, release it.

   Results are HRESULT-style codes: VOB_OK (0) on success, a negative code on failure. A classic runtime
   error n (9 Subscript out of range, 13 Type mismatch, ...), also one raised inside a report's handler,
   comes back as 0x800A0000 | n.

   Errors. Every call that returns a vob_result sets the calling thread's last error: "" on success, the
   message of the failure otherwise, so a message never outlives the call it belongs to. A failed run's
   message is the one `vobreports run` prints, naming report, handler and SQL ("rptARAging, dataMain: ...
   in: SELECT ..."); a misuse names the function ("vob_manager_reset: manager is NULL"). Texts in and out are
   UTF-8; the library's messages are always valid UTF-8, with invalid bytes of a host's text shown as U+FFFD
   and long echoes of it, and messages over 16 KiB, cut short.

   Ownership. Objects from vob_create_object and vob_manager_get_report belong to the caller, who releases
   each exactly once with vob_release; releasing a manager leaves its reports and the settings alone. Texts
   passed in are copied (NULL reads as ""). Texts returned are the library's: vob_server_info's for as long
   as the library is loaded, vob_last_error's until the thread's next call. PDF bytes belong to the caller
   and go back with vob_free_bytes. Releasing an object twice is the host's fault; a debug build of the
   library (without NDEBUG) then aborts with a message naming the call, a release build does not check.

   Threads. The settings belong to the calling thread, not to a manager: each thread has its own, created
   empty on its first call and shared by every manager used on that thread, and a report runs with the
   settings of the thread that runs it. Threads therefore run reports at the same time without seeing
   each other's settings. An object is used by one thread at a time. */
#ifndef VOB_C_API_H_
#define VOB_C_API_H_

#include <stddef.h>
#include <stdint.h>

#define VOB_VERSION_MAJOR 1
#define VOB_VERSION_MINOR 0
#define VOB_VERSION_PATCH 0
#define VOB_VERSION "1.0.0"

#ifdef __cplusplus
#define VOB_NOEXCEPT noexcept
extern "C" {
#else
#define VOB_NOEXCEPT
#endif

typedef struct vob_object vob_object; /* a manager or a report object */
typedef int32_t vob_result;

#define VOB_OK 0
#define VOB_E_NOINTERFACE ((vob_result)0x80004002) /* a manager where a report belongs, or the reverse */
#define VOB_E_POINTER ((vob_result)0x80004003)     /* a required pointer argument is NULL */
#define VOB_E_FAIL ((vob_result)0x80004005)        /* any other failure: data, layout, output file */
#define VOB_E_OUTOFMEMORY ((vob_result)0x8007000E)
#define VOB_E_CLASSNOTREG ((vob_result)0x80040154)

/* Server identity: "ProgID", "CLSID", "IID", "LIBID", "HelpString", "FileName", "FileDescription",
   "ProductDescription". Returns NULL for an unknown name. */
const char* vob_server_info(const char* name) VOB_NOEXCEPT;

/* Creates the manager by ProgID ("VOBADOReports2.rptManager") or by class id ("{...}", any letter case).
 *object is NULL after any failure. */
vob_result vob_create_object(const char* progid_or_clsid, vob_object** object) VOB_NOEXCEPT;
/* Releases a manager or a report object; NULL does nothing. */
void vob_release(vob_object* object) VOB_NOEXCEPT;

/* The calling thread's last error (see Errors above); "" after a success. */
const char* vob_last_error(void) VOB_NOEXCEPT;

/* rptManager's members in interface order; each writes the calling thread's settings. GetReport lower-cases
   the key (no trimming) and sets *report to NULL, and succeeds, when no report has that key.
   SetReptParam: the parameters do not exist until the thread's first reset, so call reset before the first
   parameter; before it, and for a negative i, the call fails with 0x800A0009 (Subscript out of range) and
   stores nothing. i from 0 to 6 sets that parameter; i above 6 does nothing and succeeds. */
vob_result vob_manager_get_report(vob_object* manager, const char* repname, vob_object** report) VOB_NOEXCEPT;
vob_result vob_manager_reset(vob_object* manager) VOB_NOEXCEPT;
vob_result vob_manager_set_data_source(vob_object* manager, const char* db_con_str) VOB_NOEXCEPT;
vob_result vob_manager_set_date_format(vob_object* manager, const char* vdata) VOB_NOEXCEPT;
vob_result vob_manager_set_currency_format(vob_object* manager, const char* vdata) VOB_NOEXCEPT;
vob_result vob_manager_set_drill_down_params(vob_object* manager, const char* vdata) VOB_NOEXCEPT;
vob_result vob_manager_set_logo_props(vob_object* manager, int16_t vnewval, const char* b_file, float b_wid,
                                      float b_ht) VOB_NOEXCEPT;
vob_result vob_manager_set_price_fmt(vob_object* manager, const char* vdata) VOB_NOEXCEPT;
vob_result vob_manager_set_rept_param(vob_object* manager, int16_t i, const char* param_string) VOB_NOEXCEPT;
vob_result vob_manager_set_title(vob_object* manager, const char* value) VOB_NOEXCEPT;

/* Runs the report with the calling thread's current settings and writes the output path names by its
   extension, as `vobreports run -o` does: .pdf, .png and .svg (one file per page: out.png gives out-1.png,
   out-2.png, ...; 96 dots per inch), .txt (text dump), .json (JSON dump), .csv and .xlsx (the printed
   lines as data: values, not formatted texts), "-" (text dump on standard output). The output appears
   only when complete; a failed run leaves no file. A report object can run
   again, with the settings current then; its own variables (running counts, row shading) go on from the
   run before, so a host that wants a fresh run asks for a new object. */
vob_result vob_report_run_to_file(vob_object* report, const char* path) VOB_NOEXCEPT;

/* Runs the report as above and hands back the PDF: *bytes (free it with vob_free_bytes) and *size. After a
   failure *bytes is NULL and *size 0. */
vob_result vob_report_run_to_pdf_bytes(vob_object* report, unsigned char** bytes, size_t* size) VOB_NOEXCEPT;
void vob_free_bytes(unsigned char* bytes) VOB_NOEXCEPT;

/* The page count of the report's last run. Fails with VOB_E_FAIL when the report has not run yet or its
   last run failed. */
vob_result vob_report_page_count(vob_object* report, int32_t* page_count) VOB_NOEXCEPT;

/* Printing through CUPS. */

/* Runs the report as vob_report_run_to_file does and prints its PDF through CUPS as one job, with
   print-scaling none (pages land where the layout puts them, never scaled to fit), the report's paper as
   media (Letter, A4 where the report sets paper size 9), and the title as the job's name. printer names the
   CUPS destination; NULL or "" the default one. options are "name=value" pairs separated by ';' or new
   lines, NULL or "" for the defaults: copies=N, sides=one-sided|two-sided-long-edge|two-sided-short-edge,
   pages=1-3,5 and wait=1 (return only once the job has printed; fails when it is aborted, cancelled or
   stopped). *job_id is the CUPS job id, 0 after a failure; a job queued before a failed wait keeps its id.
   Results as for a run; VOB_E_FAIL also for bad options, pages outside the report, no CUPS server, an
   unknown printer (the message lists the known ones), a stopped printer or one that rejects jobs, and a
   failed wait, each named in vob_last_error. Nothing is queued when the run or the checks fail. */
vob_result vob_report_print(vob_object* report, const char* printer, const char* options,
                            int32_t* job_id) VOB_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* VOB_C_API_H_ */
