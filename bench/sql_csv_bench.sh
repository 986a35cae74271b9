#!/usr/bin/env bash
# `vobreports sql --format csv` on the receivable aging query beside `sqlite3 -csv -header` reading the same rows
# in the same order (the hand-written NOCASE ordering the translation gives): CPU and wall seconds, medians of
# interleaved runs, and their ratio. Target: the data layer's read costs at most 1.2 times the bare client's.
# Checks that both print the same documents in the same order.
#
#   bench/sql_csv_bench.sh [BUILD_DIR] [SCALE] [RUNS]     (defaults: build, 65 (about 204,000 rows), 5)
set -euo pipefail
build=${1:-build}
scale=${2:-65}
runs=${3:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/sql-csv-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
db=$work/demo.sqlite

jet_sql="SELECT ARInvoiceHeader.*, Customers.*  FROM ARInvoiceHeader INNER JOIN Customers ON \
ARInvoiceHeader.CustomerID = Customers.CustomerId  order by ARInvoiceheader.Customerid, originalinvoiceno, \
originalinvoicetype, invoicedate;"
bare_sql="SELECT ARInvoiceHeader.*, Customers.* FROM ARInvoiceHeader INNER JOIN Customers ON \
ARInvoiceHeader.CustomerID = Customers.CustomerId ORDER BY ARInvoiceHeader.CustomerID COLLATE NOCASE, \
OriginalInvoiceNo COLLATE NOCASE, originalinvoicetype COLLATE NOCASE, InvoiceDate"

"$build/vobreports" demo-db "$db" --scale "$scale" --date 2024-06-30 >/dev/null
echo "query plan of the hand-written statement (the translated one plans the same):"
"$build/vobreports" sql --db "$db" "$jet_sql" >"$work/ours.csv"
sqlite3 -csv -header "$db" "$bare_sql" >"$work/bare.csv"
sqlite3 "$db" "EXPLAIN QUERY PLAN $bare_sql" | sed 's/^/  /'
rows=$(($(wc -l <"$work/ours.csv") - 1))
cmp -s <(cut -d, -f1 "$work/ours.csv") <(cut -d, -f1 "$work/bare.csv") ||
  { echo "vobreports sql and sqlite3 give different rows or orders" >&2; exit 1; }
echo "scale $scale: $rows rows of $(head -n 1 "$work/ours.csv" | tr ',' '\n' | wc -l) fields, same order in both"

# measure LABEL COMMAND...: appends "cpu wall" seconds to $work/LABEL
measure() {
  local label=$1
  shift
  /usr/bin/time -f '%U %S %e' -o "$work/time" "$@" >/dev/null
  read -r user system elapsed <"$work/time"
  echo "$(echo "$user + $system" | bc) $elapsed" >>"$work/$label"
}
median() { sort -g | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }

for _ in $(seq "$runs"); do
  measure ours "$build/vobreports" sql --db "$db" "$jet_sql"
  measure bare sqlite3 -csv -header "$db" "$bare_sql"
done
ours_cpu=$(cut -d' ' -f1 "$work/ours" | median)
bare_cpu=$(cut -d' ' -f1 "$work/bare" | median)
ours_wall=$(cut -d' ' -f2 "$work/ours" | median)
bare_wall=$(cut -d' ' -f2 "$work/bare" | median)
ratio=$(echo "scale=2; $ours_cpu / $bare_cpu" | bc)
printf 'vobreports sql --format csv  %6.2f s cpu %6.2f s wall\n' "$ours_cpu" "$ours_wall"
printf 'sqlite3 -csv -header         %6.2f s cpu %6.2f s wall\n' "$bare_cpu" "$bare_wall"
echo "ratio (cpu, median of $runs interleaved runs): $ratio; wall: $(echo "scale=2; $ours_wall / $bare_wall" | bc)"
if [ "$(echo "$ratio > 1.2" | bc)" = 1 ]; then
  echo "vobreports sql costs more than 1.2 times sqlite3" >&2
  exit 1
fi
