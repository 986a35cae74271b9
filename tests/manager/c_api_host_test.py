"""A host in another language: Python loads libVOBADOReports2.so with ctypes and prints reports through it.
Two host threads run reports at the same time, each with its own settings, as the C header promises."""
import concurrent.futures
import ctypes
import json
import os
import subprocess
import sys
import tempfile
import threading
import re
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

BUILD = sys.argv.pop(1) if len(sys.argv) > 1 else "build"
VOB_OK = 0
VOB_E_MISUSE = 0x80040201
VOB_E_CANCELLED = 0x800704C7
PROGRESS = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_int32)


def load_library():
    library = ctypes.CDLL(os.path.join(BUILD, "libVOBADOReports2.so"))
    handle = ctypes.c_void_p
    signatures = {
        "vob_create_object": [ctypes.c_char_p, ctypes.POINTER(handle)],
        "vob_manager_set_data_source": [handle, ctypes.c_char_p],
        "vob_manager_set_date_format": [handle, ctypes.c_char_p],
        "vob_manager_set_currency_format": [handle, ctypes.c_char_p],
        "vob_manager_reset": [handle],
        "vob_manager_set_rept_param": [handle, ctypes.c_int16, ctypes.c_char_p],
        "vob_manager_set_title": [handle, ctypes.c_char_p],
        "vob_manager_set_now": [handle, ctypes.c_char_p],
        "vob_manager_set_price_fmt": [handle, ctypes.c_char_p],
        "vob_manager_set_drill_down_params": [handle, ctypes.c_char_p],
        "vob_release_checked": [handle],
        "vob_report_set_progress": [handle, PROGRESS, ctypes.c_void_p],
        "vob_report_cancel": [handle],
        "vob_manager_get_report": [handle, ctypes.c_char_p, ctypes.POINTER(handle)],
        "vob_report_run_to_file": [handle, ctypes.c_char_p],
        "vob_report_run_to_pdf_bytes": [handle, ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte)),
                                        ctypes.POINTER(ctypes.c_size_t)],
        "vob_report_page_count": [handle, ctypes.POINTER(ctypes.c_int32)],
        "vob_report_print": [handle, ctypes.c_char_p, ctypes.c_char_p, ctypes.POINTER(ctypes.c_int32)],
    }
    for name, arguments in signatures.items():
        function = getattr(library, name)
        function.argtypes = arguments
        function.restype = ctypes.c_int32
    library.vob_release.argtypes = [handle]
    library.vob_release.restype = None
    library.vob_free_bytes.argtypes = [ctypes.POINTER(ctypes.c_ubyte)]
    library.vob_free_bytes.restype = None
    library.vob_last_error.argtypes = []
    library.vob_last_error.restype = ctypes.c_char_p
    library.vob_version.argtypes = []
    library.vob_version.restype = ctypes.c_char_p
    return library


class Host:
    """What a host application does: settings through the manager, then a report object it runs."""

    def __init__(self, library, database):
        self.library = library
        self.manager = ctypes.c_void_p()
        self.check(library.vob_create_object(b"VOBADOReports2.rptManager", ctypes.byref(self.manager)))
        source = f"Provider=SQLite;Data Source={database};".encode()
        self.check(library.vob_manager_set_data_source(self.manager, source))
        self.check(library.vob_manager_set_date_format(self.manager, b"mm/dd/yy"))
        self.check(library.vob_manager_set_currency_format(self.manager, b"$#,##0.00;($#,##0.00)"))
        self.check(library.vob_manager_set_price_fmt(self.manager, b"#,##0.00"))

    def check(self, result):
        if result != VOB_OK:
            message = self.library.vob_last_error().decode("utf-8")
            raise AssertionError(f"result {result & 0xFFFFFFFF:#x}: {message}")

    def report(self, key, title, params, drilldown=""):
        self.check(self.library.vob_manager_reset(self.manager))
        for index, text in params.items():
            self.check(self.library.vob_manager_set_rept_param(self.manager, index, text.encode()))
        self.check(self.library.vob_manager_set_drill_down_params(self.manager, drilldown.encode()))
        self.check(self.library.vob_manager_set_title(self.manager, title.encode()))
        report = ctypes.c_void_p()
        self.check(self.library.vob_manager_get_report(self.manager, key.encode(), ctypes.byref(report)))
        assert report.value is not None, key
        return report

    def page_count(self, report):
        pages = ctypes.c_int32()
        self.check(self.library.vob_report_page_count(report, ctypes.byref(pages)))
        return pages.value

    def pdf_bytes(self, report):
        data = ctypes.POINTER(ctypes.c_ubyte)()
        size = ctypes.c_size_t()
        self.check(self.library.vob_report_run_to_pdf_bytes(report, ctypes.byref(data), ctypes.byref(size)))
        try:
            return ctypes.string_at(data, size.value)
        finally:
            self.library.vob_free_bytes(data)

    def close(self, *objects):
        for item in objects + (self.manager,):
            self.library.vob_release(item)


