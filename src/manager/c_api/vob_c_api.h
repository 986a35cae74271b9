/* C interface of the VOBADOReports2 in-process server, for hosts written in other languages: create the
   manager, hand it the settings, get a report object, run it to a file or to PDF bytes, release it.

   Results are HRESULT-style codes: VOB_OK (0) on success, a negative code on failure (the list below). A
   classic runtime error n (5 Invalid procedure call or argument, 9 Subscript out of range, 13 Type mismatch,
   ...), also one raised inside a report's handler, comes back as 0x800A0000 | n. A host acts on the code;
   the message is for people.

   Errors. Every call that returns a vob_result, and vob_release, sets the calling thread's last error: ""
   on success, the message of the failure otherwise, so a message never outlives the call it belongs to
   (one exception: vob_manager_get_report for an unknown key). A failed run's message is the one `vobreports
   run` prints, naming report, handler and SQL ("rptARAging, dataMain: ... in: SELECT ..."); a misuse names
   the function ("vob_manager_reset: manager is NULL"). Every failure sets each out-parameter given to NULL
   or 0. Texts in and out are UTF-8; the library's messages are always valid UTF-8, with invalid bytes of a
   host's text shown as U+FFFD and long echoes of it, and messages over 16 KiB, cut short.

   Objects. A vob_object* is a handle, not an address: the library looks every handle up in its table of
   live objects (under a lock) before it uses it, and never reuses one. A handle released already, or a
   pointer that never was a handle, gets VOB_E_MISUSE, in release builds too, and nothing is read through
   it. Objects from vob_create_object and vob_manager_get_report belong to the caller, who releases each
   once with vob_release; releasing a manager leaves its reports and the settings alone. Texts passed in are
   copied (NULL reads as ""). Texts returned are the library's: vob_server_info's and vob_version's for as
   long as the library is loaded, vob_last_error's until the thread's next call. PDF bytes belong to the
   caller and go back with vob_free_bytes.

   Threads. The settings belong to the calling thread, not to a manager: each thread has its own, created
   empty on its first call and shared by every manager used on that thread, and a report runs with the
   settings of the thread that runs it. Threads therefore run reports at the same time without seeing each
   other's settings. An object is used by one thread at a time (a report already running elsewhere gets
   VOB_E_MISUSE); vob_report_cancel and vob_release may come from any thread. A thread's settings stay
   until the thread ends, after its managers are released: a vendor payments run leaves the thread a shared
   database connection open, closed when the thread ends or the data source's next shared connection
   replaces it. The library also keeps, for the whole process, up to four idle sessions per database for
   the next run to reuse, each dropped after a minute unused. A PDF run (file or bytes) that goes on past
   30 ms draws, compresses and writes its pages on a second thread of its own, and a result read for as
   long is read ahead on another; both are started and joined within the run.

   Settings. The connection string is "Provider=SQLite;Data Source=/path/books.sqlite;" or
   "Provider=PostgreSQL;Host=...;Port=...;Database=...;User Id=...;Password=...;" (key=value pairs, keys
   in any letter case, the final ";" optional), a bare path to a .sqlite or .db file, or a
   "postgresql://..." URI. The logo: option 0 prints the title and the company's masthead text, 1 the title
   and the logo picture, 2 the title, masthead text and logo, any other value no company header; the file
   is a PNG, JPEG, GIF or BMP picture; width and height are in twips (1440 an inch), and a width of 0 shows
   no logo. The date, currency and price formats are the classic value-format patterns ("mm/dd/yy",
   "$#,##0.00;($#,##0.00)"): the README's "Format patterns" section lists what they accept. */
