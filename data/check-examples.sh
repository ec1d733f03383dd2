#!/bin/sh
# Checks the shipped examples against the program: regenerated identically, margins as computed by hand, noisy points near the curve.
# Usage: check-examples.sh regenerate|margins|points TRACEVUE SOURCE_DIR WORK_DIR
set -eu
mode=$1
tracevue=$2
src=$3
work=$4
examples=$src/examples
rm -rf "$work"
mkdir -p "$work"
export LC_ALL=C
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

case $mode in
regenerate)
  # The committed files must be what the script makes with today's program.
  sh "$src/scripts/make-examples.sh" "$tracevue" "$work"
  for f in "$examples"/*.WWC "$examples"/*.txt; do
    name=$(basename "$f")
    if [ ! -f "$work/$name" ]; then
      fail "$name is committed but no longer made by scripts/make-examples.sh"
    elif ! cmp -s "$f" "$work/$name"; then
      fail "$name differs from what scripts/make-examples.sh makes now: run it and commit the result"
    fi
  done
  for f in "$work"/*; do
    [ -f "$examples/$(basename "$f")" ] || fail "$(basename "$f") is made by the script but not committed"
  done
  ;;

margins)
  # Expected margins, worked out by hand from each example's transfer
  # function (the loop is the product curve H1.H2.H3, labelled "globale"):
  # file label value w. The program finds them at pixel resolution, hence
  # the tolerances: 1 degree, 0.3 dB, 2 % on the pulsation.
  while read -r file label value w; do
    for view in bode black; do
      out=$("$tracevue" --margins --view $view --export "$work/$file-$view.png" "$examples/$file.WWC") ||
        { fail "$file ($view): the program failed"; continue; }
      line=$(printf '%s\n' "$out" | awk -v label="$label" '
        { key = $0; sub(/:.*/, "", key); gsub(/ /, "", key) }
        key == label { print; exit }')
      if [ -z "$line" ]; then
        fail "$file ($view): no $label margin among: $(printf '%s' "$out" | tr '\n' '|')"
        continue
      fi
      printf '%s\n' "$line" | awk -v v="$value" -v w="$w" -v label="$label" '
        {
          s = $0; sub(/^[^:]*: */, "", s); got = s + 0
          sub(/.*w= */, "", s); gotw = s + 0
          tol = (label ~ /^MG/) ? 0.3 : 1.0
          d = got - v; if (d < 0) d = -d
          dw = (gotw - w) / w; if (dw < 0) dw = -dw
          exit !(d <= tol && dw <= 0.02)
        }' || fail "$file ($view): \"$line\", expected $label $value at w = $w"
    done
  done <<'CASES'
first-order MP1 120.0 3.464
first-order MPglobale 120.0 3.464
second-order MPglobale 32.86 13.565
integrator-lag MPglobale 38.67 2.499
lead-compensator MP2 17.96 3.084
lead-compensator MPglobale 53.55 4.785
third-order MPglobale 27.14 1.2328
third-order MGglobale 6.021 1.7321
CASES
  ;;

points)
  # The measured points are the second-order curve (W = 10, Ksi = 0.2)
  # moved by at most 0.5 dB and 3 degrees, and actually moved.
  "$tracevue" --points "$examples/second-order-measured.txt" --export "$work/points.png" \
    "$examples/second-order.WWC" || fail "the program does not draw the points"
  tr -d '\r' < "$examples/second-order-measured.txt" | awk '
    function abs(x) { return x < 0 ? -x : x }
    NF != 3 { print "line " NR ": three numbers expected: " $0; bad = 1; next }
    {
      u = $1 / 10; re = 1 - u * u; im = 2 * 0.2 * u
      gain = -10 * log(re * re + im * im) / log(10)
      phase = -atan2(im, re) * 45 / atan2(1, 1)
      dg = abs($2 - gain); dp = abs($3 - phase)
      # Points are written with two and one decimals.
      if (dg > 0.5 + 0.005 || dp > 3 + 0.05) { print "line " NR ": too far from the curve: " $0; bad = 1 }
      if (dg > maxg) maxg = dg
      if (dp > maxp) maxp = dp
      n++
    }
    END {
      if (n < 20) { print n " points only"; bad = 1 }
      if (maxg < 0.2 || maxp < 1) { print "the points are not perturbed"; bad = 1 }
      exit bad
    }' || fail "second-order-measured.txt"
  ;;

*)
  echo "check-examples.sh: unknown mode $mode" >&2
  exit 2
  ;;
esac

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "examples ($mode): ok"
