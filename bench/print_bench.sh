#!/usr/bin/env bash
# Printing against writing the PDF: `vobreports print` until its job is in the CUPS spool, beside `run -o x.pdf`
# of the same report, for the trial balance and the 100,000-row peer listing (bench/print_listing). The measure
# is elapsed seconds, best of RUNS taken in turns, since the spooling happens in cupsd; the CPU time of our
# process is shown beside it. Runs itself under scripts/with-cups unless CUPS_SERVER is set.
#
#   bench/print_bench.sh PEERS_DIR [BUILD_DIR] [RUNS] [ROWS]     (defaults: build, 7, 100000)
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z "${CUPS_SERVER:-}" ]]; then
  exec "$source/scripts/with-cups" "$0" "$@"
fi
peers=$(cd "$1" && pwd)
build=$(cd "${2:-build}" && pwd)
runs=${3:-7}
rows=${4:-100000}
work=$(mktemp -d "${TMPDIR:-/tmp}/print-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

python3 "$peers/gen.py" --rows "$rows" --out "$work/listing.sqlite" >/dev/null
trbalance=(trbalance --param 1=04/01/2024 --param 2=06/30/2024 --param 3=202404 --param 4=202406
  --today 2024-06-30)
"$build/vobreports" run "${trbalance[@]}" -o "$work/warm.pdf" >/dev/null  # the demo database, fonts

# elapsed LABEL COMMAND...: keeps the best elapsed time in ${LABEL} and the best CPU time of our process (user +
# system; cupsd's share not included) in ${LABEL}_cpu.
elapsed() {
  local label=$1 begin end seconds user system cpu
  shift
  begin=$(date +%s.%N)
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" >/dev/null
  end=$(date +%s.%N)
  seconds=$(echo "$end - $begin" | bc)
  read -r user system <"$work/time"
  cpu=$(echo "$user + $system" | bc)
  if [[ -z "${!label:-}" ]] || [[ $(echo "$seconds < ${!label}" | bc) == 1 ]]; then
    printf -v "$label" '%s' "$seconds"
  fi
  local cpu_label=${label}_cpu
  if [[ -z "${!cpu_label:-}" ]] || [[ $(echo "$cpu < ${!cpu_label}" | bc) == 1 ]]; then
    printf -v "$cpu_label" '%s' "$cpu"
  fi
}

for _ in $(seq "$runs"); do
  elapsed trbalance_pdf "$build/vobreports" run "${trbalance[@]}" -o "$work/trbalance.pdf"
  elapsed trbalance_print "$build/vobreports" print "${trbalance[@]}"
  elapsed listing_pdf "$build/bench/print_listing" "$work/listing.sqlite" "$work/listing.pdf"
  elapsed listing_print "$build/bench/print_listing" "$work/listing.sqlite" --print
  cancel -a -x 2>/dev/null || true  # keeps the spool from filling with listings
done

report() {  # report NAME PDF_LABEL PRINT_LABEL PDF_FILE
  local pdf=${!2} print=${!3} pdf_cpu=${2}_cpu print_cpu=${3}_cpu
  printf '%-26s run -o x.pdf %6.3f s (cpu %5.3f)   print %6.3f s (cpu %5.3f)   difference %+5.0f ms   %s PDF\n' \
    "$1" "$pdf" "${!pdf_cpu}" "$print" "${!print_cpu}" "$(echo "($print - $pdf) * 1000" | bc)" \
    "$(du -h "$4" | cut -f1)"
}
report "trbalance" trbalance_pdf trbalance_print "$work/trbalance.pdf"
report "peer listing, $rows rows" listing_pdf listing_print "$work/listing.pdf"
