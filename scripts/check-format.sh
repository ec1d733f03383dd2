#!/bin/sh
# Checks that every C++ file of the project follows .clang-format; lists the files that do not.
# Reformat them with: scripts/check-format.sh --fix
set -eu
cd "$(dirname "$0")/.."
FORMAT="${CLANG_FORMAT:-clang-format-14}"
# The project's own files: those git tracks, or in a tree without git those
# of the source folders (never the build folders).
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null ||
  find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--fix" ]; then
  echo "$files" | xargs "$FORMAT" -i --style=file
  exit 0
fi
bad=""
for f in $files; do
  if ! "$FORMAT" --dry-run --Werror --style=file "$f" >/dev/null 2>&1; then bad="$bad $f"; fi
done
if [ -n "$bad" ]; then
  echo "Not formatted as .clang-format says (scripts/check-format.sh --fix reformats them):"
  for f in $bad; do echo "  $f"; done
  exit 1
fi
