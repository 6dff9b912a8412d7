#!/bin/bash
# The export benchmark: a lesson film made with the film writer (770 x 695, 10 fps, one
# pointer sample per frame, a voice track; 10 minutes unless FILM_SECONDS says
# otherwise) turned into MP4 on one core (taskset -c 0), first by `kof export`, then by
# the pipeline `kof frames` + `kof extract` + `ffmpeg` on the PNG files with the same
# encoder settings. Each line gives the wall and processor seconds and the speed
# against real time; on a machine shared with other work the processor time is the
# fairer measure.
#
#   cmake --build --preset native --target kof rz_make_lesson
#   bench/export_speed.sh [--short] [build/native]
# --short (the test suite's run) makes a lesson of 5 s: the figures only show that it runs.
set -euo pipefail
SECONDS_OF_FILM=${FILM_SECONDS:-600}
if [ "${1:-}" = --short ]; then SECONDS_OF_FILM=5 && shift; fi
BUILD=${1:-build/native}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Runs the command on core 0 and adds its wall and processor seconds to the totals.
WALL=0 CPU=0
timed() {
  /usr/bin/time -f "%e %U %S" -o "$WORK/time" taskset -c 0 "$@" >/dev/null 2>&1
  read -r wall user sys <"$WORK/time"
  WALL=$(awk "BEGIN { print $WALL + $wall }")
  CPU=$(awk "BEGIN { print $CPU + $user + $sys }")
}
# Prints the totals against the film's length and starts new ones; remembers them in
# LAST_WALL and LAST_CPU.
report() {
  awk -v name="$1" -v wall="$WALL" -v cpu="$CPU" -v film="$SECONDS_OF_FILM" 'BEGIN {
    printf "%-34s %7.1f s wall (%5.1fx real time)  %7.1f s processor (%5.1fx real time)\n",
           name, wall, film / wall, cpu, film / cpu }'
  LAST_WALL=$WALL LAST_CPU=$CPU WALL=0 CPU=0
}

"$BUILD/bench/rz_make_lesson" "$WORK/lesson.kof" "$SECONDS_OF_FILM"
echo "lesson: $SECONDS_OF_FILM s, 770 x 695, 10 fps, with sound"

timed "$BUILD/kof" export "$WORK/lesson.kof" -o "$WORK/export.mp4"
report "kof export"
EXPORT_WALL=$LAST_WALL EXPORT_CPU=$LAST_CPU

timed "$BUILD/kof" frames "$WORK/lesson.kof" --segment 1 --out "$WORK/frames"
timed "$BUILD/kof" extract "$WORK/lesson.kof" "$WORK/extracted"
timed ffmpeg -nostdin -y -threads 1 -framerate 10 -i "$WORK/frames/seg001_frame%05d.png" \
  -i "$WORK/extracted/seg001.mp3" -filter_threads 1 \
  -vf "pad=ceil(iw/2)*2:ceil(ih/2)*2,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p" \
  -c:v libx264 -preset veryfast -tune stillimage -crf 20 -threads 1 -c:a aac -b:a 64k "$WORK/pipeline.mp4"
report "kof frames + ffmpeg on PNG files"
awk -v ew="$EXPORT_WALL" -v ec="$EXPORT_CPU" -v pw="$LAST_WALL" -v pc="$LAST_CPU" 'BEGIN {
  printf "kof export is %.1fx faster (wall), %.1fx faster (processor) than the pipeline\n", pw / ew, pc / ec }'
