#!/bin/sh
# The dependency script runs no apt command when every package is installed, and asks for the missing ones only.
# Usage: install_deps_test.sh PATH/TO/install-deps.sh
# apt-get and sudo are replaced by recorders on the PATH; dpkg-query is the
# real one (the packages of this machine), or a stand-in that reports the
# names in $MISSING as not installed.
set -eu
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/fake"
export CALLS="$work/calls"
cat > "$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >> "$CALLS"
STUB
cat > "$work/bin/sudo" <<'STUB'
#!/bin/sh
echo "sudo" >> "$CALLS"
exec "$@"
STUB
cat > "$work/fake/dpkg-query" <<'STUB'
#!/bin/sh
for name in $MISSING; do
  if [ "$name" = "$3" ]; then echo "unknown ok not-installed"; exit 0; fi
done
echo "install ok installed"
STUB
chmod +x "$work/bin/apt-get" "$work/bin/sudo" "$work/fake/dpkg-query"
failures=0

# check NAME EXPECTED-CALLS PATH-PREFIX MODE...: runs the script, compares the calls.
check() {
  name=$1 expected=$2 prefix=$3
  shift 3
  : > "$CALLS"
  if ! PATH="$prefix:$PATH" sh "$script" "$@" > "$work/out" 2>&1; then
    echo "FAIL $name: the script failed"; cat "$work/out"; failures=$((failures + 1)); return
  fi
  got=$(grep -v '^sudo$' "$CALLS" || true)
  if [ "$got" != "$expected" ]; then
    echo "FAIL $name"; echo "  expected: $expected"; echo "  got:      $got"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

# This machine, where the test command has just installed everything.
check "installed machine, run: no apt command" "" "$work/bin"
check "installed machine, test: no apt command" "" "$work/bin" --test

fake="$work/bin:$work/fake"
update="apt-get update -qq"
MISSING="qt6-svg-dev" check "one run package missing: only it" \
  "$update
apt-get install -y -qq --no-install-recommends qt6-svg-dev" "$fake"
MISSING="clang-14 libgtest-dev libbenchmark-dev" check "test packages missing, run: nothing" \
  "" "$fake"
MISSING="clang-14 libgtest-dev libbenchmark-dev" check "test packages missing, test: them" \
  "$update
apt-get install -y -qq --no-install-recommends clang-14 libgtest-dev libbenchmark-dev" \
  "$fake" --test
export MISSING=""
# Names that only another package provides are never installed themselves,
# and a check of one would ask for apt at every start.
for virtual in libqt6svg6-dev octave; do
  if grep -q "$virtual" "$script"; then
    echo "FAIL the script names $virtual"; failures=$((failures + 1))
  fi
done
exit $failures