#ifndef VOB_C_API_H_
#define VOB_C_API_H_

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define VOB_NOEXCEPT noexcept
extern "C" {
#else
#define VOB_NOEXCEPT
#endif

/* The library's version; vob_version() returns the version it was built with. */
#define VOB_VERSION_MAJOR 1
#define VOB_VERSION_MINOR 0
#define VOB_VERSION_PATCH 0
#define VOB_VERSION "1.0.0"

typedef struct vob_object vob_object; /* a handle to a manager or a report object */
typedef int32_t vob_result;

#define VOB_OK 0
#define VOB_E_NOINTERFACE ((vob_result)0x80004002) /* a manager where a report belongs, or the reverse */
#define VOB_E_POINTER ((vob_result)0x80004003)     /* a required pointer argument is NULL */
#define VOB_E_FAIL ((vob_result)0x80004005)        /* any other failure: the layout, a report's own check */
#define VOB_E_OUTOFMEMORY ((vob_result)0x8007000E) /* an allocation failed; the library stays usable */
#define VOB_E_CLASSNOTREG ((vob_result)0x80040154) /* vob_create_object: no class has that name */
#define VOB_E_CANCELLED ((vob_result)0x800704C7)   /* the run was cancelled; it left no output */
/* A handle that is not a live object (released already, or never one), or a report that is running on
   another thread. Nothing was done. */
#define VOB_E_MISUSE ((vob_result)0x80040201)
/* The database cannot be opened: a malformed connection string, a missing or unreadable file, a server that
   refuses the connection. */
#define VOB_E_DATABASE ((vob_result)0x80040202)
/* A statement failed: the SQL the report built (from its parameters) is wrong for the database, or a value
   read does not convert. The message quotes the SQL. */
#define VOB_E_SQL ((vob_result)0x80040203)
/* The output cannot be written: an unknown extension, a folder that does not exist or refuses the file, a
   full disk, a font the pages need that cannot be found. No partial file is left. */
#define VOB_E_OUTPUT ((vob_result)0x80040204)

/* The library's version, "1.0.0": equal to VOB_VERSION of the header it was built with. */
const char* vob_version(void) VOB_NOEXCEPT;

/* Server identity: "ProgID", "CLSID", "IID", "LIBID", "HelpString", "FileName", "FileDescription",
   "ProductDescription". Returns NULL for an unknown name. */
const char* vob_server_info(const char* name) VOB_NOEXCEPT;

/* Creates the manager by ProgID ("VOBADOReports2.rptManager") or by class id ("{...}", any letter case).
 *object is NULL after any failure. */
vob_result vob_create_object(const char* progid_or_clsid, vob_object** object) VOB_NOEXCEPT;
/* Releases a manager or a report object; NULL does nothing. A handle that is not live is left alone, and the
   thread's last error names the misuse ("" after a release that worked): vob_release_checked says the same
   as a result code. A report released while it runs on another thread is freed when that run returns. */
void vob_release(vob_object* object) VOB_NOEXCEPT;
/* vob_release with a result: VOB_OK, also for NULL, or VOB_E_MISUSE. */
vob_result vob_release_checked(vob_object* object) VOB_NOEXCEPT;

/* The calling thread's last error (see Errors above); "" after a success. */
const char* vob_last_error(void) VOB_NOEXCEPT;

/* rptManager's members in interface order; each writes the calling thread's settings. GetReport lower-cases
   the key (no trimming) and sets *report to NULL, and succeeds, when no report has that key; the thread's
   last error then says so ("no report has the key ...").
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

/* Pins the run clock of the calling thread's settings, which reports read for today's date (aging, due
   dates, statements) and stamp on every page, and which a PDF then carries as its creation date:
   "YYYY-MM-DD" (midnight) or "YYYY-MM-DD HH:MM:SS"; NULL or "" gives back the real clock. Reports run with
   a pinned clock give the bytes `vobreports run --today`/`--now` gives. vob_manager_reset keeps the clock,
   as it keeps the connection string and formats. Any other text fails with 0x800A0005 (Invalid procedure
   call or argument) and changes nothing. */
vob_result vob_manager_set_now(vob_object* manager, const char* date_time) VOB_NOEXCEPT;

/* Told the pages done while a run of the report goes on, on the thread that runs it: when the first page is
   done, then at most ten times a second, and once more with the final count when the output is complete.
   fn NULL = no calls. Set it between runs: while the report runs the call fails with VOB_E_MISUSE. The
   callback may call vob_report_cancel; it must not run or release the report. */
typedef void (*vob_progress_fn)(void* user_data, int32_t pages_done);
vob_result vob_report_set_progress(vob_object* report, vob_progress_fn fn, void* user_data) VOB_NOEXCEPT;
/* Asks the report's run in progress to stop; callable from any thread, also from inside the progress
   callback. The run stops before its next row or page and returns VOB_E_CANCELLED, leaving no file (no
   bytes). Does nothing when the report is not running, or has written its last page already; the next run
   starts afresh. */
vob_result vob_report_cancel(vob_object* report) VOB_NOEXCEPT;

/* Runs the report with the calling thread's current settings and writes the output path names by its
   extension, as `vobreports run -o` does: .pdf, .png and .svg (one file per page: out.png gives out-1.png,
   out-2.png, ...; 96 dots per inch), .txt (text dump), .json (JSON dump), .csv and .xlsx (the printed
   lines as data: values, not formatted texts), "-" (text dump on standard output). The output appears
   only when complete; a failed run leaves no file. A report object can run
   again, with the settings current then; its own variables (running counts, row shading) go on from the
   run before, so a host that wants a fresh run asks for a new object. */
vob_result vob_report_run_to_file(vob_object* report, const char* path) VOB_NOEXCEPT;

/* Runs the report as above and hands back the PDF, the bytes a .pdf path would get, made in memory (no
   temporary file): *bytes (free it with vob_free_bytes) and *size. After a failure *bytes is NULL and *size
   0, whichever of the two was given. */
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
   Results as for a run, and VOB_E_MISUSE for a malformed options text; VOB_E_OUTPUT for pages outside the
   report, no CUPS server, an unknown printer (the message lists the known ones), a stopped printer or one
   that rejects jobs, a failed send and a failed wait; each named in vob_last_error. Nothing is queued when
   the run or the checks fail. */
vob_result vob_report_print(vob_object* report, const char* printer, const char* options,
                            int32_t* job_id) VOB_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* VOB_C_API_H_ */
