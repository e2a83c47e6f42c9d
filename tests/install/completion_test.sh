#!/usr/bin/env bash
# Shell completion for horalyn-cli offers what the program knows: the bash
# completion is loaded and asked, the zsh and fish ones are read, and all are
# compared with horalyn-cli's own --help.
#   completion_test.sh BIN-DIR COMPLETION-DIR
set -euo pipefail
bin=$1 completion=$2
fail() { echo "completion_test: $*" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

options() { { grep -oE -- '--[a-z][a-z-]*[a-z]' || true; } | sort -u; }

# What bash offers for the words of a command line, the last one being completed.
offered() {
  bash --norc --noprofile -c '
    source "$1" || exit 1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    complete -p horalyn-cli >/dev/null || exit 1
    _horalyn_cli horalyn-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"' completion "$completion/horalyn-cli.bash" horalyn-cli "$@" | sort
}

commands=$("$bin/horalyn-cli" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF && !/^Commands:/ {print $1}' | sort)
[ -n "$commands" ] || fail "horalyn-cli --help lists no commands"
diff -u <(printf '%s\n' $commands --help --version | sort) <(offered "") || fail "first word: wrong commands offered"
diff -u <(printf 'delete\n') <(offered de) || fail "'de' should complete to delete"

for command in $commands; do
  # Every command takes --help, whether or not its help names it.
  { "$bin/horalyn-cli" "$command" --help; echo --help; } | options >"$scratch/help"
  offered "$command" -- >"$scratch/offered"
  diff -u "$scratch/help" "$scratch/offered" || fail "$command: bash offers other options than --help names"
  # zsh and fish name each option too.
  while read -r option; do
    grep -qE -- "'\\(?[^']*\\)?$option[=\\[]" "$completion/_horalyn-cli" || fail "zsh lacks $option ($command)"
    grep -qE -- "-l ${option#--}( |\$)" "$completion/horalyn-cli.fish" || fail "fish lacks $option ($command)"
  done <"$scratch/help"
done

# Values: tables, reports, schedule types (one word each, blanks escaped), formats by command.
diff -u <(printf 'contacts\nschedule\ntodo\n') <(offered export "") || fail "export: tables"
diff -u <(printf 'schedule-category\nschedule-date\n') <(offered report sch) || fail "report: names"
diff -u <(printf 'Day\\ of\\ Month\nDay\\ of\\ Week\n') <(offered add --type Da) || fail "add --type: types"
diff -u <(printf 'csv\npdf\ntxt\n') <(offered report brief --format "") || fail "report --format"
diff -u <(printf 'csv\nical\nvcard\nvcard3\n') <(offered export schedule --format "") || fail "export --format"
# After the table, a file name: nothing from the word lists.
offered export schedule sch | grep -qx schedule && fail "export: the table offered again as the file"
# Where those shells are installed, they read their files without a syntax error.
if command -v zsh >/dev/null; then zsh -n "$completion/_horalyn-cli" || fail "zsh cannot read _horalyn-cli"; fi
if command -v fish >/dev/null; then fish -n "$completion/horalyn-cli.fish" || fail "fish cannot read horalyn-cli.fish"; fi
bash -n "$completion/horalyn-cli.bash" || fail "bash cannot read horalyn-cli.bash"
echo "completion_test: bash, zsh and fish complete $(echo $commands | wc -w) commands as --help describes them"
