#!/usr/bin/env bash
# Every demo run of every report beside the bare read of the statements it runs. For each run (the examples
# of `vobreports params KEY`, again with the drill-down example, and the `--second` examples), the report
# writes a PDF once with --log-sql, which logs every statement as the run reads it (per group and per page
# included); then the run and `vobreports sql --statements` replaying that log take turns, and each keeps
# its least CPU time. One line per run, starting with its name:
#
#   NAME  PAGES  CPU_S  READ_S  RATIO  PEAK  WALL_S
#
# RATIO is the run's CPU time over the read's ("1.23x"), PEAK the run's peak memory ("45 MB"), WALL_S the
# run's least elapsed time: on PostgreSQL the server's work is in the elapsed time only, so compare a
# PostgreSQL table with a SQLite one by that column. A summary
# follows: the largest and median ratios and the largest peak. With a DB (a connection string), that
# database is read instead of a new demo company; load one with `vobreports demo-db --postgres URI --scale N`.
#
#   bench/all_reports.sh SCALE [DB]      (environment: BUILD (default build), RUNS (default 3))
set -euo pipefail
scale=${1:?usage: bench/all_reports.sh SCALE [DB]}
database=${2:-}
build=${BUILD:-build}
runs=${RUNS:-3}
cli="$build/vobreports"
work=$(mktemp -d "${TMPDIR:-/tmp}/all-reports.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

if [[ -z "$database" ]]; then
  "$cli" demo-db "$work/demo.sqlite" --scale "$scale" --date 2024-06-30 >/dev/null
  database="Provider=SQLite;Data Source=$work/demo.sqlite;"
fi
clock=(--now "2024-06-30 17:00:00")

# cpu_peak COMMAND...: prints "CPU_SECONDS PEAK_KB WALL_SECONDS" of one run, its output discarded. The kernel's own
# account of the child, to the microsecond: /usr/bin/time rounds to 10 ms, the whole of a one-page run.
cpu_peak() {
  python3 -c '
import os, subprocess, sys, time
start = time.perf_counter()
with open(os.devnull, "wb") as null, open(sys.argv[1], "wb") as errors:
    child = subprocess.Popen(sys.argv[2:], stdout=null, stderr=errors)
    _, status, usage = os.wait4(child.pid, 0)
if status != 0:
    sys.exit(1)
print(f"{usage.ru_utime + usage.ru_stime:.4f} {usage.ru_maxrss} {time.perf_counter() - start:.4f}")' "$work/stderr" "$@" ||
    { cat "$work/stderr" >&2; return 1; }
}
least() { if [[ -z "$1" ]] || (($(echo "$2 < $1" | bc))); then echo "$2"; else echo "$1"; fi; }

measure() {  # NAME ARGUMENTS...
  local name=$1
  shift
  local run=("$cli" run "$@" --db "$database" "${clock[@]}" -o "$work/out.pdf")
  "${run[@]}" --log-sql "$work/statements.log" >/dev/null
  local pages
  pages=$(grep -ac '/Type */Page[^s]' "$work/out.pdf" || true)
  local read=("$cli" sql --db "$database" --statements "$work/statements.log")
  local run_s='' read_s='' wall_s='' peak=0 i cpu kb wall
  for ((i = 0; i < runs; i++)); do
    read -r cpu kb wall < <(cpu_peak "${run[@]}")
    run_s=$(least "$run_s" "$cpu")
    wall_s=$(least "$wall_s" "$wall")
    ((kb > peak)) && peak=$kb
    read -r cpu kb wall < <(cpu_peak "${read[@]}")
    read_s=$(least "$read_s" "$cpu")
  done
  local ratio
  ratio=$(echo "scale=4; $run_s / $read_s" | bc)
  printf '%-22s %6s %7.3f %7.3f %7.2fx %5d MB %7.3f\n' "$name" "$pages" "$run_s" "$read_s" "$ratio" \
    $(((peak + 512) / 1024)) "$wall_s" | tee -a "$work/table"
}

# --param arguments from a `vobreports params` listing; the drill-down example goes to $drilldown.
param_arguments() {
  arguments=() drilldown=
  local index kind label example
  while IFS=$'\t' read -r index kind label example; do
    [[ -z "$index" ]] && continue
    if [[ "$index" == d ]]; then drilldown=$example; else arguments+=(--param "$index=$example"); fi
  done <<<"$1"
}

echo "scale $scale, best CPU of $runs runs each, $(nproc) cores, $(date -u '+%Y-%m-%d %H:%M UTC')"
printf '%-22s %6s %7s %7s %8s %8s %7s\n' run pages cpu_s read_s ratio peak wall_s
while IFS=$'\t' read -r key class; do
  listing=$("$cli" params "$key" 2>&1) || continue
  param_arguments "$listing"
  measure "$key" "$key" "${arguments[@]}"
  [[ -n "$drilldown" ]] && measure "$key-$drilldown" "$key" "${arguments[@]}" --drilldown "$drilldown"
  if "$cli" params "$key" --json | grep -q '"second_example"'; then
    param_arguments "$("$cli" params "$key" --second)"
    measure "$key-second" "$key" "${arguments[@]}"
  fi
done < <("$cli" keys)

ratios=$(awk '{sub("x", "", $5); print $5}' "$work/table" | sort -g)
count=$(echo "$ratios" | wc -l)
median=$(echo "$ratios" | awk -v n="$count" '{v[NR]=$1} END {print (n%2 ? v[(n+1)/2] : (v[n/2]+v[n/2+1])/2)}')
echo "runs: $count; largest ratio $(echo "$ratios" | tail -n 1)x (target 2x); median ${median}x (target 1.3x);" \
  "largest peak $(awk '{print $6}' "$work/table" | sort -g | tail -n 1) MB (target 100 MB)"
