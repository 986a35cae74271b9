#!/usr/bin/env bash
# The viewer on the peer listing (PEERS_DIR holds the peers' gen.py): time to the first page, served (curl) and
# on screen (headless Chromium through Playwright, installed as the browser test installs it), against the
# whole run's time, so that the first page visibly does not wait for the report; then the server's memory
# with ten kept runs of the listing.
#
#   bench/viewer_bench.sh PEERS_DIR [BUILD_DIR] [ROWS]     (defaults: build, 100000)
set -euo pipefail
peers=$(cd "$1" && pwd)
build=$(cd "${2:-build}" && pwd)
rows=${3:-100000}
source=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/viewer-bench.XXXXXX")
server_pid=
cleanup() {
  [[ -n "$server_pid" ]] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

python3 "$peers/gen.py" --rows "$rows" --out "$work/listing.sqlite" >/dev/null
"$build/bench/viewer_listing" "$work/listing.sqlite" 16384 >"$work/server.out" &
server_pid=$!
for _ in $(seq 100); do grep -q 'serving at' "$work/server.out" && break; sleep 0.1; done
url=$(sed -n 's/.*serving at //p' "$work/server.out")
origin=${url%%/\?*}
token=${url##*token=}

now() { date +%s.%N; }
state() { curl -sf "$origin/api/runs/$1?token=$token" | sed -n 's/.*"state":"\([a-z]*\)".*/\1/p'; }
start_run() { curl -sf -X POST -d '{"key":"listing"}' "$origin/api/runs?token=$token" | sed -n 's/{"id":\([0-9]*\).*/\1/p'; }
wait_done() { while [[ $(state "$1") == running ]]; do sleep 0.05; done; [[ $(state "$1") == done ]]; }

# Served: from the request that starts the run to page 1's SVG, and to the run's end.
begin=$(now)
id=$(start_run)
until curl -sf -o "$work/page1.svg" "$origin/api/runs/$id/pages/1.svg?token=$token"; do sleep 0.01; done
first=$(now)
wait_done "$id"
end=$(now)
pages=$(curl -sf "$origin/api/runs/$id?token=$token" | sed -n 's/.*"pages":\([0-9]*\).*/\1/p')
grep -q '<g class="text-layer"' "$work/page1.svg" || { echo "page 1 has no text layer" >&2; exit 1; }
printf 'served: first page %.3f s, all %d pages %.3f s (%d rows)\n' "$(echo "$first - $begin" | bc)" "$pages" \
  "$(echo "$end - $begin" | bc)" "$rows"

# On screen, in Chromium.
modules=$build/browser
if [[ ! -d "$modules/node_modules/playwright-core" ]]; then
  mkdir -p "$modules"
  cp "$source/tests/browser/package.json" "$source/tests/browser/package-lock.json" "$modules/"
  (cd "$modules" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi
cp "$source/bench/viewer_first_page.mjs" "$modules/"
node "$modules/viewer_first_page.mjs" "$url"

# Memory: ten kept runs of the listing (two are kept already).
for _ in $(seq 8); do wait_done "$(start_run)"; done
kept=0
for run in $(seq 10); do [[ $(state "$run") == done ]] && kept=$((kept + 1)); done
rss=$(awk '/^VmRSS/ {print int($2 / 1024)}' "/proc/$server_pid/status")
peak=$(awk '/^VmHWM/ {print int($2 / 1024)}' "/proc/$server_pid/status")
echo "memory: $kept kept runs of $pages pages, server resident $rss MB (peak $peak MB)"
