#!/usr/bin/env bash
# The peer listing (PEERS_DIR holds the peers' gen.py, see its README) through the whole engine beside
# `sqlite3 -csv` reading the same rows in the same order: wall milliseconds, medians of interleaved rounds (so
# that the machine's drift hits both alike), and their ratio. Target: at most 1.5 times, with the PDF's bytes
# the same on every run, peak memory under 40 MB, and ten times the rows in about ten times the time.
#
#   bench/listing_read_limit.sh PEERS_DIR [BUILD_DIR] [ROWS] [ROUNDS]     (defaults: build, 100000, 9)
set -euo pipefail
peers=$(cd "$1" && pwd)
build=$(cd "${2:-build}" && pwd)
rows=${3:-100000}
rounds=${4:-9}
listing=$build/bench/listing
work=$(mktemp -d "${TMPDIR:-/tmp}/listing-read-limit.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
cd "$work"
python3 "$peers/gen.py" --rows "$rows" --out listing.sqlite >/dev/null
python3 "$peers/gen.py" --rows $((rows * 10)) --out listing10.sqlite >/dev/null
query="SELECT grp, c1, c2, c3, c4, c5, c6, c7, c8, amount FROM rows ORDER BY id"

milliseconds() {  # wall milliseconds of one run of a command, its output discarded
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

"$listing" listing.sqlite first.pdf
status=0
: >read.ms
: >listing.ms
for round in $(seq "$rounds"); do
  milliseconds sqlite3 -csv listing.sqlite "$query" >>read.ms
  milliseconds "$listing" listing.sqlite "again.pdf" >>listing.ms
  cmp -s first.pdf again.pdf || { echo "round $round wrote different bytes" >&2; status=1; }
done
read=$(median <read.ms)
ours=$(median <listing.ms)
ratio=$(echo "scale=2; $ours / $read" | bc)
echo "rows $rows, medians of $rounds rounds: sqlite3 -csv ${read} ms, vobreports listing ${ours} ms, ratio ${ratio}x (target 1.5x)"

/usr/bin/time -f '%M' -o peak.kb "$listing" listing.sqlite peak.pdf
peak=$(($(tail -n 1 peak.kb) / 1024))
large=$(milliseconds "$listing" listing10.sqlite large.pdf)
small=$(milliseconds "$listing" listing.sqlite small.pdf)
echo "peak memory ${peak} MB (target < 40 MB); $((rows * 10)) rows in ${large} ms, $(echo "scale=1; $large / $small" | bc) times $rows rows"
echo "same bytes on every round: $([ $status = 0 ] && echo yes || echo NO)"
[ "$(echo "$ratio <= 1.5" | bc)" = 1 ] || { echo "more than 1.5 times sqlite3 -csv" >&2; status=1; }
[ "$peak" -lt 40 ] || { echo "peak memory over 40 MB" >&2; status=1; }
exit $status
