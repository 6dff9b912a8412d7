#!/bin/bash
# The activity benchmark: a one-hour lesson film made with the film writer (770 x 695,
# 10 fps, one pointer sample per frame, a voice track), then
#   - kof bench --activity: the portable part, the records and the pointer track read
#     and the model computed (the figure each player pays beside its own decoder);
#   - kof activity: the whole command, the voice decoded with FFmpeg included.
# Both on one core (taskset -c 0).
#
#   cmake --build --preset native --target kof rz_make_lesson
#   bench/activity_bench.sh [--short] [build/native]
# --short (the test suite's run) makes a lesson of 20 s: the figures only show that it runs.
set -euo pipefail
SECONDS_OF_FILM=3600
if [ "${1:-}" = --short ]; then SECONDS_OF_FILM=20 && shift; fi
BUILD=${1:-build/native}
cmake --build "$BUILD" --target kof rz_make_lesson >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "== lesson of $SECONDS_OF_FILM s"
"$BUILD/bench/rz_make_lesson" "$WORK/lesson.kof" "$SECONDS_OF_FILM"
taskset -c 0 "$BUILD/kof" bench "$WORK/lesson.kof" --activity
/usr/bin/time -f "kof activity, unpacking and the voice's decoding included: %e s wall, %U s user, %S s system" \
  taskset -c 0 "$BUILD/kof" activity "$WORK/lesson.kof" >"$WORK/activity.txt"
grep -c '^idle ' "$WORK/activity.txt" | sed 's/$/ idle stretches with the voice heard/' || true
