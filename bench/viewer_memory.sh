#!/usr/bin/env bash
# The viewer's memory with kept runs of the peer listing (PEERS_DIR holds the peers' gen.py): what one kept
# run holds against its PDF's size, and the server's resident memory (and peak) with RUNS runs kept under a
# bound of MEMORY_MB, so that before and after show side by side in one run of the script per build.
#
#   bench/viewer_memory.sh PEERS_DIR [BUILD_DIR] [MEMORY_MB] [RUNS] [ROWS]   (defaults: build, 300, 10, 100000)
set -euo pipefail
peers=$(cd "$1" && pwd)
build=$(cd "${2:-build}" && pwd)
memory_mb=${3:-300}
runs=${4:-10}
rows=${5:-100000}
work=$(mktemp -d "${TMPDIR:-/tmp}/viewer-memory.XXXXXX")
server_pid=
cleanup() {
  [[ -n "$server_pid" ]] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

python3 "$peers/gen.py" --rows "$rows" --out "$work/listing.sqlite" >/dev/null
"$build/bench/viewer_listing" "$work/listing.sqlite" "$memory_mb" >"$work/server.out" &
server_pid=$!
for _ in $(seq 100); do grep -q 'serving at' "$work/server.out" && break; sleep 0.1; done
url=$(sed -n 's/.*serving at //p' "$work/server.out")
origin=${url%%/\?*}
token=${url##*token=}
state() { curl -sf "$origin/api/runs/$1?token=$token" | sed -n 's/.*"state":"\([a-z]*\)".*/\1/p'; }
start_run() { curl -sf -X POST -d '{"key":"listing"}' "$origin/api/runs?token=$token" | sed -n 's/{"id":\([0-9]*\).*/\1/p'; }
wait_done() { while [[ $(state "$1") == running ]]; do sleep 0.05; done; [[ $(state "$1") == done ]]; }
rss() { awk '/^VmRSS/ {print int($2 / 1024)}' "/proc/$server_pid/status"; }

top=0
for run in $(seq "$runs"); do
  id=$(start_run)
  while [[ $(state "$id") == running ]]; do
    now=$(rss); ((now > top)) && top=$now
    sleep 0.05
  done
  [[ $(state "$id") == done ]] || { echo "run $id did not finish" >&2; exit 1; }
  now=$(rss); ((now > top)) && top=$now
done
status=$(curl -sf "$origin/api/runs/$id?token=$token")
pages=$(sed -n 's/.*"pages":\([0-9]*\).*/\1/p' <<<"$status")
pdf=$(curl -sf "$origin/api/runs/$id/download.pdf?token=$token" | wc -c)
kept=0
for run in $(seq "$runs"); do [[ $(state "$run") == done ]] && kept=$((kept + 1)); done
held=$(sed -n 's/.*"kept_bytes":\([0-9]*\).*/\1/p' <<<"$status")
peak=$(awk '/^VmHWM/ {print int($2 / 1024)}' "/proc/$server_pid/status")
echo "listing: $pages pages, PDF $((pdf / 1024)) KB, one kept run ${held:-?} bytes (${held:+$((held * 100 / pdf))}% of the PDF)"
echo "memory: bound $memory_mb MB, $kept of $runs runs kept, resident $(rss) MB (highest sampled $top MB, peak $peak MB)"
