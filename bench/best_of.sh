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

# take_turns LABEL...: after a round of best_of runs with runs=1, folds each label's run into its best so far;
# with finish_turns LABEL... at the end, the labels hold the best of the rounds. Taking turns between the
# commands lets a neighbour's load fall on each of them alike.
take_turns() {
  for turn_label in "$@"; do
    eval "turn_seconds=\$${turn_label}_seconds turn_elapsed=\$${turn_label}_elapsed turn_kb=\$${turn_label}_kb"
    eval "turn_best=\${turn_${turn_label}_seconds:-} turn_peak=\${turn_${turn_label}_kb:-0}"
    if [ -z "$turn_best" ] || [ "$(echo "$turn_seconds < $turn_best" | bc)" = 1 ]; then
      eval "turn_${turn_label}_seconds=$turn_seconds turn_${turn_label}_elapsed=$turn_elapsed"
    fi
    if [ "$turn_kb" -gt "$turn_peak" ]; then eval "turn_${turn_label}_kb=$turn_kb"; fi
  done
}
finish_turns() {
  for turn_label in "$@"; do
    eval "${turn_label}_seconds=\$turn_${turn_label}_seconds ${turn_label}_elapsed=\$turn_${turn_label}_elapsed"
    eval "${turn_label}_kb=\$turn_${turn_label}_kb"
  done
}
