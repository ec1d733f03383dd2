#!/bin/sh
# Installs what is needed, builds Tracevue and runs every test; CTest's summary comes last.
# Two builds: the core under AddressSanitizer and UndefinedBehaviorSanitizer
# with clang (its tests, short fuzz runs included, run as the one test
# "sanitizers" of the main suite), and the program with g++.
set -eu
cd "$(dirname "$0")"
./scripts/install-deps.sh --test
export QT_QPA_PLATFORM=offscreen
cmake --preset asan
cmake --build --preset asan
cmake --preset default -DTRACEVUE_SANITIZER_TESTS_DIR="$PWD/build-asan"
cmake --build --preset default
ctest --preset default -j2 --no-tests=error
