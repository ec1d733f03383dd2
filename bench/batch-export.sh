#!/bin/bash
# Times one batch figure as a whole process: start, the third-order example with its margins exported to PNG, exit.
# Usage: bench/batch-export.sh PROGRAM [RUNS]   (default 21 runs; prints each time and the median, in ms)
# The clock is bash's own (EPOCHREALTIME): a `date` process around each run would be
# timed with it. The figure is written in a new folder under $TMPDIR (/tmp by default), and the
# program makes it durable there (fsync): TMPDIR=/dev/shm leaves the disk's flush out.
set -eu
prog=$1
runs=${2:-21}
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen
export LANGUAGE=fr
# One run first: the program and its libraries in the page cache, as for any run but the very first.
"$prog" --margins --export "$out/figure.png" "$here/examples/third-order.WWC" >/dev/null
i=0
: >"$out/times"
while [ "$i" -lt "$runs" ]; do
  rm -f "$out/figure.png"
  t0=${EPOCHREALTIME//[.,]/}
  "$prog" --margins --export "$out/figure.png" "$here/examples/third-order.WWC" >/dev/null
  t1=${EPOCHREALTIME//[.,]/}
  [ -s "$out/figure.png" ] || { echo "no figure written" >&2; exit 1; }
  echo $((t1 - t0)) >>"$out/times"
  i=$((i + 1))
done
sort -n "$out/times" | awk '{ v[NR] = $1 } END {
  printf "runs %d  min %.1f ms  median %.1f ms  max %.1f ms\n", NR, v[1] / 1000, v[int((NR + 1) / 2)] / 1000, v[NR] / 1000 }'
