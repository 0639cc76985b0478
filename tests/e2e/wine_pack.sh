#!/bin/bash
# The Windows program under Wine: the packing run and the start-up message boxes.
#
#   bash tests/e2e/wine_pack.sh <kvupdate.exe> <native kvupdate>
#
# 1. "-pack" in a folder with the eighteen files: the "Setup" box says the files were packed,
#    the "Error" box follows (no graphics yet), both are answered with Return, exit status 0.
# 2. The package holds the header of the file sizes and the files' bytes in order, exactly
#    what the native program writes for the same folder.
# 3. "-pack" with a file missing: "Unable to pack files", the existing update.dat is left
#    byte for byte, and nothing else is left in the folder.
# 4. Without "-pack" (and with "-PACK", which is not the switch): only the "Error" box, no
#    packing, exit status 0.
# Exit status 77 when Wine, Xvfb, xdotool or a program is missing (the test is skipped).

. "$(dirname "$0")/lib.sh"

kv_init wine_pack

EXE=$1
NATIVE=$2
if [ -z "$EXE" ] || [ -z "$NATIVE" ]; then
    echo "usage: $0 <kvupdate.exe> <native kvupdate>" >&2
    exit 2
fi
kv_require wine wineserver Xvfb xdotool xdpyinfo xwininfo cmp od
[ -f "$EXE" ] || kv_skip "no Windows program at $EXE (build it with the win64 preset)"
[ -x "$NATIVE" ] || kv_skip "no native program at $NATIVE"
kv_absolute EXE NATIVE

# Package order.
FILES=(kv9900.exe euro.cfg events_eng.cfg events_fra.cfg events_ita.cfg events_por.cfg
       events_nor.cfg events_spa.cfg events_swe.cfg eng.lng esp.lng fra.lng ita.lng nor.lng
       por.lng swe.lng language.ldb changes.txt)

# --- fixture --------------------------------------------------------------------------------
# Every file has its own length, so a slot or block out of order shows. kv9900.exe is larger
# than one 64 KiB copy chunk; euro.cfg holds the bytes a text-mode read or write would change
# (CR LF, a lone LF, Ctrl-Z, NUL, high bytes); events_nor.cfg is empty.
FIXTURE=$KV_TMP/fixture
mkdir -p "$FIXTURE"
head -c 70001 /dev/urandom >"$FIXTURE/kv9900.exe"
printf 'line one\r\nline two\nend\032after ctrl-z\000nul\377\200\r\r\n' >"$FIXTURE/euro.cfg"
: >"$FIXTURE/events_nor.cfg"
i=0
for f in "${FILES[@]}"; do
    i=$((i + 1))
    [ -e "$FIXTURE/$f" ] && continue
    # "name: " then i lines, so the lengths differ from file to file.
    { printf '%s:' "$f"; for _ in $(seq "$i"); do printf ' %d\r\n' "$i"; done; } >"$FIXTURE/$f"
done

# le32 N - N as four little-endian bytes.
le32() {
    local shift_by
    for shift_by in 0 8 16 24; do
        printf '%b' "\\0$(printf '%03o' $((($1 >> shift_by) & 255)))"
    done
}

# The package expected for the fixture: the eighteen sizes, then the files in order.
EXPECTED=$KV_TMP/expected.dat
{
    for f in "${FILES[@]}"; do le32 "$(stat -c %s "$FIXTURE/$f")"; done
    for f in "${FILES[@]}"; do cat "$FIXTURE/$f"; done
} >"$EXPECTED"

# listing DIR - the folder's file names with their checksums, one a line.
listing() {
    (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r cksum)
}

# fresh_folder NAME - a copy of the fixture in the work directory; prints its path.
fresh_folder() {
    local dir=$KV_TMP/$1
    cp -r "$FIXTURE" "$dir"
    printf '%s\n' "$dir"
}

# expect_text CAPTION WANTED - the text read from the box just answered is WANTED.
expect_text() {
    [ -n "$KV_BOXTEXT" ] || return 0
    [ "$KV_BOX_TEXT" = "$2" ] ||
        kv_fail "the '$1' box says '$KV_BOX_TEXT', expected '$2' (picture: ${KV_BOX_SHOT:-none})"
}

# expect_exit_zero WHAT - the program started last ends within 30 s with status 0.
expect_exit_zero() {
    kv_wait_exit 30
    [ "$KV_STATUS" -eq 0 ] || kv_fail "$1: exit status $KV_STATUS, expected 0 (log: $KV_ARTIFACTS)"
}

# --- the display and the prefix, shared by all cases ------------------------------------------
kv_start_xvfb
kv_make_prefix
if kv_build_boxtext; then
    kv_log "message box texts are read with $KV_BOXTEXT"
else
    kv_log "no mingw-w64 compiler: the boxes' texts are not checked, only their captions"
fi

