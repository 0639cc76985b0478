# shellcheck shell=bash
# The typical update run's fixture and checks, shared by wine_wizard.sh and native_wizard.sh.
# Source it after lib.sh and kv_init:
#
#   kv_wizard_game DIR [quick-start]    installation at the old version
#   kv_wizard_update DIR FONTS NATIVE   update folder: update.dat, readme files, fonts
#   kv_wizard_atlas KVATLAS FONTS VERSION    pages and the layout of page 0 in English
#   kv_wizard_button KIND ID            centre of that widget on page 0
#   kv_wizard_check_game DIR            the eighteen files are the new ones, no quick-start
#                                       file and nothing else left over
#
# Variables set here (read them, do not assign them):
#   KV_WIZARD_NEW     folder with the eighteen new files as packed
#   KV_WIZARD_ATLAS   folder with kvatlas's page-<page>-<language>.png
#   KV_WIZARD_X, KV_WIZARD_Y   what kv_wizard_button found

# The eighteen files in package order, each with its folder in the installation ("" for the
# top, "data" for the data folder).
KV_WIZARD_FILES=(kv9900.exe euro.cfg events_eng.cfg events_fra.cfg events_ita.cfg events_por.cfg
    events_nor.cfg events_spa.cfg events_swe.cfg eng.lng esp.lng fra.lng ita.lng nor.lng
    por.lng swe.lng language.ldb changes.txt)
KV_WIZARD_NEW=
KV_WIZARD_ATLAS=
KV_WIZARD_X=
KV_WIZARD_Y=

# kv_wizard_folder NAME - the file's folder inside the installation.
kv_wizard_folder() {
    case $1 in
    kv9900.exe | changes.txt) printf '' ;;
    *) printf 'data' ;;
    esac
}

# kv_wizard_game DIR [quick-start] - an installation at 3.72: the eighteen old files and
# readme.txt, with "quick-start" also two quick-start files (qstart/*.qst), which make the
# wizard ask whether to delete them before the completed page. The old files are longer than
# the new ones (a replacement that kept an old tail shows) and kv9900.exe is read-only, as an
# installer may leave it.
kv_wizard_game() {
    local dir=$1 quick=${2:-} f folder
    mkdir -p "$dir/data" || kv_fail "cannot make the installation in $dir"
    for f in "${KV_WIZARD_FILES[@]}"; do
        folder=$(kv_wizard_folder "$f")
        { printf 'Kickvale 99/00 3.72: %s\r\n' "$f"; head -c 3000 /dev/zero | tr '\0' 'o'; } \
            >"$dir/${folder:+$folder/}$f"
    done
    head -c 90000 /dev/urandom >"$dir/kv9900.exe"
    chmod a-w "$dir/kv9900.exe"
    printf 'Kickvale 99/00 readme\r\n' >"$dir/readme.txt"
    cp "$dir/readme.txt" "$KV_TMP/old-readme.txt"
    [ "$quick" = quick-start ] || return 0
    mkdir -p "$dir/qstart" || kv_fail "cannot make $dir/qstart"
    for f in league cup; do printf 'quick start %s\r\n' "$f" >"$dir/qstart/$f.qst"; done
}

