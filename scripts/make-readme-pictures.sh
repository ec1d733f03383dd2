#!/bin/sh
# Draws the README's diagrams into docs/ from two of the examples, with the program's own picture export.
# Usage: scripts/make-readme-pictures.sh [TRACEVUE [FOLDER]]
#   TRACEVUE  the built program (default: build/src/app/tracevue)
#   FOLDER    where the pictures go (default: docs/)
# Needs no display. The window's screenshot (docs/window.png) is not made
# here: it needs an X server (see the README's notes on it).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tracevue=${1:-$root/build/src/app/tracevue}
out=${2:-$root/docs}
if [ ! -x "$tracevue" ]; then
  echo "make-readme-pictures.sh : programme introuvable : $tracevue (construisez d'abord : cmake --build build)" >&2
  exit 1
fi
mkdir -p "$out"
examples=$root/examples
# Narrower than the window's plot, so that the 10-pixel legend stays
# readable once a web page scales the picture to its column.
size=900x560

for example in lead-compensator third-order; do
  "$tracevue" --size $size --margins --export "$out/$example-bode.png" "$examples/$example.WWC" >/dev/null
  "$tracevue" --size $size --margins --view black --export "$out/$example-black.png" \
    "$examples/$example.WWC" >/dev/null
done
# The asymptotic diagram over the curves.
for example in lead-compensator second-order; do
  "$tracevue" --size $size --asymptotes --export "$out/$example-asymptotes.png" \
    "$examples/$example.WWC" >/dev/null
done
# The Black-Nichols chart under the third-order loop.
"$tracevue" --size $size --margins --view black --chart --export "$out/nichols-chart.png" \
  "$examples/third-order.WWC" >/dev/null
# The Nyquist locus of the third-order loop, stable at K = 4, unstable at K = 10.
for k in 4 10; do
  "$tracevue" --set K=$k --margins --nyquist "$out/third-order-nyquist-k$k.png" \
    "$examples/third-order.WWC" >/dev/null
done
# The closed-loop poles of the third-order example over K.
"$tracevue" --locus "$out/third-order-locus.png" "$examples/third-order.WWC" >/dev/null
