#!/usr/bin/env bash
# Runs the Windows configuration's tests under Wine; called inside the display (Xvfb)
# with WINEPREFIX set. One wineserver serves the whole run, so every Wine start after
# the first is cheap. Wine's own service processes (and its desktop, which needs the
# display) start with the first program: start them here, with their output
# elsewhere, or ctest would wait for them to close the first test's output.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
ctest --preset windows "$@"
