#!/bin/sh
# Checks the resource maker: the program's real pictures become loadable .cur/.ico files with the
# right headers, hot spots and transparency; a small picture pins the exact bitmap layout; broken
# pictures are refused with a message naming the fault and leave no output behind.
#
# usage: mkres_test.sh <mkres executable> <source folder>

MKRES=$1
SRC=$2
if [ ! -x "$MKRES" ] || [ ! -d "$SRC/res" ]; then
    echo "usage: mkres_test.sh <mkres executable> <source folder>" >&2
    exit 2
fi
FIX=$SRC/tests/fixtures
OUT=$(mktemp -d "${TMPDIR:-/tmp}/mkres_test.XXXXXX") || exit 2
trap 'rm -rf "$OUT"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# u8/u16/u32 <file> <offset>: little-endian unsigned numbers.
u8() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }
u16() { od -An -tu2 --endian=little -j "$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 --endian=little -j "$2" -N4 "$1" | tr -d ' '; }
hex() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }
size() { wc -c < "$1" | tr -d ' '; }

expect() {  # expect <what> <actual> <wanted>
    [ "$2" = "$3" ] || fail "$1: got '$2', want '$3'"
}

# check_entry <file> <entry> <width> <height> <field4> <field6> <bits>: one directory entry and the
# BITMAPINFOHEADER it points at (height doubled for the mask); the image must lie inside the file.
check_entry() {
    f=$1; e=$((6 + 16 * $2)); what="$(basename "$f") image $2"
    expect "$what width" "$(u8 "$f" $e)" "$3"
    expect "$what height" "$(u8 "$f" $((e + 1)))" "$4"
    expect "$what reserved" "$(u8 "$f" $((e + 3)))" 0
    expect "$what planes/hot spot x" "$(u16 "$f" $((e + 4)))" "$5"
    expect "$what bit count/hot spot y" "$(u16 "$f" $((e + 6)))" "$6"
    bytes=$(u32 "$f" $((e + 8))); off=$(u32 "$f" $((e + 12)))
    [ $((off + bytes)) -le "$(size "$f")" ] || fail "$what: bytes $bytes at $off run past the end"
    expect "$what header size" "$(u32 "$f" "$off")" 40
    expect "$what bitmap width" "$(u32 "$f" $((off + 4)))" "$3"
    expect "$what bitmap height" "$(u32 "$f" $((off + 8)))" $(($4 * 2))
    expect "$what bitmap planes" "$(u16 "$f" $((off + 12)))" 1
    expect "$what bitmap bits" "$(u16 "$f" $((off + 14)))" "$7"
    expect "$what compression" "$(u32 "$f" $((off + 16)))" 0
    if [ "$7" -lt 32 ]; then tbl=$((4 << $7)); else tbl=0; fi
    xs=$((($3 * $7 + 31) / 32 * 4)); as=$((($3 + 31) / 32 * 4))
    expect "$what byte size" "$bytes" $((40 + tbl + (xs + as) * $4))
}

# ---- The program's pictures -----------------------------------------------------------------
if ! "$MKRES" "$OUT" "$SRC/res/arrow.cur.txt" "$SRC/res/busy.cur.txt" "$SRC/res/hand.cur.txt" \
        "$SRC/res/kvupdate.ico.txt"; then
    fail "mkres refused the program's pictures"
fi
for name in arrow busy hand; do
    f=$OUT/$name.cur
    [ -f "$f" ] || { fail "$name.cur not written"; continue; }
    expect "$name.cur reserved" "$(u16 "$f" 0)" 0
    expect "$name.cur type" "$(u16 "$f" 2)" 2
    expect "$name.cur count" "$(u16 "$f" 4)" 1
done
# Cursors are 32x32 with the hot spot at 0,0; arrow and hand are monochrome, busy has 16 colours.
[ -f "$OUT/arrow.cur" ] && check_entry "$OUT/arrow.cur" 0 32 32 0 0 1
[ -f "$OUT/hand.cur" ] && check_entry "$OUT/hand.cur" 0 32 32 0 0 1
[ -f "$OUT/busy.cur" ] && check_entry "$OUT/busy.cur" 0 32 32 0 0 4
for name in arrow hand; do
    # A monochrome cursor's colour table is exactly black then white.
    [ -f "$OUT/$name.cur" ] && expect "$name.cur colour table" "$(hex "$OUT/$name.cur" 62 8)" 00000000ffffff00
done
f=$OUT/kvupdate.ico
if [ -f "$f" ]; then
    expect "icon type" "$(u16 "$f" 2)" 1
    expect "icon count" "$(u16 "$f" 4)" 3
    check_entry "$f" 0 16 16 1 32 32
    check_entry "$f" 1 32 32 1 32 32
    check_entry "$f" 2 48 48 1 32 32
    last=$((6 + 16 * 2))
    expect "icon file size" "$(size "$f")" $(($(u32 "$f" $((last + 8))) + $(u32 "$f" $((last + 12)))))
else
    fail "kvupdate.ico not written"
fi

# The arrow's tip is the hot spot: pixel 0,0 is opaque in the mask (rows are stored bottom-up, so
# the top row is the mask's last row) and the opposite corner is transparent.
f=$OUT/arrow.cur
if [ -f "$f" ]; then
    top=$((62 + 8 + 4 * 32 + 4 * 31))
    expect "arrow mask at the tip" $(($(u8 "$f" $top) & 128)) 0
    expect "arrow mask at the far corner" $(($(u8 "$f" $((62 + 8 + 4 * 32 + 3))) & 1)) 1
