# The timing helper the report benchmarks share; sourced, it needs $runs and a scratch folder $work.
# Times are CPU seconds (user + system): on a shared machine the elapsed time mostly measures the neighbours.

# best_of LABEL COMMAND...: runs the command RUNS times, keeps the least CPU time (with that run's elapsed time)
# and the largest peak memory.
best_of() {
  label=$1
  shift
  best_seconds=
  best_elapsed=
  peak_kb=0
  i=0
  while [ "$i" -lt "$runs" ]; do
    /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" >"$work/stdout" 2>"$work/stderr"
    read -r elapsed kb user system <"$work/time"
    seconds=$(echo "$user + $system" | bc)
    if [ -z "$best_seconds" ] || [ "$(echo "$seconds < $best_seconds" | bc)" = 1 ]; then
      best_seconds=$seconds
      best_elapsed=$elapsed
    fi
    if [ "$kb" -gt "$peak_kb" ]; then peak_kb=$kb; fi
    i=$((i + 1))
  done
  eval "${label}_seconds=$best_seconds ${label}_elapsed=$best_elapsed ${label}_kb=$peak_kb"
}
