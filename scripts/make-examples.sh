#!/bin/sh
# Writes the example transfer files and the measured points of examples/ with the program itself.
# Usage: scripts/make-examples.sh [TRACEVUE [FOLDER]]
#   TRACEVUE  the built program (default: build/src/app/tracevue)
#   FOLDER    where the files go (default: examples/)
# Needs no display: every run below is a command-line run without a window.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tracevue=${1:-$root/build/src/app/tracevue}
out=${2:-$root/examples}
if [ ! -x "$tracevue" ]; then
  echo "make-examples.sh : programme introuvable : $tracevue (construisez d'abord : cmake --build build)" >&2
  exit 1
fi
mkdir -p "$out"
export LC_ALL=C

# First-order lag: corner at 1/T = 2 rad/s, static gain 2 (6 dB).
"$tracevue" --num1 K --den1 1+T*p --set K=2 --set T=0.5 --decades -2:2 \
  --save "$out/first-order.WWC"

# Second-order system, natural pulsation W = 10 rad/s: with Ksi = 0.2 the
# resonance peak is about 8 dB; stepping Ksi towards 0.7 flattens it.
"$tracevue" --num1 1 --den1 '1+2*KSI*p/W+p^2/W^2' --set W=10 --set Ksi=0.2 --decades 0:2 \
  --save "$out/second-order.WWC"

# Integrator with a lag K/(p*(1+T*p)), typed developed. The phase margin
# depends only on K*T: about 39 degrees for K*T = 2, 52 for K*T = 1.
"$tracevue" --num1 K --den1 p+T*p^2 --set K=4 --set T=0.5 --decades -1:2 \
  --save "$out/integrator-lag.WWC"

# Lead compensator H1 in series with the plant H2 = K/(p*(1+p)): the plant
# alone has about 18 degrees of phase margin, H1.H2 about 53.
"$tracevue" --num1 '1+A*T*p' --den1 1+T*p --num2 K --den2 p+p^2 \
  --set K=10 --set A=5 --set T=0.1 --decades -1:2 --curves 1,2,4 \
  --save "$out/lead-compensator.WWC"

# Third-order loop K/(1+p)^3: the phase reaches -180 degrees at
# w = sqrt(3); with K = 4 the gain margin is 20*log10(8/4) = 6 dB.
"$tracevue" --num1 K --den1 1+3*p+3*p^2+p^3 --set K=4 --decades -1:2 \
  --save "$out/third-order.WWC"

# Measured points of the second-order system: the program's own capture of
# the curve, one point in four, with a fixed perturbation of at most
# 0.5 dB and 3 degrees. The pseudo-random sequence is the Park-Miller
# generator written out (exact in double precision), so every awk gives
# the same file.
capture=$(mktemp)
trap 'rm -f "$capture"' EXIT
"$tracevue" --capture "$capture" "$out/second-order.WWC"
tr -d '\r' < "$capture" | awk '
  BEGIN { seed = 20240611; m = 2147483647 }
  function noise() { seed = (seed * 16807) % m; return 2 * seed / m - 1 }
  NR % 4 == 1 && NF >= 3 {
    g = $2 + 0.5 * noise(); f = $3 + 3 * noise()
    printf "%.4g %.2f %.1f\r\n", $1, g, f
  }' > "$out/second-order-measured.txt"
