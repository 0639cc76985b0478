#!/bin/bash
# The typical update run of the Windows program under Wine, driven as a player drives it.
#
#   bash tests/e2e/wine_wizard.sh <kvupdate.exe> <fonts dir> <native kvupdate> <kvatlas> <kv_fbcompare>
#
# An installation at Version 3.72 (ENG) on the prefix's C: drive, recorded in the registry key
# HKLM\Software\Brightfold Ltd\Kickvale 99-00 (Version, Location), and an update folder with
# update.dat (packed by the native program), the readme files and the fonts. The program is
# started in the update folder, and then:
# 1. its window "Kickvale 99/00 Update" shows page 0 as kvatlas draws it;
# 2. a click on "Install in English" (where kvatlas's layout puts it) shows page 2 with the
#    installed version read from the registry;
# 3. Return starts the update, which ends on page 4, "Update completed";
# 4. Return (Finish) opens the installation's readme.txt with the shell and ends the program
#    with status 0 (a fresh prefix has no program for .txt files; the test gives them one
#    that copies the file it is given to C:\opened.txt, so what was opened can be checked);
# 5. the eighteen files of the installation are the packed ones, nothing else changed, no
#    temporary file is left, and the registry's Version holds the new version.
# Exit status 77 when Wine, Xvfb, xdotool, ImageMagick or an input is missing (skipped).

. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wizard_common.sh"

kv_init wine_wizard

EXE=$1
FONTS=$2
NATIVE=$3
ATLAS=$4
COMPARE=$5
if [ -z "$EXE" ] || [ -z "$FONTS" ] || [ -z "$NATIVE" ] || [ -z "$ATLAS" ] || [ -z "$COMPARE" ]; then
    echo "usage: $0 <kvupdate.exe> <fonts dir> <native kvupdate> <kvatlas> <kv_fbcompare>" >&2
    exit 2
fi
kv_require wine wineserver Xvfb xdotool xdpyinfo xwininfo import cmp
[ -f "$EXE" ] || kv_skip "no Windows program at $EXE (build it with the win64 preset)"
for tool in "$NATIVE" "$ATLAS" "$COMPARE"; do
    [ -x "$tool" ] || kv_skip "no program at $tool (build the native preset)"
done
kv_require_fonts "$FONTS" win64
kv_absolute EXE NATIVE ATLAS COMPARE

KEY='HKLM\Software\Brightfold Ltd\Kickvale 99-00'
OLD_VERSION='Version 3.72 (ENG)'
NEW_VERSION='Version 3.73 (ENG,ESP,FRA,ITA,NOR,POR,SVE)'
TITLE='Kickvale 99/00 Update'

# reg_version - the Version value of the installation key, as wine reg query shows it.
reg_version() {
    timeout 30 wine reg query "$KEY" /v Version 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *Version *REG_SZ *\(.*\)$/\1/p'
}

# --- the prefix, the installation and the update ----------------------------------------------
kv_start_xvfb
kv_make_prefix
GAME=$WINEPREFIX/drive_c/Games/KV9900
kv_wizard_game "$GAME"
UPDATE=$KV_TMP/update
kv_wizard_update "$UPDATE" "$FONTS" "$NATIVE"
timeout 30 wine reg add "$KEY" /v Version /t REG_SZ /d "$OLD_VERSION" /f >/dev/null 2>&1 &&
    timeout 30 wine reg add "$KEY" /v Location /t REG_SZ /d 'C:\Games\KV9900' /f >/dev/null 2>&1 ||
    kv_fail "cannot write the installation key with wine reg add"
[ "$(reg_version)" = "$OLD_VERSION" ] || kv_fail "the registry does not hold the old version: '$(reg_version)'"
# "Open" for a .txt file: copy it to C:\opened.txt.
timeout 30 wine reg add 'HKCR\.txt' /ve /d kvtest.txtfile /f >/dev/null 2>&1 &&
    timeout 30 wine reg add 'HKCR\kvtest.txtfile\shell\open\command' /ve \
        /d 'C:\windows\system32\cmd.exe /c copy "%1" C:\opened.txt' /f >/dev/null 2>&1 ||
    kv_fail "cannot register the .txt file type with wine reg add"
OPENED=$WINEPREFIX/drive_c/opened.txt
kv_wizard_atlas "$ATLAS" "$FONTS" "$OLD_VERSION"

# --- 1. page 0 -------------------------------------------------------------------------------
kv_wine_start "$UPDATE" "$EXE"
WINDOW=$(kv_wait_window "$TITLE" 60) || exit 1
kv_wait_frame "$WINDOW" "$KV_WIZARD_ATLAS/page-0-0.png" "$COMPARE" 30

# --- 2. "Install in English": page 2 -----------------------------------------------------------
kv_wizard_button 1 0
kv_click "$WINDOW" "$KV_WIZARD_X" "$KV_WIZARD_Y"
kv_wait_frame "$WINDOW" "$KV_WIZARD_ATLAS/page-2-0.png" "$COMPARE" 30

# --- 3. Return: the update runs to page 4 ------------------------------------------------------
kv_key "$WINDOW" Return
kv_wait_frame "$WINDOW" "$KV_WIZARD_ATLAS/page-4-0.png" "$COMPARE" 60

# --- 4. Return: Finish -----------------------------------------------------------------------
kv_close_with_key "$WINDOW" Return 30
# The shell runs the .txt program on its own; it may finish after the wizard has ended.
deadline=$((SECONDS + 30))
while [ ! -s "$OPENED" ] && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.2; done
[ -s "$OPENED" ] || kv_fail "Finish opened no .txt file within 30 s"
cmp -s "$OPENED" "$KV_TMP/old-readme.txt" ||
    kv_fail "Finish opened a file that is not the installation's readme.txt (copy: $OPENED)"
kv_log "Finish opened the installation's readme.txt"

# --- 5. the installation and the registry ------------------------------------------------------
kv_wizard_check_game "$GAME"
version=$(reg_version)
[ "$version" = "$NEW_VERSION" ] || kv_fail "the registry's Version is '$version', expected '$NEW_VERSION'"
kv_log "the registry's Version is '$version'"

kv_log "all checks passed"
exit 0
