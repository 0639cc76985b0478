#!/usr/bin/env bash
# Installs what is needed, builds the native program and runs its main job: it makes a
# sample set of the eighteen update files under build/sample, packs them into update.dat
# with `kvupdate -pack`, then starts the wizard beside the package.
set -eu
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset native > /dev/null
cmake --build --preset native --target kvupdate
sample=build/sample/update
rm -rf "$sample"
mkdir -p "$sample"
for f in kv9900.exe euro.cfg events_eng.cfg events_fra.cfg events_ita.cfg events_por.cfg events_nor.cfg \
         events_spa.cfg events_swe.cfg eng.lng esp.lng fra.lng ita.lng nor.lng por.lng swe.lng language.ldb changes.txt; do
  printf 'Kickvale 99/00 update 3.73: %s\n' "$f" > "$sample/$f"
done
exe=$(pwd)/build/native/kvupdate
(cd "$sample" && "$exe" -pack)
echo "run: packed $(stat -c %s "$sample/update.dat") bytes into $sample/update.dat"
(cd "$sample" && "$exe")
