"""A host of libVOBADOReports2 in Python (ctypes): one customer's receivable aging as a PDF.

Usage: python3 host.py [DATABASE [OUTPUT [LIBRARY]]]; the defaults are the demo database that `vobreports
demo-db demo.sqlite` writes, araging.pdf, and the installed library, found by the loader by its SONAME."""
import ctypes
import sys

defaults = ["demo.sqlite", "araging.pdf", "libVOBADOReports2.so.1"]
database, output, library = sys.argv[1:4] + defaults[len(sys.argv[1:4]):]
lib = ctypes.CDLL(library)
lib.vob_last_error.restype = ctypes.c_char_p
manager, report = ctypes.c_void_p(), ctypes.c_void_p()
lib.vob_create_object(b"VOBADOReports2.rptManager", ctypes.byref(manager))
lib.vob_manager_set_data_source(manager, b"Provider=SQLite;Data Source=" + database.encode() + b";")
lib.vob_manager_reset(manager)  # before the first parameter
lib.vob_manager_set_rept_param(manager, 1, b"ACME0021")
lib.vob_manager_get_report(manager, b"araging", ctypes.byref(report))
status = lib.vob_report_run_to_file(report, output.encode())
if status != 0:
    print(lib.vob_last_error().decode(), file=sys.stderr)
lib.vob_release(report)
lib.vob_release(manager)
sys.exit(0 if status == 0 else 1)