# --- 1. packing run ---------------------------------------------------------------------------
kv_log "case 1: -pack with all eighteen files"
PACKED=$(fresh_folder packed)
kv_wine_start "$PACKED" "$EXE" -pack
kv_answer_box Setup
expect_text Setup "Packed files successfully !"
kv_answer_box Error
expect_text Error "Unable to open graphics"
expect_exit_zero "packing run"
[ -f "$PACKED/update.dat" ] || kv_fail "packing run: no update.dat written"
[ ! -e "$PACKED/update.dat.tmp" ] || kv_fail "packing run: update.dat.tmp left behind"

# --- 2. the package's bytes -------------------------------------------------------------------
kv_log "case 2: the package's contents"
# Header slots against the file sizes, slot by slot, for a readable message.
read -r -a SLOTS <<<"$(od -An -v -t d4 -N 72 --endian=little "$PACKED/update.dat" | tr -s ' \n' '  ')"
[ "${#SLOTS[@]}" -eq 18 ] || kv_fail "update.dat has ${#SLOTS[@]} header slots, expected 18"
for i in "${!FILES[@]}"; do
    size=$(stat -c %s "$FIXTURE/${FILES[$i]}")
    [ "${SLOTS[$i]}" = "$size" ] ||
        kv_fail "header slot $i (${FILES[$i]}) is ${SLOTS[$i]}, the file has $size bytes"
done
cmp "$EXPECTED" "$PACKED/update.dat" ||
    kv_fail "update.dat is not the header followed by the eighteen files in order"

NATIVE_DIR=$(fresh_folder native)
# The maker packing from a script: no display, so its report goes to standard error.
(cd "$NATIVE_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY timeout -k 5 30 "$NATIVE" -pack) >"$KV_ARTIFACTS/native.out" 2>"$KV_ARTIFACTS/native.err"
status=$?
[ "$status" -eq 0 ] || kv_fail "native -pack: exit status $status (stderr: $KV_ARTIFACTS/native.err)"
grep -qxF 'Setup: Packed files successfully !' "$KV_ARTIFACTS/native.err" ||
    kv_fail "native -pack did not report 'Setup: Packed files successfully !' (stderr: $KV_ARTIFACTS/native.err)"
cmp "$NATIVE_DIR/update.dat" "$PACKED/update.dat" ||
    kv_fail "the Windows and the native program wrote different packages"

# --- 3. a file missing ------------------------------------------------------------------------
# The last file of the table is the one missing: every other file is measured and read fine,
# so only measuring all of them before writing anything keeps the old package.
kv_log "case 3: -pack with changes.txt missing and an old update.dat"
MISSING=$(fresh_folder missing)
rm "$MISSING/changes.txt"
printf 'old package\r\n\000\001\002 must survive\n' >"$MISSING/update.dat"
cp "$MISSING/update.dat" "$KV_TMP/old-update.dat"
listing "$MISSING" >"$KV_TMP/missing-before.txt"
kv_wine_start "$MISSING" "$EXE" -pack
kv_answer_box Setup
expect_text Setup "Unable to pack files"
kv_answer_box Error
expect_text Error "Unable to open graphics"
expect_exit_zero "failed packing run"
cmp "$KV_TMP/old-update.dat" "$MISSING/update.dat" ||
    kv_fail "a failed packing run changed the existing update.dat"
[ ! -e "$MISSING/update.dat.tmp" ] || kv_fail "a failed packing run left update.dat.tmp behind"
listing "$MISSING" >"$KV_TMP/missing-after.txt"
diff "$KV_TMP/missing-before.txt" "$KV_TMP/missing-after.txt" >&2 ||
    kv_fail "a failed packing run changed the folder"

# --- 4. start-up without the switch -----------------------------------------------------------
# "-PACK" is not the switch: the test for it is case-sensitive.
for args in "" "-PACK"; do
    kv_log "case 4: start with '${args}': only the Error box"
    PLAIN=$(fresh_folder "plain$args")
    listing "$PLAIN" >"$KV_TMP/plain-before.txt"
    # shellcheck disable=SC2086 # an empty args means no argument at all
    kv_wine_start "$PLAIN" "$EXE" $args
    kv_wait_window Error 30 >/dev/null || exit 1
    if setup=$(kv_find_window Setup); then
        kv_diagnose "unexpected-setup"
        kv_fail "start with '$args': a 'Setup' box ($setup) came up without -pack"
    fi
    kv_answer_box Error
    expect_text Error "Unable to open graphics"
    expect_exit_zero "start with '$args'"
    listing "$PLAIN" >"$KV_TMP/plain-after.txt"
    diff "$KV_TMP/plain-before.txt" "$KV_TMP/plain-after.txt" >&2 ||
        kv_fail "start with '$args' changed the folder (packed?)"
done

kv_log "all cases passed"
exit 0
