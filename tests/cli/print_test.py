"""`vobreports print` and `printers` against a real CUPS server (scripts/with-cups): the spooled document is
byte for byte the PDF `run -o` writes with the same clock, the job carries print-scaling none, the paper's media,
the title, copies, sides and pages, and every failure exits 1 (2 for bad usage) with a message naming what is
wrong, without queueing a job. The job's attributes are read back over IPP by a small client of the test's own.

Usage: print_test.py BUILD_DIR    (exits 77, skipped, outside scripts/with-cups)"""
import http.client
import json
import os
import pwd
import struct
import subprocess
import sys
import tempfile
import time
import unittest

BUILD = sys.argv.pop(1) if len(sys.argv) > 1 else "build"
VOBREPORTS = os.path.join(BUILD, "vobreports")
SPOOL = os.environ.get("VOB_TEST_CUPS_SPOOL", "")
NOW = ["--now", "2024-06-30 17:00:00"]
CHECKS = ["check", "--param", "1=1010", "--param", "2=00001001", "--param", "3=00001005"] + NOW
LABELS = ["labels", "--param", "1=C", "--param", "3=all", "--param", "4=Y"] + NOW

IPP_GET_JOB_ATTRIBUTES = 0x0009
JOB_COMPLETED = 9


def ipp_job_attributes(job_id):
    """The job's attributes as {name: [values]}: integers, ranges as tuples, booleans, texts."""
    user = pwd.getpwuid(os.getuid()).pw_name  # the owner sees the job's private values (its name)
    body = struct.pack(">BBHI", 2, 0, IPP_GET_JOB_ATTRIBUTES, 1) + b"\x01"
    for tag, name, value in [(0x47, "attributes-charset", "utf-8"), (0x48, "attributes-natural-language", "en"),
                             (0x45, "job-uri", f"ipp://localhost/jobs/{job_id}"),
                             (0x42, "requesting-user-name", user), (0x44, "requested-attributes", "all")]:
        data = value.encode()
        body += struct.pack(">BH", tag, len(name)) + name.encode() + struct.pack(">H", len(data)) + data
    body += b"\x03"
    host, port = os.environ["CUPS_SERVER"].rsplit(":", 1)
    connection = http.client.HTTPConnection(host, int(port), timeout=30)
    connection.request("POST", "/", body, {"Content-Type": "application/ipp"})
    data = connection.getresponse().read()
    connection.close()
    attributes, at, name = {}, 8, None
    while at < len(data):
        tag = data[at]
        at += 1
        if tag == 0x03:
            break
        if tag < 0x10:  # a group begins
            continue
        (name_length,) = struct.unpack_from(">H", data, at)
        at += 2
        if name_length:  # an empty name continues the attribute before
            name = data[at:at + name_length].decode()
            at += name_length
        (value_length,) = struct.unpack_from(">H", data, at)
        raw = data[at + 2:at + 2 + value_length]
        at += 2 + value_length
        if tag in (0x21, 0x23):
            value = int.from_bytes(raw, "big", signed=True)
        elif tag == 0x33:
            value = struct.unpack(">ii", raw)
        elif tag == 0x22:
            value = bool(raw[0])
        elif tag >= 0x40:
            value = raw.decode("utf-8", "replace")
        else:
            value = raw
        attributes.setdefault(name, []).append(value)
    return attributes


def vobreports(*args):
    return subprocess.run([VOBREPORTS, *args], capture_output=True, text=True, timeout=300)


def spool_files():
    return set(os.listdir(SPOOL))


