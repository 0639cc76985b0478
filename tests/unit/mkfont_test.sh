#!/bin/sh
# Checks the seven bitmap fonts the build made and the font maker itself: every file parses to
# the end with consistent records, margins that match the bitmaps, one baseline for all glyphs,
# ink for the accented letters of the interface texts and none for the holes of Windows-1252; the
# widget font's labels are not wider than the heading font's; and the maker refuses bad
# arguments and unusable fonts with a message, a non-zero status and no output left behind.
#
# usage: mkfont_test.sh <mkfont executable> <folder of the built .fnt files> <folder of the .ttf>

MKFONT=$1
FONTS=$2
TTF=$3
if [ ! -x "$MKFONT" ] || [ ! -d "$FONTS" ] || [ ! -f "$TTF/LiberationSans-Regular.ttf" ]; then
    echo "usage: mkfont_test.sh <mkfont executable> <fonts folder> <liberation .ttf folder>" >&2
    exit 2
fi
OUT=$(mktemp -d "${TMPDIR:-/tmp}/mkfont_test.XXXXXX") || exit 2
trap 'rm -rf "$OUT"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect() {  # expect <what> <actual> <wanted>
    [ "$2" = "$3" ] || fail "$1: got '$2', want '$3'"
}

# Texts as decimal byte codes (Windows-1252), for the parser.
codes() { printf "$1" | od -An -v -tu1 | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }
LABELS="$(codes 'Install in English'),$(codes 'Instalar en Espa\361ol'),$(codes 'Installation en Fran\347ais'),\
$(codes 'Installa in Italiano'),$(codes 'Installer p\345 norsk'),$(codes 'Instala\347\343o em Portugu\352s'),\
$(codes '0Installera p\345 svenska')"

# parse <file>: reads a .fnt file and prints "key value" lines:
#   error <text>        a structural fault (the first one found)
#   height <n>          glyphHeight
#   space <n>           the space's advance
#   ink <code> <0|1>    whether the glyph of a code has a non-zero coverage (every code)
#   bpr <code> <n>      bytesPerRow of every code
#   bottom <code> <r>   the lowest and top topmost ink row of a glyph (every inked code)
#   top <code> <r>
#   width <i> <n>       the pen distance of label i (from 0): advance + gap to the next character
parse() {
    od -An -v -tu1 "$1" | awk -v labels="$LABELS" '
    { for (i = 1; i <= NF; i++) b[n++] = $i }
    function i32(p,   v) {
        if (p + 4 > n) { bad("the file ends inside a number at byte " p); return 0 }
        v = b[p] + 256 * (b[p + 1] + 256 * (b[p + 2] + 256 * b[p + 3]))
        return v >= 2147483648 ? v - 4294967296 : v
    }
    function bad(text) { if (!err) { err = 1; print "error " text } }
    END {
        h = i32(0); p = 4
        if (h <= 0 || h > 200) bad("glyphHeight " h)
        for (c = 32; c <= 255 && !err; c++) {
            adv[c] = i32(p); bpr = i32(p + 4); lm[c] = i32(p + 8); rm[c] = i32(p + 12); p += 16
            if (adv[c] < 0 || adv[c] > 200) bad("code " c ": advance " adv[c])
            if (bpr != 0 && bpr != int((adv[c] + 1) / 2)) bad("code " c ": bytesPerRow " bpr " for advance " adv[c])
            if (lm[c] < 0 || rm[c] < 0) bad("code " c ": negative margin")
            if (p + h * bpr > n) bad("code " c ": the bitmap runs past the end")
            if (err) break
            first = adv[c]; last = -1; topRow = -1; bottomRow = -1
            for (r = 0; r < h; r++) for (x = 0; x < adv[c] && bpr > 0; x++) {
                v = b[p + r * bpr + int(x / 2)]
                v = x % 2 == 0 ? int(v / 16) : v % 16
                if (v == 0) continue
                if (x < first) first = x
                if (x > last) last = x
                if (topRow < 0) topRow = r
                bottomRow = r
            }
            if (bpr > 0 && adv[c] % 2 == 1)
                for (r = 0; r < h; r++) if (b[p + r * bpr + bpr - 1] % 16 != 0) bad("code " c ": padding nibble set")
            p += h * bpr
            print "bpr " c " " bpr
            print "ink " c " " (last >= 0 ? 1 : 0)
            if (last >= 0) {
                if (lm[c] != first || rm[c] != adv[c] - 1 - last)
                    bad("code " c ": margins " lm[c] "/" rm[c] " but the ink spans columns " first ".." last " of " adv[c])
                print "top " c " " topRow
                print "bottom " c " " bottomRow
            } else if (lm[c] != 0 || rm[c] != 0) bad("code " c ": margins on a glyph without ink")
        }
        if (!err && p != n) bad((n - p) " bytes after the last record")
        if (err) exit
        print "height " h
        print "space " adv[32]
        count = split(labels, list, ",")
        for (i = 1; i <= count; i++) {
            len = split(list[i], t, " "); w = 0
            for (k = 1; k <= len; k++) {
                w += adv[t[k]]
                if (k < len) {
                    gap = int(3 * adv[32] / 4) - rm[t[k]] - lm[t[k + 1]]
                    if (gap > 0) w += gap
                }
            }
            print "width " (i - 1) " " w
        }
    }'
}
# get <key> <code or ""> <parsed file>: the value of a key (for a code), "" when absent.
get() {
    awk -v k="$1" -v c="$2" '$1 == k && c == "" { sub(/^[^ ]+ /, ""); print; exit }
                             $1 == k && c != "" && $2 == c { print $3; exit }' "$3"
}

