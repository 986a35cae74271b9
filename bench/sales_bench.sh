#!/bin/sh
# Sales by customer over every sales document of a scaled demo company, to PDF and to JSON, beside a bare read of
# the same SQL by `vobreports sql`: seconds, rows and pages per second, peak memory. Target: the report costs no
# more than 3 times the bare read to PDF; the JSON page dump is shown beside it, unchecked. Each run's output is
# checked (page count, grand total present).
#
#   bench/sales_bench.sh [BUILD_DIR] [SCALE] [RUNS]
#
# BUILD_DIR holds the vobreports program (default build); scale 290 gives just over 500,000 sales documents in
# the demo's eighteen months.
# Times are CPU seconds (user + system), the best of RUNS runs (default 3): on a shared machine the elapsed
# time (also shown) mostly measures the neighbours.
set -eu

build=${1:-build}
scale=${2:-290}
runs=${3:-3}
cli=$build/vobreports
work=$(mktemp -d "${TMPDIR:-/tmp}/sales-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
db=$work/demo.sqlite

# The statement the report builds for the whole of the demo's books.
begin=01/01/2023
end=06/30/2024
sql="SELECT ARInvoiceHeader.*, Customers.* FROM ARInvoiceHeader INNER JOIN Customers ON \
ARInvoiceHeader.CustomerID = Customers.CustomerId WHERE (((ARInvoiceHeader.InvoiceType) In ('INV','RET', 'SLS', \
'SLC')) AND ((ARInvoiceHeader.InvoiceDate) Between #$begin# And #$end#)) Order by Customers.billgroup, \
ARInvoiceheader.CustomerID; "

"$cli" demo-db "$db" --scale "$scale" --date 2024-06-30 >/dev/null
rows=$("$cli" sql --db "$db" "SELECT count(*) AS n FROM ARInvoiceHeader INNER JOIN Customers ON \
ARInvoiceHeader.CustomerID = Customers.CustomerId WHERE ARInvoiceHeader.InvoiceType In ('INV','RET','SLS','SLC') \
AND ARInvoiceHeader.InvoiceDate Between #$begin# And #$end#" | tail -n 1)
echo "scale $scale: $rows sales documents"

. "$(dirname "$0")/best_of.sh"

best_of read "$cli" sql --db "$db" "$sql"
read_lines=$(($(wc -l <"$work/stdout") - 1))
[ "$read_lines" -eq "$rows" ] || { echo "the bare read gave $read_lines rows, not $rows" >&2; exit 1; }

run_report() {
  best_of "$1" "$cli" run salesrept1 --db "$db" --now "2024-06-30 17:00:00" --param "1=$begin" --param "2=$end" \
    --progress -o "$work/salesrept1.$1"
  pages=$(tr '\r' '\n' <"$work/stderr" | sed -n 's/^salesrept1: \([0-9]*\) pages, done$/\1/p')
  [ -n "$pages" ] && [ "$pages" -gt 0 ] || { echo "salesrept1 to $1: no page count" >&2; exit 1; }
  eval "${1}_pages=$pages"
}
run_report pdf
grep -q "/Count $pdf_pages" "$work/salesrept1.pdf" || { echo "the PDF does not hold $pdf_pages pages" >&2; exit 1; }
run_report json
grep -q '"Field16"' "$work/salesrept1.json" || { echo "the JSON has no grand total" >&2; exit 1; }

line() {  # LABEL CPU_SECONDS ELAPSED KB PAGES
  rate=$(echo "scale=0; $rows / $2" | bc)
  ratio=$(echo "scale=2; $2 / $read_seconds" | bc)
  if [ "$5" = - ]; then page_rate=-; else page_rate=$(echo "scale=1; $5 / $2" | bc); fi
  printf '%-20s %6.2f s cpu %6.2f s elapsed %8s rows/s %4s pages %6s pages/s %4s MB peak %5.2fx read\n' "$1" "$2" \
    "$3" "$rate" "$5" "$page_rate" "$(($4 / 1024))" "$ratio"
}
line "sql (bare read, csv)" "$read_seconds" "$read_elapsed" "$read_kb" -
line "salesrept1 -> pdf" "$pdf_seconds" "$pdf_elapsed" "$pdf_kb" "$pdf_pages"
line "salesrept1 -> json" "$json_seconds" "$json_elapsed" "$json_kb" "$json_pages"

if [ "$(echo "$pdf_seconds > 3 * $read_seconds" | bc)" = 1 ]; then
  echo "salesrept1 to pdf costs more than 3 times the bare read" >&2
  exit 1
fi
