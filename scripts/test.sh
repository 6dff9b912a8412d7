#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both configurations and runs
#   1. the native unit tests under AddressSanitizer and UndefinedBehaviorSanitizer,
#   2. the same tests in a Release build (-O3, warnings as errors), which also runs
#      the tests that need a build without sanitizers, and the benchmarks briefly (that
#      they run and print their figures; no time is judged),
#   3. the fuzz targets (the film loader, the cursor records, the language table, the
#      command line, the text index and its search), briefly,
#   4. the web player compiled to WebAssembly, its browser tests in headless Chromium
#      and its benchmark briefly,
#   5. the release packages (scripts/package.sh), the web package's page tried in Chromium,
#   6. the same tests plus the Windows-only ones, cross-built and run under Wine, and
#      the end-to-end tests of roRezodu.exe under Wine in Xvfb (the Windows package's
#      player among them).
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

step "benchmarks, a short run each (they run and print their figures)"
build/release/bench/rz_bench --benchmark_min_time=0.01
bench/seek_bench.sh --short build/release
bench/activity_bench.sh --short build/release
bench/export_speed.sh --short build/release
bench/preview_bench.sh --short build/release
bench/text_index_bench.sh --short build/release

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
/usr/bin/python3 tests/notices_test.py NOTICES build/emscripten
/usr/bin/python3 tests/web/browser_test.py build/web build/release
/usr/bin/python3 bench/web_bench.py --short build/release build/web

step "release packages: the web package's page plays the demo in Chromium"
scripts/package.sh
/usr/bin/python3 tests/web/package_page_test.py build/dist build/release

step "Windows tests under Wine, end-to-end tests in Xvfb"
scripts/test-wine.sh
