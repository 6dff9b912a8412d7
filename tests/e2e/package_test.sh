#!/usr/bin/env bash
# The Windows package (scripts/package.sh) as a user gets it: unzipped into a folder of
# its own, with what its README promises, its player plays the demo film there, and
# its kof.exe exports part of the demo with the kof-export.exe beside it. (What kof.exe
# gives against the native kof: kof_test.sh.)
source "$(dirname "$0")/lib.sh"
rz_e2e_init "$@"
dist="$RZ_HERE/../../build/dist"
zips=("$dist"/roRezodu-*-windows-x64.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || rz_fail "want one Windows package in $dist: run scripts/package.sh"
name=$(basename "${zips[0]}" .zip)
version=${name#roRezodu-}
version=${version%-windows-x64}

/usr/bin/python3 -m zipfile -e "${zips[0]}" "$RZ_OUT/unzipped" || rz_fail "cannot unzip ${zips[0]}"
folder="$RZ_OUT/unzipped/$name"
for file in roRezodu.exe kof.exe kof-export.exe README.txt LICENSE NOTICES; do
  [ -s "$folder/$file" ] || rz_fail "the package has no $file"
done
[ "$(ls "$RZ_OUT/unzipped")" = "$name" ] || rz_fail "the package holds more than its folder: $(ls "$RZ_OUT/unzipped")"
head -n 1 "$folder/README.txt" | grep -qx "roRezodu $version"$'\r' || rz_fail "README.txt is not for $version, or not in Windows lines"
cmp -s "$folder/NOTICES" "$RZ_HERE/../../NOTICES" || rz_fail "the package's NOTICES is not the project's"

"$3/make_demo_film" "$RZ_OUT/demo.kof" >/dev/null || rz_fail "make_demo_film failed"
typing=$(rz_reference_frames "$RZ_OUT/demo.kof" 1)
RZ_EXE="$folder/roRezodu.exe"
rz_open "$RZ_OUT/demo.kof"
rz_wait_frame roRezodu 560 380 "$typing" >/dev/null
rz_close

(cd "$RZ_OUT" && wine "$folder/kof.exe" export demo.kof -o copying.mp4 --segment 3 >/dev/null 2>&1) ||
  rz_fail "the package's kof.exe cannot export"
ffprobe -v error -show_entries chapter_tags=title -of csv=p=0 "$RZ_OUT/copying.mp4" | grep -qx "Копирование файлов" ||
  rz_fail "the package's export has not the segment's chapter"
echo "package_test: $name unzipped, played the demo, and its kof.exe exported a segment"
