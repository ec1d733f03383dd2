#!/bin/sh
# Builds the Debian package of Tracevue, build-release/tracevue_VERSION_amd64.deb, from a Release build.
# Usage: scripts/make-package.sh
# Then: sudo apt-get install ./build-release/tracevue_*.deb
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
cd build-release
cpack
ls "$PWD"/tracevue_*.deb
