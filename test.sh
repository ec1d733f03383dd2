#!/bin/sh
# Installs what is needed, builds Tracevue and runs every test; CTest's summary comes last.
set -eu
cd "$(dirname "$0")"
./scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset default
cmake --build --preset default
ctest --preset default -j2
