#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both configurations and runs
#   1. the native unit tests under AddressSanitizer and UndefinedBehaviorSanitizer,
#   2. the same tests in a Release build (-O3, warnings as errors), which also runs
#      the tests that need a build without sanitizers,
#   3. the fuzz targets of the film loader and the cursor records, briefly,
#   4. the web player compiled to WebAssembly, and its browser tests in headless Chromium,
#   5. the same tests plus the Windows-only ones, cross-built and run under Wine, and
#      the end-to-end tests of roRezodu.exe under Wine in Xvfb.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
RZ_MINGW_PREFIX=$(scripts/setup.sh)
export RZ_MINGW_PREFIX
jobs=$(nproc)

step() { printf '\n== %s\n' "$*"; }

step "native build (sanitizers)"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j "$jobs"
step "native tests"
ctest --preset native-asan -j "$jobs"

step "native Release build and tests"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"

step "fuzz targets, a short run each (clang, libFuzzer)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
ctest --preset fuzz

step "Windows build (MinGW-w64)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

# The film executable of the browser tests is packed onto the Windows player just built.
step "web player (Emscripten) and its browser tests (headless Chromium)"
scripts/web.sh --build-only
/usr/bin/python3 tests/web/browser_test.py build/web build/release

step "Windows tests under Wine, end-to-end tests in Xvfb"
source scripts/wine-env.sh
rz_wine_prefix "$PWD/build/wine-test" unmanaged
HOME="$HOME_FOR_WINE" xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-ctest.sh
HOME="$HOME_FOR_WINE" xvfb-run -a -s "-screen 0 1280x1024x24" bench/play_max.sh --short