def pdf_text(path):
    return subprocess.run(["pdftotext", "-layout", path, "-"], check=True, capture_output=True,
                          text=True).stdout


def demo_runs(vobreports):
    """Every key with its demo parameters, and again with the second demo run's where a report has one."""
    keys = subprocess.run([vobreports, "keys"], check=True, capture_output=True, text=True).stdout.split()[::2]
    runs = []
    for key in keys:
        described = json.loads(subprocess.run([vobreports, "params", key, "--json"], check=True,
                                              capture_output=True, text=True).stdout)
        for field in ["example", "second_example"]:
            if field == "second_example" and not any(field in p for p in described):
                continue
            values = {p["index"]: p.get(field, p["example"]) for p in described}
            runs.append((key, {int(i): v for i, v in values.items() if i != "d"}, values.get("d", "")))
    return runs


TRIAL_BALANCE = {1: "04/01/2024", 2: "06/30/2024", 3: "202404", 4: "202406"}
LC_ALL = 6


def set_decimal_comma_locale(libc, folder):
    """Sets the process's locale to German, as a GTK or Qt host sets the user's; generates it into folder
    when the system has none. False when no decimal-comma locale can be had."""
    libc.setlocale.argtypes = [ctypes.c_int, ctypes.c_char_p]
    libc.setlocale.restype = ctypes.c_char_p
    if libc.setlocale(LC_ALL, b"de_DE.UTF-8"):
        return True
    made = subprocess.run(["localedef", "-i", "de_DE", "-f", "UTF-8", os.path.join(folder, "de_DE.UTF-8")],
                          capture_output=True)
    if made.returncode not in (0, 1):  # 1: made, with warnings
        return False
    os.environ["LOCPATH"] = folder
    return libc.setlocale(LC_ALL, b"de_DE.UTF-8") is not None


def sheet_parts(path):
    """The workbook's parts that hold numbers (the sheets and the styles' column widths), by name."""
    with zipfile.ZipFile(path) as workbook:
        return {name: workbook.read(name) for name in workbook.namelist()
                if name.startswith("xl/worksheets/") or name == "xl/styles.xml"}


class CApiHostTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="vob-c-api-host-")
        cls.database = os.path.join(cls.folder.name, "demo.sqlite")
        subprocess.run([os.path.join(BUILD, "vobreports"), "demo-db", cls.database, "--date", "2024-06-30"],
                       check=True, capture_output=True)
        cls.library = load_library()

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_runs_the_trial_balance_to_pdf(self):
        host = Host(self.library, self.database)
        report = host.report("trbalance", "Trial Balance", TRIAL_BALANCE)
        path = os.path.join(self.folder.name, "trbalance.pdf")
        host.check(self.library.vob_report_run_to_file(report, path.encode()))
        self.assertEqual(host.page_count(report), 1)
        text = pdf_text(path)
        self.assertEqual(text.count("\f"), 1)
        for expected in ["Trial Balance", "Beginning Date:     01-Apr-24      Ending Date:   30-Jun-24",
                         "1010       Cash - Operating", "Totals", "1,828,447.69   1,828,447.69",
                         "Page   1 of   1"]:
            self.assertIn(expected, text)
        self.assertEqual(self.library.vob_last_error(), b"")
        host.close(report)

    def test_a_host_in_a_decimal_comma_locale_gets_the_same_outputs(self):
        host = Host(self.library, self.database)
        report = host.report("trbalance", "Trial Balance", TRIAL_BALANCE)

        def outputs(stem):
            written = {}
            for extension in ["csv", "xlsx", "txt", "json", "svg"]:
                path = os.path.join(self.folder.name, f"{stem}.{extension}")
                host.check(self.library.vob_report_run_to_file(report, path.encode()))
                if extension == "svg":
                    path = os.path.join(self.folder.name, f"{stem}-1.svg")
                if extension == "xlsx":
                    written[extension] = sheet_parts(path)
                else:
                    with open(path, "rb") as file:
                        written[extension] = file.read()
            return written

        expected = outputs("c-locale")
        libc = ctypes.CDLL(None)
        if not set_decimal_comma_locale(libc, self.folder.name):
            host.close(report)
            self.skipTest("no decimal-comma locale on this machine")
        try:
            self.assertEqual(f"{1.5:n}", "1,5")  # the locale is in force
            german = outputs("de-locale")
        finally:
            libc.setlocale(LC_ALL, b"C")
        # The page footer prints the time of the run, which moved on between the two.
        def without_times(data):
            return re.sub(rb"\d+/\d+/\d+ \d+:\d\d:\d\d [AP]M", b"TIME", data)

        for extension, content in expected.items():
            with self.subTest(output=extension):
                if extension == "svg":  # the time's glyphs differ too: its numbers are what matters
                    numbers = [value for element in ElementTree.fromstring(german[extension]).iter()
                               for value in element.attrib.values() if re.search(r"\d,\d", value)]
                    self.assertEqual(numbers, [])
                elif extension in ("txt", "json"):
                    self.assertEqual(without_times(german[extension]), without_times(content))
                else:
                    self.assertEqual(german[extension], content)
        host.close(report)

    def test_exports_of_reports_without_columns_close_their_files(self):
        host = Host(self.library, self.database)
        before = len(os.listdir("/proc/self/fd"))
        examples = {"check": {1: "1010", 2: "00001001", 3: "00001005"}, "checklayout": {1: "1"},
                    "labels": {1: "C", 2: "1", 3: "all", 4: "Y"}}
        for key, params in examples.items():
            report = host.report(key, key, params)
            for run in range(5):
                path = os.path.join(self.folder.name, f"{key}.xlsx")
                host.check(self.library.vob_report_run_to_file(report, path.encode()))
            host.close(report)
            host = Host(self.library, self.database)
        self.assertEqual(len(os.listdir("/proc/self/fd")), before)
        host.close()

    def test_a_second_thread_runs_with_its_own_settings_at_the_same_time(self):
        # The second thread hands over its own data source, parameters and title; the first thread's
        # settings must not reach its report, nor its settings the first thread's.
        start = threading.Barrier(2)
        results = {}

        def second_host():
            try:
                host = Host(self.library, self.database)
                report = host.report("chaccts", "Chart of the Second Thread", {})
                start.wait()
                pdf = host.pdf_bytes(report)
                results["pages"] = host.page_count(report)
                path = os.path.join(self.folder.name, "second.pdf")
                with open(path, "wb") as file:
                    file.write(pdf)
                results["text"] = pdf_text(path)
                host.close(report)
            except BaseException as error:  # reported by the main thread
                results["error"] = error
                start.abort()

        thread = threading.Thread(target=second_host)
        thread.start()
        host = Host(self.library, self.database)
        report = host.report("trbalance", "Trial Balance of the First Thread", TRIAL_BALANCE)
        start.wait()
        path = os.path.join(self.folder.name, "first.pdf")
        host.check(self.library.vob_report_run_to_file(report, path.encode()))
        thread.join()
        self.assertNotIn("error", results)

        first = pdf_text(path)
        self.assertIn("Trial Balance of the First Thread", first)
        self.assertNotIn("Second Thread", first)
        self.assertIn("1,828,447.69", first)
        self.assertEqual(host.page_count(report), 1)
        self.assertIn("Chart of the Second Thread", results["text"])
        self.assertNotIn("First Thread", results["text"])
        self.assertIn("Interest Expense", results["text"])
        self.assertEqual(results["pages"], 5)
        self.assertEqual(results["text"].count("\f"), 5)
        host.close(report)

    @unittest.skipUnless(os.environ.get("VOB_TEST_CUPS_SPOOL"), "not under scripts/with-cups")
    def test_prints_through_cups_what_it_would_write(self):
        host = Host(self.library, self.database)
        report = host.report("trbalance", "Trial Balance", TRIAL_BALANCE)
        expected = host.pdf_bytes(report)
        printed = host.report("trbalance", "Trial Balance", TRIAL_BALANCE)
        job_id = ctypes.c_int32()
        host.check(self.library.vob_report_print(printed, None, b"copies=2;wait=1", ctypes.byref(job_id)))
        self.assertGreater(job_id.value, 0)
        self.assertEqual(host.page_count(printed), 1)
        with open(os.path.join(os.environ["VOB_TEST_CUPS_SPOOL"], f"d{job_id.value:05d}-001"), "rb") as spooled:
            self.assertEqual(spooled.read(), expected)

        #   printer        options               words of the message
        for printer, options, words in [(b"nosuch", None, "known printers: vobbroken, vobstopped, vobtest"),
                                        (b"vobstopped", b"", "stopped"),
                                        (None, b"pages=2", "of a report of 1 page"),
                                        (None, b"copies=none", "\"none\""),
                                        (b"vobbroken", b"wait=1", "aborted")]:
            with self.subTest(printer=printer, options=options):
                result = self.library.vob_report_print(printed, printer, options, ctypes.byref(job_id))
                self.assertNotEqual(result, VOB_OK)
                self.assertIn(words, self.library.vob_last_error().decode())
                self.assertEqual(job_id.value > 0, printer == b"vobbroken")  # queued before it failed
        host.close(report, printed)

    def test_every_demo_run_is_the_command_lines_bytes_on_eight_threads(self):
        vobreports = os.path.join(BUILD, "vobreports")
        runs = demo_runs(vobreports)
        self.assertGreaterEqual(len(runs), 50)
        expected = []
        for number, (key, params, drilldown) in enumerate(runs):
            path = os.path.join(self.folder.name, f"cli-{number}.pdf")
            command = [vobreports, "run", key, "--db", self.database, "--today", "2024-06-30",
                       "--title", f"Run {number}", "--drilldown", drilldown, "-o", path]
            for index, text in params.items():
                command += ["--param", f"{index}={text}"]
            subprocess.run(command, check=True, capture_output=True)
            with open(path, "rb") as file:
                expected.append(file.read())

        def run_through_the_library(number):
            key, params, drilldown = runs[number]
            host = Host(self.library, self.database)  # a pool thread's settings are its own
            host.check(self.library.vob_manager_set_now(host.manager, b"2024-06-30"))
            report = host.report(key, f"Run {number}", params, drilldown)
            try:
                return host.pdf_bytes(report)
            finally:
                host.close(report)

        with concurrent.futures.ThreadPoolExecutor(max_workers=8) as pool:
            for number, pdf in enumerate(pool.map(run_through_the_library, range(len(runs)))):
                self.assertEqual(pdf, expected[number], f"{runs[number][0]} {runs[number][1]}")

    def test_a_careless_host_gets_codes_and_the_process_lives(self):
        self.assertEqual(self.library.vob_version(), b"1.0.0")
        host = Host(self.library, self.database)
        report = host.report("backordcust", "Back Orders", {})
        self.assertEqual(self.library.vob_release_checked(report) & 0xFFFFFFFF, VOB_OK)
        self.assertEqual(self.library.vob_release_checked(report) & 0xFFFFFFFF, VOB_E_MISUSE)
        self.library.vob_release(report)
        self.assertIn(b"not a live object", self.library.vob_last_error())
        stray = ctypes.c_void_p(id(self))
        self.assertEqual(self.library.vob_manager_reset(stray) & 0xFFFFFFFF, VOB_E_MISUSE)

        report = host.report("backordcust", "Back Orders", {})
        counts = []

        def on_progress(_, pages):
            counts.append(pages)
            if pages >= 1:
                self.library.vob_report_cancel(report)

        callback = PROGRESS(on_progress)  # kept alive while the library may call it
        host.check(self.library.vob_report_set_progress(report, callback, None))
        path = os.path.join(self.folder.name, "cancelled.pdf")
        self.assertEqual(self.library.vob_report_run_to_file(report, path.encode()) & 0xFFFFFFFF,
                         VOB_E_CANCELLED)
        self.assertEqual(counts, [1])
        self.assertFalse(os.path.exists(path))
        host.close(report)


if __name__ == "__main__":
    unittest.main()
