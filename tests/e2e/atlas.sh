#!/usr/bin/env bash
# The page atlas as the maker runs it: 77 pages and the contact sheet from the wizard's own
# Render, nothing too wide with the real fonts, and too-wide texts reported with fonts that
# do not fit.
# Usage: atlas.sh <kvatlas> <mkfont> <liberation font folder>
set -u
atlas=$(readlink -f "$1")
mkfont=$(readlink -f "$2")
ttf=$3
work=$(mktemp -d /tmp/kv-atlas-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
command -v convert > /dev/null || { echo "SKIP: ImageMagick's convert is missing"; exit 77; }
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info: 2> /dev/null; }

mkdir "$work/pages"
"$atlas" "$work/pages" > "$work/out.txt" 2> "$work/err.txt"
status=$?
[ "$status" = 0 ] || { fail "kvatlas exited $status"; cat "$work/out.txt" "$work/err.txt"; }
[ -s "$work/out.txt" ] && { fail "texts too wide with the real fonts:"; cat "$work/out.txt"; }
count=$(ls "$work/pages"/page-*-*.png 2> /dev/null | wc -l)
[ "$count" = 77 ] || fail "$count pages written, not 77"
for page in 0 10; do for language in 0 6; do
    [ -s "$work/pages/page-$page-$language.png" ] || fail "page-$page-$language.png missing"
done; done
[ "$(identify -format '%wx%h' "$work/pages/page-2-4.png")" = 640x480 ] || fail "pages are not 640x480"
[ -s "$work/pages/atlas.png" ] || fail "no contact sheet"

# The background is blue 31 on the top row and 9 on the bottom row; the Exit button's face
# spans (540,440) to (620,460): its outer edge light at the top left, dark at the bottom right.
p=$work/pages/page-1-0.png
case "$(pixel "$p" 5 0)" in "srgb(0,0,255)") ;; *) fail "top row: $(pixel "$p" 5 0)";; esac
case "$(pixel "$p" 5 479)" in "srgb(0,0,74)") ;; *) fail "bottom row: $(pixel "$p" 5 479)";; esac
case "$(pixel "$p" 540 440)" in "srgb(255,255,255)") ;; *) fail "Exit face top left: $(pixel "$p" 540 440)";; esac
case "$(pixel "$p" 620 460)" in "srgb(66,66,66)") ;; *) fail "Exit face bottom right: $(pixel "$p" 620 460)";; esac
case "$(pixel "$p" 543 443)" in "srgb(206,206,206)") ;; *) fail "Exit face: $(pixel "$p" 543 443)";; esac
case "$(pixel "$p" 539 439)" in "srgb(0,0,"*) ;; *) fail "outside the Exit face: $(pixel "$p" 539 439)";; esac

# Fonts far too large for the layout: every overflow is listed and the status is 1.
mkdir "$work/big" "$work/bigpages"
for f in arial_narrow_10 arial_narrow_11 arial_14 arial_16 arial_18 trade_cond_24_bold trade_cond_28_bold; do
    "$mkfont" "$ttf/LiberationSans-Regular.ttf" 30 "$work/big/$f.fnt" || fail "mkfont $f"
done
"$atlas" "$work/bigpages" "$work/big" > "$work/bigout.txt" 2> /dev/null
status=$?
[ "$status" = 1 ] || fail "with oversized fonts kvatlas exited $status, not 1"
grep -q '^page 1 language 0: label "Unable to find KV99/00 installation" is [0-9]* px wide' "$work/bigout.txt" ||
    fail "a label past the frame is not reported"
grep -q '^page 2 language 6: button "Nästa >"' "$work/bigout.txt" ||
    fail "a button label wider than its button is not reported (texts are printed as UTF-8)"
[ "$(grep -c '^page ' "$work/bigout.txt")" -gt 20 ] || fail "too few overflows listed: $(wc -l < "$work/bigout.txt")"

# A missing font folder is a clear error.
"$atlas" "$work/pages" /nonexistent > /dev/null 2> "$work/nofonts.txt"
[ $? = 2 ] || fail "a missing font folder did not give status 2"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "atlas: all checks passed"
