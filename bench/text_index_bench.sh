#!/bin/bash
# The text index benchmark:
#   - recall and never-drawn hits of kof index by font size and theme, on screens with
#     known text (rz_text_recall: menus, dialogs, typed lines; Tahoma and DejaVu Sans,
#     8 to 11 pt, dark on light and light on dark, with and without anti-aliasing);
#   - speed: the 10-minute lesson (rz_make_lesson, real text) indexed on one core
#     (taskset -c 0), and two lessons at once with -j 2 on two cores;
#   - the index's size against the film's;
#   - search: the slowest query in an hour's index (rz_text_search_time).
#
#   cmake --build --preset release --target kof kof-export rz_make_lesson rz_text_recall rz_text_search_time
#   bench/text_index_bench.sh [--short] [build/release]
# --short (the test suite's run) uses a lesson of 20 s: the figures only show that it runs.
set -euo pipefail
SECONDS_OF_FILM=600
if [ "${1:-}" = --short ]; then SECONDS_OF_FILM=20 && shift; fi
BUILD=${1:-build/release}
cmake --build "$BUILD" --target kof kof-export rz_make_lesson rz_text_recall rz_text_search_time >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export OMP_THREAD_LIMIT=1

echo "== recall by size and theme"
"$BUILD/bench/rz_text_recall" make "$WORK/screens.kof"
taskset -c 0 "$BUILD/kof" index "$WORK/screens.kof"
"$BUILD/bench/rz_text_recall" score "$WORK/screens.kof"

echo "== speed: a lesson of $SECONDS_OF_FILM s"
"$BUILD/bench/rz_make_lesson" "$WORK/lesson.kof" "$SECONDS_OF_FILM"
/usr/bin/time -f "one core: %e s wall, %U s user, %S s system" taskset -c 0 "$BUILD/kof" index "$WORK/lesson.kof"
cp "$WORK/lesson.kof" "$WORK/lesson2.kof"
/usr/bin/time -f "two lessons with -j 2 on two cores: %e s wall, %U s user, %S s system" \
  taskset -c 0,1 "$BUILD/kof" index -j 2 "$WORK/lesson.kof" "$WORK/lesson2.kof" 2>&1 | grep -v '^kof: 2 of 2'

echo "== size"
film=$(stat -c %s "$WORK/lesson.kof")
index=$(stat -c %s "$WORK/lesson.kof.words.json")
awk -v f="$film" -v i="$index" 'BEGIN { printf "film %d bytes, index %d bytes: %.2f %% of the film\n", f, i, 100 * i / f }'

echo "== search"
"$BUILD/bench/rz_text_search_time" "$WORK/lesson.kof.words.json" 1
