#!/bin/bash
# The Linux drawing test program (SDL window) on a virtual X display: what its window shows
# is its frame buffer.
#
#   bash tests/e2e/native_frame.sh <kvframe> <fonts dir> <kv_fbcompare>
#
# kvframe draws a fixed picture (every box mode, solid, dashed and clamped lines, text in the
# seven fonts), presents it, writes the frame buffer to frame.kvfb and waits for Escape.
# 1. The window "kvframe" is 640x480 and, with no window manager and no frame around it,
#    centred on the screen: at ((screen width - 640) / 2, (screen height - 480) / 2).
# 2. A screenshot of the window equals frame.kvfb pixel for pixel in 5 bits per channel.
# 3. Escape closes the window and the program ends with status 0.
# Exit status 77 when Xvfb, xdotool, ImageMagick or an input is missing (skipped).

. "$(dirname "$0")/lib.sh"

kv_init native_frame

EXE=$1
FONTS=$2
COMPARE=$3
if [ -z "$EXE" ] || [ -z "$FONTS" ] || [ -z "$COMPARE" ]; then
    echo "usage: $0 <kvframe> <fonts dir> <kv_fbcompare>" >&2
    exit 2
fi
kv_require Xvfb xdotool xdpyinfo xwininfo import
[ -x "$EXE" ] || kv_skip "no native program at $EXE"
[ -x "$COMPARE" ] || kv_skip "no comparison tool at $COMPARE"
kv_require_fonts "$FONTS" native
kv_absolute EXE

kv_start_xvfb
# SDL on the X display, whatever the caller's environment says.
export SDL_VIDEODRIVER=x11
unset WAYLAND_DISPLAY

RUN=$KV_TMP/run
mkdir -p "$RUN"
cp "$FONTS"/*.fnt "$RUN/"
kv_native_start "$RUN" "$EXE"
WINDOW=$(kv_wait_window kvframe 30) || exit 1
kv_wait_file "$RUN/frame.kvfb" 30

# --- 1. placement ---------------------------------------------------------------------------
read -r screen_w screen_h < <(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
[ -n "$screen_w" ] && [ -n "$screen_h" ] || kv_fail "xdpyinfo does not tell the screen's size"
want_x=$(((screen_w - 640) / 2))
want_y=$(((screen_h - 480) / 2))
kv_window_geometry "$WINDOW"
kv_log "window ${KV_WIN_W}x${KV_WIN_H} at ($KV_WIN_X,$KV_WIN_Y), expected 640x480 at ($want_x,$want_y)" \
    "on the ${screen_w}x${screen_h} screen"
[ "$KV_WIN_W" -eq 640 ] && [ "$KV_WIN_H" -eq 480 ] ||
    kv_fail "the window is ${KV_WIN_W}x${KV_WIN_H}, expected 640x480"
[ "$KV_WIN_X" -eq "$want_x" ] && [ "$KV_WIN_Y" -eq "$want_y" ] ||
    kv_fail "the window is at ($KV_WIN_X,$KV_WIN_Y), expected ($want_x,$want_y)"

# --- 2. the picture -------------------------------------------------------------------------
kv_match_frame "$WINDOW" "$RUN/frame.kvfb" "$COMPARE"

# --- 3. Escape ------------------------------------------------------------------------------
kv_close_with_key "$WINDOW" Escape 30

kv_log "all checks passed"
exit 0
