#!/bin/sh
# One invoice of 2,000 lines (56 pages) to PDF beside a bare read of the same statement by `vobreports sql`:
# seconds, pages per second, peak memory. Targets: the invoice costs no more than 3 times its bare read, every
# page footer carries the invoice's full totals, and the peak memory stays flat when the lines grow tenfold.
#
#   bench/invoice_bench.sh [BUILD_DIR] [LINES] [RUNS]
#
# Times are CPU seconds (user + system), the best of RUNS runs (default 3).
set -eu

build=${1:-build}
lines=${2:-2000}
runs=${3:-3}
cli=$build/vobreports
work=$(mktemp -d "${TMPDIR:-/tmp}/invoice-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
db=$work/invoices.sqlite

# An empty company with two invoices: number 1 of LINES lines, number 2 of ten times as many. Every third line
# has a discount, every fifth a description longer than its column.
"$cli" demo-db "$db" --empty >/dev/null
python3 - "$db" "$lines" <<'PY'
import sqlite3, sys
db, count = sys.argv[1], int(sys.argv[2])
def header(number, lines):
    subtotal = sum(round(10.25 * (1 + i % 7), 2) for i in range(lines))
    return (number, "INV%05d" % number, "INV", "BENCH01", "2024-06-03", "2024-07-03", subtotal, 12.5,
            subtotal + 12.5, 100, subtotal + 12.5 - 100, "PO-1", "Destination", "Freight", "JW", "CHK 1001",
            "NET30", 1, "Bench Hardware Co.", "Pat Buyer", "100 Main St", "Suite 4", "Springfield", "IL",
            "627011234", "Bench Yard", "9 Depot Rd", None, "Peoria", "IL", "61602")
def line(number, i):
    description = "Item %d" % i if i % 5 else "Item %d with a description far longer than its column holds" % i
    return (number, "IT%04d" % (i % 500), description, "P", 1 + i % 7, 1 + i % 7, 0, 10.25,
            round(10.25 * (1 + i % 7), 2), 5 if i % 3 == 0 else 0)
with sqlite3.connect(db) as connection:
    connection.execute("INSERT INTO Terms (TermCode, Description) VALUES ('NET30', 'Net 30 days')")
    connection.execute("INSERT INTO libMessages (MessageNo, MessageText) VALUES (1, 'Thank you!')")
    connection.execute("INSERT INTO CompanyProfile (MastHead) VALUES ('Bench Supply Co.')")
    for number, lines in ((1, count), (2, 10 * count)):
        connection.execute(
            "INSERT INTO ARInvoiceHeader (InvoiceNo, InvoiceNumber, InvoiceType, CustomerID, InvoiceDate,"
            " DueDate, SubTotal, Tax, Total, PaidAmount, NetAmount, CustomerPONumber, FOB, Via, OurRef, PaidRef,"
            " TermCode, MessageNo, Name, Contact, Address1, Address2, city, State, zipcode, ShiptoName,"
            " ShiptoAddress1, ShiptoAddress2, Shiptocity, ShiptoState, Shiptozipcode)"
            " VALUES (" + ",".join("?" * 31) + ")", header(number, lines))
        connection.executemany(
            "INSERT INTO ARInvoiceDetail (InvoiceNo, ItemCode, Description, ItemType, Ordered, Shipped,"
            " Backordered, SalesPrice, SplitAmount, Discount) VALUES (?,?,?,?,?,?,?,?,?,?)",
            (line(number, i) for i in range(lines)))
PY
echo "invoice 1: $lines lines; invoice 2: $((10 * lines)) lines"

. "$(dirname "$0")/best_of.sh"

sql() {  # the statement the invoice builds for invoice $1
  echo "SELECT ARInvoiceHeader.*, ARInvoiceDetail.* FROM (ARInvoiceHeader INNER JOIN ARInvoiceDetail ON ARInvoiceHeader.InvoiceNo = ARInvoiceDetail.InvoiceNo) WHERE (((ARInvoiceHeader.InvoiceNo)= $1));"
}

# $repeated TIMES COMMAND...: the command TIMES times in a row, as one timing (a 2,000-line run takes a few
# hundredths of a second, below what the clock of `time` tells apart); the output is the last run's.
repeated='times=$1; shift; i=0; while [ "$i" -lt "$times" ]; do "$@" >"$0"; i=$((i + 1)); done; cat "$0"'

# read LABEL NUMBER ROWS REPEAT: the bare read of invoice NUMBER to CSV, which must give ROWS rows.
read_rows() {
  best_of "$1" sh -c "$repeated" "$work/repeated" "$4" "$cli" sql --db "$db" "$(sql "$2")"
  rows=$(($(wc -l <"$work/stdout") - 1))
  [ "$rows" -eq "$3" ] || { echo "$1: the bare read gave $rows rows, not $3" >&2; exit 1; }
}

# invoice LABEL NUMBER REPEAT: the invoice to PDF, its page count from the progress line and the PDF.
invoice() {
  best_of "$1" sh -c "$repeated" "$work/repeated" "$3" "$cli" run invoice --db "$db" --param 1="$2" --now "2024-06-30 17:00:00" \
    --progress -o "$work/invoice-$2.pdf"
  pages=$(tr '\r' '\n' <"$work/stderr" | sed -n 's/^invoice: \([0-9]*\) pages, done$/\1/p' | tail -n 1)
  [ -n "$pages" ] && [ "$pages" -gt 1 ] || { echo "invoice $2: no page count" >&2; exit 1; }
  grep -q "/Count $pages" "$work/invoice-$2.pdf" || { echo "the PDF does not hold $pages pages" >&2; exit 1; }
  eval "${1}_pages=$pages"
}

read_rows read 1 "$lines" 10
invoice invoice 1 10
read_rows tenfold_read 2 $((10 * lines)) 1
invoice tenfold 2 1

# Every page footer of invoice 1 shows the full totals: as many net amounts as pages in the text dump.
"$cli" run invoice --db "$db" --param 1=1 --now "2024-06-30 17:00:00" -o "$work/invoice.txt"
net=$(python3 -c "print('\${:,.2f}'.format(sum(round(10.25 * (1 + i % 7), 2) for i in range($lines)) + 12.5 - 100))")
footers=$(grep -c "Net to pay:  $net" "$work/invoice.txt" || true)

line() {  # LABEL CPU_SECONDS ELAPSED KB PAGES READ_SECONDS
  if [ "$5" = - ]; then page_rate=-; else page_rate=$(echo "scale=1; $5 / $2" | bc); fi
  printf '%-28s %6.2f s cpu %6.2f s elapsed %5s pages %7s pages/s %4s MB peak %5.2fx read\n' "$1" "$2" "$3" \
    "$5" "$page_rate" "$(($4 / 1024))" "$(echo "scale=2; $2 / $6" | bc)"
}
line "sql (invoice's read) x10" "$read_seconds" "$read_elapsed" "$read_kb" - "$read_seconds"
line "invoice -> pdf x10" "$invoice_seconds" "$invoice_elapsed" "$invoice_kb" "$((10 * invoice_pages))" \
  "$read_seconds"
line "sql (10x lines)" "$tenfold_read_seconds" "$tenfold_read_elapsed" "$tenfold_read_kb" - "$tenfold_read_seconds"
line "invoice, 10x lines -> pdf" "$tenfold_seconds" "$tenfold_elapsed" "$tenfold_kb" "$tenfold_pages" \
  "$tenfold_read_seconds"
echo "page footers with the net to pay $net: $footers of $invoice_pages"

failed=0
if [ "$(echo "$invoice_seconds > 3 * $read_seconds" | bc)" = 1 ]; then
  echo "the invoice to pdf costs more than 3 times the bare read" >&2
  failed=1
fi
if [ "$footers" -ne "$invoice_pages" ]; then
  echo "only $footers of $invoice_pages page footers show the totals" >&2
  failed=1
fi
if [ "$tenfold_kb" -gt $((invoice_kb + 16 * 1024)) ]; then
  echo "ten times the lines peaks at $((tenfold_kb / 1024)) MB against $((invoice_kb / 1024)) MB" >&2
  failed=1
fi
exit "$failed"
