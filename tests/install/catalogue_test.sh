#!/usr/bin/env bash
# Every catalogue holds every text the sources show: lupdate, run as the
# translations target runs it but on copies, finds no text left unfinished.
# A new tr() without its translation would otherwise ship as English in an
# otherwise German window.
#   catalogue_test.sh LUPDATE SOURCE-DIR TS-FILE... -- LUPDATE-OPTION...
set -euo pipefail
lupdate=$1 src=$2
shift 2
catalogues=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do catalogues+=("$1"); shift; done
[ $# -gt 0 ] && shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=0
for ts in "${catalogues[@]}"; do
  copy="$scratch/$(basename "$ts")"
  cp "$ts" "$copy"
  "$lupdate" -silent "$@" "$src" -ts "$copy"
  count=$(grep -c 'type="unfinished"' "$copy" || true)
  if [ "$count" != 0 ]; then
    echo "catalogue_test: $(basename "$ts") has $count text(s) without a translation:" >&2
    grep -B3 'type="unfinished"' "$copy" | grep -v '<translation\|<message>\|^--$' >&2 || true
    failed=1
  fi
done
exit $failed
