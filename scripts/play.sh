#!/usr/bin/env bash
# Builds roRezodu.exe and kof-export.exe, which File > Export video runs (installing
# what is missing), and plays a film under Wine:
#   scripts/play.sh [FILM.kof] [player options …]
# Without a film it plays the demo film, build/demo.kof, which it makes first.
# Without a display (no DISPLAY), it runs inside Xvfb for PLAY_SECONDS seconds (10 by
# default) and saves a screenshot to build/play-screenshot.png.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
RZ_MINGW_PREFIX=$(scripts/setup.sh)
export RZ_MINGW_PREFIX
cmake --preset windows >/dev/null
cmake --build --preset windows --target roRezodu kof-export -j "$(nproc)" >/dev/null
exe="$PWD/build/windows/roRezodu.exe"

if [ $# -eq 0 ] || [ "${1#-}" != "$1" ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native --target make_demo_film -j "$(nproc)" >/dev/null
  build/native/make_demo_film build/demo.kof
  set -- "$PWD/build/demo.kof" "$@"
fi

# The player takes Windows paths ("/..." would read as an option): Wine names the Unix
# root Z:.
windows_film() {
  if [ -f "$1" ]; then echo "Z:$(realpath "$1" | tr / '\\')"; else echo "$1"; fi
}
film=$(windows_film "$1")
shift
set -- "$film" "$@"

source scripts/wine-env.sh
if [ -n "${DISPLAY:-}" ]; then
  rz_wine_prefix "$PWD/build/wine-play"
  HOME="$HOME_FOR_WINE" exec wine "$exe" "$@"
fi

rz_wine_prefix "$PWD/build/wine-play-headless" unmanaged
seconds="${PLAY_SECONDS:-10}"
shot="$PWD/build/play-screenshot.png"
echo "play: no display; running in Xvfb for $seconds s, screenshot: $shot" >&2
HOME="$HOME_FOR_WINE" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wine "$0" "${@:3}" & pid=$!
  sleep "$1"
  import -window root "$2"
  kill $pid 2>/dev/null; wineserver -k 2>/dev/null; wait $pid 2>/dev/null || true
' "$exe" "$seconds" "$shot" "$@"
