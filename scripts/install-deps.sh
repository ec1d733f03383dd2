#!/bin/sh
# Installs, from Debian's packages only, what building and testing Tracevue needs.
# Packages already present are skipped; nothing else is downloaded.
set -eu
PACKAGES="cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6-dev qt6-translations-l10n
  libgl-dev libeigen3-dev libgtest-dev googletest libbenchmark-dev libemf-dev emf2svg
  fonts-dejavu-core fonts-liberation xdg-utils shared-mime-info desktop-file-utils
  clang-14 libclang-rt-14-dev clang-format-14"
missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
if [ -n "$missing" ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "Installation des paquets :$missing"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
