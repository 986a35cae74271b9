#!/usr/bin/env python3
"""Per-run cost through the C interface: a report run to a PDF file against the same run handed over as
bytes, for the trial balance (1 page) and back orders by customer (32 pages), side by side.

    bench/c_api_bench.py BUILD [OTHER_BUILD ...] [--runs N]

Each BUILD is a build folder holding libVOBADOReports2.so and vobreports; give a second one (an older
build) to compare libraries in the same run. Runs alternate between the ways so that the machine's drift
hits both alike; the figures are the median and the best of N runs, in milliseconds, and each build's beside
the first build's. Target: 2 ms for the one-page trial balance after the first run.
With --callgrind, also the instructions of a later trial balance to a file (valgrind's callgrind, all threads:
eleven runs in one process less one, by ten), which the machine's load does not move."""
import argparse
import ctypes
import os
import re
import sys
import statistics
import subprocess
import tempfile
import time

REPORTS = [("trbalance", {1: "04/01/2024", 2: "06/30/2024", 3: "202404", 4: "202406"}),
           ("backordcust", {})]


class Library:
    def __init__(self, build, database):
        self.lib = ctypes.CDLL(os.path.join(build, "libVOBADOReports2.so"))
        handle = ctypes.c_void_p
        for name, arguments in {
            "vob_create_object": [ctypes.c_char_p, ctypes.POINTER(handle)],
            "vob_manager_set_data_source": [handle, ctypes.c_char_p],
            "vob_manager_set_date_format": [handle, ctypes.c_char_p],
            "vob_manager_reset": [handle],
            "vob_manager_set_rept_param": [handle, ctypes.c_int16, ctypes.c_char_p],
            "vob_manager_get_report": [handle, ctypes.c_char_p, ctypes.POINTER(handle)],
            "vob_report_run_to_file": [handle, ctypes.c_char_p],
            "vob_report_run_to_pdf_bytes": [handle, ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte)),
                                            ctypes.POINTER(ctypes.c_size_t)],
        }.items():
            getattr(self.lib, name).argtypes = arguments
            getattr(self.lib, name).restype = ctypes.c_int32
        self.lib.vob_release.argtypes = [handle]
        self.lib.vob_free_bytes.argtypes = [ctypes.POINTER(ctypes.c_ubyte)]
        self.manager = handle()
        self.check(self.lib.vob_create_object(b"VOBADOReports2.rptManager", ctypes.byref(self.manager)))
        source = f"Provider=SQLite;Data Source={database};".encode()
        self.check(self.lib.vob_manager_set_data_source(self.manager, source))
        self.check(self.lib.vob_manager_set_date_format(self.manager, b"mm/dd/yy"))

    @staticmethod
    def check(result):
        if result != 0:
            raise RuntimeError(f"result {result & 0xFFFFFFFF:#x}")

    def report(self, key, params):
        self.check(self.lib.vob_manager_reset(self.manager))
        for index, text in params.items():
            self.check(self.lib.vob_manager_set_rept_param(self.manager, index, text.encode()))
        report = ctypes.c_void_p()
        self.check(self.lib.vob_manager_get_report(self.manager, key.encode(), ctypes.byref(report)))
        return report

    def to_file(self, report, path):
        self.check(self.lib.vob_report_run_to_file(report, path.encode()))

    def to_bytes(self, report, _):
        data = ctypes.POINTER(ctypes.c_ubyte)()
        size = ctypes.c_size_t()
        self.check(self.lib.vob_report_run_to_pdf_bytes(report, ctypes.byref(data), ctypes.byref(size)))
        self.lib.vob_free_bytes(data)


def instructions_per_later_run(build, database, folder):
    """Instructions of one later trial balance to a file: eleven runs in one process, less one run."""
    counts = []
    for runs in (1, 11):
        result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", sys.executable,
                                 __file__, build, "--inner-runs", str(runs), "--database", database],
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
        counts.append(int(re.search(r"refs:\s+([\d,]+)", result.stderr).group(1).replace(",", "")))
    return (counts[1] - counts[0]) / 10


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("builds", nargs="+")
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--callgrind", action="store_true")
    parser.add_argument("--inner-runs", type=int, help=argparse.SUPPRESS)  # one process of the count
    parser.add_argument("--database", help=argparse.SUPPRESS)
    arguments = parser.parse_args()
    if arguments.inner_runs is not None:
        library = Library(arguments.builds[0], arguments.database)
        key, params = REPORTS[0]
        path = os.path.join(os.path.dirname(arguments.database), "inner.pdf")
        for _ in range(arguments.inner_runs):
            report = library.report(key, params)
            library.to_file(report, path)
            library.lib.vob_release(report)
        return
    with tempfile.TemporaryDirectory(prefix="vob-c-api-bench-") as folder:
        database = os.path.join(folder, "demo.sqlite")
        subprocess.run([os.path.join(arguments.builds[0], "vobreports"), "demo-db", database, "--date",
                        "2024-06-30"], check=True, capture_output=True)
        libraries = [(build, Library(build, database)) for build in arguments.builds]
        print(f"{'report':<12} {'library':<28} {'way':<6} {'median ms':>10} {'best ms':>9}")
        for key, params in REPORTS:
            ways = [(build, name, library, getattr(library, "to_" + name))
                    for build, library in libraries for name in ("file", "bytes")]
            times = {(build, name): [] for build, name, _, _ in ways}
            path = os.path.join(folder, key + ".pdf")
            for _ in range(arguments.runs + 1):  # the first round warms caches and is dropped
                for build, name, library, run in ways:
                    report = library.report(key, params)
                    start = time.perf_counter()
                    run(report, path)
                    times[(build, name)].append((time.perf_counter() - start) * 1000)
                    library.lib.vob_release(report)
            first = arguments.builds[0]
            for (build, name), measured in times.items():
                measured = measured[1:]
                baseline = times[(first, name)][1:]
                print(f"{key:<12} {build[-28:]:<28} {name:<6} {statistics.median(measured):>10.2f} "
                      f"{min(measured):>9.2f}   beside the first build: median "
                      f"{statistics.median(measured) / statistics.median(baseline):.2f}x, best "
                      f"{min(measured) / min(baseline):.2f}x")
        if arguments.callgrind:
            for build in arguments.builds:
                count = instructions_per_later_run(build, database, folder)
                print(f"trbalance    {build[-28:]:<28} file   {count / 1e6:.2f} M instructions a later run")


if __name__ == "__main__":
    main()
