#!/bin/sh
# Installs what is needed, checks the code's layout, builds Tracevue twice and runs every test.
# First the whole program with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (the core's, the windows' and the picture
# outputs' tests, and short fuzz runs), then with g++, whose suite runs last
# so that CTest's summary of it ends the output.
set -eu
cd "$(dirname "$0")"
./scripts/install-deps.sh --test
./scripts/check-format.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j2
cmake --preset default
cmake --build --preset default
ctest --preset default -j2 --no-tests=error
