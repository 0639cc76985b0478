#!/bin/bash
# The Windows drawing test program under Wine: what its window shows is its frame buffer.
#
#   bash tests/e2e/wine_frame.sh <kvframe.exe> <fonts dir> <kv_fbcompare>
#
# kvframe draws a fixed picture (every box mode, solid, dashed and clamped lines, text in the
# seven fonts), presents it, writes the frame buffer to frame.kvfb and the platform's window
# metrics to frame.txt, and waits for Escape.
# 1. The window "kvframe" has a 640x480 client area, placed where the fixed-size window goes:
#    the outer window (640 + 2 dialog frames wide, 480 + caption + top and bottom frames high)
#    centred on the work area's extent (one more than right - left, bottom - top), the client
#    area a frame in and a caption plus frame down from the outer corner.
# 2. A screenshot of the client area equals frame.kvfb pixel for pixel in 5 bits per channel.
# 3. Escape closes the window and the program ends with status 0.
# Exit status 77 when Wine, Xvfb, xdotool, ImageMagick or an input is missing (skipped).

. "$(dirname "$0")/lib.sh"

kv_init wine_frame

EXE=$1
FONTS=$2
COMPARE=$3
if [ -z "$EXE" ] || [ -z "$FONTS" ] || [ -z "$COMPARE" ]; then
    echo "usage: $0 <kvframe.exe> <fonts dir> <kv_fbcompare>" >&2
    exit 2
fi
kv_require wine wineserver Xvfb xdotool xdpyinfo xwininfo import
[ -f "$EXE" ] || kv_skip "no Windows program at $EXE (build it with the win64 preset)"
[ -x "$COMPARE" ] || kv_skip "no comparison tool at $COMPARE"
kv_require_fonts "$FONTS" win64
kv_absolute EXE

# metric NAME - the value kvframe wrote for NAME in frame.txt.
metric() {
    local value
    value=$(tr -d '\r' <"$RUN/frame.txt" | sed -n "s/^$1 \(-\{0,1\}[0-9]\{1,\}\)\$/\1/p")
    [ -n "$value" ] || kv_fail "frame.txt has no '$1' (it holds: $(tr '\r\n' '  ' <"$RUN/frame.txt"))"
    printf '%s\n' "$value"
}

kv_start_xvfb
kv_make_prefix

RUN=$KV_TMP/run
mkdir -p "$RUN"
cp "$FONTS"/*.fnt "$RUN/"
kv_wine_start "$RUN" "$EXE"
WINDOW=$(kv_wait_window kvframe 60) || exit 1
# frame.txt is written just before frame.kvfb.
kv_wait_file "$RUN/frame.kvfb" 60
cp "$RUN/frame.txt" "$KV_ARTIFACTS/"

# --- 1. placement ---------------------------------------------------------------------------
frame_x=$(metric cxdlgframe) || exit 1
frame_y=$(metric cydlgframe) || exit 1
caption=$(metric cycaption) || exit 1
work_left=$(metric workleft) || exit 1
work_top=$(metric worktop) || exit 1
work_right=$(metric workright) || exit 1
work_bottom=$(metric workbottom) || exit 1
kv_log "Wine: dialog frame ${frame_x}x${frame_y}, caption $caption," \
    "work area ($work_left,$work_top)-($work_right,$work_bottom)"
caption_top=$((caption + frame_y))
outer_w=$((640 + 2 * frame_x))
outer_h=$((480 + caption_top + frame_y))
work_w=$((work_right - work_left + 1))
work_h=$((work_bottom - work_top + 1))
# Bash division truncates towards zero, as the program's does.
want_x=$(((work_w - outer_w) / 2 + frame_x))
want_y=$(((work_h - outer_h) / 2 + caption_top))
kv_window_geometry "$WINDOW"
kv_log "client area ${KV_WIN_W}x${KV_WIN_H} at ($KV_WIN_X,$KV_WIN_Y), expected 640x480 at ($want_x,$want_y)"
[ "$KV_WIN_W" -eq 640 ] && [ "$KV_WIN_H" -eq 480 ] ||
    kv_fail "the client area is ${KV_WIN_W}x${KV_WIN_H}, expected 640x480"
[ "$KV_WIN_X" -eq "$want_x" ] && [ "$KV_WIN_Y" -eq "$want_y" ] ||
    kv_fail "the client area is at ($KV_WIN_X,$KV_WIN_Y), expected ($want_x,$want_y)" \
        "(outer ${outer_w}x${outer_h} centred on the ${work_w}x${work_h} work area)"

# --- 2. the picture -------------------------------------------------------------------------
kv_match_frame "$WINDOW" "$RUN/frame.kvfb" "$COMPARE"

# --- 3. Escape ------------------------------------------------------------------------------
kv_close_with_key "$WINDOW" Escape 30

kv_log "all checks passed"
exit 0
