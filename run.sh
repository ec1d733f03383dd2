#!/bin/sh
# Installs what is needed, builds Tracevue and starts it (arguments go to the program).
set -eu
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec ./build/src/app/tracevue "$@"
