#!/bin/sh
# Installs what is needed, builds Tracevue and starts it (arguments go to the program;
# with none, it opens the second-order example, a good first exercise).
set -eu
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tracevue
if [ "$#" -eq 0 ]; then set -- examples/second-order.WWC; fi
exec ./build/src/app/tracevue "$@"