# ---- The seven fonts -----------------------------------------------------------------------
last_height=0
for name in arial_narrow_10 arial_narrow_11 arial_14 arial_16 arial_18 trade_cond_24_bold \
        trade_cond_28_bold; do
    f=$FONTS/$name.fnt
    [ -f "$f" ] || { fail "$name.fnt not made"; continue; }
    r=$OUT/$name.parsed
    parse "$f" > "$r"
    e=$(get error "" "$r")
    [ -z "$e" ] || { fail "$name.fnt: $e"; continue; }
    h=$(get height "" "$r")
    # The fonts are listed by growing pixel size, so their line heights grow too.
    [ "$h" -gt "$last_height" ] || fail "$name.fnt: height $h does not exceed the previous font's $last_height"
    last_height=$h
    # The space draws nothing and still leaves letters at least a pixel apart.
    expect "$name.fnt space bitmap" "$(get bpr 32 "$r")" 0
    [ "$(get space "" "$r")" -ge 2 ] || fail "$name.fnt: space advance $(get space "" "$r") gives no letter gap"
    # The letters of the interface texts; 128 is the euro sign.
    for c in 65 97 73 120 112 103 228 241 231 233 229 248 234 128 197 201; do
        expect "$name.fnt ink of code $c" "$(get ink $c "$r")" 1
    done
    # The holes of Windows-1252 and the delete code have no glyph.
    for c in 127 129 141 143 144 157; do
        expect "$name.fnt bitmap of code $c" "$(get bpr $c "$r")" 0
    done
    # One baseline: I, x and H stand on the same row, p and g reach below it; accents on
    # capitals reach above the capital.
    base=$(get bottom 73 "$r")
    expect "$name.fnt baseline of x" "$(get bottom 120 "$r")" "$base"
    expect "$name.fnt baseline of H" "$(get bottom 72 "$r")" "$base"
    for c in 112 103; do
        [ "$(get bottom $c "$r")" -gt "$base" ] || fail "$name.fnt: code $c does not descend below the baseline"
    done
    [ "$(get top 201 "$r")" -lt "$(get top 69 "$r")" ] || fail "$name.fnt: the accent of E acute is not above E"
    [ "$(get top 197 "$r")" -lt "$(get top 65 "$r")" ] || fail "$name.fnt: the ring of A ring is not above A"
    # The box ends at the lowest ink of the code page: no blank row below it, none cut off.
    lowest=$(awk '$1 == "bottom" && $3 > m { m = $3 } END { print m + 0 }' "$r")
    expect "$name.fnt lowest ink row" "$lowest" $((h - 1))
