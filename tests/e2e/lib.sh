# shellcheck shell=bash
# Helpers for the end-to-end tests that run the program on a virtual X display: the Windows
# build under Wine, the Linux build directly. Source it from a test script:
#
#   . "$(dirname "$0")/lib.sh"
#   kv_init wine_pack                 # temp dirs, EXIT trap
#   kv_require wine Xvfb xdotool      # exit 77 (skipped) when a tool is missing
#   kv_start_xvfb
#   kv_make_prefix
#   kv_wine_start "$dir" "$exe" -pack
#   kv_answer_box Setup
#   kv_wait_exit 30
#
# Every wait is bounded. A wait that runs out prints what was on the screen (the X window
# tree and a screenshot path) and calls kv_fail, which ends the test with status 1.
# Only processes started here are ever stopped, each by its own process id; the Wine
# server is stopped through our own prefix only.
#
# Variables the helpers set (read them, do not assign them):
#   KV_TMP        work directory of this run, removed on exit
#   KV_ARTIFACTS  screenshots and logs; kept on failure (or when KV_KEEP_ARTIFACTS=1)
#   KV_DISPLAY    ":N" of our Xvfb; DISPLAY is exported to it
#   WINEPREFIX    our prefix (exported together with WINEDEBUG and WINEDLLOVERRIDES)
#   KV_PID        process id of the program started last by kv_wine_start / kv_native_start
#   KV_STATUS     exit status found by the last kv_wait_exit

KV_SKIP=77

KV_NAME=e2e
KV_TMP=
KV_ARTIFACTS=
KV_DISPLAY=
KV_XVFB_PID=
KV_PREFIX=
KV_PID=
KV_STATUS=
KV_STARTED_PIDS=()
KV_BOXTEXT=

# kv_log TEXT... - progress line on stderr, prefixed with the test's name.
kv_log() {
    echo "[$KV_NAME] $*" >&2
}

# kv_fail TEXT... - report a failed check and end the test with status 1. Cleanup runs from
# the EXIT trap and keeps the artifacts.
kv_fail() {
    echo "[$KV_NAME] FAIL: $*" >&2
    exit 1
}

# kv_skip TEXT... - the test cannot run here; end with status 77, which ctest reports as
# skipped when the test has SKIP_RETURN_CODE 77.
kv_skip() {
    echo "[$KV_NAME] SKIPPED: $*" >&2
    exit "$KV_SKIP"
}

# kv_require TOOL... - skip the test unless every tool is on PATH.
kv_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || kv_skip "'$tool' is not installed"
    done
}

# kv_init NAME - make the work and artifact directories and register kv_cleanup on exit.
# Call it before any other helper.
kv_init() {
    KV_NAME=${1:-e2e}
    KV_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kv-$KV_NAME.XXXXXX") || { echo "mktemp failed" >&2; exit 1; }
    KV_ARTIFACTS=$(mktemp -d "${TMPDIR:-/tmp}/kv-$KV_NAME-artifacts.XXXXXX") ||
        { echo "mktemp failed" >&2; exit 1; }
    trap kv_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# kv_cleanup - EXIT trap: stop the programs we started (by pid), our prefix's wineserver and
# our Xvfb (by pid), then remove the work directory. The artifacts stay when the test failed.
kv_cleanup() {
    local status=$?
    local pid tries
    trap - EXIT INT TERM
    for pid in "${KV_STARTED_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    if [ -n "$KV_PREFIX" ] && [ -d "$KV_PREFIX" ]; then
        WINEPREFIX=$KV_PREFIX timeout 20 wineserver -k >/dev/null 2>&1
        WINEPREFIX=$KV_PREFIX timeout 20 wineserver -w >/dev/null 2>&1
    fi
    for pid in "${KV_STARTED_PIDS[@]}"; do
        tries=0
        while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 50 ]; do
            sleep 0.1
            tries=$((tries + 1))
        done
        kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    if [ -n "$KV_XVFB_PID" ]; then
        kill "$KV_XVFB_PID" 2>/dev/null
        wait "$KV_XVFB_PID" 2>/dev/null
    fi
    [ -n "$KV_TMP" ] && rm -rf "$KV_TMP"
    if [ -n "$KV_ARTIFACTS" ] && [ -d "$KV_ARTIFACTS" ]; then
        if [ "$status" -eq 0 ] || [ "$status" -eq "$KV_SKIP" ]; then
            if [ "${KV_KEEP_ARTIFACTS:-0}" = 1 ]; then
                echo "[$KV_NAME] artifacts kept in $KV_ARTIFACTS" >&2
            else
                rm -rf "$KV_ARTIFACTS"
            fi
        else
            echo "[$KV_NAME] screenshots and logs are in $KV_ARTIFACTS" >&2
        fi
    fi
    exit "$status"
}

