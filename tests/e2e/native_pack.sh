#!/usr/bin/env bash
# Packing as the maker does it on Linux: the native program run with -pack in a folder of
# the eighteen files, its report read from standard error.
# Usage: native_pack.sh <path to build/native/kvupdate>
set -u
exe=$(readlink -f "$1")
# No display: the boxes go to standard error only, as on a build server.
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/kv-native-pack-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

files="kv9900.exe euro.cfg events_eng.cfg events_fra.cfg events_ita.cfg events_por.cfg events_nor.cfg
events_spa.cfg events_swe.cfg eng.lng esp.lng fra.lng ita.lng nor.lng por.lng swe.lng language.ldb changes.txt"

make_sources() {  # $1: folder
    mkdir -p "$1"
    local i=0
    for f in $files; do
        i=$((i + 1))
        # Varied sizes; language.ldb is empty and must pack as an entry of length 0.
        if [ "$f" = language.ldb ]; then : > "$1/$f"; else head -c $((i * 1000 + 7)) /dev/urandom > "$1/$f"; fi
    done
}

expected_package() {  # $1: folder -> writes the expected bytes to stdout
    for f in $files; do
        local n; n=$(stat -c %s "$1/$f")
        printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((n & 255)) $((n >> 8 & 255)) $((n >> 16 & 255)) $((n >> 24 & 255)))"
    done
    for f in $files; do cat "$1/$f"; done
}

# 1. A good packing run.
make_sources "$work/good"
(cd "$work/good" && "$exe" -pack 2> "$work/err1"; echo $? > "$work/rc1")
[ "$(cat "$work/rc1")" = 0 ] || fail "-pack exited $(cat "$work/rc1")"
printf 'Setup: Packed files successfully !\nError: Unable to open graphics\n' > "$work/want1"
cmp -s "$work/err1" "$work/want1" || { fail "-pack reported:"; cat "$work/err1"; }
expected_package "$work/good" > "$work/want.dat"
cmp -s "$work/good/update.dat" "$work/want.dat" || fail "update.dat differs from header + files in table order"
[ "$(stat -c %s "$work/good/update.dat")" = $((72 + $(cat "$work"/good/[!u]* | wc -c))) ] || fail "update.dat size"

# 2. Upper case is not the switch: nothing is packed.
make_sources "$work/upper"
(cd "$work/upper" && "$exe" -PACK 2> "$work/err2")
[ -e "$work/upper/update.dat" ] && fail "-PACK packed"
printf 'Error: Unable to open graphics\n' | cmp -s - "$work/err2" || { fail "-PACK reported:"; cat "$work/err2"; }

# 3. A missing file: reported, and an existing package stays as it was.
make_sources "$work/missing"
rm "$work/missing/events_spa.cfg"
printf 'the old package' > "$work/missing/update.dat"
(cd "$work/missing" && "$exe" -pack 2> "$work/err3"; echo $? > "$work/rc3")
[ "$(cat "$work/rc3")" = 0 ] || fail "failed -pack exited $(cat "$work/rc3")"
head -n 1 "$work/err3" | grep -qx 'Setup: Unable to pack files' || { fail "missing file reported:"; cat "$work/err3"; }
[ "$(cat "$work/missing/update.dat")" = "the old package" ] || fail "existing update.dat was changed"
ls "$work/missing" | grep -q -v -x -F -f <(echo "$files" | tr ' ' '\n'; echo update.dat) && fail "files left behind: $(ls "$work/missing")"

# 4. No command line: the wizard starts and reports that it has no graphics.
(cd "$work/good" && "$exe" 2> "$work/err4"; echo $? > "$work/rc4")
[ "$(cat "$work/rc4")" = 0 ] || fail "plain start exited $(cat "$work/rc4")"
printf 'Error: Unable to open graphics\n' | cmp -s - "$work/err4" || { fail "plain start reported:"; cat "$work/err4"; }

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "native packing: all checks passed"
