#!/usr/bin/env bash
# The desktop's files as its own tools read them: the launchers, the AppStream
# metadata, the icons drawn at build time and the manual pages.
#   desktop_files_test.sh SOURCE-DIR BUILD-DIR APPSTREAM-ID
set -euo pipefail
source_dir=$1 build=$2 id=$3
fail() { echo "desktop_files_test: $*" >&2; exit 1; }

for launcher in horalyn.desktop horalyn-autostart.desktop; do
  # Hints (two main categories, say) count as failures too.
  out=$(desktop-file-validate "$source_dir/resources/$launcher" 2>&1) || fail "$launcher: $out"
  [ -z "$out" ] || fail "$launcher: $out"
  grep -q '^Keywords=.\+;$' "$source_dir/resources/$launcher" || fail "$launcher has no keywords"
done
# The autostart twin starts the program minimized.
grep -qx 'Exec=horalyn --minimized' "$source_dir/resources/horalyn-autostart.desktop" ||
  fail "the autostart launcher does not start the program minimized"

metainfo=$build/resources/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null 2>&1 ||
  { appstreamcli validate --no-net "$metainfo" >&2; fail "AppStream metadata does not validate"; }
for element in '<description>' '<screenshot type="default">' '<release version=' '<content_rating'; do
  grep -q "$element" "$metainfo" || fail "the metadata lacks $element"
done

for size in 16 22 24 32 48 64 128 256; do
  png=$build/resources/icons/${size}x${size}/horalyn.png
  [ -f "$png" ] || fail "no $png"
  file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done

for page in horalyn horalyn-cli; do
  source=$build/resources/man/$page.1
  # man --warnings prints what groff finds wrong; nothing must come out.
  warnings=$(MANWIDTH=80 man --warnings -l "$source" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' ENVIRONMENT FILES EXAMPLES; do
    grep -q "^\.SH $section\$" "$source" || fail "$page.1 has no $section section"
  done
  grep -q '@' "$source" && fail "$page.1 keeps an unreplaced @...@"
  zcat "$source.gz" | cmp -s - "$source" || fail "$page.1.gz is not the page"
done
echo "desktop_files_test: launchers, metadata, icons and manual pages are sound"
