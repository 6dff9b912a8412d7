#!/usr/bin/env bash
# The release packages, in build/dist/:
#   roRezodu-VERSION-windows-x64.zip  roRezodu.exe, kof.exe and kof-export.exe (without
#                                     their debugging information), README.txt, LICENSE,
#                                     NOTICES
#   roRezodu-VERSION-web.zip          the browser page: build/web without its benchmark
#                                     page, with LICENSE and NOTICES
# Each zip holds one folder of its own name. VERSION is the one the About box shows.
# Builds the Windows player, kof and the page first (only what is out of date).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
RZ_MINGW_PREFIX=$(scripts/setup.sh)
export RZ_MINGW_PREFIX
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target roRezodu kof kof-export >/dev/null
scripts/web.sh --build-only >/dev/null

version=$(sed -n 's/.*kAboutVersion\[\] = "version \([0-9.]*\)";.*/\1/p' src/session/about_box.h)
[ -n "$version" ] || { echo "package.sh: no version in src/session/about_box.h" >&2; exit 1; }
dist=build/dist
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# zip_folder NAME: build/dist/NAME.zip from the staged folder NAME, written whole or not at all.
zip_folder() {
  /usr/bin/python3 - "$stage" "$1" "$dist/$1.zip" <<'PY'
import os, sys, zipfile
stage, name, target = sys.argv[1:4]
partial = target + ".partial"
with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as archive:
    for folder, _, files in sorted(os.walk(os.path.join(stage, name))):
        for file in sorted(files):
            path = os.path.join(folder, file)
            archive.write(path, os.path.relpath(path, stage))
os.replace(partial, target)
PY
  echo "$dist/$1.zip"
}

mkdir -p "$dist"
# Packages of another version would be taken for this one's.
rm -f "$dist"/roRezodu-*.zip
windows="roRezodu-$version-windows-x64"
mkdir "$stage/$windows"
cp build/windows/roRezodu.exe LICENSE NOTICES "$stage/$windows/"
for tool in kof.exe kof-export.exe; do
  x86_64-w64-mingw32-strip -o "$stage/$windows/$tool" "build/windows/$tool"
done
# Windows' Notepad before Windows 10 shows a file with bare line feeds as one line.
sed -e "s/VERSION/$version/" -e 's/$/\r/' packaging/README.txt >"$stage/$windows/README.txt"
zip_folder "$windows"

web="roRezodu-$version-web"
mkdir "$stage/$web"
cp -r build/web/. "$stage/$web/"
rm -f "$stage/$web"/bench.*
cp LICENSE NOTICES "$stage/$web/"
zip_folder "$web"