# kv_start_xvfb - start Xvfb on a free display (1024x768, 24 bits, no TCP), wait until it
# answers and export DISPLAY. A display counts as free when it has no lock file and no
# socket; if another server takes it first, the next number is tried.
kv_start_xvfb() {
    local n tries=0 waited
    n=$((90 + RANDOM % 400))
    while [ "$tries" -lt 20 ]; do
        tries=$((tries + 1))
        n=$((n + 1))
        if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then
            continue
        fi
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$KV_ARTIFACTS/xvfb-$n.log" 2>&1 &
        KV_XVFB_PID=$!
        waited=0
        while [ "$waited" -lt 100 ]; do          # 100 x 0.1 s
            if ! kill -0 "$KV_XVFB_PID" 2>/dev/null; then
                break                             # lost the race for :n, or failed
            fi
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                KV_DISPLAY=":$n"
                export DISPLAY=$KV_DISPLAY
                kv_log "Xvfb on $KV_DISPLAY (pid $KV_XVFB_PID)"
                return 0
            fi
            sleep 0.1
            waited=$((waited + 1))
        done
        if kill -0 "$KV_XVFB_PID" 2>/dev/null; then
            kill "$KV_XVFB_PID" 2>/dev/null
        fi
        wait "$KV_XVFB_PID" 2>/dev/null
        KV_XVFB_PID=
    done
    kv_fail "could not start Xvfb (logs: $KV_ARTIFACTS/xvfb-*.log)"
}

# kv_make_prefix - make a fresh Wine prefix in the work directory and export it with
# WINEDEBUG=-all and the overrides that skip the Mono and Gecko installers. Waits until the
# prefix's wineserver has exited, so the first test program meets a settled prefix.
# Needs kv_start_xvfb first (wineboot opens windows).
kv_make_prefix() {
    KV_PREFIX=$KV_TMP/prefix
    export WINEPREFIX=$KV_PREFIX
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    local start=$SECONDS
    if ! timeout 120 wine wineboot -i >"$KV_ARTIFACTS/wineboot.log" 2>&1; then
        kv_fail "wine wineboot -i failed or took over 120 s (log: $KV_ARTIFACTS/wineboot.log)"
    fi
    if ! timeout 60 wineserver -w; then
        kv_fail "the prefix's wineserver did not settle within 60 s"
    fi
    kv_log "Wine prefix ready in $((SECONDS - start)) s"
}

# kv_wine_start DIR EXE [ARG...] - start EXE under Wine in the background with DIR as its
# current directory. Its stdout and stderr go to $KV_ARTIFACTS/run-N.log. Sets KV_PID.
kv_wine_start() {
    local dir=$1 exe=$2
    shift 2
    local log="$KV_ARTIFACTS/run-$((${#KV_STARTED_PIDS[@]} + 1)).log"
    (cd "$dir" && exec wine "$exe" "$@") >"$log" 2>&1 &
    KV_PID=$!
    KV_STARTED_PIDS+=("$KV_PID")
    kv_log "started wine $(basename "$exe") $* in $dir (pid $KV_PID, log $log)"
}

# kv_native_start DIR EXE [ARG...] - as kv_wine_start, for a Linux program.
kv_native_start() {
    local dir=$1 exe=$2
    shift 2
    local log="$KV_ARTIFACTS/run-$((${#KV_STARTED_PIDS[@]} + 1)).log"
    (cd "$dir" && exec "$exe" "$@") >"$log" 2>&1 &
    KV_PID=$!
    KV_STARTED_PIDS+=("$KV_PID")
    kv_log "started $(basename "$exe") $* in $dir (pid $KV_PID, log $log)"
}

# kv_wait_exit TIMEOUT [PID] - wait up to TIMEOUT seconds for the program (default KV_PID)
# to end; sets KV_STATUS to its exit status. Fails with the screen's state when it is still
# running.
kv_wait_exit() {
    local timeout=$1 pid=${2:-$KV_PID}
    local deadline=$((SECONDS + timeout))
    while kill -0 "$pid" 2>/dev/null; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            kv_diagnose "exit-timeout"
            kv_fail "program (pid $pid) still running after $timeout s"
        fi
        sleep 0.1
    done
    wait "$pid"
    # shellcheck disable=SC2034 # read by the test scripts
    KV_STATUS=$?
}

