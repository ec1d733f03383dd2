#!/bin/sh
# Builds the Debian package from a build folder and checks its control fields and its files.
# Usage: check-package.sh CPACK BUILD-DIR WORK-DIR VERSION APP-ID
set -eu
cpack=$1 build=$2 work=$3 version=$4 id=$5
rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; exit 1; }
deb="$work/tracevue_${version}_amd64.deb"
[ -f "$deb" ] || { echo "FAIL no $deb"; ls "$work"; exit 1; }
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tracevue ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
field Maintainer | grep -q '<.*@.*>' || fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
# The shared libraries found by dpkg-shlibdeps, never a development package.
for lib in libqt6widgets6 libqt6svg6 libemf1 libc6; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done
echo "$depends" | grep -q -- '-dev' && fail "Depends names a development package: $depends"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for f in /usr/bin/tracevue /usr/libexec/tracevue/tracevue-full \
  "/usr/share/applications/$id.desktop" \
  /usr/share/icons/hicolor/scalable/apps/tracevue.svg \
  /usr/share/mime/packages/tracevue.xml \
  "/usr/share/metainfo/$id.metainfo.xml" \
  /usr/share/man/man1/tracevue.1.gz \
  /usr/share/man/fr/man1/tracevue.1.gz \
  /usr/share/doc/tracevue/copyright \
  /usr/share/doc/tracevue/changelog.gz \
  /usr/share/tracevue/examples/second-order.WWC; do
  grep -qx "$f" "$work/files" || fail "missing $f"
done
# Nothing outside /usr, no build leftovers.
grep -v '^/usr' "$work/files" | grep -v '^/$' && fail "files outside /usr"
dpkg-deb -x "$deb" "$work/root"
for program in bin/tracevue libexec/tracevue/tracevue-full; do
  file "$work/root/usr/$program" | grep -q ', stripped' || fail "$program is not stripped"
done
# The program the user starts hands an SVG to the whole program where it is installed.
QT_QPA_PLATFORM=offscreen "$work/root/usr/bin/tracevue" --num1 1 --den1 1+p \
  --export "$work/handed-over.svg" >/dev/null 2>&1 && [ -s "$work/handed-over.svg" ] ||
  fail "the installed program does not hand an SVG over"
dpkg-deb -e "$deb" "$work/control"
[ -x "$work/control/postinst" ] || fail "no postinst"
# A postrm would keep the package listed ("rc") after apt-get remove.
[ -e "$work/control/postrm" ] && fail "a postrm"
[ "$failures" -eq 0 ] && echo "ok   $deb"
exit "$failures"
