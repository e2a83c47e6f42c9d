#!/usr/bin/env bash
# The manual pages say what the programs' own --help says: every command and
# every option, and no option the programs do not know.
#   man_help_test.sh BIN-DIR MAN-DIR
set -euo pipefail
bin=$1 man=$2
fail() { echo "man_help_test: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

options() { { grep -oE -- '--[a-z][a-z-]*[a-z]' || true; } | sort -u; }
# Options in a page, with groff's escaped hyphens read as plain ones.
page_options() { sed 's/\\-/-/g' "$1" | options; }

# horalyn
"$bin/horalyn" --help | options >"$scratch/help"
page_options "$man/horalyn.1" >"$scratch/page"
diff -u "$scratch/help" "$scratch/page" || fail "horalyn.1 and horalyn --help name different options"

# horalyn-cli: the commands, then every command's options.
commands=$("$bin/horalyn-cli" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF && !/^Commands:/ {print $1}')
[ -n "$commands" ] || fail "horalyn-cli --help lists no commands"
"$bin/horalyn-cli" --help | options >"$scratch/help"
sed -n 's/\\-/-/g; s/^\.SS //p' "$man/horalyn-cli.1" | tr ', ' '\n\n' >"$scratch/sections"
for command in $commands; do
  grep -qx "$command" "$scratch/sections" || fail "horalyn-cli.1 has no section for $command"
  "$bin/horalyn-cli" "$command" --help | options >>"$scratch/help"
done
sort -u -o "$scratch/help" "$scratch/help"
page_options "$man/horalyn-cli.1" >"$scratch/page"
diff -u "$scratch/help" "$scratch/page" || fail "horalyn-cli.1 and horalyn-cli --help name different options"
echo "man_help_test: the pages match --help ($(wc -l <"$scratch/help") options of horalyn-cli)"
