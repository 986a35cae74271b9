#!/usr/bin/env bash
# The peer listing (PEERS_DIR holds the peers' gen.py and bare_pdf.c, see its README) through the whole engine
# and PDF writer, beside the bare direct writer: instructions (callgrind, both threads counted), peak memory at
# ROWS and at ten times ROWS, and the same bytes on every run whatever the background thread's timing.
# Targets: at most 1.2 times the bare writer's instructions; under 100 MB at 100,000 rows and 400 MB at
# 1,000,000. Wall time is measured among all the peers by PEERS_DIR/run.sh (LISTING=build/bench/listing).
#
#   bench/listing_bench.sh PEERS_DIR [BUILD_DIR] [ROWS]     (defaults: build, 100000)
set -euo pipefail
peers=$(cd "$1" && pwd)
build=$(cd "${2:-build}" && pwd)
rows=${3:-100000}
listing=$build/bench/listing
work=$(mktemp -d "${TMPDIR:-/tmp}/listing-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
cd "$work"

font=$(fc-match -f '%{file}' 'Liberation Sans:style=Regular')
cc -O2 -o bare_pdf "$peers/bare_pdf.c" \
  $(pkg-config --cflags --libs harfbuzz harfbuzz-subset fontconfig sqlite3 zlib) -lm
python3 "$peers/gen.py" --rows "$rows" --out listing.sqlite >/dev/null
python3 "$peers/gen.py" --rows $((rows * 10)) --out listing10.sqlite >/dev/null

instructions() {  # the "I refs" callgrind counts over every thread of a command
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    sed -n 's/.*I *refs: *//p' | tr -d ,
}
ours=$(instructions "$listing" listing.sqlite ours.pdf)
bare=$(instructions ./bare_pdf --font "$font" listing.sqlite bare.pdf)
ratio=$(echo "scale=3; $ours / $bare" | bc)
echo "instructions at $rows rows: vobreports $ours, bare writer $bare, ratio $ratio (target <= 1.2)"

status=0
for run in 1 2 3; do
  "$listing" listing.sqlite "again$run.pdf"
  cmp -s ours.pdf "again$run.pdf" || { echo "run $run wrote different bytes" >&2; status=1; }
done
qpdf --check ours.pdf >/dev/null || { echo "qpdf --check fails" >&2; status=1; }

peak() {  # peak resident megabytes of a run of the listing
  /usr/bin/time -f '%M' -o time.out "$listing" "$1" peak.pdf
  echo $(($(tail -n 1 time.out) / 1024))
}
small=$(peak listing.sqlite)
large=$(peak listing10.sqlite)
echo "peak memory: $small MB at $rows rows (target < 100), $large MB at $((rows * 10)) rows (target < 400)"
echo "same bytes on 3 more runs: $([ $status = 0 ] && echo yes || echo NO)"

[ "$(echo "$ratio <= 1.2" | bc)" = 1 ] || { echo "more than 1.2 times the bare writer's instructions" >&2; status=1; }
[ "$small" -lt 100 ] && [ "$large" -lt 400 ] || { echo "peak memory over target" >&2; status=1; }
exit $status
