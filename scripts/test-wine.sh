#!/usr/bin/env bash
# The Wine stage of the suite: the Windows configuration's tests and the end-to-end tests
# of roRezodu.exe under Wine in Xvfb, then the player's benchmark briefly. Needs what
# scripts/test.sh builds first (build/windows and build/release).
#   --busy   keeps one core busy the whole time, at the lowest priority, as a loaded
#            machine would: the stage must pass that way too
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ "${1:-}" = --busy ]; then
  nice -n 19 sh -c 'while :; do :; done' &
  busy=$!
  trap 'kill "$busy" 2>/dev/null || true' EXIT
fi
# The cross-built libraries, found under the user's own home before HOME changes for Wine.
RZ_MINGW_PREFIX=${RZ_MINGW_PREFIX:-$(scripts/setup.sh)}
export RZ_MINGW_PREFIX
source scripts/wine-env.sh
rz_wine_prefix "$PWD/build/wine-test" unmanaged
HOME="$HOME_FOR_WINE" xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-ctest.sh
HOME="$HOME_FOR_WINE" xvfb-run -a -s "-screen 0 1280x1024x24" bench/play_max.sh --short
