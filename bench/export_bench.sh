#!/usr/bin/env bash
# The peer listing (PEERS_DIR holds the peers' gen.py and xlsxwriter_listing.py) exported as data: to CSV and to
# XLSX beside the same report to PDF, and beside Python's XlsxWriter writing the same rows as typed cells; then
# peak memory of both exports at 1,000,000 rows. Checks each result: a line or a sheet row per listing row.
# Targets: CSV no slower than PDF; XLSX at least 3 times faster than XlsxWriter; under 200 MB at 1,000,000 rows.
#
#   bench/export_bench.sh PEERS_DIR [BUILD_DIR] [ROWS]     (defaults: build, 100000; RUNS=3 timings each)
# Needs Debian's python3-xlsxwriter for the peer (installed here when missing).
set -euo pipefail
peers=$(cd "$1" && pwd)
build=$(cd "${2:-build}" && pwd)
rows=${3:-100000}
large_rows=1000000
runs=${RUNS:-3}
python=/usr/bin/python3
listing=$build/bench/listing
work=$(mktemp -d "${TMPDIR:-/tmp}/export-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
# shellcheck source=bench/best_of.sh
. "$(dirname "$0")/best_of.sh"

if ! "$python" -c "import xlsxwriter" 2>/dev/null; then
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends python3-xlsxwriter >/dev/null
fi

"$python" "$peers/gen.py" --rows "$rows" --out "$work/listing.sqlite" >/dev/null
"$python" "$peers/gen.py" --rows "$large_rows" --out "$work/large.sqlite" >/dev/null

best_of pdf "$listing" "$work/listing.sqlite" "$work/listing.pdf"
best_of csv "$listing" "$work/listing.sqlite" "$work/listing.csv"
best_of xlsx "$listing" "$work/listing.sqlite" "$work/listing.xlsx"
best_of peer "$python" "$peers/xlsxwriter_listing.py" "$work/listing.sqlite" "$work/peer.xlsx"

status=0
sheet_rows() {  # the rows of a workbook's first sheet, header included, as its dimension says
  "$python" -c "import openpyxl, sys; print(openpyxl.load_workbook(sys.argv[1], read_only=True).worksheets[0].max_row)" "$1"
}
[ "$(wc -l <"$work/listing.csv")" -eq $((rows + 1)) ] || { echo "CSV: not $rows rows" >&2; status=1; }
[ "$(sheet_rows "$work/listing.xlsx")" -eq $((rows + 1)) ] || { echo "XLSX: not $rows rows" >&2; status=1; }

echo "at $rows rows, CPU seconds (elapsed), best of $runs:"
echo "  PDF                $pdf_seconds ($pdf_elapsed)"
echo "  CSV                $csv_seconds ($csv_elapsed)   target: no slower than PDF"
echo "  XLSX               $xlsx_seconds ($xlsx_elapsed)"
echo "  XlsxWriter (peer)  $peer_seconds ($peer_elapsed)"
speedup=$(echo "scale=2; $peer_seconds / $xlsx_seconds" | bc)
echo "  XLSX is $speedup times faster than XlsxWriter (target >= 3)"

runs=1
best_of large_csv "$listing" "$work/large.sqlite" "$work/large.csv"
best_of large_xlsx "$listing" "$work/large.sqlite" "$work/large.xlsx"
[ "$(wc -l <"$work/large.csv")" -eq $((large_rows + 1)) ] || { echo "large CSV: not $large_rows rows" >&2; status=1; }
echo "at $large_rows rows: CSV $large_csv_seconds s, peak $((large_csv_kb / 1024)) MB;" \
  "XLSX $large_xlsx_seconds s, peak $((large_xlsx_kb / 1024)) MB (target < 200 MB)"

[ "$(echo "$csv_seconds <= $pdf_seconds" | bc)" = 1 ] || { echo "CSV slower than PDF" >&2; status=1; }
[ "$(echo "$speedup >= 3" | bc)" = 1 ] || { echo "XLSX less than 3 times faster than XlsxWriter" >&2; status=1; }
[ $((large_csv_kb / 1024)) -lt 200 ] && [ $((large_xlsx_kb / 1024)) -lt 200 ] ||
  { echo "peak memory over 200 MB" >&2; status=1; }
exit $status