# kv_running [PID] - true while the program (default KV_PID) is still running.
kv_running() {
    kill -0 "${1:-$KV_PID}" 2>/dev/null
}

# kv_regex_quote TEXT - TEXT with the regular-expression metacharacters escaped.
kv_regex_quote() {
    printf '%s' "$1" | sed 's/[][\.*^$+?(){}|/]/\\&/g'
}

# kv_find_window NAME - print the id of a mapped X window named exactly NAME, if there is
# one (the first one); status 1 when there is none. Does not wait.
kv_find_window() {
    local ids
    ids=$(xdotool search --onlyvisible --name "^$(kv_regex_quote "$1")\$" 2>/dev/null) || return 1
    [ -n "$ids" ] || return 1
    printf '%s\n' "$ids" | head -n 1
}

# kv_wait_window NAME TIMEOUT - wait up to TIMEOUT seconds for a mapped X window named
# exactly NAME and print its id. Wine names the X window of a top-level window or message
# box by its caption. Fails with the screen's state when none appears, or at once when the
# program started last has ended without showing it.
kv_wait_window() {
    local name=$1 timeout=$2 id
    local deadline=$((SECONDS + timeout))
    while :; do
        if id=$(kv_find_window "$name"); then
            printf '%s\n' "$id"
            return 0
        fi
        if [ -n "$KV_PID" ] && ! kv_running "$KV_PID"; then
            # One last look: the window may have come up just before the program ended.
            id=$(kv_find_window "$name") && { printf '%s\n' "$id"; return 0; }
            kv_diagnose "no-window"
            kv_fail "the program ended without showing a window named '$name'"
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            kv_diagnose "no-window"
            kv_fail "no window named '$name' within $timeout s"
        fi
        sleep 0.1
    done
}

