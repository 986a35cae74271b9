#!/bin/sh
# Mailing labels for 100,000 customers on a 3-across, 10-down inch stock (3,334 pages), and the customer list
# over the same customers, each to PDF beside a bare read of the same statement by `vobreports sql`: seconds,
# pages per second, peak memory. Targets: each report costs no more than 3 times its bare read, and stays under
# 100 MB at its peak. Each run's page count is checked.
#
#   bench/labels_bench.sh [BUILD_DIR] [CUSTOMERS] [RUNS]
#
# Times are CPU seconds (user + system), the best of RUNS rounds (default 3), each round running the reads and
# the reports in turn: on a shared machine the elapsed time (also shown) mostly measures the neighbours.
set -eu

build=${1:-build}
customers=${2:-100000}
runs=${3:-3}
cli=$build/vobreports
work=$(mktemp -d "${TMPDIR:-/tmp}/labels-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
db=$work/customers.sqlite

# An empty company, then the customers and the stock: the demo's own forty customers would not fill a sheet.
"$cli" demo-db "$db" --empty >/dev/null
python3 - "$db" "$customers" <<'PY'
import sqlite3, sys
db, count = sys.argv[1], int(sys.argv[2])
streets = ["Main St", "Oak Ave", "Prairie Rd", "Commerce Dr", "Lake St"]
cities = [("Springfield", "IL"), ("Madison", "WI"), ("Peoria", "IL"), ("Duluth", "MN"), ("Ames", "IA")]
groups = ["Retail", "Wholesale", "Contractor"]
def row(i):
    city, state = cities[i % 5]
    return ("C%07d" % i, "Customer %07d Co." % ((i * 7919) % count), "Contact %d" % i,
            "%d %s" % (100 + i % 9000, streets[i % 5]), "Suite %d" % (i % 300) if i % 4 == 0 else None, city,
            state, "62701%04d" % (i % 10000) if i % 2 else "627%02d" % (i % 100), "217555%04d" % (i % 10000),
            groups[i % 3], 1000 + i % 5000)
with sqlite3.connect(db) as connection:
    connection.executemany(
        "INSERT INTO Customers (CustomerID, Name, Contact, Address1, Address2, City, State, ZipCode, Phone1,"
        " BillGroup, CurrentBalance) VALUES (?,?,?,?,?,?,?,?,?,?,?)", (row(i) for i in range(count)))
    connection.execute(
        "INSERT INTO libLabels (LabelID, Description, unit, TopMargin, SideMargin, LabelWidth, LabelHeight,"
        " VerticalPitch, HorizontalPitch, numberAcross, NumberDown, pageSize)"
        " VALUES (1, 'Address 30', 'in', 0.5, 0.1875, 2.625, 1, 1, 2.75, 3, 10, 'Letter')")
PY
echo "$customers customers"

. "$(dirname "$0")/best_of.sh"

# bare_read LABEL SQL: the statement the report builds, read to CSV; every customer must come back.
bare_read() {
  best_of "$1" "$cli" sql --db "$db" "$2"
  lines=$(($(wc -l <"$work/stdout") - 1))
  [ "$lines" -eq "$customers" ] || { echo "$1: the bare read gave $lines rows, not $customers" >&2; exit 1; }
}

# run_report LABEL KEY PARAM...: the report to PDF, its page count from the progress line and the PDF.
run_report() {
  label=$1
  key=$2
  shift 2
  best_of "$label" "$cli" run "$key" --db "$db" --now "2024-06-30 17:00:00" "$@" --progress -o "$work/$key.pdf"
  pages=$(tr '\r' '\n' <"$work/stderr" | sed -n "s/^$key: \([0-9]*\) pages, done\$/\1/p")
  [ -n "$pages" ] && [ "$pages" -gt 0 ] || { echo "$key: no page count" >&2; exit 1; }
  grep -q "/Count $pages" "$work/$key.pdf" || { echo "the $key PDF does not hold $pages pages" >&2; exit 1; }
  eval "${label}_pages=$pages"
}

line() {  # LABEL CPU_SECONDS ELAPSED KB PAGES READ_SECONDS
  if [ "$5" = - ]; then page_rate=-; else page_rate=$(echo "scale=1; $5 / $2" | bc); fi
  ratio=$(echo "scale=2; $2 / $6" | bc)
  printf '%-26s %6.2f s cpu %6.2f s elapsed %5s pages %7s pages/s %4s MB peak %5.2fx read\n' "$1" "$2" "$3" \
    "$5" "$page_rate" "$(($4 / 1024))" "$ratio"
}

# check LABEL: the report against its bare read and the memory ceiling.
check() {
  eval "seconds=\$${1}_seconds read_seconds=\$${1}_read_seconds kb=\$${1}_kb"
  if [ "$(echo "$seconds > 3 * $read_seconds" | bc)" = 1 ]; then
    echo "$1 to pdf costs more than 3 times the bare read" >&2
    failed=1
  fi
  if [ "$kb" -ge $((100 * 1024)) ]; then
    echo "$1 to pdf peaks at $((kb / 1024)) MB, not under 100 MB" >&2
    failed=1
  fi
}

# Each round reads and runs both reports back to back; each keeps its best round.
rounds=$runs
runs=1
round=0
while [ "$round" -lt "$rounds" ]; do
  bare_read labels_read "Select [Name], Contact, Address1, Address2, City, State, ZipCode from Customers Order by [Name]"
  run_report labels labels --param 1=C --param 2=1 --param 3=all --param 4=Y
  bare_read custlist_read "Select * from Customers order by Name"
  run_report custlist custlist --param 1=name
  take_turns labels_read labels custlist_read custlist
  round=$((round + 1))
done
finish_turns labels_read labels custlist_read custlist
expected_pages=$(((customers + 29) / 30))
[ "$labels_pages" -eq "$expected_pages" ] || { echo "labels: $labels_pages pages, not $expected_pages" >&2; exit 1; }

line "sql (labels' read, csv)" "$labels_read_seconds" "$labels_read_elapsed" "$labels_read_kb" - "$labels_read_seconds"
line "labels -> pdf" "$labels_seconds" "$labels_elapsed" "$labels_kb" "$labels_pages" "$labels_read_seconds"
line "sql (list's read, csv)" "$custlist_read_seconds" "$custlist_read_elapsed" "$custlist_read_kb" - \
  "$custlist_read_seconds"
line "custlist -> pdf" "$custlist_seconds" "$custlist_elapsed" "$custlist_kb" "$custlist_pages" \
  "$custlist_read_seconds"

failed=0
check labels
check custlist
exit "$failed"
