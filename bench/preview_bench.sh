#!/usr/bin/env bash
# The preview benchmark: the seek benchmark's lesson of typical screen changes (770 x
# 695, 6,000 frames at 10 per second; bench/make_seek_film) read once, then previews of
# random frames, and playing at x1 alone and with the mouse sweeping along the bar
# (bench/preview_latency.cpp). Usage: bench/preview_bench.sh [--short] [BUILD-FOLDER],
# by default build/native. --short, for the test suite, runs a 300-frame film briefly:
# the figures then only show that it runs.
set -euo pipefail
frames=6000 seconds=5 previews=200
if [ "${1:-}" = --short ]; then frames=300 seconds=0.5 previews=20 && shift; fi
build=${1:-build/native}
cmake --build "$build" --target make_seek_film rz_preview_bench >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/make_seek_film" "$work/typical.kof" typical "$frames"
echo "== typical screen changes, 770 x 695, $frames frames"
"$build/bench/rz_preview_bench" "$work/typical.kof" --seconds "$seconds" --previews "$previews"