class PrintTest(unittest.TestCase):
    def print_job(self, *args):
        """Prints, checks the job id line, and returns (id, attributes) once the server has it."""
        result = vobreports("print", *args, "--wait")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertRegex(result.stdout, r"^\d+\n$")
        job_id = int(result.stdout)
        return job_id, ipp_job_attributes(job_id)

    def test_checks_spool_the_pdf_run_writes_placed_on_letter(self):
        job_id, job = self.print_job(*CHECKS)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "check.pdf")
            result = vobreports("run", *CHECKS, "-o", path)
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(path, "rb") as pdf, open(os.path.join(SPOOL, f"d{job_id:05d}-001"), "rb") as spooled:
                expected = pdf.read()
                self.assertEqual(spooled.read(), expected)
        self.assertGreater(expected.count(b"/Type /Page\n") + expected.count(b"/Type/Page"), 0)
        self.assertEqual(job["job-state"], [JOB_COMPLETED])
        self.assertEqual(job["number-of-documents"], [1])  # every check in one job
        self.assertEqual(job["print-scaling"], ["none"])
        self.assertEqual(job["media"], ["na_letter_8.5x11in"])
        self.assertEqual(job["job-name"], ["Checks"])
        self.assertEqual(job["document-format"], ["application/pdf"])
        self.assertNotIn("page-ranges", job)

    def test_the_job_carries_paper_copies_sides_pages_and_title(self):
        #   arguments                                             attributes expected in the job
        cases = [
            (LABELS + ["--param", "2=2"], {"media": ["iso_a4_210x297mm"], "job-name": ["Mailing Labels"]}),
            (LABELS + ["--param", "2=1"], {"media": ["na_letter_8.5x11in"]}),
            (LABELS + ["--param", "2=2", "--copies", "3", "--sides", "two-sided-long-edge", "--pages", "1",
                       "--title", "Étiquettes \"A4\""],
             {"copies": [3], "sides": ["two-sided-long-edge"], "page-ranges": [(1, 1)],
              "job-name": ["Étiquettes \"A4\""]}),
            (CHECKS + ["--sides", "one-sided", "--printer", "VOBTEST"], {"sides": ["one-sided"]}),
        ]
        for arguments, expected in cases:
            with self.subTest(arguments=arguments):
                _, job = self.print_job(*arguments)
                self.assertEqual(job["print-scaling"], ["none"])
                for name, values in expected.items():
                    self.assertEqual(job.get(name), values, name)

    def test_failures_name_the_cause_and_queue_nothing(self):
        #   arguments                                    exit  words the message holds
        cases = [
            (CHECKS + ["--printer", "nosuch"], 1, ["\"nosuch\"", "known printers:", "vobtest", "vobstopped"]),
            (CHECKS + ["--printer", "vobstopped"], 1, ["\"vobstopped\"", "stopped", "rejects jobs", "Out of paper"]),
            (CHECKS + ["--pages", "2-9"], 1, ["\"2-9\"", "page 9", "5 pages"]),
            (CHECKS + ["--pages", "3-1"], 2, ["--pages"]),
            (CHECKS + ["--pages", "1,,2"], 2, ["--pages"]),
            (CHECKS + ["--sides", "both"], 2, ["--sides"]),
            (CHECKS + ["--copies", "0"], 2, ["--copies"]),
            (["nosuchreport"], 2, ["nosuchreport"]),
            (["check", "--param", "1=1010", "--db", "/nonexistent/books.sqlite"], 1, ["books.sqlite"]),
        ]
        for arguments, code, words in cases:
            with self.subTest(arguments=arguments):
                before = spool_files()
                result = vobreports("print", *arguments)
                self.assertEqual(result.returncode, code, result.stderr)
                self.assertEqual(result.stdout, "")
                for word in words:
                    self.assertIn(word, result.stderr)
                # The server drops a cancelled upload when it sees the connection close: give it a moment.
                for _ in range(50):
                    if not spool_files() - before:
                        break
                    time.sleep(0.05)
                self.assertEqual(spool_files() - before, set())

    def test_an_aborted_job_fails_the_wait_with_the_printers_reason(self):
        result = vobreports("print", *CHECKS, "--printer", "vobbroken", "--wait")
        self.assertEqual(result.returncode, 1)
        self.assertRegex(result.stdout, r"^\d+\n$")  # it was queued, and said so before it failed
        self.assertIn("aborted", result.stderr)
        self.assertIn("Paper jam", result.stderr)

    def test_no_server_names_the_server_tried(self):
        environment = dict(os.environ, CUPS_SERVER="127.0.0.1:1")
        for arguments in (["print", *CHECKS], ["printers"]):
            with self.subTest(arguments=arguments):
                result = subprocess.run([VOBREPORTS, *arguments], capture_output=True, text=True, env=environment)
                self.assertEqual(result.returncode, 1)
                self.assertIn("127.0.0.1:1", result.stderr)

    def test_printers_lists_the_destinations_with_their_state(self):
        result = vobreports("printers", "--json")
        self.assertEqual(result.returncode, 0, result.stderr)
        printers = {printer["name"]: printer for printer in json.loads(result.stdout)}
        self.assertTrue(printers["vobtest"]["is_default"])
        self.assertEqual(printers["vobtest"]["state"], "idle")
        self.assertFalse(printers["vobstopped"]["is_default"])
        self.assertEqual(printers["vobstopped"]["state"], "stopped")
        self.assertFalse(printers["vobstopped"]["is_accepting_jobs"])
        self.assertEqual(printers["vobstopped"]["state_message"], "Out of paper")
        text = vobreports("printers").stdout.splitlines()
        self.assertIn("vobtest\tidle\taccepting\tdefault\t", text)


if __name__ == "__main__":
    if not SPOOL or "CUPS_SERVER" not in os.environ:
        print("print_test: skipped, not under scripts/with-cups")
        sys.exit(77)
    unittest.main()
