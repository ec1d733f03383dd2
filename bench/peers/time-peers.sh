#!/bin/bash
# Times the same batch figure in matplotlib and in Octave, when they are installed, as bench/batch-export.sh times the program's: for comparison only, not needed by the build or the tests.
# Usage: bench/peers/time-peers.sh [RUNS]   (default 5 runs; prints the median, in ms)
# The clock is bash's own, as in bench/batch-export.sh.
set -u
runs=${1:-5}
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
median() {
  sort -n | awk '{ v[NR] = $1 } END { printf "median %.0f ms over %d runs\n", v[int((NR + 1) / 2)] / 1000, NR }'
}
time_runs() {
  i=0
  while [ "$i" -lt "$runs" ]; do
    rm -f "$out/figure.png"
    t0=${EPOCHREALTIME//[.,]/}
    "$@" >/dev/null 2>&1
    t1=${EPOCHREALTIME//[.,]/}
    [ -s "$out/figure.png" ] || { echo "no figure written" >&2; return 1; }
    echo $((t1 - t0))
    i=$((i + 1))
  done
}
if /usr/bin/python3 -c "import matplotlib" 2>/dev/null; then
  printf "matplotlib: "
  time_runs /usr/bin/python3 "$here/third_order.py" "$out/figure.png" | median
fi
# Octave draws without a display through gnuplot; its default font comes from fonts-freefont-otf.
if command -v octave >/dev/null 2>&1 && command -v gnuplot >/dev/null 2>&1; then
  printf "octave: "
  time_runs octave --no-gui --norc --quiet "$here/third_order.m" "$out/figure.png" | median
fi
