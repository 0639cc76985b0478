#!/usr/bin/env bash
# Installs what is needed, builds the native program and runs its main job on a sample:
#   build/sample/game      an installation of the game at version 3.72 (a stand-in
#                          kv9900.exe, a data folder, changes.txt, quick-start files)
#   build/sample/update    the eighteen new files, packed into update.dat by
#                          `kvupdate -pack`, with the readme files and the fonts beside it
#   build/sample/registry  the Linux registry store holding the game's "Version" and
#                          "Location" (KVUPDATE_REGISTRY points the program at it)
# then starts the wizard in its window on it. Without a display it says so and renders
# every page with kvatlas instead.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset native > /dev/null
cmake --build --preset native --target kvupdate kvatlas kv_fonts

root=$(pwd)/build/sample
game=$root/game
update=$root/update
store=$root/registry
rm -rf "$root"
mkdir -p "$game/data" "$game/qstart" "$update"

files="kv9900.exe euro.cfg events_eng.cfg events_fra.cfg events_ita.cfg events_por.cfg events_nor.cfg
events_spa.cfg events_swe.cfg eng.lng esp.lng fra.lng ita.lng nor.lng por.lng swe.lng language.ldb changes.txt"
for f in $files; do
  case $f in kv9900.exe | changes.txt) folder=$game ;; *) folder=$game/data ;; esac
  printf 'Kickvale 99/00 3.72: %s\n' "$f" > "$folder/$f"
  printf 'Kickvale 99/00 3.73: %s\n' "$f" > "$update/$f"
done
printf 'Kickvale 99/00 readme\n' > "$game/readme.txt"
for q in league cup friendly; do printf 'quick start %s\n' "$q" > "$game/qstart/$q.qst"; done
for l in eng esp fra ita nor por sve; do printf 'Kickvale 99/00 3.73 readme (%s)\n' "$l" > "$update/readme_$l.txt"; done
cp build/native/fonts/*.fnt "$update/"

exe=$(pwd)/build/native/kvupdate
# Packing from a script: the report goes to standard error, no box waits for an answer.
(cd "$update" && env -u DISPLAY -u WAYLAND_DISPLAY "$exe" -pack)
echo "run: packed $(stat -c %s "$update/update.dat") bytes into $update/update.dat"

# The registry store: one folder per key, one file per value holding its text and a zero.
key="$store/Software/Brightfold Ltd/Kickvale 99-00"
mkdir -p "$key"
printf 'Version 3.72 (ENG,ESP,FRA,ITA,NOR,POR,SVE)\0' > "$key/Version"
printf '%s\0' "$game" > "$key/Location"
export KVUPDATE_REGISTRY=$store

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "run: starting the wizard on $game (registry store $store)"
  (cd "$update" && "$exe")
  echo "run: installed version now: $(tr -d '\0' < "$key/Version")"
else
  echo "run: no display to show the wizard's window; rendering every page with kvatlas instead"
  mkdir -p "$root/atlas"
  build/native/kvatlas "$root/atlas" || true
  echo "run: the pages are in $root/atlas (page-<page>-<language>.png, atlas.png)"
fi
