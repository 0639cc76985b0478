#!/bin/bash
# The typical update run of the Linux program (SDL window) on a virtual X display, driven as
# a player drives it.
#
#   bash tests/e2e/native_wizard.sh <kvupdate> <fonts dir> <kvatlas> <kv_fbcompare>
#
# An installation at Version 3.72 (ENG) with two old quick-start files in a temporary folder,
# recorded in a registry store of its own (KVUPDATE_REGISTRY: a folder per key, a file per
# value holding its text and a zero), and an update folder with update.dat, the readme files
# and the fonts. The program is started in the update folder, and then:
# 1. its window "Kickvale 99/00 Update" shows page 0 as kvatlas draws it;
# 2. a click on "Install in English" (where kvatlas's layout puts it) shows page 2 with the
#    installed version read from the store;
# 3. Return starts the update; at its end the quick-start files are offered for deletion
#    (page 7);
# 4. Return (Yes) deletes them and shows page 4, "Update completed";
# 5. Return (Finish) opens the installation's readme.txt (SDL hands its file: URL to
#    xdg-open; a stand-in on PATH records it) and ends the program with status 0;
# 6. the eighteen files of the installation are the packed ones, the quick-start files are
#    gone, nothing else changed, no temporary file is left, and the store's Version file holds
#    the new version and its zero.
# Exit status 77 when Xvfb, xdotool, ImageMagick or an input is missing (skipped).

. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wizard_common.sh"

kv_init native_wizard

EXE=$1
FONTS=$2
ATLAS=$3
COMPARE=$4
if [ -z "$EXE" ] || [ -z "$FONTS" ] || [ -z "$ATLAS" ] || [ -z "$COMPARE" ]; then
    echo "usage: $0 <kvupdate> <fonts dir> <kvatlas> <kv_fbcompare>" >&2
    exit 2
fi
kv_require Xvfb xdotool xdpyinfo xwininfo import cmp
for tool in "$EXE" "$ATLAS" "$COMPARE"; do
    [ -x "$tool" ] || kv_skip "no program at $tool (build the native preset)"
done
kv_require_fonts "$FONTS" native
kv_absolute EXE ATLAS COMPARE

OLD_VERSION='Version 3.72 (ENG)'
NEW_VERSION='Version 3.73 (ENG,ESP,FRA,ITA,NOR,POR,SVE)'
TITLE='Kickvale 99/00 Update'

# --- the installation, its record and the update -----------------------------------------------
GAME=$KV_TMP/game
kv_wizard_game "$GAME" quick-start
UPDATE=$KV_TMP/update
kv_wizard_update "$UPDATE" "$FONTS" "$EXE"
export KVUPDATE_REGISTRY=$KV_TMP/registry
KEY="$KVUPDATE_REGISTRY/Software/Brightfold Ltd/Kickvale 99-00"
mkdir -p "$KEY"
printf '%s\0' "$OLD_VERSION" >"$KEY/Version"
printf '%s\0' "$GAME" >"$KEY/Location"
kv_wizard_atlas "$ATLAS" "$FONTS" "$OLD_VERSION"

# The shell's stand-in: SDL opens a URL by running xdg-open from PATH.
OPENED=$KV_TMP/opened.txt
mkdir -p "$KV_TMP/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$OPENED" >"$KV_TMP/bin/xdg-open"
chmod +x "$KV_TMP/bin/xdg-open"
export PATH="$KV_TMP/bin:$PATH"

kv_start_xvfb
# SDL on the X display, whatever the caller's environment says.
export SDL_VIDEODRIVER=x11
unset WAYLAND_DISPLAY

# --- 1. page 0 -------------------------------------------------------------------------------
kv_native_start "$UPDATE" "$EXE"
WINDOW=$(kv_wait_window "$TITLE" 30) || exit 1
kv_wait_frame "$WINDOW" "$KV_WIZARD_ATLAS/page-0-0.png" "$COMPARE" 30

# --- 2. "Install in English": page 2 -----------------------------------------------------------
kv_wizard_button 1 0
kv_click "$WINDOW" "$KV_WIZARD_X" "$KV_WIZARD_Y"
kv_wait_frame "$WINDOW" "$KV_WIZARD_ATLAS/page-2-0.png" "$COMPARE" 30

# --- 3. Return: the update runs; the quick-start question ----------------------------------------
kv_key "$WINDOW" Return
kv_wait_frame "$WINDOW" "$KV_WIZARD_ATLAS/page-7-0.png" "$COMPARE" 60
[ "$(tr -d '\0' <"$KEY/Version")" = "$NEW_VERSION" ] ||
    kv_fail "the store's Version is not the new one when the quick-start question comes"

# --- 4. Return: Yes ----------------------------------------------------------------------------
kv_key "$WINDOW" Return
kv_wait_frame "$WINDOW" "$KV_WIZARD_ATLAS/page-4-0.png" "$COMPARE" 30

# --- 5. Return: Finish -----------------------------------------------------------------------
kv_close_with_key "$WINDOW" Return 30
# SDL waits for its helper only until xdg-open has been started.
deadline=$((SECONDS + 10))
while [ ! -s "$OPENED" ] && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
[ -s "$OPENED" ] || kv_fail "Finish opened nothing (xdg-open was not run)"
[ "$(cat "$OPENED")" = "file://$GAME/readme.txt" ] ||
    kv_fail "Finish opened '$(cat "$OPENED")', expected file://$GAME/readme.txt"
kv_log "Finish opened $(cat "$OPENED")"

# --- 6. the installation and the store ---------------------------------------------------------
kv_wizard_check_game "$GAME"
printf '%s\0' "$NEW_VERSION" >"$KV_TMP/new-version"
cmp -s "$KV_TMP/new-version" "$KEY/Version" ||
    kv_fail "the store's Version holds '$(tr '\0' '@' <"$KEY/Version")', expected '$NEW_VERSION' and a zero"
printf '%s\0' "$GAME" >"$KV_TMP/location"
cmp -s "$KV_TMP/location" "$KEY/Location" || kv_fail "the store's Location changed"
kv_log "the store's Version is '$NEW_VERSION' with its zero; Location unchanged"

kv_log "all checks passed"
exit 0
