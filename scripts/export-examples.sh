#!/bin/sh
# Writes every export of every example into one folder, so that two builds' outputs can be compared byte for byte.
# Usage: scripts/export-examples.sh PROGRAM OUTDIR
#   then: diff -r OUTDIR-before OUTDIR-after (PDF pages compared by their pixels, see below)
# Each command's exit status and standard output are kept beside its files.
set -u
prog=$1
out=$2
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
# The French texts, whatever the machine's locale.
export LANGUAGE=fr
run() {
  name=$1
  shift
  "$prog" "$@" >"$out/$name.out" 2>"$out/$name.err"
  echo "$?" >"$out/$name.rc"
}
for f in "$here"/examples/*.WWC; do
  e=$(basename "$f" .WWC)
  for view in bode black; do
    for m in plain margins; do
      mo=""
      [ "$m" = margins ] && mo="--margins"
      for ext in png bmp svg emf pdf; do
        run "$e-$view-$m-$ext" --view "$view" $mo --export "$out/$e-$view-$m.$ext" "$f"
      done
      run "$e-$view-$m-black" --view "$view" $mo --black --export "$out/$e-$view-$m-black.png" "$f"
    done
  done
  run "$e-asymptotes" --asymptotes --export "$out/$e-asymptotes.png" "$f"
  run "$e-capture" --capture "$out/$e-capture.txt" "$f"
  run "$e-save" --save "$out/$e-save.WWC" "$f"
  run "$e-worksheet" --worksheet "$out/$e-worksheet.mws" --closed-loop "$f"
  run "$e-report" --margins --report "$out/$e-report.json" "$f"
  for ext in png svg csv; do
    run "$e-nyquist-$ext" --margins --nyquist "$out/$e-nyquist.$ext" "$f"
    run "$e-locus-$ext" --locus "$out/$e-locus.$ext" "$f"
  done
  run "$e-nyquist-zoom" --nyquist-zoom --nyquist "$out/$e-nyquist-zoom.png" "$f"
  for param in T Ksi W; do
    run "$e-locus-$param" --locus-param "$param" --locus "$out/$e-locus-$param.csv" "$f"
  done
  for loop in open closed; do
    lo=""
    [ "$loop" = closed ] && lo="--closed-loop"
    for ext in png svg csv; do
      run "$e-step-$loop-$ext" $lo --step "$out/$e-step-$loop.$ext" "$f"
    done
  done
done
run points --points "$here/examples/second-order-measured.txt" --export "$out/points.png" "$here/examples/second-order.WWC"
# PDF files carry their creation date: keep their pages as pixels for comparison.
if command -v pdftoppm >/dev/null; then
  for p in "$out"/*.pdf; do
    pdftoppm -r 50 -png "$p" "${p%.pdf}-page" && rm -f "$p"
  done
fi
