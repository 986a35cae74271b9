"""`vobreports run -o FILE.csv / FILE.xlsx` read back by readers that are not ours (openpyxl, csv): each amount
column adds up to the total the report prints, cells are numbers and dates, headers are the captions, group
keys are on every row, awkward texts survive CSV, sheet names stay valid, and a failed export leaves no file.

Usage: export_test.py BUILD_DIR    (needs Debian's python3-openpyxl)"""
import csv
import datetime
import json
import os
import re
import sqlite3
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile
from decimal import Decimal

import openpyxl

BUILD = sys.argv.pop(1) if len(sys.argv) > 1 else "build"
VOBREPORTS = os.path.join(BUILD, "vobreports")
TODAY = ["--today", "2024-06-30"]
TRIAL_BALANCE = ["trbalance", "--param", "1=04/01/2024", "--param", "2=06/30/2024", "--param", "3=202404",
                 "--param", "4=202406"]

# Each report's exported amount columns, by caption, and the report footer control that prints its total.
#   report arguments                                 amount column -> printed total control
CASES = [
    (TRIAL_BALANCE, {"Beginning Balance Debit": "Field13", "Beginning Balance Credit": "Field14",
                     "Report Period Debit": "Field15", "Report Period Credit": "Field16",
                     "Ending Balance Debit": "Field17", "Ending Balance Credit": "Field19"}),
    (["araging"], {"Amount": "Field4", "0 -30 Days": "Field10", "31 - 60 days": "Field11",
                   "61 - 90 days": "Field12", "Over 90 Days": "Field13"}),
    (["araging", "--param", "1=ACME0021"], {"Amount": "Field4", "0 -30 Days": "Field10",
                                           "31 - 60 days": "Field11", "61 - 90 days": "Field12",
                                           "Over 90 Days": "Field13"}),
    (["inventory", "--param", "1=Average"], {"Inventory Cost": "Field1"}),
]

# Header rows read back from the CSV: captions from the column heading lines only, never from an information
# block (a terms box, the date range, a "Vendor ID:" label), one caption over two columns split apart.
#   report arguments                                 header row
COLUMN_NAMES = {
    "trbalance": ["Number", "Name", "Beginning Balance Debit", "Beginning Balance Credit", "Report Period Debit",
                  "Report Period Credit", "Ending Balance Debit", "Ending Balance Credit"],
    "inventory": ["Code", "Name / Description", "Meas", "on Hand", "Unit Cost", "Inventory Cost"],
    "venpayments": ["Vendor ID", "Address", "Tax ID", "Trans Type", "Account", "Account Name", "Check No", "Date",
                    "Amount"],
    "invoice": ["Order", "Ship", "B / O", "Description", "Unit Price", "Discount", "Extended"],
    "merch": ["Order", "Recd", "B / O", "Description", "Unit Price", "Discount", "Extended"],
    "po": ["Item Code", "Ordered", "Description", "Unit Price", "Discount", "Total Price"],
    "purret": ["Return Quantity", "Description", "Unit Price", "Discount", "Extended"],
    "salesret": ["Return Quantity", "Description", "Unit Price", "Discount", "Extended"],
    "salesrept1": ["Customer Group", "Name", "Type", "Number", "Date", "Gross", "Tax", "Total"],
    "purrept1": ["Vendor Group", "Name", "Type", "Number", "Date", "Gross", "Tax", "Total"],
    "activity": ["Account No", "Account Name", "Account No 2", "Account Name 2", "Debit", "Credit"],
    "prodalert": ["Code", "Description", "Bin", "Vendor ID", "Dept", "Meas", "on Hand", "Minimum", "Under", "Reorder",
                  "on Order", "Price", "Purchase Cost"],
}


def printed_number(text):
    """ "$1,234.50 " or "(1,234.50)" as the Decimal it prints."""
    text = text.strip().replace("$", "").replace(",", "")
    negative = text.startswith("(") and text.endswith(")")
    value = Decimal(text.strip("()") or "0")
    return -value if negative else value


def cents(value):
    return Decimal(str(value or 0)).quantize(Decimal("0.01"))


class ExportTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.database = os.path.join(cls.folder.name, "demo.sqlite")
        subprocess.run([VOBREPORTS, "demo-db", cls.database, "--date", "2024-06-30"], check=True,
                       capture_output=True)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def path(self, name):
        return os.path.join(self.folder.name, name)

    def run_report(self, arguments, output, *extra, database=None):
        command = [VOBREPORTS, "run", *arguments, "--db", database or self.database, *TODAY, "-o", output, *extra]
        return subprocess.run(command, capture_output=True, text=True)

    def export(self, arguments, output, *extra, database=None):
        result = self.run_report(arguments, output, *extra, database=database)
        self.assertEqual(result.returncode, 0, result.stderr)
        return output

    def printed_totals(self, arguments):
        """The report footer's texts by control, from the report's own page dump."""
        with open(self.export(arguments, self.path("pages.json"))) as file:
            dump = json.load(file)
        return {item["control"]: item["text"] for page in dump["pages"] for item in page["items"]
                if item["section"] == "ReportFooter" and item["text"]}

    def test_amount_columns_add_up_to_the_printed_totals(self):
        for arguments, totals in CASES:
            with self.subTest(report=" ".join(arguments)):
                printed = self.printed_totals(arguments)
                workbook = openpyxl.load_workbook(self.export(arguments, self.path("data.xlsx")))
                sheet = workbook.worksheets[0]
                rows = list(sheet.iter_rows(values_only=True))
                header = list(rows[0])
                with open(self.export(arguments, self.path("data.csv")), newline="", encoding="utf-8") as file:
                    csv_rows = list(csv.reader(file))
                self.assertEqual(csv_rows[0], header)
                self.assertEqual(len(csv_rows), len(rows))
                for caption, control in totals.items():
                    column = header.index(caption)
                    expected = printed_number(printed[control])
                    cells = [row[column] for row in rows[1:]]
                    self.assertTrue(all(cell is None or isinstance(cell, (int, float)) for cell in cells), caption)
                    # As a spreadsheet's SUM does: the values as they are, rounded as the total prints.
                    self.assertEqual(cents(sum(Decimal(str(cell or 0)) for cell in cells)), expected, caption)
                    self.assertEqual(cents(sum(Decimal(row[column] or "0") for row in csv_rows[1:])), expected,
                                     caption)
                # The header: bold, frozen, filtered; the report's totals on the Totals sheet.
                self.assertTrue(all(cell.font.b for cell in sheet[1]))
                self.assertEqual(sheet.freeze_panes, "A2")
                self.assertEqual(sheet.auto_filter.ref, f"A1:{sheet.cell(1, len(header)).column_letter}{len(rows)}")
                self.assertEqual(workbook.sheetnames[1], "Totals")
                totals_rows = list(workbook["Totals"].iter_rows(values_only=True))
                report_row = [row for row in totals_rows if row[0] == "Report"][0]
                for caption, control in totals.items():
                    self.assertEqual(cents(report_row[totals_rows[0].index(caption)]),
                                     printed_number(printed[control]), caption)

    def example_arguments(self, key):
        """The report key and its parameters' examples, as `vobreports params` lists them."""
        listing = subprocess.run([VOBREPORTS, "params", key], capture_output=True, text=True, check=True).stdout
        arguments = [key]
        for line in listing.splitlines():
            index, _, _, example = line.split("\t")
            if index != "d":
                arguments += ["--param", f"{index}={example}"]
        return arguments

    def test_any_bytes_in_the_books_leave_every_output_well_formed(self):
        # Latin-1 "Café", control characters and script payloads in names, groups and descriptions.
        database = self.path("bytes.sqlite")
        subprocess.run([VOBREPORTS, "demo-db", database, "--date", "2024-06-30"], check=True, capture_output=True)
        with sqlite3.connect(database) as connection:
            connection.execute("UPDATE Customers SET Name = CAST(X'436166E9' AS TEXT) || char(1, 12, 11) || "
                               "'<script>alert(\"&\")</script>', BillGroup = 'G' || char(1) || ']]>'")
            connection.execute("UPDATE Products SET Description = CAST(X'C0A3FF' AS TEXT) || char(127, 27) || "
                               "'</svg>&amp;'")
        title = "Title " + "\x01\x0b"
        for key in ["custlist", "prodlist"]:
            for extension in ["csv", "xlsx", "txt", "json", "svg"]:
                with self.subTest(report=key, output=extension):
                    output = self.export(self.example_arguments(key) + ["--title", title], self.path(f"bytes-{key}.{extension}"),
                                         database=database)
                    if extension == "svg":
                        output = output.replace(".svg", "-1.svg")
                    if extension == "xlsx":
                        with zipfile.ZipFile(output) as workbook:
                            for name in workbook.namelist():
                                if name.endswith(".xml") or name.endswith(".rels"):
                                    ElementTree.fromstring(workbook.read(name))  # raises when ill-formed
                        openpyxl.load_workbook(output)
                        continue
                    with open(output, "rb") as file:
                        data = file.read()
                    text = data.decode("utf-8")  # raises on a stray byte
                    if extension == "json":
                        json.loads(text)
                        continue
                    self.assertEqual([c for c in text if ord(c) < 32 and c not in "\t\r\n"], [])
                    if extension == "svg":
                        ElementTree.fromstring(data)
                    if extension in ("csv", "txt"):
                        self.assertIn("Caf\ufffd" if key == "custlist" else "\ufffd\ufffd\ufffd</svg>", text)

    def test_columns_are_named_by_the_heading_printed_over_them(self):
        for key, expected in COLUMN_NAMES.items():
            arguments = self.example_arguments(key)
            with self.subTest(report=key):
                with open(self.export(arguments, self.path("header.csv")), newline="", encoding="utf-8") as file:
                    self.assertEqual(next(csv.reader(file)), expected)

    def test_profiles_and_labels_export_a_row_per_record(self):
        with sqlite3.connect(self.database) as connection:
            customers = connection.execute("SELECT COUNT(*) FROM Customers").fetchone()[0]
        # Printed forms: phones "(612) 874-1573", ZIP "55443" or "55443-1234"; amounts as numbers.
        patterns = {"Phone 1": r"\(\d{3}\) \d{3}-\d{4}", "Zip": r"\d{5}(-\d{4})?", "Credit Limit": r"\d+(\.\d+)?"}
        for key, id_caption in [("customer", "Customer ID"), ("vendor", "Vendor ID"), ("labels", None)]:
            with self.subTest(report=key):
                arguments = self.example_arguments(key)
                output = self.export(arguments, self.path(f"{key}.csv"))
                with open(output, newline="", encoding="utf-8") as file:
                    rows = list(csv.DictReader(file))
                if key == "labels":  # a mail merge's lines: the name first, then the address
                    self.assertEqual(len(rows), customers)
                    self.assertEqual(list(rows[0])[:3], ["Line 1", "Line 2", "Line 3"])
                    self.assertTrue(all(row["Line 1"] and row["Line 3"] for row in rows))
                    continue
                self.assertEqual(len(rows), 1)
                record_id = arguments[arguments.index("--param") + 1][2:]
                self.assertEqual(rows[0][id_caption], record_id)
                for caption, pattern in patterns.items():
                    self.assertRegex(rows[0][caption], f"^{pattern}$", caption)
                # The other locations: a second file beside the CSV and a second sheet, keyed by the id.
                table = "Customers" if key == "customer" else "Vendors"
                with sqlite3.connect(self.database) as connection:
                    locations = connection.execute(f"SELECT COUNT(*) FROM {table}Alt WHERE {id_caption.replace(' ', '')}"
                                                   " = ?", (record_id,)).fetchone()[0]
                with open(output.replace(".csv", "-locations.csv"), newline="", encoding="utf-8") as file:
                    location_rows = list(csv.DictReader(file))
                self.assertEqual([row[id_caption] for row in location_rows], [record_id] * locations)
                workbook = openpyxl.load_workbook(self.export(arguments, self.path(f"{key}.xlsx")))
                self.assertEqual(workbook.sheetnames[1], "Locations")
                self.assertEqual(workbook["Locations"].max_row, 1 + locations)

    def test_job_actuals_are_number_cells_like_the_estimates(self):
        workbook = openpyxl.load_workbook(self.export(["jobinfo"], self.path("jobs.xlsx")))
        rows = list(workbook.worksheets[0].iter_rows(values_only=True))
        header = list(rows[0])
        for caption in ["Estimated Revenue", "Estimated Cost", "Actual Revenue", "Actual Cost"]:
            with self.subTest(caption=caption):
                self.assertTrue(all(isinstance(row[header.index(caption)], (int, float)) for row in rows[1:]))

    def test_one_customers_aging_has_typed_dates_and_its_key_on_every_row(self):
        arguments = ["araging", "--param", "1=ACME0021"]
        workbook = openpyxl.load_workbook(self.export(arguments, self.path("aging.xlsx")))
        self.assertEqual(workbook.properties.title, "Accounts Receivable Aging")
        self.assertEqual(workbook.properties.created, datetime.datetime(2024, 6, 30))
        sheet = workbook.worksheets[0]
        rows = list(sheet.iter_rows(values_only=True))
        self.assertEqual(list(rows[0]), ["Customer", "Name", "Invoice / Pmt No", "Type", "For", "Invoice Date",
                                         "Due Date", "Amount", "0 -30 Days", "31 - 60 days", "61 - 90 days",
                                         "Over 90 Days"])
        self.assertGreater(len(rows), 5)
        for row in rows[1:]:
            self.assertEqual(row[:2], ("ACME0021", "Acme Services Co."))
            self.assertIsInstance(row[5], datetime.datetime)
            self.assertIsInstance(row[7], (int, float))
        self.assertEqual(sheet.cell(2, 6).number_format, "mm/dd/yy")
        self.assertEqual(sheet.cell(2, 8).number_format, "#,##0.00 ;(#,##0.00)")
        with open(self.export(arguments, self.path("aging.csv")), newline="") as file:
            first = list(csv.reader(file))[1]
        self.assertRegex(first[5], r"^\d{4}-\d\d-\d\d$")
        with open(self.export(arguments, self.path("printed.csv"), "--csv-formatted"), newline="") as file:
            printed_first = list(csv.reader(file))[1]
        self.assertRegex(printed_first[5], r"^\d\d/\d\d/\d\d$")
        self.assertEqual(printed_number(printed_first[7]), Decimal(first[7]))

    def test_awkward_texts_and_keys_survive(self):
        database = self.path("awkward.sqlite")
        with open(self.database, "rb") as source, open(database, "wb") as copy:
            copy.write(source.read())
        awkward_name = 'Smith, "Bob"\nand Sons'
        # Two ids that clean to one name, a third that equals it but for case, one too long for a sheet name.
        awkward_ids = {"ACME0021": "AC/ME:[1]*?", "ASHLEY0012": "AC\\ME:[1]*?", "BLUE0030": "ac*ME:[1]/?",
                       "BLUE0025": "Blue Ridge Landscaping and Garden Centre"}
        with sqlite3.connect(database) as connection:
            connection.execute("UPDATE Customers SET Name = ? WHERE CustomerId = 'ACME0021'", (awkward_name,))
            for old, new in awkward_ids.items():
                connection.execute("UPDATE Customers SET CustomerId = ? WHERE CustomerId = ?", (new, old))
                connection.execute("UPDATE ARInvoiceHeader SET CustomerID = ? WHERE CustomerID = ?", (new, old))

        with open(self.export(["araging"], self.path("awkward.csv"), database=database), newline="",
                  encoding="utf-8") as file:
            rows = list(csv.reader(file))
        self.assertIn(awkward_name, [row[1] for row in rows])

        workbook = openpyxl.load_workbook(
            self.export(["araging"], self.path("groups.xlsx"), "--sheet-per-group", database=database))
        names = workbook.sheetnames
        self.assertEqual(names[-1], "Totals")
        # Each group's rows on the sheet its key names (made valid and unique as SheetNames' tests show),
        # whatever order the groups come in.
        sheet_of_key = {}
        for name in names[:-1]:
            keys = {row[0] for row in workbook[name].iter_rows(min_row=2, values_only=True)}
            self.assertEqual(len(keys), 1, name)
            sheet_of_key[keys.pop()] = name
        for key in awkward_ids.values():
            self.assertRegex(sheet_of_key[key], r"^(AC_ME__1___|ac_ME__1___)( \([23]\))?$|^Blue Ridge Landscaping and Gard$")
        self.assertEqual(len({sheet_of_key[key] for key in awkward_ids.values()}), 4)

    def test_a_failed_export_leaves_no_file_and_an_unknown_type_is_bad_usage(self):
        folder = tempfile.mkdtemp(dir=self.folder.name)
        for name in ["failed.csv", "failed.xlsx"]:
            result = self.run_report(["araging"], os.path.join(folder, name), database=self.path("missing.sqlite"))
            self.assertEqual(result.returncode, 1, result.stderr)
        self.assertEqual(os.listdir(folder), [])
        result = self.run_report(["araging"], os.path.join(folder, "aging.ods"))
        self.assertEqual(result.returncode, 2, result.stderr)


if __name__ == "__main__":
    unittest.main()
