#!/usr/bin/env bash
# The seek benchmark: makes its films with the film writer (bench/make_seek_film) and
# runs kof bench --seek on them. Usage: bench/seek_bench.sh [--short] [BUILD-FOLDER], by
# default build/native (configured with cmake --preset native). The every-pixel film
# takes about 0.8 GB of disk and 3.5 GB of memory while it is made. --short makes the
# films 20 times shorter, for the test suite: the figures then only show that it runs.
set -euo pipefail
typical=6000 every=300
if [ "${1:-}" = --short ]; then typical=300 every=15 && shift; fi
build=${1:-build/native}
cmake --build "$build" --target kof make_seek_film >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== typical screen changes, $typical frames, 64 MiB budget"
"$build/bench/make_seek_film" "$work/typical.kof" typical "$typical"
"$build/kof" bench "$work/typical.kof" --seek
echo "== every pixel changes in every frame, $every frames, 64 MiB budget"
"$build/bench/make_seek_film" "$work/every-pixel.kof" every-pixel "$every"
"$build/kof" bench "$work/every-pixel.kof" --seek
# A twentieth of the budget keeps pictures as far apart (in frames) as the whole budget
# does in a segment of 6,000 such frames.
echo "== the same with 3 MiB: pictures as sparse as in 6,000 every-pixel frames with 64 MiB"
"$build/kof" bench "$work/every-pixel.kof" --seek --budget 3