fi

# The same pictures as RGBA dumps: header, size, hot spot, and where the hand's fingertip is.
rgba_pixel() {  # rgba_pixel <dump> <x> <y>  -> "r g b a"
    w=$(u32 "$1" 4)
    od -An -tu1 -j $((20 + 4 * ($3 * w + $2))) -N4 "$1" | sed 's/^ *//; s/  */ /g'
}
for name in arrow busy hand; do
    d=$OUT/$name.rgba
    if "$MKRES" --rgba "$SRC/res/$name.cur.txt" "$d"; then
        expect "$name.rgba magic" "$(hex "$d" 0 4)" 4b565058
        expect "$name.rgba size/hot spot" "$(u32 "$d" 4) $(u32 "$d" 8) $(u32 "$d" 12) $(u32 "$d" 16)" "32 32 0 0"
        expect "$name.rgba length" "$(size "$d")" $((20 + 32 * 32 * 4))
    else
        fail "--rgba refused $name.cur.txt"
    fi
done
if [ -f "$OUT/arrow.rgba" ] && [ -f "$OUT/hand.rgba" ]; then
    expect "arrow tip pixel" "$(rgba_pixel "$OUT/arrow.rgba" 0 0)" "0 0 0 255"
    expect "hand hot spot pixel" "$(rgba_pixel "$OUT/hand.rgba" 0 0)" "0 0 0 0"
    tip=none
    for x in 1 2 3 4 5 6 7 8; do
        case $(rgba_pixel "$OUT/hand.rgba" $x 0) in *" 255") tip=$x; break ;; esac
    done
    case $tip in 2|3|4|5|6) ;; *) fail "hand fingertip on the top row starts at x=$tip, want a few pixels right of 0" ;; esac
fi
if "$MKRES" --rgba "$SRC/res/kvupdate.ico.txt" "$OUT/icon2.rgba" 2; then
    expect "icon image 2 size" "$(u32 "$OUT/icon2.rgba" 4)x$(u32 "$OUT/icon2.rgba" 8)" 48x48
else
    fail "--rgba refused icon image 2"
fi
if "$MKRES" --rgba "$SRC/res/kvupdate.ico.txt" "$OUT/icon3.rgba" 3 2>/dev/null; then
    fail "--rgba accepted image 3 of a three-image icon"
fi

# ---- A small picture pins the exact layout: 3x2, 4 bits, padded rows, bottom-up --------------
#   rg.
#   .gr      r = red, g = green, . = transparent; hot spot 2,1
if "$MKRES" "$OUT" "$FIX/res_small.cur.txt"; then
    f=$OUT/res_small.cur
    check_entry "$f" 0 3 2 2 1 4
    expect "small file size" "$(size "$f")" $((22 + 40 + 64 + 16))
    # colour table: black, red, green (blue-green-red-0 order), rest black
    expect "small colour table" "$(hex "$f" 62 12)" 000000000000ff0000ff0000
    # colour rows, bottom row first: ".gr" = 0 2 1, then "rg." = 1 2 0
    expect "small colour bits" "$(hex "$f" 126 8)" 0210000012000000
    # mask rows, bottom row first: ".gr" = 100, then "rg." = 001
    expect "small mask bits" "$(hex "$f" 134 8)" 8000000020000000
else
    fail "mkres refused res_small.cur.txt"
fi

# ---- Broken pictures: refused with status 1, a message naming the fault, nothing written ------
while read -r fixture message; do
    [ -n "$fixture" ] || continue
    err=$("$MKRES" "$OUT" "$FIX/$fixture" 2>&1 >/dev/null)
    rc=$?
    expect "$fixture exit status" "$rc" 1
    case $err in *"$message"*) ;; *) fail "$fixture: message '$err' does not contain '$message'" ;; esac
    [ ! -e "$OUT/${fixture%.txt}" ] || fail "$fixture: an output file was written"
done <<'EOF'
res_bad_row.cur.txt res_bad_row.cur.txt:6: row 2 of the 4x2 image has 3 characters
res_bad_char.cur.txt res_bad_char.cur.txt:7: column 3: 'z' is not in the palette
res_no_hotspot.cur.txt needs "hotspot
res_hotspot_outside.cur.txt hot spot 2,0 is outside
res_too_many_colours.cur.txt more than a 1-bit image holds
res_partial_alpha.cur.txt partly transparent 'h'
res_short.ico.txt ends after 1 of its 2 rows
res_dup_size.ico.txt already given on line 4
res_bad_colour.ico.txt bad colour "#00000G"
res_kind_mismatch.ico.txt holds a cursor picture but is named .ico
EOF

# A bad picture later in the list still fails the whole run.
if "$MKRES" "$OUT" "$FIX/res_small.cur.txt" "$FIX/res_bad_row.cur.txt" 2>/dev/null; then
    fail "a run with one bad picture succeeded"
fi
# An input not named *.cur.txt / *.ico.txt is refused.
if "$MKRES" "$OUT" "$SRC/res/kvupdate.manifest" 2>/dev/null; then
    fail "mkres accepted a file not named .cur.txt or .ico.txt"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "mkres: all checks passed"
