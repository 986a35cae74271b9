#!/usr/bin/env bash
# The receivable aging and the vendor payments on PostgreSQL beside SQLite, over the same scaled demo company.
# Target: PostgreSQL takes no more than 1.5 times SQLite's wall time. Each pair of runs must agree on pages.
#
#   scripts/with-postgres bench/postgres_reports.sh [BUILD_DIR] [SCALE] [RUNS]
#
# Scale 65 is the aging benchmark's (just over 200,000 receivable documents). Times are wall seconds, the best
# of RUNS runs (default 3): the server's work is not in the command's own CPU time.
set -euo pipefail

build=${1:-build}
scale=${2:-65}
runs=${3:-3}
cli=$build/vobreports
if [[ -z "${VOB_TEST_PG:-}" ]]; then
  echo "postgres_reports.sh: VOB_TEST_PG is not set; run it under scripts/with-postgres" >&2
  exit 2
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/postgres-reports.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

"$cli" demo-db "$work/demo.sqlite" --scale "$scale" --date 2024-06-30 >&2
"$cli" demo-db --postgres "$VOB_TEST_PG" --scale "$scale" --date 2024-06-30 >&2

# best_seconds DB KEY ARGUMENTS...: the least wall time of RUNS runs; the page count goes to $work/pages.
best_seconds() {
  local db=$1 key=$2 best=
  shift 2
  for ((i = 0; i < runs; i++)); do
    local start end seconds
    start=$(date +%s%N)
    "$cli" run "$key" --db "$db" --now "2024-06-30 17:00:00" --progress "$@" -o "$work/$key.pdf" 2>"$work/stderr"
    end=$(date +%s%N)
    seconds=$(echo "scale=3; ($end - $start) / 1000000000" | bc)
    if [[ -z "$best" || $(echo "$seconds < $best" | bc) == 1 ]]; then best=$seconds; fi
  done
  tr '\r' '\n' <"$work/stderr" | sed -n "s/^$key: \([0-9]*\) pages, done$/\1/p" >"$work/pages"
  echo "$best"
}

status=0
compare() {  # KEY ARGUMENTS...
  local key=$1 sqlite postgres sqlite_pages postgres_pages ratio
  sqlite=$(best_seconds "$work/demo.sqlite" "$@")
  sqlite_pages=$(cat "$work/pages")
  postgres=$(best_seconds "$VOB_TEST_PG" "$@")
  postgres_pages=$(cat "$work/pages")
  ratio=$(echo "scale=2; $postgres / $sqlite" | bc)
  printf '%-12s SQLite %7.2f s  PostgreSQL %7.2f s  %5.2fx  %s pages\n' "$key" "$sqlite" "$postgres" "$ratio" \
    "$sqlite_pages"
  if [[ -z "$sqlite_pages" || "$sqlite_pages" != "$postgres_pages" ]]; then
    echo "$key: SQLite gave ${sqlite_pages:-no} pages, PostgreSQL ${postgres_pages:-no}" >&2
    status=1
  fi
  if [[ $(echo "$postgres > 1.5 * $sqlite" | bc) == 1 ]]; then
    echo "$key: PostgreSQL takes more than 1.5 times SQLite" >&2
    status=1
  fi
}

echo "scale $scale, best of $runs runs, PDF output"
compare araging
compare venpayments --param 1=04/01/2024 --param 2=06/30/2024
exit "$status"
