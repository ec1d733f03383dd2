#!/bin/sh
# The manual pages read without troff warnings and describe every option that --help lists, in each language.
# Usage: man_page_test.sh TRACEVUE MAN-DIR (holding man1/ and fr/man1/)
set -u
prog=$1 dir=$2
failures=0
for lang in en fr; do
  page="$dir/man1/tracevue.1.gz"
  [ "$lang" = fr ] && page="$dir/fr/man1/tracevue.1.gz"
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -n "$warnings" ] && { echo "FAIL $lang: $warnings"; failures=$((failures + 1)); }
  text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
  options=$(QT_QPA_PLATFORM=offscreen "$prog" --lang "$lang" --help | grep -o '^  --[a-z0-9-]*')
  [ "$(echo "$options" | wc -w)" -ge 20 ] || { echo "FAIL $lang: --help lists too few options"; failures=$((failures + 1)); }
  for option in $options; do
    echo "$text" | grep -q -- "^ *$option" || { echo "FAIL $lang: $option missing"; failures=$((failures + 1)); }
  done
  # The page's first section is in its own language.
  heading=$(echo "$text" | sed -n 3p)
  case "$lang:$heading" in
    en:NAME | fr:NOM) ;;
    *) echo "FAIL $lang: first heading $heading"; failures=$((failures + 1)) ;;
  esac
done
[ "$failures" -eq 0 ] && echo "ok   both pages"
exit "$failures"
