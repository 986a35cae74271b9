#!/usr/bin/env bash
# The data layer against the bare database clients, reading the receivable aging query over a scaled demo
# company: `bench/aging_read.sh BUILD_DIR [SCALE]` (SQLite; PostgreSQL too when VOB_TEST_PG is set, e.g. under
# scripts/with-postgres). Prints the median wall time of five interleaved runs of each and their ratio.
set -euo pipefail
build=${1:-build}
scale=${2:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/vobreports" demo-db "$work/demo.sqlite" --scale "$scale" --date 2024-06-30 >&2
bare_sql='SELECT ARInvoiceHeader.*, Customers.* FROM ARInvoiceHeader INNER JOIN Customers ON
  ARInvoiceHeader.CustomerID = Customers.CustomerId ORDER BY ARInvoiceHeader.CustomerID COLLATE NOCASE,
  OriginalInvoiceNo COLLATE NOCASE, originalinvoicetype COLLATE NOCASE, InvoiceDate'
pg_sql='SELECT arinvoiceheader.*, customers.* FROM arinvoiceheader INNER JOIN customers ON
  arinvoiceheader.customerid = customers.customerid ORDER BY lower(arinvoiceheader.customerid) NULLS FIRST,
  lower(originalinvoiceno) NULLS FIRST, lower(originalinvoicetype) NULLS FIRST, invoicedate NULLS FIRST'

seconds() {  # wall seconds of a command
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo "scale=3; ($end - $start) / 1000000000" | bc
}
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

compare() {  # label, library command..., --, bare command...
  local label=$1; shift
  local library=() bare=()
  while [[ $1 != -- ]]; do library+=("$1"); shift; done; shift
  bare=("$@")
  local lib_times=() bare_times=()
  for _ in 1 2 3 4 5; do
    lib_times+=("$(seconds "${library[@]}")")
    bare_times+=("$(seconds "${bare[@]}")")
  done
  local lib bare_median
  lib=$(printf '%s\n' "${lib_times[@]}" | median)
  bare_median=$(printf '%s\n' "${bare_times[@]}" | median)
  echo "$label: data layer ${lib} s, bare client ${bare_median} s, ratio $(echo "scale=2; $lib / $bare_median" | bc)"
}

"$build/bench/aging_read" "Provider=SQLite;Data Source=$work/demo.sqlite;"
compare "SQLite" "$build/bench/aging_read" "Provider=SQLite;Data Source=$work/demo.sqlite;" -- \
  sqlite3 "$work/demo.sqlite" "$bare_sql"

if [[ -n "${VOB_TEST_PG:-}" ]]; then
  "$build/vobreports" demo-db --postgres "$VOB_TEST_PG" --scale "$scale" --date 2024-06-30 >&2
  "$build/bench/aging_read" "$VOB_TEST_PG"
  compare "PostgreSQL" "$build/bench/aging_read" "$VOB_TEST_PG" -- psql -q -A -t "$VOB_TEST_PG" -c "$pg_sql"
fi
