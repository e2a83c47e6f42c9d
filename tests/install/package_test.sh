#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks what it holds,
# what it depends on and, where lintian is installed, that lintian finds no error.
#   package_test.sh BUILD-DIR EXPECTED-CONTENTS APPSTREAM-ID
set -euo pipefail
build=$1 expected=$2 id=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

cpack -G DEB -B "$scratch" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/horalyn_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one horalyn_*.deb, got: ${debs[*]}"
deb=${debs[0]}

# Files only: folders follow from them.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$scratch/actual"
sed "s/@APPSTREAM_ID@/$id/" "$expected" | sort >"$scratch/expected"
diff -u "$scratch/expected" "$scratch/actual" || fail "the package does not hold the expected files"

# Every file belongs to root and programs are executable, data files and the loaded module are not.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ && $2 != "root/root" {print; bad=1} END {exit bad}' ||
  fail "files not owned by root"
dpkg-deb -c "$deb" | awk '$1 ~ /^d/ {next}
                          {program = $6 ~ /\/(bin|libexec\/horalyn)\// && $6 !~ /\.so$/}
                          program && $1 !~ /^-rwxr-xr-x/ {print; bad=1}
                          !program && $1 !~ /^-rw-r--r--/ {print; bad=1}
                          END {exit bad}' || fail "wrong modes"

# Dependencies come from the programs' libraries, not from a hand-kept list.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libsqlite3-0 libical3 libc6; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = horalyn ] || fail "wrong package name"

# The programs in the package are stripped and run: --version from the package's own copy.
dpkg-deb -x "$deb" "$scratch/root"
file "$scratch/root/usr/bin/horalyn" | grep -q ", stripped" || fail "horalyn is not stripped"
"$scratch/root/usr/bin/horalyn-cli" --version | grep -q "^horalyn-cli " || fail "the packaged horalyn-cli does not run"

if command -v lintian >/dev/null; then
  lintian "$deb" >"$scratch/lintian.log" 2>&1 || true
  if grep -q "^E: " "$scratch/lintian.log"; then
    cat "$scratch/lintian.log" >&2
    fail "lintian reports errors"
  fi
fi
echo "package_test: $(basename "$deb") holds $(wc -l <"$scratch/actual") files"
