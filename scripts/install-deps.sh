#!/bin/sh
# Installs from Debian's packages what Tracevue needs: to build and run it, and with --test what the tests add.
# Usage: scripts/install-deps.sh [--test]
# Each package is checked by its real name (dpkg never reports a virtual
# package as installed); when nothing is missing, no apt command runs at all,
# so a start asks for no password and touches no network.
set -eu

# Building and running: compiler and build tools, Qt with SVG, its French
# translations and its translation tools (the English texts), Eigen, libEMF
# (the metafiles), zlib (the PNG files), fontconfig (read early by the
# command line), the program's font, what opens files and installs the menu
# entry on the desktop, and what makes the Debian package.
RUN_PACKAGES="cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libgl-dev
  qt6-tools-dev qt6-l10n-tools
  libeigen3-dev libemf-dev zlib1g-dev libfontconfig-dev fonts-dejavu-core xdg-utils shared-mime-info desktop-file-utils
  dpkg-dev file"
# The tests: clang and its sanitizer runtime for the fuzzing build,
# GoogleTest, Google Benchmark, a metafile reader and a PDF rasteriser that
# check the program's pictures, and the validator of the AppStream file.
TEST_PACKAGES="clang-14 libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev
  emf2svg poppler-utils clang-format-14 appstream"

PACKAGES=$RUN_PACKAGES
case "${1:-}" in
  --test) PACKAGES="$RUN_PACKAGES $TEST_PACKAGES" ;;
  "") ;;
  *) echo "Usage : $0 [--test]" >&2; exit 2 ;;
esac

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installation des paquets :$missing"
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