# kv_window_gone ID TIMEOUT - wait up to TIMEOUT seconds for window ID to be destroyed or
# unmapped; status 1 (no failure) when it is still there.
kv_window_gone() {
    local id=$1 timeout=$2
    local deadline=$((SECONDS + timeout))
    while :; do
        if ! xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            return 0
        fi
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

# kv_key WINDOW KEY... - focus the window, let the focus arrive, then send the keys.
kv_key() {
    local id=$1
    shift
    timeout 5 xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
    sleep 0.2
    xdotool key --clearmodifiers "$@"
}

# kv_click WINDOW X Y - left click at client coordinates X,Y as a person clicks: move
# there, press, hold about 0.15 s, release. The program reads the button once per step, so
# a press and release in one go could be missed.
kv_click() {
    local id=$1 x=$2 y=$3
    xdotool mousemove --window "$id" "$x" "$y"
    sleep 0.1
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
}

# kv_screenshot WINDOW FILE - save the window's client area as an image (ImageMagick);
# WINDOW may be "root" for the whole screen. Status 1 when it could not be taken.
kv_screenshot() {
    command -v import >/dev/null 2>&1 || return 1
    timeout 20 import -display "$KV_DISPLAY" -window "$1" "$2" 2>/dev/null
}

# kv_diagnose LABEL - print the X window tree and save a screenshot of the whole screen as
# $KV_ARTIFACTS/LABEL-N.png, for the log of a failed wait.
kv_diagnose() {
    local label=$1 shot
    shot="$KV_ARTIFACTS/$label-$SECONDS.png"
    echo "[$KV_NAME] --- X window tree on $KV_DISPLAY ---" >&2
    xwininfo -root -tree 2>&1 | sed -n '1,60p' >&2
    if kv_screenshot root "$shot"; then
        echo "[$KV_NAME] --- screenshot: $shot" >&2
    fi
    if [ -n "$KV_PID" ] && [ -s "$KV_ARTIFACTS/run-${#KV_STARTED_PIDS[@]}.log" ]; then
        echo "[$KV_NAME] --- output of the last program ---" >&2
        sed -n '1,40p' "$KV_ARTIFACTS/run-${#KV_STARTED_PIDS[@]}.log" >&2
    fi
}

# kv_build_boxtext - build tests/e2e/boxtext.c (reads a Wine message box's text) with
# mingw-w64 into the work directory. Status 1 when no compiler is installed or the build
# fails; kv_box_text then cannot be used.
kv_build_boxtext() {
    local src
    src="$(dirname "${BASH_SOURCE[0]}")/boxtext.c"
    command -v x86_64-w64-mingw32-gcc >/dev/null 2>&1 || return 1
    x86_64-w64-mingw32-gcc -O1 -Wall -o "$KV_TMP/boxtext.exe" "$src" >"$KV_ARTIFACTS/boxtext-build.log" 2>&1 ||
        return 1
    KV_BOXTEXT=$KV_TMP/boxtext.exe
}

# kv_box_text CAPTION - print the text of the open Wine message box with that caption.
# Needs kv_build_boxtext. Status 1 when the box is not found.
kv_box_text() {
    [ -n "$KV_BOXTEXT" ] || return 1
    timeout 30 wine "$KV_BOXTEXT" "$1" 2>/dev/null | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# kv_answer_box CAPTION [TIMEOUT] - wait for the message box with that caption (default 30
# s), save its picture as $KV_ARTIFACTS/box-CAPTION-N.png, read its text into KV_BOX_TEXT
# when kv_build_boxtext succeeded, and answer it with Return. Return is sent again if the
# box is still up after a few seconds (a key sent before the box has the focus is lost).
# Fails when the box does not appear or does not go away.
kv_answer_box() {
    local caption=$1 timeout=${2:-30} id try
    KV_BOX_TEXT=
    id=$(kv_wait_window "$caption" "$timeout") || exit 1
    sleep 0.3
    KV_BOX_SHOT="$KV_ARTIFACTS/box-$caption-${#KV_STARTED_PIDS[@]}.png"
    kv_screenshot "$id" "$KV_BOX_SHOT" || KV_BOX_SHOT=
    if [ -n "$KV_BOXTEXT" ]; then
        KV_BOX_TEXT=$(kv_box_text "$caption") || kv_fail "could not read the text of the '$caption' box"
        kv_log "box '$caption': $KV_BOX_TEXT"
    fi
    for try in 1 2 3; do
        kv_key "$id" Return
        if kv_window_gone "$id" 5; then
            return 0
        fi
        kv_log "box '$caption' still open after Return (try $try)"
    done
    kv_diagnose "box-stuck"
    kv_fail "the '$caption' box did not close on Return"
}

# kv_wait_file PATH TIMEOUT - wait up to TIMEOUT seconds for the file to exist. Fails with the
# screen's state when it does not, or at once when the program started last has ended.
kv_wait_file() {
    local path=$1 timeout=$2
    local deadline=$((SECONDS + timeout))
    while [ ! -e "$path" ]; do
        if [ -n "$KV_PID" ] && ! kv_running "$KV_PID"; then
            [ -e "$path" ] && return 0
            kv_diagnose "no-file"
            kv_fail "the program ended without writing $(basename "$path")"
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            kv_diagnose "no-file"
            kv_fail "no $(basename "$path") within $timeout s"
        fi
        sleep 0.1
    done
}

# kv_window_geometry ID - the window's place on the screen and its size from xwininfo, in
# KV_WIN_X, KV_WIN_Y (absolute upper-left), KV_WIN_W and KV_WIN_H. Fails when xwininfo
# cannot tell.
kv_window_geometry() {
    local info
    info=$(xwininfo -id "$1" 2>&1) || kv_fail "xwininfo -id $1 failed: $info"
    KV_WIN_X=$(printf '%s\n' "$info" | sed -n 's/^ *Absolute upper-left X: *\(-\{0,1\}[0-9]*\)$/\1/p')
    KV_WIN_Y=$(printf '%s\n' "$info" | sed -n 's/^ *Absolute upper-left Y: *\(-\{0,1\}[0-9]*\)$/\1/p')
    KV_WIN_W=$(printf '%s\n' "$info" | sed -n 's/^ *Width: *\([0-9]*\)$/\1/p')
    KV_WIN_H=$(printf '%s\n' "$info" | sed -n 's/^ *Height: *\([0-9]*\)$/\1/p')
    [ -n "$KV_WIN_X" ] && [ -n "$KV_WIN_Y" ] && [ -n "$KV_WIN_W" ] && [ -n "$KV_WIN_H" ] ||
        kv_fail "could not read the geometry of window $1 from: $info"
}

# kv_match_frame WINDOW FRAME COMPARE - the window's client area, screenshot with import,
# equals the frame-buffer file FRAME (kvfb) pixel for pixel in 5 bits per channel, as
# kv_fbcompare (COMPARE) judges. The screenshot, the comparison's report and a picture of
# the differing pixels go to the artifacts. A program may have presented its frame a moment
# before the X server has drawn it, so a differing screenshot is taken again a few times
# over about two seconds; the last comparison decides.
kv_match_frame() {
    local id=$1 frame=$2 compare=$3 try shot report
    for try in 1 2 3 4 5; do
        shot="$KV_ARTIFACTS/window-$try.png"
        report="$KV_ARTIFACTS/compare-$try.txt"
        kv_screenshot "$id" "$shot" || kv_fail "could not take a screenshot of window $id"
        if "$compare" --diff "$KV_ARTIFACTS/diff-$try.png" "$frame" "$shot" >"$report" 2>&1; then
            kv_log "screenshot $try matches the frame buffer: $(tail -n 1 "$report")"
            return 0
        fi
        kv_log "screenshot $try differs from the frame buffer: $(tail -n 1 "$report")"
        sleep 0.5
    done
    cp "$frame" "$KV_ARTIFACTS/"
    sed 's/^/    /' "$report" >&2
    kv_fail "the window does not show the frame buffer (screenshot $shot, differences $KV_ARTIFACTS/diff-$try.png)"
}

# kv_close_with_key WINDOW KEY TIMEOUT - send KEY to the window; the program started last
# must end within TIMEOUT seconds with status 0 and its window must be gone.
kv_close_with_key() {
    local id=$1 key=$2 timeout=$3
    kv_key "$id" "$key"
    kv_wait_exit "$timeout"
    [ "$KV_STATUS" -eq 0 ] || kv_fail "after $key the program ended with status $KV_STATUS, expected 0"
    kv_window_gone "$id" 5 || kv_fail "the program ended but its window $id is still shown"
}

# kv_wait_frame WINDOW FRAME COMPARE TIMEOUT - wait up to TIMEOUT seconds for the window's
# client area to show FRAME (a .kvfb file, or a PNG such as a kvatlas page) pixel for pixel
# in 5 bits per channel, as kv_fbcompare (COMPARE) judges. For a page that comes after some
# work of the program's: the screenshot is taken again until it matches. Fails with the last
# screenshot, its comparison and a picture of the differences when it never does, or at once
# when the program started last has ended.
kv_wait_frame() {
    local id=$1 frame=$2 compare=$3 timeout=$4 shot report label
    local deadline=$((SECONDS + timeout)) try=0
    label=$(basename "$frame")
    label=${label%.*}
    while :; do
        try=$((try + 1))
        shot="$KV_ARTIFACTS/$label-shot.png"
        report="$KV_ARTIFACTS/$label-compare.txt"
        if kv_screenshot "$id" "$shot" &&
            "$compare" --diff "$KV_ARTIFACTS/$label-diff.png" "$frame" "$shot" >"$report" 2>&1; then
            kv_log "the window shows $label (screenshot $try): $(tail -n 1 "$report")"
            return 0
        fi
        if [ -n "$KV_PID" ] && ! kv_running "$KV_PID"; then
            kv_diagnose "frame-$label"
            kv_fail "the program ended before its window showed $label"
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            cp "$frame" "$KV_ARTIFACTS/" 2>/dev/null
            [ -f "$report" ] && sed 's/^/    /' "$report" >&2
            kv_diagnose "frame-$label"
            kv_fail "the window did not show $label within $timeout s (last screenshot $shot," \
                "differences $KV_ARTIFACTS/$label-diff.png)"
        fi
        sleep 0.3
    done
}

# kv_require_fonts DIR PRESET - skip (77) unless DIR holds the seven .fnt files that the
# PRESET build makes.
kv_require_fonts() {
    local files=("$1"/*.fnt)
    [ "${#files[@]}" -eq 7 ] && [ -f "${files[0]}" ] ||
        kv_skip "the seven .fnt files are not in $1 (build the $2 preset)"
}

# kv_absolute VAR... - makes each named variable's file path absolute, so it still names
# the same file after the script changes folder.
kv_absolute() {
    local var path
    for var in "$@"; do
        path=${!var}
        printf -v "$var" '%s/%s' "$(cd "$(dirname "$path")" && pwd)" "$(basename "$path")"
    done
}