# kv_wizard_update DIR FONTS NATIVE - the update folder: update.dat packed by the native
# program (NATIVE -pack, without a display, in a folder of its own, so that the update folder
# holds the package and not the loose files), the seven readme files and the fonts.
# kv9900.exe spans more than one 64 KiB copy chunk, euro.cfg holds the bytes a text-mode copy
# would change (CR LF, a lone LF, Ctrl-Z, NUL, high bytes), events_nor.cfg is empty.
kv_wizard_update() {
    local dir=$1 fonts=$2 native=$3 f i=0 language status
    KV_WIZARD_NEW=$KV_TMP/new
    mkdir -p "$KV_WIZARD_NEW" "$dir" || kv_fail "cannot make the update folder $dir"
    head -c 70001 /dev/urandom >"$KV_WIZARD_NEW/kv9900.exe"
    printf 'line one\r\nline two\nend\032after ctrl-z\000nul\377\200\r\r\n' >"$KV_WIZARD_NEW/euro.cfg"
    : >"$KV_WIZARD_NEW/events_nor.cfg"
    for f in "${KV_WIZARD_FILES[@]}"; do
        i=$((i + 1))
        [ -e "$KV_WIZARD_NEW/$f" ] && continue
        { printf 'Kickvale 99/00 3.73: %s\r\n' "$f"; for _ in $(seq "$i"); do printf ' %d\r\n' "$i"; done; } \
            >"$KV_WIZARD_NEW/$f"
    done
    (cd "$KV_WIZARD_NEW" && env -u DISPLAY -u WAYLAND_DISPLAY timeout -k 5 30 "$native" -pack) \
        >"$KV_ARTIFACTS/pack.out" 2>"$KV_ARTIFACTS/pack.err"
    status=$?
    [ "$status" -eq 0 ] && [ -s "$KV_WIZARD_NEW/update.dat" ] ||
        kv_fail "packing the update: status $status, no update.dat (stderr: $KV_ARTIFACTS/pack.err)"
    mv "$KV_WIZARD_NEW/update.dat" "$dir/update.dat"
    for language in eng esp fra ita nor por sve; do
        printf 'Kickvale 99/00 3.73 readme (%s)\r\n' "$language" >"$dir/readme_$language.txt"
    done
    cp "$fonts"/*.fnt "$dir/" || kv_fail "cannot copy the fonts from $fonts"
}

# kv_wizard_atlas KVATLAS FONTS VERSION - every page as the program draws it with these fonts
# and VERSION as the installed version, into KV_WIZARD_ATLAS, and the widgets of page 0 in
# English into $KV_WIZARD_ATLAS/layout.txt.
kv_wizard_atlas() {
    local atlas=$1 fonts=$2 version=$3 status
    KV_WIZARD_ATLAS=$KV_TMP/atlas
    mkdir -p "$KV_WIZARD_ATLAS"
    "$atlas" --version "$version" --layout 0 0 "$KV_WIZARD_ATLAS" "$fonts" \
        >"$KV_WIZARD_ATLAS/out.txt" 2>"$KV_ARTIFACTS/atlas.err"
    status=$?
    # Status 1 only reports texts too wide for their boxes; the pages are written all the same.
    [ "$status" -le 1 ] || kv_fail "kvatlas failed with status $status (stderr: $KV_ARTIFACTS/atlas.err)"
    grep '^slot ' "$KV_WIZARD_ATLAS/out.txt" >"$KV_WIZARD_ATLAS/layout.txt"
    cp "$KV_WIZARD_ATLAS/layout.txt" "$KV_ARTIFACTS/"
}

# kv_wizard_button KIND ID - KV_WIZARD_X, KV_WIZARD_Y: the centre of page 0's widget of that
# kind and id (KIND_LANGUAGE is 1, its id the language), from kvatlas's layout.
kv_wizard_button() {
    local want_kind=$1 want_id=$2 tag slot kind id x y width height text
    while read -r tag slot kind id x y width height text; do
        [ "$tag" = slot ] && [ "$kind" = "$want_kind" ] && [ "$id" = "$want_id" ] || continue
        KV_WIZARD_X=$((x + width / 2))
        KV_WIZARD_Y=$((y + height / 2))
        kv_log "slot $slot '$text': ${width}x$height at ($x,$y), clicking ($KV_WIZARD_X,$KV_WIZARD_Y)"
        return 0
    done <"$KV_WIZARD_ATLAS/layout.txt"
    kv_fail "page 0 has no widget of kind $want_kind with id $want_id (layout: $KV_ARTIFACTS/layout.txt)"
}

# kv_wizard_check_game DIR - every one of the eighteen files in the installation equals the
# one packed; readme.txt is untouched; there is no quick-start file (none was made, or the
# wizard deleted them) and no temporary file.
kv_wizard_check_game() {
    local dir=$1 f folder path left
    for f in "${KV_WIZARD_FILES[@]}"; do
        folder=$(kv_wizard_folder "$f")
        path=$dir/${folder:+$folder/}$f
        [ -f "$path" ] || kv_fail "the installation has no ${folder:+$folder/}$f after the update"
        cmp -s "$KV_WIZARD_NEW/$f" "$path" ||
            kv_fail "${folder:+$folder/}$f is not the new file: $(cmp "$KV_WIZARD_NEW/$f" "$path" 2>&1 | head -n 1)"
    done
    cmp -s "$KV_TMP/old-readme.txt" "$dir/readme.txt" || kv_fail "the update changed readme.txt"
    left=$(find "$dir" -name '*.qst' | head -n 5)
    [ -z "$left" ] || kv_fail "quick-start files are left: $left"
    left=$(find "$dir" -name '*.kvnew' | head -n 5)
    [ -z "$left" ] || kv_fail "temporary files left in the installation: $left"
    left=$(find "$dir" -type f | wc -l)
    [ "$left" -eq 19 ] ||
        kv_fail "the installation holds $left files, not the eighteen and readme.txt: $(find "$dir" -type f)"
    kv_log "the eighteen files are the new ones; readme.txt unchanged; no quick-start or temporary file"
}