done

# The widget font (1) sets "Install in English" no wider than the widest language label in the
# heading font (2) plus 20 pixels, so the labels fit the buttons laid out for that font.
r1=$OUT/arial_narrow_11.parsed
r2=$OUT/arial_14.parsed
if [ -s "$r1" ] && [ -s "$r2" ] && [ -z "$(get error "" "$r1")$(get error "" "$r2")" ]; then
    english=$(get width 0 "$r1")
    widest=$(awk '$1 == "width" && $3 > m { m = $3 } END { print m + 0 }' "$r2")
    [ "$english" -gt 0 ] || fail "font 1 gives \"Install in English\" no width"
    [ "$english" -le $((widest + 20)) ] || fail "font 1 sets \"Install in English\" $english wide, over $widest + 20"
fi

# The maker on its own: the same outline and size give the same bytes as the build's file.
if "$MKFONT" "$TTF/LiberationSans-Regular.ttf" 14 "$OUT/again.fnt"; then
    cmp -s "$OUT/again.fnt" "$FONTS/arial_14.fnt" || fail "a second run differs from arial_14.fnt"
else
    fail "mkfont refused LiberationSans-Regular.ttf at 14"
fi

# ---- Refusals: a message naming the fault, the status, and no output file ------------------
printf 'not a font\n' > "$OUT/text.ttf"
: > "$OUT/empty.ttf"
good=$TTF/LiberationSans-Regular.ttf
while IFS='|' read -r status message font size; do
    [ -n "$status" ] || continue
    rm -f "$OUT/x.fnt" "$OUT/x.fnt.tmp"
    err=$("$MKFONT" "$font" "$size" "$OUT/x.fnt" 2>&1 >/dev/null)
    rc=$?
    expect "mkfont '$font' '$size' status" "$rc" "$status"
    case $err in *"$message"*) ;; *) fail "mkfont '$font' '$size': message '$err' lacks '$message'" ;; esac
    [ ! -e "$OUT/x.fnt" ] && [ ! -e "$OUT/x.fnt.tmp" ] || fail "mkfont '$font' '$size' left a file behind"
done <<EOF
1|cannot open font '$OUT/missing.ttf': No such file|$OUT/missing.ttf|14
1|not a font FreeType can read|$OUT/text.ttf|14
1|not a font FreeType can read|$OUT/empty.ttf|14
2|bad pixel size 'abc'|$good|abc
2|bad pixel size '0'|$good|0
2|bad pixel size '3'|$good|3
2|bad pixel size '256'|$good|256
2|bad pixel size '14px'|$good|14px
2|bad pixel size '-14'|$good|-14
2|bad pixel size ''|$good|
EOF
err=$("$MKFONT" "$good" 14 "$OUT/no/such/dir/x.fnt" 2>&1 >/dev/null)
expect "mkfont into a missing folder status" "$?" 1
case $err in *"cannot write"*) ;; *) fail "mkfont into a missing folder: message '$err'" ;; esac
for args in "" "$good" "$good 14" "$good 14 $OUT/a.fnt extra"; do
    # shellcheck disable=SC2086
    err=$("$MKFONT" $args 2>&1 >/dev/null)
    expect "mkfont with arguments '$args' status" "$?" 2
    case $err in usage:*) ;; *) fail "mkfont with arguments '$args': message '$err'" ;; esac
done
[ ! -e "$OUT/a.fnt" ] || fail "mkfont with too many arguments wrote a file"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "mkfont: all checks passed"
